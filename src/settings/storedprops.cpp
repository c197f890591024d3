#include "settings/storedprops.h"

#include "settings/settingsstore.h"
#include "settings/windowsettings.h"

#include <QTabWidget>

using namespace PropertyCodec;

namespace storedprops {

QString valueName(const QString& item)
{
    QString name = item;
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name[dot] = QLatin1Char('_');
    return name;
}

namespace {

// Writes a value unless its text is empty (only strings are written empty).
void writeNonEmpty(SettingsStore& store, const QString& key, const QString& name, const QString& text)
{
    if (!text.isEmpty())
        store.writeString(key, name, text);
}

} // namespace

void addString(WindowSettings& storage, const QString& item, std::function<QString()> get,
               std::function<void(const QString&)> set)
{
    const QString name = valueName(item);
    storage.addStoredProperty(
        item,
        [&storage, name, get](SettingsStore& store) {
            store.writeString(storage.section(), name, formatString(get()));
        },
        [&storage, name, get, set](const SettingsStore& store) {
            set(parseString(store.readString(storage.section(), name, get())));
        });
}

void addBool(WindowSettings& storage, const QString& item, std::function<bool()> get, std::function<void(bool)> set)
{
    const QString name = valueName(item);
    storage.addStoredProperty(
        item,
        [&storage, name, get](SettingsStore& store) { store.writeString(storage.section(), name, formatBool(get())); },
        [&storage, name, get, set](const SettingsStore& store) {
            if (const auto value = parseBool(store.readString(storage.section(), name, formatBool(get()))))
                set(*value);
        });
}

void addInteger(WindowSettings& storage, const QString& item, std::function<qint32()> get,
                std::function<void(qint32)> set)
{
    const QString name = valueName(item);
    storage.addStoredProperty(
        item,
        [&storage, name, get](SettingsStore& store) {
            writeNonEmpty(store, storage.section(), name, formatInteger(get()));
        },
        [&storage, name, get, set](const SettingsStore& store) {
            set(parseInteger(store.readString(storage.section(), name, formatInteger(get()))));
        });
}

void addEnum(WindowSettings& storage, const QString& item, const QStringList& identifiers, std::function<int()> get,
             std::function<void(int)> set)
{
    const QString name = valueName(item);
    storage.addStoredProperty(
        item,
        [&storage, name, identifiers, get](SettingsStore& store) {
            writeNonEmpty(store, storage.section(), name, formatEnum(get(), identifiers));
        },
        [&storage, name, identifiers, get, set](const SettingsStore& store) {
            const QString text = store.readString(storage.section(), name, formatEnum(get(), identifiers));
            if (const auto value = parseEnum(text, identifiers))
                set(*value);
        });
}

void addFont(WindowSettings& storage, const QString& item, std::function<StoredFont()> get,
             std::function<void(const StoredFont&)> set)
{
    const QString prefix = valueName(item);
    storage.addStoredProperty(
        item, [&storage, prefix, get](SettingsStore& store) { writeFont(store, storage.section(), prefix, get()); },
        [&storage, prefix, get, set](const SettingsStore& store) {
            set(readFont(store, storage.section(), prefix, get()));
        });
}

void addStringList(WindowSettings& storage, const QString& item, std::function<QStringList()> get,
                   std::function<void(const QStringList&)> set)
{
    const QString name = valueName(item);
    storage.addStoredProperty(
        item,
        [&storage, name, get](SettingsStore& store) {
            writeStringList(store, storage.section() + QLatin1Char('.') + name, get());
        },
        [&storage, name, set](const SettingsStore& store) {
            if (const auto items = readStringList(store, storage.section() + QLatin1Char('.') + name))
                set(*items);
        });
}

void addCollection(WindowSettings& storage, const QString& item, std::function<QList<CollectionItem>()> get,
                   std::function<void(const QList<CollectionItem>&)> set)
{
    const QString name = valueName(item);
    storage.addStoredProperty(
        item,
        [&storage, name, get](SettingsStore& store) {
            writeCollection(store, storage.section() + QLatin1Char('.') + name, get());
        },
        [&storage, name, get, set](const SettingsStore& store) {
            QList<CollectionItem> items = get();
            readCollection(store, storage.section() + QLatin1Char('.') + name, items);
            set(items);
        });
}

void addObject(WindowSettings& storage, const QString& item, std::function<QList<std::pair<QString, QString>>()> get,
               std::function<void(const QList<std::pair<QString, QString>>&)> set)
{
    const QString prefix = valueName(item);
    storage.addStoredProperty(
        item,
        [&storage, prefix, get](SettingsStore& store) {
            for (const auto& [sub, text] : get())
                writeNonEmpty(store, storage.section(), prefix + sub, text);
        },
        [&storage, prefix, get, set](const SettingsStore& store) {
            QList<std::pair<QString, QString>> values = get();
            for (auto& [sub, text] : values)
                text = store.readString(storage.section(), prefix + sub, text);
            set(values);
        });
}

void addActivePage(WindowSettings& storage, const QString& item, QTabWidget* pages)
{
    addString(
        storage, item,
        [pages] {
            PropertyCodec::StoredReference page;
            page.isNull = false;
            page.component = pages->currentWidget()->objectName();
            return PropertyCodec::formatReference(page);
        },
        [pages](const QString& v) {
            const PropertyCodec::StoredReference page = PropertyCodec::parseReference(v);
            if (page.isNull || !page.form.isEmpty())
                return;
            for (int i = 0; i < pages->count(); ++i)
                if (pages->widget(i)->objectName().compare(page.component, Qt::CaseInsensitive) == 0)
                    pages->setCurrentIndex(i);
        });
}

} // namespace storedprops

#include "settings/propertycodec.h"

#include "core/colourcontrast.h"

#include "settings/settingsstore.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace PropertyCodec {

namespace {

bool isTrimmed(QChar c)
{
    return c.unicode() <= 0x20;
}

QString itemName(int i)
{
    return QStringLiteral("Item%1").arg(i);
}

} // namespace

QString formatInteger(qint64 value)
{
    return QString::number(value);
}

qint32 parseInteger(const QString& text, bool* ok)
{
    bool parsed = false;
    const qint64 wide = text.trimmed().toLongLong(&parsed, 10);
    const bool fits =
        parsed && wide >= std::numeric_limits<qint32>::min() && wide <= std::numeric_limits<qint32>::max();
    if (ok)
        *ok = fits;
    return fits ? qint32(wide) : 0;
}

QColor colorFromStored(qint32 stored, const QPalette& palette)
{
    if (stored >= 0) {
        const quint32 bgr = quint32(stored) & 0x00FFFFFFu;
        return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
    }
    switch (quint32(stored) & 0xFFu) {
    case 0:
        return palette.color(QPalette::Button); // scroll bar
    case 1:
        return palette.color(QPalette::Dark); // desktop
    case 2:
        return palette.color(QPalette::Highlight); // active caption
    case 3:
        return palette.color(QPalette::Mid); // inactive caption
    case 4:
        return palette.color(QPalette::Window); // menu
    case 5:
        return palette.color(QPalette::Base); // window
    case 6:
        return palette.color(QPalette::Shadow); // window frame
    case 7:
        return palette.color(QPalette::WindowText); // menu text
    case 8:
        return palette.color(QPalette::Text); // window text
    case 9:
        return palette.color(QPalette::HighlightedText); // caption text
    case 10:
    case 11:
        return palette.color(QPalette::Button); // borders
    case 12:
        return palette.color(QPalette::Dark); // application workspace
    case 13:
        return palette.color(QPalette::Highlight);
    case 14:
        return palette.color(QPalette::HighlightedText);
    case 15:
        return palette.color(QPalette::Button); // button face
    case 16:
        return palette.color(QPalette::Dark); // button shadow
    case 17:
        return palette.color(QPalette::Disabled, QPalette::Text); // grey text
    case 18:
        return palette.color(QPalette::ButtonText);
    case 19:
        return palette.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20:
        return palette.color(QPalette::Light); // button highlight
    case 21:
        return palette.color(QPalette::Shadow); // 3D dark shadow
    case 22:
        return palette.color(QPalette::Midlight); // 3D light
    case 23:
        return palette.color(QPalette::ToolTipText);
    case 24:
        return palette.color(QPalette::ToolTipBase);
    case 26:
        return palette.color(QPalette::Link); // hot light
    case 27:
        return palette.color(QPalette::Highlight); // gradient active caption
    case 28:
        return palette.color(QPalette::Mid); // gradient inactive caption
    case 29:
        return palette.color(QPalette::Highlight); // menu highlight
    case 30:
        return palette.color(QPalette::Window); // menu bar
    default:
        return palette.color(QPalette::Window);
    }
}

QColor inkFromStored(qint32 ink, qint32 paper, const QPalette& palette)
{
    const QColor chosen = colorFromStored(ink, palette);
    const QColor page = colorFromStored(paper, palette);
    if (ink != 0 || paper >= 0 || colourcontrast::contrastRatio(chosen, page) >= colourcontrast::Readable)
        return chosen;
    QColor best = chosen;
    for (const QPalette::ColorRole role : {QPalette::ButtonText, QPalette::Text, QPalette::WindowText}) {
        const QColor text = palette.color(role);
        if (colourcontrast::contrastRatio(text, page) > colourcontrast::contrastRatio(best, page))
            best = text;
    }
    return best;
}

qint32 storedFromColor(const QColor& color)
{
    if (!color.isValid())
        return 0;
    const QColor rgb = color.toRgb();
    return qint32(quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16));
}

QString formatChar(QChar c)
{
    return QString(c);
}

std::optional<QChar> parseChar(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    return text.at(0);
}

QString formatEnum(int index, const QStringList& identifiers)
{
    return index >= 0 && index < identifiers.size() ? identifiers.at(index) : QString();
}

std::optional<int> parseEnum(const QString& text, const QStringList& identifiers)
{
    const QString word = text.trimmed();
    for (int i = 0; i < identifiers.size(); ++i) {
        if (word.compare(identifiers.at(i), Qt::CaseInsensitive) == 0)
            return i;
    }
    return std::nullopt;
}

QString formatBool(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<bool> parseBool(const QString& text)
{
    static const QStringList identifiers{QStringLiteral("False"), QStringLiteral("True")};
    const auto index = parseEnum(text, identifiers);
    if (!index)
        return std::nullopt;
    return *index == 1;
}

QString formatSet(const QStringList& members)
{
    return QLatin1Char('[') + members.join(QLatin1Char(',')) + QLatin1Char(']');
}

quint32 parseSetMask(const QString& text, const QStringList& identifiers)
{
    quint32 mask = 0;
    QString word;
    const auto take = [&] {
        if (const auto index = parseEnum(word, identifiers); index && *index < 32)
            mask |= 1u << *index;
        word.clear();
    };
    for (const QChar c : text) {
        if (c == QLatin1Char('[') || c == QLatin1Char(']') || c == QLatin1Char(',') || c.isSpace())
            take();
        else
            word += c;
    }
    take();
    return mask;
}

QString formatSetMask(quint32 mask, const QStringList& identifiers)
{
    QStringList members;
    for (int i = 0; i < identifiers.size() && i < 32; ++i) {
        if (mask & (1u << i))
            members << identifiers.at(i);
    }
    return formatSet(members);
}

QStringList parseSet(const QString& text, const QStringList& identifiers)
{
    const quint32 mask = parseSetMask(text, identifiers);
    QStringList members;
    for (int i = 0; i < identifiers.size() && i < 32; ++i) {
        if (mask & (1u << i))
            members << identifiers.at(i);
    }
    return members;
}

QString formatString(const QString& value)
{
    qsizetype first = 0;
    qsizetype last = value.size();
    while (first < last && isTrimmed(value.at(first)))
        ++first;
    while (last > first && isTrimmed(value.at(last - 1)))
        --last;
    return value.mid(first, last - first);
}

QString parseString(const QString& text)
{
    return formatString(text);
}

QString formatFloat(double value)
{
    // QString::number ignores the locale, so the separator is always ".".
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

std::optional<double> parseFloat(const QString& text, const QLocale& locale)
{
    QString local = text.trimmed();
    local.replace(QLatin1Char('.'), locale.decimalPoint());
    bool ok = false;
    double value = locale.toDouble(local, &ok);
    if (ok)
        return value;
    value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (ok)
        return value;
    return std::nullopt;
}

QString formatReference(const StoredReference& reference)
{
    if (reference.isNull || reference.component.isEmpty())
        return QStringLiteral("(null)");
    if (reference.form.isEmpty())
        return reference.component;
    return reference.form + QLatin1Char('.') + reference.component;
}

StoredReference parseReference(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.compare(QLatin1String("(null)"), Qt::CaseInsensitive) == 0)
        return {};
    StoredReference result;
    result.isNull = false;
    const qsizetype dot = t.indexOf(QLatin1Char('.'));
    if (dot < 0) {
        result.component = t;
    } else {
        result.form = t.left(dot);
        result.component = t.mid(dot + 1);
    }
    return result;
}

const QStringList& fontPitches()
{
    static const QStringList list{QStringLiteral("fpDefault"), QStringLiteral("fpVariable"), QStringLiteral("fpFixed")};
    return list;
}

const QStringList& textAlignments()
{
    static const QStringList list{QStringLiteral("taLeftJustify"), QStringLiteral("taRightJustify"),
                                  QStringLiteral("taCenter")};
    return list;
}

const QStringList& controlAligns()
{
    static const QStringList list{QStringLiteral("alNone"), QStringLiteral("alTop"),   QStringLiteral("alBottom"),
                                  QStringLiteral("alLeft"), QStringLiteral("alRight"), QStringLiteral("alClient")};
    return list;
}

const QStringList& fontStyles()
{
    static const QStringList list{QStringLiteral("fsBold"), QStringLiteral("fsItalic"), QStringLiteral("fsUnderline"),
                                  QStringLiteral("fsStrikeOut")};
    return list;
}

QFont fontFromStored(const StoredFont& stored)
{
    QFont font;
    if (!stored.name.isEmpty())
        font.setFamily(stored.name);
    if (stored.height < 0)
        font.setPixelSize(-stored.height);
    else if (stored.size > 0)
        font.setPointSize(stored.size);
    const quint32 style = parseSetMask(formatSet(stored.style), fontStyles());
    font.setBold(style & 1u);
    font.setItalic(style & 2u);
    font.setUnderline(style & 4u);
    font.setStrikeOut(style & 8u);
    if (const auto pitch = parseEnum(stored.pitch, fontPitches()); pitch && *pitch != 0)
        font.setFixedPitch(*pitch == 2);
    return font;
}

StoredFont storedFromFont(const QFont& font, const StoredFont& base)
{
    StoredFont stored = base;
    stored.name = font.family();
    if (font.pixelSize() > 0) {
        stored.height = -font.pixelSize();
        stored.size = int(std::lround(font.pixelSize() * 72.0 / 96.0));
    } else {
        const double points = font.pointSizeF();
        stored.size = int(std::lround(points));
        stored.height = -int(std::lround(points * 96.0 / 72.0));
    }
    stored.pitch = font.fixedPitch() ? QStringLiteral("fpFixed") : QStringLiteral("fpDefault");
    quint32 style = 0;
    if (font.bold())
        style |= 1u;
    if (font.italic())
        style |= 2u;
    if (font.underline())
        style |= 4u;
    if (font.strikeOut())
        style |= 8u;
    stored.style = parseSet(formatSetMask(style, fontStyles()), fontStyles());
    return stored;
}

void writeFont(SettingsStore& store, const QString& key, const QString& prefix, const StoredFont& font)
{
    store.writeString(key, prefix + QLatin1String("Charset"), formatInteger(font.charset));
    store.writeString(key, prefix + QLatin1String("Color"), formatInteger(font.color));
    store.writeString(key, prefix + QLatin1String("Height"), formatInteger(font.height));
    store.writeString(key, prefix + QLatin1String("Name"), formatString(font.name));
    store.writeString(key, prefix + QLatin1String("Pitch"), font.pitch);
    store.writeString(key, prefix + QLatin1String("Size"), formatInteger(font.size));
    store.writeString(key, prefix + QLatin1String("Style"), formatSet(font.style));
}

StoredFont readFont(const SettingsStore& store, const QString& key, const QString& prefix, const StoredFont& current)
{
    const auto read = [&](const char* name, const QString& fallback) {
        return store.readString(key, prefix + QLatin1String(name), fallback);
    };
    StoredFont font = current;
    font.charset = parseInteger(read("Charset", formatInteger(current.charset)));
    font.color = parseInteger(read("Color", formatInteger(current.color)));
    font.height = parseInteger(read("Height", formatInteger(current.height)));
    font.name = parseString(read("Name", current.name));
    if (const auto pitch = parseEnum(read("Pitch", current.pitch), fontPitches()))
        font.pitch = fontPitches().at(*pitch);
    font.size = parseInteger(read("Size", formatInteger(current.size)));
    font.style = parseSet(read("Style", formatSet(current.style)), fontStyles());
    return font;
}

void writeStringList(SettingsStore& store, const QString& listKey, const QStringList& items)
{
    store.eraseKey(listKey);
    if (items.isEmpty())
        return;
    store.writeString(listKey, QStringLiteral("Count"), formatInteger(items.size()));
    for (int i = 0; i < items.size(); ++i)
        store.writeString(listKey, itemName(i), items.at(i));
}

std::optional<QStringList> readStringList(const SettingsStore& store, const QString& listKey)
{
    const int count = parseInteger(store.readString(listKey, QStringLiteral("Count"), QStringLiteral("0")));
    if (count <= 0 || count > MaxStoredListCount)
        return std::nullopt;
    QStringList items;
    items.reserve(count);
    for (int i = 0; i < count; ++i)
        items << store.readString(listKey, itemName(i), QString());
    return items;
}

void writeCollection(SettingsStore& store, const QString& listKey, const QList<CollectionItem>& items)
{
    store.eraseKey(listKey);
    for (int i = 0; i < items.size(); ++i) {
        for (const auto& [property, text] : items.at(i))
            store.writeString(listKey, itemName(i) + QLatin1Char('_') + property, text);
    }
}

void readCollection(const SettingsStore& store, const QString& listKey, QList<CollectionItem>& items)
{
    for (int i = 0; i < items.size(); ++i) {
        for (auto& [property, text] : items[i])
            text = store.readString(listKey, itemName(i) + QLatin1Char('_') + property, text);
    }
}

} // namespace PropertyCodec

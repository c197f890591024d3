#include "settings/recentfilesmenu.h"

#include "settings/settingsstore.h"

#include <QAction>
#include <QMenu>
#include <QScopeGuard>

#include <algorithm>
#include <utility>

RecentFilesMenu::RecentFilesMenu(QObject* parent) : QObject(parent)
{
    m_list.setChangeHandler([this] { listChanged(); });
}

RecentFilesMenu::~RecentFilesMenu()
{
    m_list.setChangeHandler(nullptr);
    // Deleted at once: no item of ours can be mid-trigger once the manager is going away, and
    // there may be no event loop left to run a deferred delete.
    for (const QPointer<QAction>& item : std::as_const(m_entryItems))
        delete item.data();
    m_entryItems.clear();
}

int RecentFilesMenu::capacity() const
{
    return m_list.capacity();
}

void RecentFilesMenu::setCapacity(int capacity)
{
    m_list.setCapacity(capacity);
}

RecentList::Mode RecentFilesMenu::mode() const
{
    return m_list.mode();
}

void RecentFilesMenu::setMode(RecentList::Mode mode)
{
    m_list.setMode(mode);
}

void RecentFilesMenu::setRemoveOnSelect(bool on)
{
    m_removeOnSelect = on;
}

void RecentFilesMenu::setAcceleratorsVisible(bool on)
{
    if (m_acceleratorsVisible == on)
        return;
    m_acceleratorsVisible = on;
    updateMenu();
}

void RecentFilesMenu::setFirstAccelerator(int first)
{
    first = std::max(0, first);
    if (m_firstAccelerator == first)
        return;
    m_firstAccelerator = first;
    updateMenu();
}

void RecentFilesMenu::setAcceleratorDelimiter(AcceleratorDelimiter delimiter)
{
    if (m_delimiter == delimiter)
        return;
    m_delimiter = delimiter;
    updateMenu();
}

void RecentFilesMenu::setGroupSize(int size)
{
    size = std::max(0, size);
    if (m_groupSize == size)
        return;
    m_groupSize = size;
    updateMenu();
}

void RecentFilesMenu::setAutoUpdate(bool on)
{
    if (m_autoUpdate == on)
        return;
    m_autoUpdate = on;
    // Catch up with the changes made while it was off.
    if (on)
        updateMenu();
}

void RecentFilesMenu::setAutoEnable(bool on)
{
    m_autoEnable = on;
    if (on && m_menu)
        m_menu->menuAction()->setEnabled(!m_menu->actions().isEmpty());
}

QMenu* RecentFilesMenu::menu() const
{
    return m_menu;
}

void RecentFilesMenu::setMenu(QMenu* menu)
{
    if (m_menu == menu)
        return;
    removeEntryItems(); // from the old menu, which keeps only its own items
    m_menu = menu;
    updateMenu();
}

void RecentFilesMenu::setClickHandler(ClickHandler handler)
{
    m_clickHandler = std::move(handler);
}

const RecentList& RecentFilesMenu::list() const
{
    return m_list;
}

QStringList RecentFilesMenu::items() const
{
    return m_list.strings();
}

void RecentFilesMenu::add(const QString& name, const QVariant& data)
{
    // Lets a running click know its handler put the chosen path back (see itemClicked).
    for (ClickState* click = m_click; click; click = click->outer)
        if (RecentList::sameName(click->name, name))
            click->readded = true;
    m_list.add(name, data);
}

void RecentFilesMenu::clear()
{
    m_list.clear();
}

void RecentFilesMenu::remove(const QString& name)
{
    m_list.remove(name);
}

void RecentFilesMenu::updateMenu()
{
    removeEntryItems();
    if (!m_menu)
        return;

    if (!m_list.isEmpty() && !m_menu->actions().isEmpty())
        m_entryItems << m_menu->addSeparator();

    for (int i = 0; i < m_list.count(); ++i) {
        if (m_groupSize > 0 && i > 0 && i % m_groupSize == 0)
            m_entryItems << m_menu->addSeparator();

        auto* item = new QAction(captionFor(i), m_menu);
        const QString entry = m_list.at(i);
        const qsizetype bar = entry.indexOf(u'|');
        item->setStatusTip(bar < 0 ? entry : entry.mid(bar + 1));
        item->setData(i);
        connect(item, &QAction::triggered, this, [this, item] { itemClicked(item); });
        m_menu->addAction(item);
        m_entryItems << item;
    }

    if (m_autoEnable)
        m_menu->menuAction()->setEnabled(!m_menu->actions().isEmpty());
}

void RecentFilesMenu::save(SettingsStore& store, const QString& key) const
{
    store.eraseKey(key);
    for (int i = 0; i < m_list.count(); ++i)
        store.writeString(key, QStringLiteral("Item_%1").arg(i), m_list.at(i));
}

void RecentFilesMenu::load(const SettingsStore& store, const QString& key)
{
    // Restores the mode and closes the bracket even if the store throws.
    struct Restore
    {
        RecentList& list;
        RecentList::Mode mode;
        ~Restore()
        {
            list.setMode(mode);
            list.endUpdate();
        }
    } restore{m_list, m_list.mode()};
    m_list.beginUpdate();

    m_list.clear();
    m_list.setMode(RecentList::Mode::Insert);
    // Bottom first, so that "Item_0" ends on top; a name listed twice keeps its upper place.
    for (int n = m_list.capacity() - 1; n >= 0; --n) {
        const QString value = store.readString(key, QStringLiteral("Item_%1").arg(n));
        if (!value.isEmpty())
            m_list.add(value);
    }
}

void RecentFilesMenu::listChanged()
{
    if (m_autoUpdate)
        updateMenu();
}

void RecentFilesMenu::removeEntryItems()
{
    for (const QPointer<QAction>& item : std::as_const(m_entryItems)) {
        if (!item)
            continue; // went with its menu
        if (m_menu)
            m_menu->removeAction(item);
        // Deferred: the item may be the one whose triggered() is being delivered right now.
        item->deleteLater();
    }
    m_entryItems.clear();
}

QString RecentFilesMenu::captionFor(int index) const
{
    const QString entry = m_list.at(index);
    // "&" in a path would otherwise turn the next character into an accelerator.
    QString caption = entry.left(entry.indexOf(u'|')); // whole entry when there is no bar
    caption.replace(u'&', QStringLiteral("&&"));
    if (!m_acceleratorsVisible)
        return caption;

    const int k = index + m_firstAccelerator;
    QString accel;
    if (k <= 9)
        accel = QLatin1Char('&') + QChar(char16_t(u'0' + k));
    else if (k <= 100)
        accel = QLatin1Char('&') + QChar(char16_t(u'A' + (k - 10)));
    else
        accel = QStringLiteral(" ");
    // A tab puts the path in the menu's right-hand (shortcut) column, as the delimiter intends.
    const QChar delimiter = m_delimiter == AcceleratorDelimiter::Tab ? QChar(u'\t') : QChar(u' ');
    return accel + delimiter + caption;
}

// With removeOnSelect, the clicked list drops the entry with the chosen *name*, wherever it now
// stands, unless the handler added that name again while it ran (the main window's handler opens
// the file, and opening adds the path to the top of both lists). So:
//  - the path that was opened stays, at the top, and both lists show the same order;
//  - a path whose handler did not add it back (it failed to open, or threw) leaves the list;
//  - nothing else is ever removed: dropping the entry now found at the clicked position would,
//    after the handler's add has shifted the list, lose an unrelated path.
void RecentFilesMenu::itemClicked(QAction* item)
{
    bool ok = false;
    const int index = item->data().toInt(&ok);
    if (!ok || index < 0 || index >= m_list.count())
        return;

    ClickState click{m_list.at(index), false, m_click};
    const QVariant data = m_list.dataAt(index);
    const QString caption = item->text();
    const ClickHandler handler = m_clickHandler; // the handler may replace m_clickHandler while it runs
    const QPointer<RecentFilesMenu> self(this);
    m_click = &click;

    // However the handler ends, the click is over.
    const auto finish = qScopeGuard([&] {
        if (!self)
            return;
        m_click = click.outer;
        if (m_removeOnSelect && !click.readded)
            m_list.remove(click.name);
    });
    if (handler)
        handler(click.name, caption, data);
}

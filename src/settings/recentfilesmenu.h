#pragma once
// A recent-files list shown as entries of a submenu ("&ReOpen"). The submenu's own items stay
// first; the manager appends a separator and one item per entry after them and redoes that part
// whenever the list or a display property changes.

#include "settings/recentlist.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class QAction;
class QMenu;
class SettingsStore;

class RecentFilesMenu : public QObject
{
    Q_OBJECT

public:
    enum class AcceleratorDelimiter { Space, Tab };
    using ClickHandler = std::function<void(const QString& name, const QString& caption, const QVariant& data)>;

    explicit RecentFilesMenu(QObject* parent = nullptr);
    ~RecentFilesMenu() override;

    int capacity() const;
    void setCapacity(int capacity); // below 1 becomes 1
    RecentList::Mode mode() const;
    void setMode(RecentList::Mode mode);
    void setRemoveOnSelect(bool on); // built-in value: false
    void setAcceleratorsVisible(bool on);
    void setFirstAccelerator(int first); // below 0 becomes 0
    void setAcceleratorDelimiter(AcceleratorDelimiter delimiter);
    void setGroupSize(int size); // 0 (or below) means no separators between entries
    void setAutoUpdate(bool on);
    void setAutoEnable(bool on);
    QMenu* menu() const;
    void setMenu(QMenu* menu);
    void setClickHandler(ClickHandler handler);

    const RecentList& list() const;
    QStringList items() const;

    void add(const QString& name, const QVariant& data = {});
    void clear();
    void remove(const QString& name);

    // Rebuilds the entries in the submenu now; needed only when autoUpdate is off.
    void updateMenu();

    // Erases the key, then writes "Item_0" (the top entry), "Item_1", ...
    void save(SettingsStore& store, const QString& key) const;
    // Replaces the list with "Item_<Capacity-1>" ... "Item_0" added in insert mode, skipping empty
    // or missing values, so "Item_0" ends on top; the menu is rebuilt once.
    void load(const SettingsStore& store, const QString& key);

private:
    struct ClickState
    {
        QString name;
        bool readded = false;
        ClickState* outer = nullptr;
    };

    void listChanged();
    void removeEntryItems();
    QString captionFor(int index) const;
    void itemClicked(QAction* item);

    RecentList m_list;
    QPointer<QMenu> m_menu;
    QList<QPointer<QAction>> m_entryItems; // entries and separators added by the last rebuild
    ClickHandler m_clickHandler;
    ClickState* m_click = nullptr; // innermost click whose handler is running
    int m_firstAccelerator = 0;
    int m_groupSize = 0;
    AcceleratorDelimiter m_delimiter = AcceleratorDelimiter::Space;
    bool m_removeOnSelect = false;
    bool m_acceleratorsVisible = true;
    bool m_autoUpdate = true;
    bool m_autoEnable = true;
};

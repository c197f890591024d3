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
    enum class AccelDelimiter { Space, Tab };
    using ClickHandler = std::function<void(const QString& name, const QString& caption, const QVariant& data)>;

    explicit RecentFilesMenu(QObject* parent = nullptr);
    ~RecentFilesMenu() override;

    int capacity() const;
    void setCapacity(int capacity); // below 1 becomes 1
    RecentList::Mode mode() const;
    void setMode(RecentList::Mode mode);
    bool removeOnSelect() const;
    void setRemoveOnSelect(bool on); // built-in value: false
    bool showAccelChar() const;
    void setShowAccelChar(bool on);
    int startAccel() const;
    void setStartAccel(int start); // below 0 becomes 0
    AccelDelimiter accelDelimiter() const;
    void setAccelDelimiter(AccelDelimiter delimiter);
    int separateSize() const;
    void setSeparateSize(int size); // 0 (or below) means no separators between entries
    bool autoUpdate() const;
    void setAutoUpdate(bool on);
    bool autoEnable() const;
    void setAutoEnable(bool on);
    QMenu* recentMenu() const;
    void setRecentMenu(QMenu* menu);
    const ClickHandler& onClick() const;
    void setOnClick(ClickHandler handler);

    const RecentList& strings() const;
    QStringList items() const;

    void Add(const QString& name, const QVariant& data = {});
    void Clear();
    void Remove(const QString& name);

    // Rebuilds the entries in the submenu now; needed only when autoUpdate is off.
    void UpdateRecentMenu();

    // Erases the key, then writes "Item_0" (the top entry), "Item_1", ...
    void SaveTo(SettingsStore& store, const QString& key) const;
    // Replaces the list with "Item_<Capacity-1>" ... "Item_0" added in insert mode, skipping empty
    // or missing values, so "Item_0" ends on top; the menu is rebuilt once.
    void LoadFrom(const SettingsStore& store, const QString& key);

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

    RecentList m_strings;
    QPointer<QMenu> m_menu;
    QList<QPointer<QAction>> m_entryItems; // entries and separators added by the last rebuild
    ClickHandler m_onClick;
    ClickState* m_click = nullptr; // innermost click whose handler is running
    int m_startAccel = 0;
    int m_separateSize = 0;
    AccelDelimiter m_delimiter = AccelDelimiter::Space;
    bool m_removeOnSelect = false;
    bool m_showAccelChar = true;
    bool m_autoUpdate = true;
    bool m_autoEnable = true;
};

#pragma once
// A bounded list of strings with a data slot per entry: the model behind a recent-files menu.
// Entries are paths and compare as the file system compares names (platform::sameFileName):
// exactly on Linux, without regard to case on Windows (Unicode case folding there, the same on
// every machine). No two entries ever compare equal.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class RecentList
{
public:
    enum class Mode { Insert, Append };

    static constexpr int DefaultCapacity = 10;

    // The one comparison used for entries.
    static bool sameName(const QString& a, const QString& b);

    explicit RecentList(int capacity = DefaultCapacity);
    RecentList(const RecentList&) = delete;
    RecentList& operator=(const RecentList&) = delete;

    int capacity() const;
    // Values below 1 become 1; shrinking trims from the bottom (insert) or the top (append).
    void setCapacity(int capacity);
    Mode mode() const;
    void setMode(Mode mode);

    int count() const;
    bool isEmpty() const;
    // Out-of-range indexes give an empty string / invalid variant.
    QString at(int index) const;
    QVariant dataAt(int index) const;
    QStringList strings() const;
    // Index of the entry naming the same file as name, or -1.
    int indexOf(const QString& name) const;

    // Adds a new entry at the top (insert) or bottom (append) and trims to the capacity; an entry
    // already listed moves there instead, keeping its own spelling and data. Returns the entry's
    // final index.
    int add(const QString& name, const QVariant& data = {});
    // Removes the entry comparing equal to name; returns whether there was one.
    bool remove(const QString& name);
    void removeAt(int index);
    void clear();

    // Changes made between the outermost beginUpdate and its endUpdate are reported once, at
    // endUpdate, and only if the list actually changed. Brackets nest.
    void beginUpdate();
    void endUpdate();
    bool isUpdating() const;
    void setChangeHandler(std::function<void()> handler);

private:
    struct Entry
    {
        QString name;
        QVariant data;
    };

    void trim();
    void markChanged();

    QList<Entry> m_entries;
    int m_capacity;
    Mode m_mode = Mode::Insert;
    int m_updateDepth = 0;
    bool m_changed = false;
    std::function<void()> m_changeHandler;
};

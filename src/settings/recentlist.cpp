#include "settings/recentlist.h"

#include "platform/platform.h"

#include <algorithm>
#include <utility>

namespace {

// Closes a bracket even when the work inside it throws.
class UpdateScope
{
public:
    explicit UpdateScope(RecentList& list) : m_list(list) { m_list.beginUpdate(); }
    ~UpdateScope() { m_list.endUpdate(); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    RecentList& m_list;
};

} // namespace

bool RecentList::sameName(const QString& a, const QString& b)
{
    return platform::sameFileName(a, b);
}

RecentList::RecentList(int capacity) : m_capacity(std::max(1, capacity))
{}

int RecentList::capacity() const
{
    return m_capacity;
}

void RecentList::setCapacity(int capacity)
{
    UpdateScope scope(*this);
    m_capacity = std::max(1, capacity);
    trim();
}

RecentList::Mode RecentList::mode() const
{
    return m_mode;
}

void RecentList::setMode(Mode mode)
{
    m_mode = mode;
}

int RecentList::count() const
{
    return int(m_entries.size());
}

bool RecentList::isEmpty() const
{
    return m_entries.isEmpty();
}

QString RecentList::at(int index) const
{
    return index >= 0 && index < count() ? m_entries.at(index).name : QString();
}

QVariant RecentList::dataAt(int index) const
{
    return index >= 0 && index < count() ? m_entries.at(index).data : QVariant();
}

QStringList RecentList::strings() const
{
    QStringList result;
    result.reserve(m_entries.size());
    for (const Entry& e : m_entries)
        result << e.name;
    return result;
}

int RecentList::indexOf(const QString& name) const
{
    for (int i = 0; i < count(); ++i)
        if (sameName(m_entries.at(i).name, name))
            return i;
    return -1;
}

int RecentList::add(const QString& name, const QVariant& data)
{
    UpdateScope scope(*this);
    const int found = indexOf(name);
    if (found >= 0) {
        const int target = m_mode == Mode::Insert ? 0 : count() - 1;
        if (found != target) {
            m_entries.move(found, target);
            markChanged();
        }
        return target;
    }
    if (m_mode == Mode::Insert)
        m_entries.prepend({name, data});
    else
        m_entries.append({name, data});
    markChanged();
    trim();
    return m_mode == Mode::Insert ? 0 : count() - 1;
}

bool RecentList::remove(const QString& name)
{
    const int found = indexOf(name);
    if (found < 0)
        return false;
    removeAt(found);
    return true;
}

void RecentList::removeAt(int index)
{
    if (index < 0 || index >= count())
        return;
    UpdateScope scope(*this);
    m_entries.removeAt(index);
    markChanged();
}

void RecentList::clear()
{
    if (m_entries.isEmpty())
        return;
    UpdateScope scope(*this);
    m_entries.clear();
    markChanged();
}

void RecentList::beginUpdate()
{
    ++m_updateDepth;
}

void RecentList::endUpdate()
{
    if (m_updateDepth == 0)
        return;
    if (--m_updateDepth > 0 || !m_changed)
        return;
    // Cleared first so a handler that changes the list again gets its own report.
    m_changed = false;
    if (m_changeHandler)
        m_changeHandler();
}

bool RecentList::isUpdating() const
{
    return m_updateDepth > 0;
}

void RecentList::setChangeHandler(std::function<void()> handler)
{
    m_changeHandler = std::move(handler);
}

void RecentList::trim()
{
    while (count() > m_capacity) {
        if (m_mode == Mode::Insert)
            m_entries.removeLast();
        else
            m_entries.removeFirst();
        markChanged();
    }
}

void RecentList::markChanged()
{
    m_changed = true;
}

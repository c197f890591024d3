#include "settings/recentstrings.h"

#include <algorithm>
#include <utility>

namespace {

// Closes a bracket even when the work inside it throws.
class UpdateScope
{
public:
    explicit UpdateScope(TRecentStrings& list) : m_list(list) { m_list.beginUpdate(); }
    ~UpdateScope() { m_list.endUpdate(); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    TRecentStrings& m_list;
};

} // namespace

bool TRecentStrings::sameName(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

TRecentStrings::TRecentStrings(int capacity) : m_capacity(std::max(1, capacity))
{}

int TRecentStrings::capacity() const
{
    return m_capacity;
}

void TRecentStrings::setCapacity(int capacity)
{
    UpdateScope scope(*this);
    m_capacity = std::max(1, capacity);
    trim();
}

TRecentStrings::Mode TRecentStrings::mode() const
{
    return m_mode;
}

void TRecentStrings::setMode(Mode mode)
{
    m_mode = mode;
}

int TRecentStrings::count() const
{
    return int(m_entries.size());
}

bool TRecentStrings::isEmpty() const
{
    return m_entries.isEmpty();
}

QString TRecentStrings::at(int index) const
{
    return index >= 0 && index < count() ? m_entries.at(index).name : QString();
}

QVariant TRecentStrings::dataAt(int index) const
{
    return index >= 0 && index < count() ? m_entries.at(index).data : QVariant();
}

void TRecentStrings::setDataAt(int index, const QVariant& data)
{
    if (index < 0 || index >= count())
        return;
    UpdateScope scope(*this);
    m_entries[index].data = data;
    markChanged();
}

QStringList TRecentStrings::strings() const
{
    QStringList result;
    result.reserve(m_entries.size());
    for (const Entry& e : m_entries)
        result << e.name;
    return result;
}

int TRecentStrings::indexOf(const QString& name) const
{
    for (int i = 0; i < count(); ++i)
        if (sameName(m_entries.at(i).name, name))
            return i;
    return -1;
}

int TRecentStrings::Add(const QString& name, const QVariant& data)
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

bool TRecentStrings::Remove(const QString& name)
{
    const int found = indexOf(name);
    if (found < 0)
        return false;
    RemoveAt(found);
    return true;
}

void TRecentStrings::RemoveAt(int index)
{
    if (index < 0 || index >= count())
        return;
    UpdateScope scope(*this);
    m_entries.removeAt(index);
    markChanged();
}

void TRecentStrings::Clear()
{
    if (m_entries.isEmpty())
        return;
    UpdateScope scope(*this);
    m_entries.clear();
    markChanged();
}

void TRecentStrings::beginUpdate()
{
    ++m_updateDepth;
}

void TRecentStrings::endUpdate()
{
    if (m_updateDepth == 0)
        return;
    if (--m_updateDepth > 0 || !m_changed)
        return;
    // Cleared first so a handler that changes the list again gets its own report.
    m_changed = false;
    if (m_onChange)
        m_onChange();
}

bool TRecentStrings::isUpdating() const
{
    return m_updateDepth > 0;
}

void TRecentStrings::setOnChange(std::function<void()> handler)
{
    m_onChange = std::move(handler);
}

void TRecentStrings::trim()
{
    while (count() > m_capacity) {
        if (m_mode == Mode::Insert)
            m_entries.removeLast();
        else
            m_entries.removeFirst();
        markChanged();
    }
}

void TRecentStrings::markChanged()
{
    m_changed = true;
}

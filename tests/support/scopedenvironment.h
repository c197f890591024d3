#pragma once
// Environment variables set for a test's scope (a null value unsets one) and put back as they were
// when it ends, however it ends.

#include <QByteArray>
#include <QList>
#include <QPair>

#include <initializer_list>

class ScopedEnvironment
{
public:
    ScopedEnvironment(std::initializer_list<QPair<const char*, QByteArray>> values)
    {
        for (const auto& [name, value] : values) {
            m_saved.append({name, qgetenv(name)});
            put(name, value);
        }
    }
    ~ScopedEnvironment()
    {
        for (auto it = m_saved.crbegin(); it != m_saved.crend(); ++it)
            put(it->first, it->second);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    static void put(const char* name, const QByteArray& value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

    QList<QPair<const char*, QByteArray>> m_saved;
};

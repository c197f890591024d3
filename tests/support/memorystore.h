#pragma once
// An in-memory settings store for tests: keys and names compare without regard to case, as in the
// real stores; erasing a key erases the keys below it. Every write is logged by name, and writing
// can be made to fail.

#include "settings/settingsstore.h"

#include <QMap>
#include <QStringList>
#include <stdexcept>

class MemoryStore : public SettingsStore
{
public:
    QString readString(const QString& key, const QString& name, const QString& fallback = {}) const override
    {
        const auto k = m_keys.constFind(key.toLower());
        if (k == m_keys.cend())
            return fallback;
        return k->value(name.toLower(), fallback);
    }
    void writeString(const QString& key, const QString& name, const QString& value) override
    {
        if (failWrites)
            throw std::runtime_error("store is read-only");
        m_keys[key.toLower()][name.toLower()] = value;
        log << name;
    }
    bool valueExists(const QString& key, const QString& name) const override
    {
        const auto k = m_keys.constFind(key.toLower());
        return k != m_keys.cend() && k->contains(name.toLower());
    }
    void eraseKey(const QString& key) override
    {
        const QString lower = key.toLower();
        for (auto it = m_keys.begin(); it != m_keys.end();) {
            if (it.key() == lower || it.key().startsWith(lower + QLatin1Char('\\')))
                it = m_keys.erase(it);
            else
                ++it;
        }
    }

    // The names written under a key (in lower case).
    QStringList names(const QString& key) const { return m_keys.value(key.toLower()).keys(); }
    bool isEmpty() const { return m_keys.isEmpty(); }

    QStringList log;
    bool failWrites = false;

protected:
    QMap<QString, QMap<QString, QString>> m_keys;
};

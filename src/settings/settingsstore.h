#pragma once
// The settings store: keys under the program key, each holding named string values. Key paths
// use "\" between levels as written ("Quillet Options", "MainWindow.MRUManager1"); names compare
// without regard to case. The backend (an INI file, or the registry on Windows) lives behind it.

#include <QString>

class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    virtual QString readString(const QString& key, const QString& name, const QString& fallback = {}) const = 0;
    virtual void writeString(const QString& key, const QString& name, const QString& value) = 0;
    virtual bool valueExists(const QString& key, const QString& name) const = 0;
    // Removes the key with every value and key below it.
    virtual void eraseKey(const QString& key) = 0;
};

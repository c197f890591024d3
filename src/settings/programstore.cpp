#include "settings/programstore.h"

#include "settings/inisettingsstore.h"

namespace {
SettingsStore* current = nullptr;
} // namespace

SettingsStore* programStore()
{
    return current;
}

void setProgramStore(SettingsStore* store)
{
    current = store;
}

bool flushProgramStore()
{
    if (auto* file = dynamic_cast<IniSettingsStore*>(current))
        return file->flush();
    return true;
}

#include "settings/programstore.h"

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

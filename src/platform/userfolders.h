#pragma once
// Per-user folders the program keeps its own state in.

#include <QString>

namespace platform {
// Where the recovery copies of unsaved documents live: "$XDG_STATE_HOME/Quillet/recovery"
// (default "~/.local/state/Quillet/recovery"); the local application data folder on Windows.
QString recoveryFolder();
} // namespace platform

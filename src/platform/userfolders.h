#pragma once
// Per-user folders the program keeps its own state in.

#include <QString>

namespace platform {
// The user's base folders for settings and data: $XDG_CONFIG_HOME (default "~/.config") and
// $XDG_DATA_HOME (default "~/.local/share"); Qt's generic locations on Windows. A relative value
// is ignored, as the XDG rules say (Qt's QStandardPaths takes it as it is).
QString configHome();
QString dataHome();

// The program's state: "$XDG_STATE_HOME/Quillet" (default "~/.local/state/Quillet"); the local
// application data folder on Windows. A relative XDG_STATE_HOME is ignored, as the XDG rules say.
QString stateFolder();
// Where the recovery copies of unsaved documents live: stateFolder() + "/recovery".
QString recoveryFolder();
// Where they go when the recovery folder cannot take them at the end of a run: the program's
// data folder, "$XDG_DATA_HOME/Quillet/recovery" (default "~/.local/share/Quillet/recovery").
QString secondRecoveryFolder();
// Recovery copies that cannot be opened (too large, damaged), moved out of the way of later starts:
// stateFolder() + "/set-aside".
QString setAsideFolder();
// The old content of files being written in place, kept until the write is over:
// stateFolder() + "/kept".
QString keptContentFolder();
} // namespace platform

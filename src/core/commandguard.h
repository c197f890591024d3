#pragma once
// The one guard every command runs inside: a CommandError reaches the standard error box,
// a QuietEnd is swallowed, and nothing escapes into the event loop.

#include <functional>

class CommandError;

// Runs `command`; returns false when it ended with an error or a quiet end.
bool runCommand(const std::function<void()>& command);
// Shows a command's error as the guard does: a refusal as a warning under its own title, any
// other error in the standard error box.
void showCommandError(const CommandError& error);

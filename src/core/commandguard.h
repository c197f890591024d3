#pragma once
// The one guard every command runs inside: a CommandError reaches the standard error box,
// a QuietEnd is swallowed, and nothing escapes into the event loop.

#include <functional>

// Runs `command`; returns false when it ended with an error or a quiet end.
bool runCommand(const std::function<void()>& command);

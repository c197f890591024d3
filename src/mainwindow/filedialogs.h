#pragma once
// The main window's four file dialogs. Each is made once and reused: a command sets its title,
// filter or file name, and they stay until something else sets them.

#include "core/filedialogstate.h"

struct ProgramWindows;

struct FileDialogs
{
    FileDialogState open;          // open, insert, append to
    FileDialogState save;          // save as
    FileDialogState saveSelection; // save selection, exports
    FileDialogState insert;
};

// The options window's filters, put into the four dialogs before each of them is shown.
// Throws CommandError ("List index out of bounds") when every filter was deleted.
void applyFilters(const ProgramWindows& windows, FileDialogs& dialogs);

#include "mainwindow/filedialogs.h"

#include "mainwindow/programwindows.h"
#include "windows/optionsdialog.h"

void applyFilters(const ProgramWindows& windows, FileDialogs& dialogs)
{
    if (windows.options)
        windows.options->applyFilters(dialogs.open, dialogs.save, dialogs.saveSelection, dialogs.insert);
}

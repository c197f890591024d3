#pragma once
// The program's windows are created once at start, in a fixed order, and kept for the whole run.

#include "mainwindow/programwindows.h"

#include <QStringList>

// Creates the ten windows in order into `windows`; the main window opens `arguments` as it is
// created, before the others exist. Each window restores itself from the settings as it comes.
void createProgramWindows(ProgramWindows& windows, const QStringList& arguments);
// Destroys them in reverse order; each saves itself on the way.
void destroyProgramWindows(ProgramWindows& windows);

#pragma once
// The program's windows, created once at start in a fixed order and kept for the whole run.
// Each is reached through its program-wide reference (QuilForm1, TipForm1, ...).

#include <QStringList>

// Creates the ten windows in order; the main window processes `arguments` as it is created.
void createForms(const QStringList& arguments);
// Destroys them in reverse order.
void destroyForms();

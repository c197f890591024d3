#pragma once
// The fonts the windows were designed with ("Courier New", "Arial", "MS Sans Serif") are often
// not installed. Each missing one is drawn with an installed family of the same kind, so the
// editor stays monospace and the font dialogs open on a family they list. The designed names stay
// what the program stores.

#include <QFont>

// Maps every designed font that is not installed to an installed family of its kind. Called
// once at start, before any window is made.
void substituteDesignedFonts();

// `font` with the family it is actually drawn with, for presetting a font dialog.
QFont fontInUse(const QFont& font);

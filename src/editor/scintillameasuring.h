#pragma once
// Lets Scintilla measure text in monospaced fonts from a table of character widths (see
// monospacewidths.h) instead of shaping every run with QTextLayout.

// Applies to every Scintilla view from then on; views measured before keep their laid-out lines
// until their styles or text change.
void installMonospaceMeasuring();
// Back to QTextLayout for everything.
void removeMonospaceMeasuring();

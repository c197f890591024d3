#pragma once
// The program's one settings store, set up by the program entry (or a test) before any window
// exists and kept until the last window has saved itself.

class SettingsStore;

SettingsStore* programStore();
// Not owned; null for none (windows then neither restore nor save).
void setProgramStore(SettingsStore* store);
// Writes what the program store holds to its file now, so a window's section confirmed by the
// user survives a crash or a kill; true when there was nothing to write or it was written. A
// store without a file has nothing to write.
bool flushProgramStore();

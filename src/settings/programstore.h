#pragma once
// The program's one settings store, set up by the program entry (or a test) before any window
// exists and kept until the last window has saved itself.

class SettingsStore;

SettingsStore* programStore();
// Not owned; null for none (windows then neither restore nor save).
void setProgramStore(SettingsStore* store);

#pragma once
// Program entry: the application object, the windows, the message loop.

int runQuillet(int argc, char** argv);

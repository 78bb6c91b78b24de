#pragma once

// The editor program from its command line to its exit code: our options,
// the hand-over to a running editor, the main window, the start-up device,
// a file named on the command line, the event loop.
int runEditor(int argc, char **argv);

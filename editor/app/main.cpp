#include "editor/app/EditorStartup.h"

int main(int argc, char *argv[]) { return runEditor(argc, argv); }

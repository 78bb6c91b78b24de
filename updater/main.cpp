#include "updater/wizard/UpdaterProgram.h"

int main(int argc, char **argv) { return Oxa::runProgram(argc, argv); }

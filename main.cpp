// Program entry of the horary workstation.
#include "mainwindow/ui/program.h"

int main(int argc, char** argv) { return RunProgram(argc, argv); }

// The program with the state probe (stateprobe.h) installed, for the tests
// that drive it through the window system; the e2e scripts copy it into a
// program folder in place of the plain program.

#include "shell/programmain.h"
#include "tests/e2e/stateprobe.h"

int main(int argc, char** argv) { return RunLexilark(argc, argv, InstallStateProbe); }

// Lexilark: the program the learner starts.

#include "shell/programmain.h"

int main(int argc, char** argv) { return RunLexilark(argc, argv); }

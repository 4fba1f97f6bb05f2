#pragma once
// Opening a library named on the command line, as the program opens it.

#include <string>

#include "core/wordlib0.h"

namespace lxtool {

// Opens the library FILE (a UTF-8 name) into `lib`. The program's own
// messages (a refused file, a warning about its groups) go to standard
// error; false when the library could not be opened.
bool OpenLibraryArg(const std::string& utf8Name, TWordLib0& lib);

}  // namespace lxtool

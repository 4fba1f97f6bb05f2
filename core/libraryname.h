#pragma once
// The rule for library names: a name becomes a file name, so it may not
// hold a character that file names refuse.

#include <string>

// False (after the message) when `name` holds one of / \ " : | < > * ?
bool CheckLibraryName(const std::string& gbkName);

#pragma once
// The libraries that come with the program (the favourites template among
// them). They are everyone's templates: a learner may delete a library of
// their own from the library folder, never one of these.

#include <string>

// `gbkFile`: a file name of the library folder, with its extension.
bool IsShippedLibrary(const std::string& gbkFile);

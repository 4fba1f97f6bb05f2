#pragma once
// The desktop's folder for a user's own data: $XDG_DATA_HOME, or
// ~/.local/share, on Linux; the application-data folders elsewhere.

#include <filesystem>

// Empty when the user has no home folder to keep data in (neither the
// data variable nor HOME set), so that nothing is written at the root.
std::filesystem::path UserDataHome();

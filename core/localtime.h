#pragma once
// The local calendar time of a moment, the same way on every platform
// (the thread-safe form of localtime).

#include <ctime>

std::tm ToLocalTime(std::time_t moment);

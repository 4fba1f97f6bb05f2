// LocalTime over the platform's thread-safe localtime.

#include "core/localtime.h"

std::tm ToLocalTime(std::time_t moment) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &moment);
#else
    localtime_r(&moment, &local);
#endif
    return local;
}

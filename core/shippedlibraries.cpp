#include "core/shippedlibraries.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "core/gbktext.h"

namespace {

// Written by the build from the library sources it turns into the shipped
// libraries (UTF-8 names).
constexpr std::string_view kShippedUtf8[] = {
#include "shippedlibraries.inc"
};

}  // namespace

bool IsShippedLibrary(const std::string& gbkFile) {
    const std::string utf8 = Utf8(gbkFile);
    return std::find(std::begin(kShippedUtf8), std::end(kShippedUtf8), utf8) != std::end(kShippedUtf8);
}

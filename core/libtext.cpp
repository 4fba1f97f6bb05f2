// The search for a mark of the library format inside a value.

#include "core/libtext.h"

#include "core/gbktext.h"
#include "core/tagtext.h"

std::string FindFormatMark(std::string_view text) {
    for (std::string_view name : kLibraryFormatTags) {
        for (const std::string& mark : {OpenMark(name), CloseMark(name)}) {
            if (FindGbk(text, mark) != std::string::npos) return mark;
        }
    }
    return {};
}

#include "tools/openlibrary.h"

#include "core/gbktext.h"
#include "tools/lxtool.h"

namespace lxtool {

bool OpenLibraryArg(const std::string& utf8Name, TWordLib0& lib) {
    std::optional<std::string> gbkName = TryUtf8ToGbk(PathArg(utf8Name));
    if (!gbkName) {
        Fail("cannot open '" + utf8Name + "': the name has characters a library name cannot hold");
        return false;
    }
    return lib.OpenWordLib(*gbkName);
}

}  // namespace lxtool

// The check of a library name against the characters file names refuse.

#include "core/libraryname.h"

#include "core/appmessage.h"
#include "core/gbktext.h"

bool CheckLibraryName(const std::string& gbkName) {
    static const std::string kForbidden = "/\\\":|<>*?";
    // The forbidden characters are all ASCII; searching GBK-aware keeps a
    // trail byte that happens to equal one of them from counting.
    for (char c : kForbidden) {
        if (FindGbk(gbkName, std::string(1, c)) != std::string::npos) {
            ShowAppMessage(Gbk("词库名称中不能有下列字符\r\n") + kForbidden, kMsgOk);
            return false;
        }
    }
    return true;
}

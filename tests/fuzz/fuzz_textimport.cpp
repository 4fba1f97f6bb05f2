// The text import. The input is a GBK word list in the import format. A
// refused text is refused with a message and writes nothing; an imported
// one opens as a library holding exactly the words and meanings parsed,
// every grade and study count 0.

#include <cstdint>
#include <string>
#include <vector>

#include "core/textimport.h"
#include "core/wordlib0.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InstallMessageCounter();
    const std::string_view text = fuzz::AsText(data, size);
    const auto target = fuzz::Folder() / "imported.lx";
    std::filesystem::remove(target);

    std::vector<WordList> words;
    if (!ImportTextLibText(text, target, "editor", "2026-12-10", "1.0", &words)) {
        fuzz::Check(fuzz::MessagesShown() > 0, "a refused import says why");
        fuzz::Check(!std::filesystem::exists(target), "a refused import writes nothing");
        return 0;
    }

    TWordLib list;
    TWordLib0 lib;
    list.SetDisplay(nullptr);
    lib.SetDisplay(nullptr);
    lib.StudyLib = &list;
    fuzz::Check(lib.OpenWordLib(target.string()), "an imported library opens");
    fuzz::Check(lib.Count == static_cast<int>(words.size()), "every parsed word is in the library");
    for (int i = 0; i < lib.Count; ++i) {
        fuzz::Check(lib.Words[i].Word == words[i].Word && lib.Words[i].Meaning == words[i].Meaning,
                    "words and meanings as parsed");
        fuzz::Check(lib.Words[i].Grade == 0 && lib.Words[i].StudyTimes == 0, "a fresh library");
    }
    return 0;
}

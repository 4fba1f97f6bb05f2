#include "core/recordings.h"

#include <algorithm>
#include <filesystem>

#include "core/datalists.h"
#include "core/gbktext.h"

std::string RecordingPath(const std::string& gbkProgramFolder, const std::string& name) {
    return gbkProgramFolder + "wav\\" + name;
}

RecordingLookup FindRecording(const std::string& gbkProgramFolder, std::string_view aliasText,
                              const std::string& word) {
    auto exists = [&](const std::string& name) {
        std::error_code ec;
        return !name.empty() &&
               std::filesystem::is_regular_file(ToNativePath(RecordingPath(gbkProgramFolder, name)), ec);
    };
    RecordingLookup found;
    if (exists(word + ".wav")) {
        found.name = word + ".wav";
        found.found = true;
        return found;
    }
    const std::string alias = LookupAlias(aliasText, word);
    if (!alias.empty()) found.name = alias + ".wav";
    found.found = exists(found.name);
    return found;
}

std::vector<std::string> WordsWithoutRecording(const std::vector<WordList>& words, int count,
                                               const std::string& gbkProgramFolder, std::string_view aliasText) {
    std::vector<std::string> lines;
    const size_t n = std::min(words.size(), static_cast<size_t>(std::max(count, 0)));
    for (size_t i = 0; i < n; ++i) {
        const std::string word = TrimGbk(words[i].Word);
        const RecordingLookup lookup = FindRecording(gbkProgramFolder, aliasText, word);
        if (!lookup.found) lines.push_back(word + "\t" + lookup.name);
    }
    return lines;
}

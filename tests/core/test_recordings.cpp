#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/datalists.h"
#include "core/gbktext.h"
#include "core/recordings.h"
#include "support/temp_folder.h"

namespace {

// A program folder with wav/ holding 水.wav, neko.wav and ame.wav, and an
// alias list (read as the study window reads it: lower-cased) that sends
// 猫 and Cat to neko, 雨 to ame, 山 to a recording that is not there, and
// 水 to ame (the word's own file wins).
class Recordings : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir / "wav");
        for (const char* name : {"水.wav", "neko.wav", "ame.wav"})
            TempFolder::WriteBytes(std::filesystem::path(dir.path()) / "wav" / std::filesystem::u8path(name), "RIFF");
        std::filesystem::create_directories(dir / "wav" / "dir.wav");  // a folder is no recording
        folder = FromNativePath(dir.path()) + "/";
        aliases = LowerCaseGbk(Gbk("\n猫\tneko\nCat\tneko\n雨\t ame \n山\tyama\n水\tame\nDir\tdir\n"));
    }

    TempFolder dir;
    std::string folder;
    std::string aliases;
};

TEST_F(Recordings, FindsTheWordsOwnFileThenItsAlias) {
    struct Case {
        const char* word;
        const char* name;
        bool found;
    };
    const std::vector<Case> cases = {
        {"水", "水.wav", true},     // its own file, before its alias
        {"猫", "neko.wav", true},   // by its alias
        {"CAT", "neko.wav", true},  // the alias lookup ignores letter case
        {"雨", "ame.wav", true},    // the alias is trimmed
        {"山", "yama.wav", false},  // an alias whose file is missing
        {"空", "", false},          // neither a file nor an alias
        {"dir", "dir.wav", false},  // a folder named like a recording
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        const RecordingLookup lookup = FindRecording(folder, aliases, Gbk(c.word));
        EXPECT_EQ(Utf8(lookup.name), c.name);
        EXPECT_EQ(lookup.found, c.found);
    }
    EXPECT_EQ(RecordingPath(folder, "a.wav"), folder + "wav\\a.wav");
}

TEST_F(Recordings, ListsTheWordsWithoutARecordingInOrder) {
    std::vector<WordList> words(10);
    const std::vector<const char*> texts = {"山", " 水 ", "空", "猫", "", "雨", "dir"};
    for (size_t i = 0; i < texts.size(); ++i) words[i].Word = Gbk(texts[i]);
    words[7].Word = Gbk("not counted");
    std::vector<std::string> lines;
    for (const std::string& line : WordsWithoutRecording(words, 7, folder, aliases)) lines.push_back(Utf8(line));
    EXPECT_EQ(lines, (std::vector<std::string>{"山\tyama.wav", "空\t", "\t", "dir\tdir.wav"}));
    EXPECT_TRUE(WordsWithoutRecording(words, 0, folder, aliases).empty());
}

}  // namespace

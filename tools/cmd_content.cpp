// lxtool content: turns the content sources of the shipped libraries into
// their import texts and merges their readings and sentences into the data
// lists, as the build lays out the program folder.

#include <filesystem>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/codec.h"
#include "core/contentsource.h"
#include "core/gbktext.h"
#include "core/plainfile.h"
#include "core/scrambledfile.h"
#include "tools/lxtool.h"

namespace {

namespace fs = std::filesystem;

std::string FileNameOf(const fs::path& p) { return p.filename().string(); }

// A hand-written list of `folder`, or an empty text when there is none.
std::optional<std::string> ReadList(const std::optional<fs::path>& folder, const char* name) {
    if (!folder) return std::string();
    fs::path path = *folder / name;
    std::error_code ec;
    if (!fs::exists(path, ec)) return std::string();
    return ReadPlainFile(path);
}

int RunContent(const lxtool::Args& args) {
    std::vector<std::string> positional;
    std::optional<fs::path> lists;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--lists") {
            if (i + 1 >= args.size()) return lxtool::Fail("--lists needs a folder");
            lists = lxtool::PathArg(args[++i]);
        } else if (args[i].rfind("--", 0) == 0) {
            return lxtool::Fail("unknown option '" + args[i] + "'");
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.empty()) return lxtool::Fail("usage: lxtool content OUTDIR [--lists DIR] SOURCE.tsv...");
    const fs::path outDir = lxtool::PathArg(positional[0]);

    std::vector<ContentFile> files;
    std::set<std::string> names;
    for (size_t i = 1; i < positional.size(); ++i) {
        const fs::path source = lxtool::PathArg(positional[i]);
        std::optional<std::string> text = ReadPlainFile(source);
        if (!text) return lxtool::Fail("cannot read '" + positional[i] + "'; nothing written");
        ContentFile file;
        file.name = source.stem().string();
        file.shownName = FileNameOf(source);
        if (!names.insert(file.name).second)
            return lxtool::Fail("two sources make the library " + file.name + "; nothing written");
        std::string error;
        if (!ParseContentSource(*text, file, error)) return lxtool::Fail(error + "; nothing written");
        files.push_back(std::move(file));
    }

    DataListTexts handMade, handMadeNames{"lx2.txt", "lx3.txt", "lx4.txt"};
    const std::pair<std::string*, const char*> listFiles[] = {
        {&handMade.readings, "lx2.txt"}, {&handMade.sentences, "lx3.txt"}, {&handMade.index, "lx4.txt"}};
    for (const auto& [text, name] : listFiles) {
        std::optional<std::string> read = ReadList(lists, name);
        if (!read) return lxtool::Fail(std::string("cannot read ") + name + "; nothing written");
        *text = std::move(*read);
    }
    DataListTexts merged;
    std::string error;
    if (!MergeDataLists(handMade, handMadeNames, files, merged, error))
        return lxtool::Fail(error + "; nothing written");

    std::vector<std::pair<fs::path, std::string>> outputs;
    for (const ContentFile& file : files) outputs.emplace_back(outDir / (file.name + ".txt"), ContentImportText(file));
    outputs.emplace_back(outDir / "lx2.txt", merged.readings);
    outputs.emplace_back(outDir / "lx3.txt", merged.sentences);
    outputs.emplace_back(outDir / "lx4.txt", merged.index);
    for (const auto& [path, text] : outputs) {
        std::optional<std::string> gbk = TryUtf8ToGbk(text);
        if (!gbk) return lxtool::Fail(FileNameOf(path) + " would hold a character GBK cannot hold; nothing written");
        if (gbk->size() > kLargestReadableFile)
            return lxtool::Fail(FileNameOf(path) + " would be " + std::to_string(gbk->size()) +
                                " bytes, more than the program reads (" + std::to_string(kLargestReadableFile) +
                                "); nothing written");
    }
    std::error_code ec;
    fs::create_directories(outDir, ec);
    for (const auto& [path, text] : outputs)
        if (!ReportSaveResult(SafeWriteFile(path, text))) return 1;
    for (const ContentFile& file : files) {
        size_t sentences = 0;
        for (const ContentEntry& e : file.entries) sentences += e.sentences.size();
        std::cout << file.name << ": " << file.entries.size() << " words, " << sentences << " sentences\n";
    }
    return 0;
}

}  // namespace

LXTOOL_COMMAND("content", "content OUTDIR [--lists DIR] SOURCE.tsv...",
               "Checks the content sources (UTF-8, one word a line: word, reading,\n"
               "meaning, then sentence and translation pairs, TAB-separated) and writes\n"
               "into OUTDIR the import text NAME.txt of each library and the data lists\n"
               "lx2.txt, lx3.txt and lx4.txt (UTF-8), merged with the hand-written\n"
               "lists of DIR. A fault is refused with its file and line, and nothing\n"
               "is written.",
               RunContent);

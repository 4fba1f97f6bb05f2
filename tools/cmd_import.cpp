// lxtool import: builds a word library from a plain text word list, exactly
// as the import page does.

#include <filesystem>
#include <iostream>
#include <optional>

#include "core/gbktext.h"
#include "core/importencoding.h"
#include "core/plainfile.h"
#include "core/textimport.h"
#include "tools/lxtool.h"

namespace {

struct ImportOptions {
    std::string source, target, editor, date, version;
    bool haveEditor = false, haveDate = false, utf8 = false;
};

// Parses the arguments; returns an error text (UTF-8) when they are wrong.
std::string ParseOptions(const lxtool::Args& args, ImportOptions& options) {
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& field) -> bool {
            if (i + 1 >= args.size()) return false;
            field = args[++i];
            return true;
        };
        if (arg == "--utf8") {
            options.utf8 = true;
        } else if (arg == "--editor") {
            if (!value(options.editor)) return "--editor needs a value";
            options.haveEditor = true;
        } else if (arg == "--date") {
            if (!value(options.date)) return "--date needs a value";
            options.haveDate = true;
        } else if (arg == "--version") {
            if (!value(options.version)) return "--version needs a value";
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            return "unknown option " + arg;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) return "expected SOURCE and TARGET";
    options.source = positional[0];
    options.target = positional[1];
    if (!options.haveEditor || options.editor.empty()) return "--editor must be given and not empty";
    if (!options.haveDate || options.date.empty()) return "--date must be given and not empty";
    return {};
}

std::optional<std::string> ToGbkArg(const std::string& utf8, const char* what, int& status) {
    std::optional<std::string> gbk = TryUtf8ToGbk(utf8);
    if (!gbk) status = lxtool::Fail(std::string(what) + " holds a character that GBK cannot hold");
    return gbk;
}

int RunImport(const lxtool::Args& args) {
    ImportOptions options;
    std::string error = ParseOptions(args, options);
    if (!error.empty())
        return lxtool::Fail(error + "\nusage: lxtool import SOURCE TARGET --editor E --date D [--version V] [--utf8]");

    int status = 0;
    auto editor = ToGbkArg(options.editor, "--editor", status);
    if (!editor) return status;
    auto date = ToGbkArg(options.date, "--date", status);
    if (!date) return status;
    auto version = ToGbkArg(options.version, "--version", status);
    if (!version) return status;

    std::filesystem::path source = lxtool::PathArg(options.source);
    std::filesystem::path target = lxtool::PathArg(options.target);
    std::error_code ec;
    if (std::filesystem::exists(target, ec) || std::filesystem::is_symlink(target, ec))
        return lxtool::Fail("'" + options.target + "' already exists; choose another name (nothing written)");

    std::optional<std::string> read = ReadPlainFile(source);
    if (!read) return lxtool::Fail("cannot read '" + options.source + "'; nothing written");
    // The importer shows its own messages on standard error.
    std::optional<std::string> text =
        ImportSourceToGbk(*read, options.utf8 ? SourceEncoding::Utf8 : SourceEncoding::Detect);
    if (!text) return 1;

    std::vector<WordList> words;
    if (!ImportTextLibText(*text, target, *editor, *date, *version, &words)) return 1;
    std::cout << "imported " << words.size() << " words into " << options.target << "\n";
    return 0;
}

}  // namespace

LXTOOL_COMMAND("import", "import SOURCE TARGET --editor E --date D [--version V] [--utf8]",
               "Builds the library TARGET (*.lx) from the word list SOURCE: two lines per\n"
               "word, the word and its explanation (indented by two spaces). SOURCE is read\n"
               "as UTF-8 when it starts with a UTF-8 byte order mark or is UTF-8 holding\n"
               "non-ASCII characters, otherwise as GBK; --utf8 reads it as UTF-8 always.\n"
               "An existing TARGET is never overwritten.",
               RunImport);

// Reading a scrambled file and saving one through SafeWriteFile.

#include "core/scrambledfile.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "core/appmessage.h"
#include "core/codec.h"
#include "core/gbktext.h"

namespace {

std::FILE* OpenForReading(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

std::string_view UpToNul(std::string_view text) {
    size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

}  // namespace

std::optional<std::string> ReadScrambledFile(const std::filesystem::path& path) {
    SeedKeystream(kKeystreamSeed);
    std::FILE* file = OpenForReading(path);
    if (!file) return std::nullopt;
    // The end-of-file read takes a place in the buffer too, so reading one
    // byte more than the largest accepted file tells whether it is too big.
    std::unique_ptr<char[]> raw(new char[kLargestReadableFile + 1]);
    size_t got = std::fread(raw.get(), 1, kLargestReadableFile + 1, file);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return std::nullopt;
    SetKeystreamAfterDraws(static_cast<uint64_t>(got) + 1);
    if (got > kLargestReadableFile) {
        ShowAppMessage(Gbk("词库过大，无法加载！请与作者联系！"), kMsgOk);
        return std::nullopt;
    }
    // Unscrambled in small pieces, each appended to the text at once, so the
    // bytes after a NUL are never unscrambled.
    constexpr size_t kPiece = 512;
    std::string text;
    text.reserve(got);
    for (size_t done = 0; done < got;) {
        size_t n = std::min(kPiece, got - done);
        char* piece = raw.get() + done;
        ScrambleAt(piece, n, done);
        size_t nul = std::string_view(piece, n).find('\0');
        if (nul != std::string_view::npos) {
            text.append(piece, nul);
            break;
        }
        text.append(piece, n);
        done += n;
    }
    return text;
}

void ScrambledWriter::Open(const std::filesystem::path& path, NewFileAccess access) {
    SeedKeystream(kKeystreamSeed);
    target_ = path;
    access_ = access;
    scrambled_.clear();
    open_ = true;
}

void ScrambledWriter::Append(std::string_view plain) {
    if (!open_) return;
    size_t offset = scrambled_.size();
    scrambled_.append(plain);
    ScrambleAt(scrambled_.data() + offset, plain.size(), offset);
}

void ScrambledWriter::WriteLineBreak() { Append("\n"); }

void ScrambledWriter::WritePlain(std::string_view plain) { Append(UpToNul(plain)); }

SaveResult ScrambledWriter::Close() {
    if (!open_) return {SaveResult::Fault::CannotCreate, target_};
    open_ = false;
    SetKeystreamAfterDraws(scrambled_.size());
    SaveResult result = SafeWriteFile(target_, scrambled_, access_);
    scrambled_.clear();
    return result;
}

void ScrambledWriter::Discard() {
    open_ = false;
    scrambled_.clear();
}

SaveResult WriteScrambledFile(const std::filesystem::path& path, std::string_view plain, NewFileAccess access) {
    ScrambledWriter writer;
    writer.Open(path, access);
    writer.WritePlain(plain);
    return writer.Close();
}

#include "core/syncplan.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

#include "core/codec.h"
#include "core/gbktext.h"
#include "core/libraryformat.h"
#include "core/numbertext.h"

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string_view StripWeak(std::string_view etag) {
    if (etag.size() >= 2 && (etag[0] == 'W' || etag[0] == 'w') && etag[1] == '/') etag.remove_prefix(2);
    return etag;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    return fields;
}

bool ParseSize(std::string_view text, std::uint64_t& value) {
    if (text.empty()) return false;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

bool LooksLikeWebPage(std::string_view bytes) {
    size_t start = 0;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") start = 3;
    while (start < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[start]))) ++start;
    const std::string head = Lower(bytes.substr(start, 64));
    return head.rfind("<!doctype", 0) == 0 || head.rfind("<html", 0) == 0 || head.rfind("<?xml", 0) == 0 ||
           head.rfind("<head", 0) == 0 || head.rfind("<body", 0) == 0;
}

std::string Quoted(const std::string& name) { return Gbk("“") + name + Gbk("”"); }

bool IsLibraryName(const std::string& name) { return EndsWith(Lower(name), ".lx"); }

}  // namespace

std::string ContentHash(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    static const char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) text[static_cast<size_t>(i)] = kDigits[hash & 0xF];
    return text;
}

bool IsSyncedFile(const std::string& name) {
    const std::string lower = Lower(name);
    if (lower.empty() || lower[0] == '.') return false;
    if (lower == kSyncSettingsFileName || lower == kSyncStateFileName || lower == "init.ini") return false;
    if (lower.rfind(std::string(kJournalFileName) + ".", 0) == 0) return false;
    // Temporary files of a save, of SQLite and of downloads under way.
    return !EndsWith(lower, "~") && !EndsWith(lower, ".tmp") && lower.find(".lxsave") == std::string::npos &&
           !EndsWith(lower, "-journal") && !EndsWith(lower, "-wal") && !EndsWith(lower, "-shm");
}

bool IsJournalFile(const std::string& name) { return Lower(name) == kJournalFileName; }

bool SameEtag(std::string_view a, std::string_view b) {
    return !a.empty() && !b.empty() && StripWeak(a) == StripWeak(b);
}

std::vector<SyncStep> PlanSync(const std::vector<LocalFile>& local, const std::vector<RemoteFile>& remote,
                               const std::vector<SyncedFile>& lastSync) {
    std::map<std::string, const LocalFile*> here;
    std::map<std::string, const RemoteFile*> there;
    std::map<std::string, const SyncedFile*> before;
    for (const auto& file : local)
        if (IsSyncedFile(file.name)) here[file.name] = &file;
    for (const auto& file : remote)
        if (IsSyncedFile(file.name)) there[file.name] = &file;
    for (const auto& file : lastSync) before[file.name] = &file;

    std::vector<std::string> names;
    for (const auto& [name, file] : here) names.push_back(name);
    for (const auto& [name, file] : there)
        if (!here.count(name)) names.push_back(name);
    std::sort(names.begin(), names.end());

    std::vector<SyncStep> steps;
    for (const std::string& name : names) {
        const auto localIt = here.find(name);
        const auto remoteIt = there.find(name);
        const auto beforeIt = before.find(name);
        const SyncedFile* last = beforeIt == before.end() ? nullptr : beforeIt->second;
        if (remoteIt == there.end()) {
            // Not on the server (new here, or removed there): send it, so
            // that nothing studied here exists only here.
            steps.push_back({SyncAction::Upload, name, std::string()});
            continue;
        }
        const RemoteFile& server = *remoteIt->second;
        if (localIt == here.end()) {
            steps.push_back({SyncAction::Download, name, server.etag});
            continue;
        }
        const LocalFile& mine = *localIt->second;
        const bool changedHere = !last || last->hash != mine.hash || last->size != mine.size;
        const bool changedThere = !last || !SameEtag(last->etag, server.etag);
        if (changedHere && changedThere) {
            steps.push_back({IsJournalFile(name) ? SyncAction::MergeJournal : SyncAction::Conflict, name, server.etag});
        } else if (changedHere) {
            steps.push_back({SyncAction::Upload, name, server.etag});
        } else if (changedThere) {
            steps.push_back({SyncAction::Download, name, server.etag});
        } else if (last->etag != server.etag) {
            // Only the weak mark came or went: keep the tag the server uses now.
            steps.push_back({SyncAction::Record, name, server.etag});
        }
    }
    return steps;
}

std::string FormatSyncState(const std::vector<SyncedFile>& files) {
    std::string text = "lexilark-sync 1\n";
    for (const SyncedFile& file : files) {
        text += file.name + '\t' + std::to_string(file.size) + '\t' + file.hash + '\t' + file.etag + '\n';
    }
    return text;
}

std::optional<std::vector<SyncedFile>> ParseSyncState(std::string_view text) {
    const std::vector<std::string> lines = SplitLibraryLines(text);
    if (lines.empty() || lines[0] != "lexilark-sync 1") return std::nullopt;
    std::vector<SyncedFile> files;
    for (size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const auto fields = SplitFields(lines[i]);
        SyncedFile file;
        if (fields.size() != 4 || fields[0].empty() || !ParseSize(fields[1], file.size)) return std::nullopt;
        file.name = std::string(fields[0]);
        file.hash = std::string(fields[2]);
        file.etag = std::string(fields[3]);
        files.push_back(std::move(file));
    }
    return files;
}

LibraryStats LibraryStatsOf(std::string_view scrambledBytes) {
    LibraryStats stats;
    if (scrambledBytes.size() > kLargestReadableFile) return stats;
    std::string text(scrambledBytes);
    ScrambleAt(text.data(), text.size(), 0);
    if (const size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    try {
        LibraryFileValues values;
        std::vector<WordList> words;
        ParseLibraryLines(SplitLibraryLines(text), values, words);
        // A header line is what every library and favourites file begins
        // with; text without one is not a library of ours.
        const std::vector<std::string> lines = SplitLibraryLines(text);
        if (lines.empty() || HasOpeningMark(lines.front(), "e")) return stats;
        if (!HasOpeningMark(lines.front(), "editor") && !HasOpeningMark(lines.front(), "date") &&
            !HasOpeningMark(lines.front(), "lw"))
            return stats;
        stats.readable = true;
        stats.words = static_cast<int>(words.size());
        for (const WordList& word : words) {
            if (word.StudyTimes > 0) ++stats.studied;
            ++stats.perGrade[static_cast<size_t>(word.Grade)];
            stats.totalDisplays += word.StudyTimes;
        }
    } catch (const ConvertError&) {
        stats.readable = false;
    }
    return stats;
}

ConflictChoice ObviousConflictChoice(std::string_view localBytes, std::string_view remoteBytes) {
    if (localBytes == remoteBytes) return ConflictChoice::KeepLocal;
    const LibraryStats here = LibraryStatsOf(localBytes);
    const LibraryStats there = LibraryStatsOf(remoteBytes);
    const auto untouched = [](const LibraryStats& stats) {
        return stats.readable && stats.studied == 0 && stats.totalDisplays == 0 && stats.perGrade[0] == stats.words;
    };
    if (untouched(here) && there.readable && !untouched(there)) return ConflictChoice::KeepRemote;
    if (untouched(there) && here.readable && !untouched(here)) return ConflictChoice::KeepLocal;
    return ConflictChoice::Undecided;
}

std::string CheckDownloadedFile(const std::string& name, std::string_view bytes, std::uint64_t listedSize) {
    if (bytes.size() != listedSize) {
        return Gbk("服务器上的文件") + Quoted(name) + Gbk("下载不完整（应有 ") + std::to_string(listedSize) +
               Gbk(" 字节，收到 ") + std::to_string(bytes.size()) + Gbk(" 字节），本机的文件没有改动。");
    }
    if (LooksLikeWebPage(bytes)) {
        return Gbk("服务器为文件") + Quoted(name) +
               Gbk("送回的是一个网页（可能是登录页），不是本程序的文件，本机的文件没有改动。");
    }
    if (IsLibraryName(name) && !LibraryStatsOf(bytes).readable) {
        return Gbk("服务器上的词库") + Quoted(name) + Gbk("已损坏，无法读取，本机的文件没有改动。");
    }
    if (IsJournalFile(name) && bytes.substr(0, 16) != std::string_view("SQLite format 3\0", 16)) {
        return Gbk("服务器上的学习记录") + Quoted(name) + Gbk("已损坏，本机的文件没有改动。");
    }
    return std::string();
}

std::string MakeLearnerId(std::uint64_t high, std::uint64_t low) {
    return ContentHash(std::string_view(reinterpret_cast<const char*>(&high), sizeof high)) +
           ContentHash(std::string_view(reinterpret_cast<const char*>(&low), sizeof low));
}

bool IsLearnerId(std::string_view id) {
    return id.size() == 32 &&
           std::all_of(id.begin(), id.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

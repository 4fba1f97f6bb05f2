#pragma once
// Keeping a learner's folder in step with a WebDAV server: what goes up,
// what comes down and what only the learner can decide, worked out from
// three listings: the files here, the files on the server and what both
// sides held when the last sync ended (kept per learner in the user folder).
//
// Nothing is ever deleted by a sync: a file missing on one side is copied
// from the other, so a sync can only add or replace, and what it replaces
// on a conflict goes to the progress backups first.
//
// File names are GBK, without folders (a learner's folder is flat).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The learner's study journal (kJournalFileName) is merged event by event
// instead of replaced.
#include "core/journal.h"
#include "core/wordlist.h"

// Per learner and per computer, never sent to the server.
inline constexpr const char* kSyncSettingsFileName = "sync.ini";
inline constexpr const char* kSyncStateFileName = "sync.state";

// A short text that changes whenever the bytes change (64-bit FNV-1a, in
// hexadecimal). It tells a changed file from an unchanged one; it is no
// protection against a file made to collide.
std::string ContentHash(std::string_view bytes);

// True for files of the learner's folder that take part in a sync: not the
// sync's own files, not init.ini, not the temporary files of a save, not
// the journal's log files nor its set-aside damaged copies.
bool IsSyncedFile(const std::string& name);
// True for the learner's study journal, which is merged, never replaced.
bool IsJournalFile(const std::string& name);

struct LocalFile {
    std::string name;
    std::uint64_t size = 0;
    std::string hash;
};

struct RemoteFile {
    std::string name;
    std::uint64_t size = 0;
    std::string etag;
};

// What both sides held after the last sync of one file.
struct SyncedFile {
    std::string name;
    std::uint64_t size = 0;
    std::string hash;
    std::string etag;
};

// The same entity tag, whether the server marked it weak or not (servers
// mark a tag weak while the file is younger than their clock's tick and
// drop the mark later).
bool SameEtag(std::string_view a, std::string_view b);

enum class SyncAction {
    Upload,        // changed here only (or not on the server): send it
    Download,      // changed on the server only (or not here): fetch it
    Conflict,      // changed on both sides: the learner chooses
    MergeJournal,  // the journal changed on both sides: merge the events
    Record,        // the same on both sides, but not recorded yet
};

struct SyncStep {
    SyncAction action = SyncAction::Upload;
    std::string name;
    // The server's tag an upload must still find there (If-Match); empty
    // for a file the server does not hold yet (If-None-Match: *).
    std::string etag;

    bool operator==(const SyncStep&) const = default;
};

// The steps of one sync, by file name. Unchanged files give no step.
std::vector<SyncStep> PlanSync(const std::vector<LocalFile>& local, const std::vector<RemoteFile>& remote,
                               const std::vector<SyncedFile>& lastSync);

// The last-sync record as kept on disk: a first line "lexilark-sync 1",
// then one line per file: name TAB size TAB hash TAB etag.
std::string FormatSyncState(const std::vector<SyncedFile>& files);
// Nothing when the text is not such a record (the sync then treats every
// file as new on both sides, which loses nothing).
std::optional<std::vector<SyncedFile>> ParseSyncState(std::string_view text);

// What a library (or the favourites) holds, for the conflict question.
struct LibraryStats {
    bool readable = false;
    int words = 0;
    int studied = 0;                           // words shown at least once
    std::array<int, kGradeLevels> perGrade{};  // words per grade
    long long totalDisplays = 0;               // sum of the study counts
};
// Reads scrambled library bytes with the program's own line parse; shows
// nothing.
LibraryStats LibraryStatsOf(std::string_view scrambledBytes);

// Which version of a library changed on both sides the learner keeps.
enum class ConflictChoice { Undecided, KeepLocal, KeepRemote };
// A version never studied at all gives way to one that was studied, and two
// equal texts need no choice; otherwise the learner decides (Undecided).
ConflictChoice ObviousConflictChoice(std::string_view localBytes, std::string_view remoteBytes);

// Why bytes fetched from the server cannot replace the file `name` here
// (GBK, naming the file), or empty when they can: fewer or more bytes than
// the server listed, a web page instead of the file, a library or the
// favourites that the program's reader refuses, a journal that is no
// SQLite database.
std::string CheckDownloadedFile(const std::string& name, std::string_view bytes, std::uint64_t listedSize);

// A new id for a learner's folder on the server: 32 hexadecimal digits
// from the given random words.
std::string MakeLearnerId(std::uint64_t high, std::uint64_t low);
// True for an id MakeLearnerId could have made (it becomes part of a URL).
bool IsLearnerId(std::string_view id);

#pragma once
// One sync of a learner's folder with their folder on a WebDAV server,
// "<address>/Lexilark/<learner id>/". Run() does the network work and is
// called on a worker thread; the decisions come from core/syncplan.h.
//
// Order of work, so that a failed sync changes nothing here: the server is
// listed, everything to fetch is fetched and checked, conflicts are asked,
// uploads are made (each one only over the version it was planned
// against); only then are fetched files written here, through the safe
// write, after a progress backup where a conflict replaces a library. The
// last-sync record keeps what is known to be the same on both sides, also
// after a failure, so the next sync takes up where this one stopped.
//
// The study journal is never replaced: what the server holds is merged
// into it event by event (first into a copy, which checks the server's
// file and, when this computer has events the server lacks, is what goes
// up), so no event of either computer is lost.

#include <QString>
#include <atomic>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/syncplan.h"
#include "core/syncsettings.h"

class WebDavClient;

struct SyncJob {
    std::string gbkProgramFolder;  // with its trailing separator
    int slot = 0;
    std::string gbkLearnerName;
    SyncSettings settings;
    QString password;
    std::string computer;  // this computer's name, shown in conflicts
    int timeoutMs = 20000;
};

// What the learner sees of one version in a conflict.
struct ConflictSide {
    LibraryStats stats;
    std::string gbkTime;      // last change, local time "2026-12-10 14:05"
    std::string gbkComputer;  // where it was last changed
};
struct SyncConflict {
    std::string name;  // the library's file name
    ConflictSide local, remote;
};

struct SyncOutcome {
    bool ok = false;
    bool cancelled = false;
    std::string gbkMessage;                 // for the learner: what happened
    std::string learnerId;                  // the id used (made or found on the first sync)
    std::vector<std::string> replacedHere;  // files written here
    int uploaded = 0;
    int downloaded = 0;
};

class SyncSession {
public:
    // Asked on the worker thread; the answer comes from the window's
    // thread. Undecided stops the sync.
    using ConflictQuestion = std::function<ConflictChoice(const SyncConflict&)>;
    // A short GBK text of the step under way.
    using Progress = std::function<void(const std::string& gbkStep)>;

    SyncSession(SyncJob job, ConflictQuestion ask, Progress progress = {});
    ~SyncSession();

    SyncOutcome Run();
    // From any thread: stops the request under way; nothing more is done.
    void Cancel();

    // Only checks that the server answers to the account (for "测试连接").
    SyncOutcome TestConnection();

private:
    struct Attempt;
    // Checks the address and makes the client; false with the reason.
    bool Connect(SyncOutcome& outcome);
    bool FindOrMakeLearnerId(SyncOutcome& outcome);
    // false with outcome filled on failure; `again` when the server changed
    // under the sync and the whole attempt should be repeated.
    bool RunAttempt(SyncOutcome& outcome, bool& again);

    SyncJob job_;
    ConflictQuestion ask_;
    Progress progress_;
    std::unique_ptr<WebDavClient> client_;
    std::atomic<bool> cancelled_{false};
    // Conflicts answered in this sync, by file: the hash of the server's
    // version that was shown, the choice, and whether the version not kept
    // is in the backups already. A sync that lists the server again asks
    // again only when that version changed meanwhile.
    struct Decision {
        std::string theirsHash;
        ConflictChoice choice = ConflictChoice::Undecided;
        bool backedUp = false;
    };
    std::map<std::string, Decision> decided_;
};

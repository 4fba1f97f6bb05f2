#include "platform/syncsession.h"

#include <QDateTime>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>
#include <algorithm>
#include <ctime>
#include <map>

#include "core/backups.h"
#include "core/gbktext.h"
#include "core/journal.h"
#include "core/plainfile.h"
#include "core/safewrite.h"
#include "core/usertable.h"
#include "platform/webdavclient.h"

namespace fs = std::filesystem;

namespace {

// Notes the sync keeps beside the learner's files on the server (their
// names start with a dot, so they never count as files of the learner).
constexpr const char* kLearnerNote = ".lexilark-learner";
constexpr const char* kOriginNote = ".lexilark-origin";
constexpr int kAttempts = 3;

QString Segment(const std::string& gbkName) { return QString::fromStdString(Utf8(gbkName)); }

QUrl Child(const QUrl& folder, const QString& name, bool isFolder = false) {
    QUrl url = folder;
    url.setPath(folder.path(QUrl::FullyDecoded) + name + (isFolder ? "/" : ""), QUrl::DecodedMode);
    return url;
}

std::string TimeText(const QDateTime& time) {
    return time.isValid() ? time.toLocalTime().toString("yyyy-MM-dd HH:mm").toStdString() : std::string();
}

std::string FileTime(const fs::path& file) {
    return TimeText(QFileInfo(QString::fromStdString(file.string())).lastModified());
}

std::string Quoted(const std::string& name) { return Gbk("“") + name + Gbk("”"); }

// "name TAB computer TAB time" lines: where each file was last sent from.
std::map<std::string, std::pair<std::string, std::string>> ParseOrigins(const QByteArray& text) {
    std::map<std::string, std::pair<std::string, std::string>> origins;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 3)
            origins[Gbk(fields[0].toStdString())] = {Gbk(fields[1].toStdString()), Gbk(fields[2].toStdString())};
    }
    return origins;
}

// A whole state of a journal, read through SQLite so that what still is in
// its log is in it too; `scratch` is used and removed.
std::optional<std::string> JournalBytes(const fs::path& journal, const fs::path& scratch, std::string& gbkError) {
    if (!CopyJournalFile(journal, scratch, &gbkError)) return std::nullopt;
    auto bytes = ReadPlainFile(scratch);
    std::error_code ec;
    fs::remove(scratch, ec);
    if (!bytes) gbkError = Gbk("无法读取学习记录的副本。");
    return bytes;
}

// Removes the sync's scratch files when an attempt ends, however it ends.
struct ScratchFiles {
    std::vector<fs::path> paths;
    ~ScratchFiles() {
        std::error_code ec;
        for (const fs::path& path : paths) fs::remove(path, ec);
    }
};

QByteArray FormatOrigins(const std::map<std::string, std::pair<std::string, std::string>>& origins) {
    QByteArray text;
    for (const auto& [name, origin] : origins) {
        text += QByteArray::fromStdString(Utf8(name) + "\t" + Utf8(origin.first) + "\t" + Utf8(origin.second) + "\n");
    }
    return text;
}

}  // namespace

struct SyncSession::Attempt {
    QUrl folder;
    std::vector<SyncedFile> state;
    // Files to write here once the network work is done.
    struct Write {
        std::string name;
        std::string bytes;
        std::string etag;
        bool afterConflict = false;
        // The journal: `bytes` are the server's, merged into the one here.
        bool mergeJournal = false;
    };
    std::vector<Write> writes;
    std::map<std::string, std::pair<std::string, std::string>> origins;
    bool originsRead = false;
    bool originsChanged = false;
};

SyncSession::SyncSession(SyncJob job, ConflictQuestion ask, Progress progress)
    : job_(std::move(job)), ask_(std::move(ask)), progress_(std::move(progress)) {}

SyncSession::~SyncSession() = default;

void SyncSession::Cancel() {
    cancelled_ = true;
    if (client_) client_->Cancel();
}

bool SyncSession::Connect(SyncOutcome& outcome) {
    if (const std::string bad = CheckSyncAddress(job_.settings.address); !bad.empty()) {
        outcome.gbkMessage = bad;
        return false;
    }
    client_ = std::make_unique<WebDavClient>(QString::fromStdString(Utf8(job_.settings.account)), job_.password,
                                             job_.timeoutMs);
    if (cancelled_) client_->Cancel();
    return true;
}

SyncOutcome SyncSession::TestConnection() {
    SyncOutcome outcome;
    if (!Connect(outcome)) return outcome;
    const QUrl base(QString::fromStdString(SyncBaseAddress(job_.settings.address)));
    const DavReply reply = client_->Propfind(base, 0);
    if (reply.status != 207) {
        outcome.cancelled = reply.cancelled;
        outcome.gbkMessage = DavFailureText(reply, Gbk("连接服务器"));
        return outcome;
    }
    outcome.ok = true;
    outcome.gbkMessage = Gbk("连接成功：服务器接受了这个账号和密码。");
    return outcome;
}

bool SyncSession::FindOrMakeLearnerId(SyncOutcome& outcome) {
    const QUrl root(QString::fromStdString(SyncBaseAddress(job_.settings.address) + "Lexilark/"));
    if (IsLearnerId(job_.settings.learnerId)) {
        outcome.learnerId = job_.settings.learnerId;
        return true;
    }
    // A learner who syncs for the first time on this computer may have
    // synced elsewhere: their folder there carries their name.
    const DavReply listing = client_->Propfind(root, 1);
    if (listing.status == 207) {
        for (const DavEntry& entry : WebDavClient::ParseMultistatus(listing.body, listing.url)) {
            if (!entry.folder || !IsLearnerId(entry.name.toStdString())) continue;
            const DavReply note = client_->Get(Child(Child(root, entry.name, true), kLearnerNote));
            if (note.ok() && note.body == QByteArray::fromStdString(Utf8(job_.gbkLearnerName))) {
                outcome.learnerId = entry.name.toStdString();
                return true;
            }
            if (note.cancelled || note.timedOut || note.status == 0) {
                outcome.gbkMessage = DavFailureText(note, Gbk("查找服务器上的学员文件夹"));
                return false;
            }
        }
    } else if (listing.status != 404) {
        outcome.gbkMessage = DavFailureText(listing, Gbk("查找服务器上的学员文件夹"));
        return false;
    }
    QRandomGenerator* random = QRandomGenerator::system();
    outcome.learnerId = MakeLearnerId(random->generate64(), random->generate64());
    return true;
}

SyncOutcome SyncSession::Run() {
    SyncOutcome outcome;
    if (!Connect(outcome)) return outcome;
    if (progress_) progress_(Gbk("正在连接服务器……"));
    if (!FindOrMakeLearnerId(outcome)) {
        outcome.cancelled = cancelled_;
        return outcome;
    }
    const QUrl root(QString::fromStdString(SyncBaseAddress(job_.settings.address) + "Lexilark/"));
    for (const QUrl& folder : {root, Child(root, QString::fromStdString(outcome.learnerId), true)}) {
        const DavReply made = client_->Mkcol(folder);
        // 405: the folder is there already.
        if (!made.ok() && made.status != 405) {
            outcome.cancelled = made.cancelled;
            outcome.gbkMessage = DavFailureText(made, Gbk("在服务器上建立文件夹"));
            return outcome;
        }
    }
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        bool again = false;
        if (RunAttempt(outcome, again)) return outcome;
        if (!again) break;
        // The server changed a file under the sync, or its tag is still
        // the weak one of a file younger than its clock tick: list again.
        QThread::msleep(1100);
    }
    outcome.cancelled = cancelled_;
    if (outcome.gbkMessage.empty()) {
        outcome.gbkMessage =
            Gbk("服务器上的文件在同步时一再被改动（也许另一台电脑正在同步），请稍后再同步。本机的文件没有改动。");
    }
    return outcome;
}

bool SyncSession::RunAttempt(SyncOutcome& outcome, bool& again) {
    again = false;
    const fs::path user = ToNativePath(UserFolderOf(job_.gbkProgramFolder, job_.slot));
    const fs::path statePath = user / kSyncStateFileName;
    Attempt work;
    std::error_code madeEc;
    fs::create_directories(user, madeEc);
    work.folder = Child(QUrl(QString::fromStdString(SyncBaseAddress(job_.settings.address) + "Lexilark/")),
                        QString::fromStdString(outcome.learnerId), true);
    if (const auto text = ReadPlainFile(statePath)) {
        if (const auto parsed = ParseSyncState(*text)) work.state = *parsed;
    }
    const auto fail = [&](const DavReply& reply, const std::string& gbkDoing) {
        outcome.cancelled = reply.cancelled;
        outcome.gbkMessage = DavFailureText(reply, gbkDoing);
        return false;
    };
    const auto saveState = [&] { SafeWriteFile(statePath, FormatSyncState(work.state)); };
    const auto record = [&](const std::string& name, const std::string& bytes, const std::string& etag) {
        for (auto it = work.state.begin(); it != work.state.end(); ++it)
            if (it->name == name) {
                work.state.erase(it);
                break;
            }
        work.state.push_back({name, bytes.size(), ContentHash(bytes), etag});
    };

    // Scratch files of the journal: a copy of the one here, the server's.
    ScratchFiles scratch{
        {user / ".sync-journal-copy.tmp", user / ".sync-journal-merged.tmp", user / ".sync-journal-server.tmp"}};
    const fs::path& mergedCopy = scratch.paths[1];
    const fs::path& serverCopy = scratch.paths[2];

    if (progress_) progress_(Gbk("正在比较本机和服务器上的文件……"));
    const DavReply listing = client_->Propfind(work.folder, 1);
    if (listing.status != 207) return fail(listing, Gbk("读取服务器上的文件列表"));
    std::vector<RemoteFile> remote;
    std::map<std::string, DavEntry> remoteEntries;
    for (const DavEntry& entry : WebDavClient::ParseMultistatus(listing.body, listing.url)) {
        if (entry.folder || entry.name.isEmpty()) continue;
        const std::string name = Gbk(entry.name.toStdString());
        remote.push_back({name, static_cast<std::uint64_t>(entry.size), entry.etag.toStdString()});
        remoteEntries[name] = entry;
    }

    std::vector<LocalFile> local;
    std::map<std::string, std::string> localBytes;
    std::error_code ec;
    for (fs::directory_iterator it(user, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (!it->is_regular_file(fileEc)) continue;
        const std::string name = FromNativePath(it->path().filename());
        if (!IsSyncedFile(name)) continue;
        std::string error;
        const auto bytes =
            IsJournalFile(name) ? JournalBytes(it->path(), scratch.paths.at(0), error) : ReadPlainFile(it->path());
        if (!bytes) {
            outcome.gbkMessage = Gbk("无法读取文件") + Quoted(name) + Gbk("，没有同步。") + error;
            return false;
        }
        local.push_back({name, bytes->size(), ContentHash(*bytes)});
        localBytes[name] = *bytes;
    }

    const auto readOrigins = [&] {
        if (work.originsRead) return;
        work.originsRead = true;
        const DavReply note = client_->Get(Child(work.folder, kOriginNote));
        if (note.ok()) work.origins = ParseOrigins(note.body);
    };
    const auto origin = [&](const std::string& name) -> std::pair<std::string, std::string> {
        readOrigins();
        const auto it = work.origins.find(name);
        return it == work.origins.end() ? std::pair<std::string, std::string>() : it->second;
    };
    const auto upload = [&](const std::string& name, const std::string& etag) -> bool {
        if (progress_) progress_(Gbk("正在上传") + Quoted(name) + Gbk("……"));
        const std::string& bytes = localBytes[name];
        const QUrl url = Child(work.folder, Segment(name));
        const DavReply put = client_->Put(url, QByteArray::fromStdString(bytes), QString::fromStdString(etag));
        if (put.status == 412) {
            again = true;
            return false;
        }
        if (!put.ok()) return fail(put, Gbk("上传") + Quoted(name));
        // The server's tag of what was just sent (PUT answers rarely carry it).
        std::string newTag = put.etag.toStdString();
        if (newTag.empty()) {
            const DavReply props = client_->Propfind(url, 0);
            if (props.status != 207) return fail(props, Gbk("读取") + Quoted(name) + Gbk("在服务器上的状态"));
            const auto entries = WebDavClient::ParseMultistatus(props.body, props.url);
            if (!entries.isEmpty()) newTag = entries.front().etag.toStdString();
        }
        record(name, bytes, newTag);
        saveState();
        readOrigins();
        work.origins[name] = {job_.computer, TimeText(QDateTime::currentDateTime())};
        work.originsChanged = true;
        ++outcome.uploaded;
        return true;
    };
    const auto fetch = [&](const std::string& name, std::string& bytes) -> bool {
        if (progress_) progress_(Gbk("正在下载") + Quoted(name) + Gbk("……"));
        const DavReply got = client_->Get(Child(work.folder, Segment(name)));
        if (!got.ok()) return fail(got, Gbk("下载") + Quoted(name));
        const DavEntry& listed = remoteEntries[name];
        if (!got.etag.isEmpty() && !SameEtag(got.etag.toStdString(), listed.etag.toStdString())) {
            again = true;  // changed since it was listed
            return false;
        }
        bytes = got.body.toStdString();
        if (const std::string refused = CheckDownloadedFile(name, bytes, static_cast<std::uint64_t>(listed.size));
            !refused.empty()) {
            outcome.gbkMessage = refused;
            return false;
        }
        return true;
    };

    // The server's journal is merged into a copy of the one here first:
    // that reads it with the journal's own reader before anything here
    // changes, and when this computer has events the server lacks, the
    // copy, holding both, goes up.
    const auto journalStep = [&](const SyncStep& step) -> bool {
        std::string theirs;
        if (!fetch(step.name, theirs)) return false;
        std::error_code ec;
        fs::remove(mergedCopy, ec);
        const auto here = localBytes.find(step.name);
        std::string error;
        bool merged =
            SafeWriteFile(serverCopy, theirs) && (here == localBytes.end() || SafeWriteFile(mergedCopy, here->second));
        if (!merged) error = Gbk("无法暂存学习记录。");
        merged = merged && MergeJournalFile(mergedCopy, serverCopy, &error);
        if (!merged) {
            outcome.gbkMessage = Gbk("服务器上的学习记录") + Quoted(step.name) + Gbk("无法合并，本机的文件没有改动。") +
                                 Gbk("\r\n") + error;
            return false;
        }
        std::string etag = step.etag;
        if (step.action == SyncAction::MergeJournal) {
            const auto both = JournalBytes(mergedCopy, scratch.paths[0], error);
            if (!both) {
                outcome.gbkMessage = error;
                return false;
            }
            localBytes[step.name] = *both;
            if (!upload(step.name, step.etag)) return false;
            for (const SyncedFile& file : work.state)
                if (file.name == step.name) etag = file.etag;
        }
        Attempt::Write write{step.name, std::move(theirs), etag};
        write.mergeJournal = true;
        work.writes.push_back(std::move(write));
        return true;
    };

    for (const SyncStep& step : PlanSync(local, remote, work.state)) {
        if (cancelled_) {
            outcome.cancelled = true;
            outcome.gbkMessage = Gbk("同步已取消。本机的文件没有改动。");
            return false;
        }
        switch (step.action) {
            case SyncAction::Upload:
                if (!upload(step.name, step.etag)) return false;
                break;
            case SyncAction::MergeJournal:
                if (!journalStep(step)) return false;
                break;
            case SyncAction::Download: {
                if (IsJournalFile(step.name)) {
                    if (!journalStep(step)) return false;
                    break;
                }
                std::string bytes;
                if (!fetch(step.name, bytes)) return false;
                work.writes.push_back({step.name, std::move(bytes), step.etag, false});
                break;
            }
            case SyncAction::Record:
                record(step.name, localBytes[step.name], step.etag);
                break;
            case SyncAction::Conflict: {
                std::string theirs;
                if (!fetch(step.name, theirs)) return false;
                const std::string& mine = localBytes[step.name];
                ConflictChoice choice = ObviousConflictChoice(mine, theirs);
                Decision& decision = decided_[step.name];
                if (decision.theirsHash != ContentHash(theirs)) decision = Decision{ContentHash(theirs)};
                if (choice == ConflictChoice::Undecided) choice = decision.choice;
                if (choice == ConflictChoice::Undecided) {
                    SyncConflict conflict;
                    conflict.name = step.name;
                    conflict.local = {LibraryStatsOf(mine), FileTime(user / ToNativePath(step.name)), job_.computer};
                    const auto [computer, time] = origin(step.name);
                    conflict.remote = {LibraryStatsOf(theirs),
                                       time.empty() ? TimeText(remoteEntries[step.name].modified) : time,
                                       computer.empty() ? Gbk("另一台电脑") : computer};
                    choice = ask_ ? ask_(conflict) : ConflictChoice::Undecided;
                }
                if (choice == ConflictChoice::Undecided) {
                    outcome.cancelled = true;
                    outcome.gbkMessage =
                        Gbk("没有选择") + Quoted(step.name) + Gbk("要保留的版本，同步已停止。本机的文件没有改动。");
                    return false;
                }
                decision.choice = choice;
                if (mine == theirs) {
                    record(step.name, mine, step.etag);
                } else if (choice == ConflictChoice::KeepLocal) {
                    // The server's version stays restorable among the backups.
                    if (!decision.backedUp) {
                        const BackupOutcome kept = MakeBackupWithVersion(job_.gbkProgramFolder, job_.slot,
                                                                         std::time(nullptr), step.name, theirs);
                        if (!kept.ok) {
                            outcome.gbkMessage = kept.gbkError + Gbk("\r\n没有备份服务器上的版本，同步已停止。");
                            return false;
                        }
                        decision.backedUp = true;
                    }
                    if (!upload(step.name, step.etag)) return false;
                } else {
                    work.writes.push_back({step.name, std::move(theirs), step.etag, true});
                }
                break;
            }
        }
    }

    // Everything fetched is here and checked: now the files here change.
    const bool backupFirst = std::any_of(work.writes.begin(), work.writes.end(),
                                         [](const Attempt::Write& write) { return write.afterConflict; });
    if (backupFirst) {
        const BackupOutcome kept = MakeBackup(job_.gbkProgramFolder, job_.slot, std::time(nullptr));
        if (!kept.ok && !kept.skipped) {
            outcome.gbkMessage = kept.gbkError + Gbk("\r\n没有备份本机的版本，同步已停止，本机的文件没有改动。");
            saveState();
            return false;
        }
    }
    for (const Attempt::Write& write : work.writes) {
        if (write.mergeJournal) {
            const fs::path journal = user / ToNativePath(write.name);
            std::string error;
            if (!SafeWriteFile(serverCopy, write.bytes) || !MergeJournalFile(journal, serverCopy, &error)) {
                outcome.gbkMessage =
                    Gbk("无法把服务器上的学习记录合并进本机的学习记录，本机的学习记录没有改动。") + error;
                saveState();
                return false;
            }
            // Recorded as it is now, so that it goes up again only when it
            // gains events of its own.
            if (const auto now = JournalBytes(journal, scratch.paths[0], error)) record(write.name, *now, write.etag);
            outcome.replacedHere.push_back(write.name);
            ++outcome.downloaded;
            continue;
        }
        const SaveResult saved = SafeWriteFile(user / ToNativePath(write.name), write.bytes);
        if (!saved) {
            outcome.gbkMessage = saved.Message();
            saveState();
            return false;
        }
        if (!write.etag.empty()) record(write.name, write.bytes, write.etag);
        outcome.replacedHere.push_back(write.name);
        ++outcome.downloaded;
    }
    saveState();

    if (work.originsChanged) {
        client_->PutAlways(Child(work.folder, kOriginNote), FormatOrigins(work.origins));
    }
    client_->PutAlways(Child(work.folder, kLearnerNote), QByteArray::fromStdString(Utf8(job_.gbkLearnerName)));

    outcome.ok = true;
    if (outcome.uploaded == 0 && outcome.downloaded == 0) {
        outcome.gbkMessage = Gbk("同步完成：两边已经一致。");
    } else {
        outcome.gbkMessage = Gbk("同步完成：上传 ") + std::to_string(outcome.uploaded) + Gbk(" 个文件，下载 ") +
                             std::to_string(outcome.downloaded) + Gbk(" 个文件。");
    }
    return true;
}

#include "shell/learnersync.h"

#include <QDateTime>
#include <QSysInfo>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/plainfile.h"
#include "core/safewrite.h"
#include "core/usertable.h"
#include "platform/passwordstore.h"
#include "platform/syncrunner.h"
#include "shell/syncconflictdialog.h"
#include "widgets/screentext.h"

namespace {

std::filesystem::path SettingsFile(const std::string& gbkProgramFolder, int slot) {
    return ToNativePath(UserFolderOf(gbkProgramFolder, slot)) / kSyncSettingsFileName;
}

}  // namespace

SyncSettings LoadSyncSettings(const std::string& gbkProgramFolder, int slot) {
    const auto text = ReadPlainFile(SettingsFile(gbkProgramFolder, slot));
    return text ? ParseSyncSettings(*text) : SyncSettings();
}

bool SaveSyncSettings(const std::string& gbkProgramFolder, int slot, const SyncSettings& settings) {
    const std::filesystem::path file = SettingsFile(gbkProgramFolder, slot);
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    return ReportSaveResult(SafeWriteFile(file, FormatSyncSettings(settings)));
}

QString SyncPasswordKey(const SyncSettings& settings) {
    return Screen(settings.account) + "@" + Screen(SyncBaseAddress(settings.address));
}

std::string ThisComputerName() {
    const std::string name = QSysInfo::machineHostName().toStdString();
    return name.empty() ? Gbk("这台电脑") : Gbk(name);
}

SyncRunner& LearnerSyncRunner() {
    static SyncRunner* runner = [] {
        auto* made = new SyncRunner;
        made->SetConflictAsker(&AskSyncConflict);
        return made;
    }();
    return *runner;
}

SyncOutcome SyncLearner(QWidget* parent, const std::string& gbkProgramFolder, int slot,
                        const std::string& gbkLearnerName, SyncMoment moment, const QString* password) {
    SyncOutcome outcome;
    SyncSettings settings = LoadSyncSettings(gbkProgramFolder, slot);
    const bool asked = moment == SyncMoment::Now || moment == SyncMoment::TestOnly;
    if (!asked && (!settings.enabled || settings.address.empty())) return outcome;

    SyncJob job;
    job.gbkProgramFolder = gbkProgramFolder;
    job.slot = slot;
    job.gbkLearnerName = gbkLearnerName;
    job.settings = settings;
    job.computer = ThisComputerName();
    job.password = password ? *password : ReadSyncPassword(SyncPasswordKey(settings)).password;

    SyncRunner& runner = LearnerSyncRunner();
    outcome = moment == SyncMoment::TestOnly ? runner.TestConnection(parent, job) : runner.Run(parent, job);
    if (outcome.cancelled && !asked) return outcome;

    if (moment != SyncMoment::TestOnly) {
        // Read again: the page may have saved while the sync ran.
        SyncSettings kept = LoadSyncSettings(gbkProgramFolder, slot);
        if (IsLearnerId(outcome.learnerId) && !IsLearnerId(kept.learnerId)) kept.learnerId = outcome.learnerId;
        kept.lastTime = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm").toStdString();
        kept.lastResult = outcome.gbkMessage;
        SaveSyncSettings(gbkProgramFolder, slot, kept);
    }
    if (!outcome.ok) {
        const bool studyGoesOn = moment == SyncMoment::Login || moment == SyncMoment::Return;
        ShowAppMessage(Gbk("同步没有成功：") + outcome.gbkMessage +
                       (studyGoesOn ? Gbk("\r\n\r\n这不影响背单词，下次同步时会补上。") : std::string()));
    } else if (asked) {
        ShowAppMessage(outcome.gbkMessage);
    }
    return outcome;
}

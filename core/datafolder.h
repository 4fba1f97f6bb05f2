#pragma once
// Where the program keeps its files, and the learner's own data folder of
// an installed program.
//
// A portable program folder (the executable's folder, writable and
// holding the shipped files) is used as it is. An installed program
// (read-only, the shipped files under <prefix>/share/lexilark) keeps each
// learner's files in <data home>/Lexilark, laid out from the shipped
// files at the first start and brought up to date after an upgrade:
// shipped files the learner left alone are replaced by their new
// versions, missing ones come back, and everything of the learner's
// (init.ini, users/, backups/, their own libraries, shipped files they
// changed) is never touched. A record of what was laid out, with the
// SHA-256 of each file, tells the two apart.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/safewrite.h"

struct ProgramFolderChoice {
    bool installed = false;
    // Where the program reads and writes its files; empty when an installed
    // program finds no data home to put them in.
    std::filesystem::path programFolder;
    // The shipped files: the program folder itself when portable.
    std::filesystem::path shippedFolder;
};

// The record of the laid-out shipped files in a data folder.
inline constexpr const char* kShippedRecordName = "shipped-files.sha256";

// True when `folder` holds the shipped files (the data lists and the
// library folder).
bool HoldsShippedFiles(const std::filesystem::path& folder);

// True when the program may create files in `folder`. A folder without
// any write permission bit counts as read-only even for the superuser.
bool IsWritableFolder(const std::filesystem::path& folder);

// Portable when the executable's folder is writable and holds the shipped
// files. Otherwise installed: the shipped files are those of the
// executable's folder or of ../share/lexilark beside it, and the program
// folder is `dataHome`/Lexilark (`dataHome` is the desktop's folder for
// user data, e.g. ~/.local/share; a relative one is not used). Where no
// shipped files are found at all the executable's folder is used as
// before, and the program says which file it misses.
ProgramFolderChoice ChooseProgramFolder(const std::filesystem::path& executableFolder,
                                        const std::filesystem::path& dataHome);

// Makes the data folder. Empty on success, otherwise what the learner is
// told (GBK), naming the folder.
std::string CreateDataFolder(const std::filesystem::path& dataFolder);

struct DataFolderLayout {
    // GBK; not empty when the folder could not be laid out and the program
    // cannot start on it (a full disk, no permission).
    std::string fatal;
    // Shipped files with a new version that were not replaced because the
    // learner made them read-only; the program says so and goes on with
    // the old ones.
    std::vector<SaveResult> notUpdated;
    // Files written into the data folder (relative, generic form).
    std::vector<std::string> written;
};

// Lays out `dataFolder` (which exists) from `shippedFolder`, or completes
// or updates it. Files are written whole (SafeWriteFile); the record is
// written last, so a start that was killed half way is finished by the
// next one.
DataFolderLayout LayOutDataFolder(const std::filesystem::path& shippedFolder, const std::filesystem::path& dataFolder);

#pragma once
// Saving the user table together with the user folders, so that init.ini
// and the folders agree even when the program is killed half-way.
//
// Everything a user owns apart from name and password is tied to the slot:
// the "lastwordlib" entry and the folder "users\userN\". When the table was
// edited (users deleted, later users moved down, users added), saving it
// moves the folders to match:
//   - a deleted user's folder is set aside as "users\<name>_<date>\", never
//     handed to another user;
//   - the folder of each later user moves down with that user;
//   - a user added into a slot whose folder still holds an earlier user's
//     files starts clean: those files are set aside as
//     "users\userN_旧文件_<date>\".
// A set-aside name already taken gets "_2", "_3", ... An empty folder is
// not set aside but removed, as it holds nothing.
//
// On disk, in this order:
//   1. empty folders in the way are removed (nothing is lost if this stops);
//   2. the new configuration is written whole to "init.ini.new";
//   3. the journal "init.ini.moves" is written whole (through a temporary
//      file and a rename, so it is there complete or not at all): one line
//      per folder rename, in the order below, and the configuration to put
//      in place last;
//   4. the renames are carried out: first every setting aside, then the
//      moves down in increasing target slot;
//   5. "init.ini.new" is renamed over "init.ini" (keeping init.ini's
//      permissions);
//   6. the journal is removed; missing slot folders are made afresh.
// A start that finds a journal finishes it (FinishUserMoves): each rename
// whose source still exists and whose target does not is done, the rest
// were done already, then steps 5 and 6. The order makes this sound: no
// target of a rename is the source of a later one, so a done rename is
// recognised by its target. A start that finds "init.ini.new" without a
// journal was stopped before step 3: nothing was moved, the stray file is
// removed and the old table stands.
//
// The renames apply to every folder root in `roots` the same way: by default
// "users\" and "backups\" (the progress backups of each slot), so a user's
// backups move, and are set aside, under the same name as the user folder.

#include <functional>
#include <string>
#include <vector>

#include "core/manage.h"

// One move of a slot's folder: to another slot, or set aside under a name.
struct SlotMove {
    int from = 0;         // slot whose folder moves
    int to = -1;          // target slot, or -1 to set the folder aside
    std::string asideAs;  // set-aside folder name (GBK) when `to` is -1
};

// One rename of a folder, both names relative to the program folder (GBK,
// "\" as the separator, no trailing separator), e.g. "users\user3".
struct FolderRename {
    std::string from, to;
};

// The folder roots whose "userN" folders belong to slot N.
std::vector<std::string> DefaultUserFolderRoots();

// A folder name made from a user name: characters a file name cannot hold
// ("\" "/" ":" "*" "?" quote "<" ">" "|", control characters) become "_",
// and so do leading and trailing dots and blanks. GBK-aware.
std::string FolderNameFor(const std::string& gbkName);

// The slot moves that make the folders match `manage`'s edited table, in
// the order they are carried out (settings aside first, then the moves
// down in increasing target slot). `date` (GBK, e.g. "2026-12-10") dates
// the set-aside names. Looks at the folders under each root: a slot
// folder that is missing needs no move; a set-aside name is one no root
// holds yet.
std::vector<SlotMove> PlanSlotMoves(const TManage& manage, const std::string& gbkProgramFolder, const std::string& date,
                                    const std::vector<std::string>& roots = DefaultUserFolderRoots());

// The renames of `moves` for every root, for the source folders that
// exist. A folder to be set aside that is empty is removed here instead,
// so that it is not in the way of a folder moving down.
std::vector<FolderRename> FolderRenamesFor(const std::vector<SlotMove>& moves, const std::string& gbkProgramFolder,
                                           const std::vector<std::string>& roots = DefaultUserFolderRoots());

// Saves the configuration and moves the folders to match, in the order
// described above; afterwards the folder edits of `manage` start afresh.
// False after a message naming what failed: renames already done are then
// undone where possible, and the edits stay pending (or, when not even
// that worked, the journal stays for the next start to finish).
bool CommitUserTable(TManage& manage, const std::string& gbkProgramFolder, const std::string& date,
                     const std::vector<std::string>& roots = DefaultUserFolderRoots());

// At start, before init.ini is read: finishes a journal left by a program
// that was stopped while saving its user table, or removes a stray
// "init.ini.new". False after a message when a rename cannot be done; the
// journal then stays for the next start.
bool FinishUserMoves(const std::string& gbkProgramFolder);

// Called after each step of CommitUserTable that changes the disk (the
// staged configuration, the journal, each rename, the configuration put in
// place, the journal removed), with the step's number counted from 1. Lets
// tests stop the program between any two steps; empty by default.
void SetUserMoveStepHook(std::function<void(int step)> hook);

// Today's date as "YYYY-MM-DD".
std::string TodayText();

#pragma once
// The program folder: the folder that holds the executable when it is a
// portable program folder, otherwise (an installed program) the learner's
// own data folder, laid out from the installed files. Every data file is
// found by joining a relative name to it.

#include <string>

// GBK text with a trailing separator. Needs the application object.
std::string ExecutableFolder();

struct ProgramFolders {
    bool installed = false;
    std::string program;  // GBK, trailing separator
    std::string shipped;  // GBK, trailing separator; the program folder when portable
};

// Chooses the program folder; for an installed program, `program` is
// empty when the user has no home folder.
ProgramFolders FindProgramFolder();

// Makes an installed program's data folder. False after the message
// naming the folder that could not be made; the program then ends
// without writing anywhere.
bool MakeProgramFolder(const ProgramFolders& folders);

// Brings an installed program's data folder up to date with the installed
// files (call with the folder's lock held). False after the message saying
// why the folder cannot be used.
bool LayOutProgramFolder(const ProgramFolders& folders);

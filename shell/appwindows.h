#pragma once
// The program's five windows, each created once at start-up in this order
// and then only shown and hidden. Other windows reach them through these
// references; tests set them to the windows they build.

class TformStart;        // start and login window; owns the configuration store
class TformMain;         // study window
class TSelectWordLib;    // library selection and grouping dialog
class TformHelp;         // help guide
class TformMakeWordLib;  // settings and maintenance window
class TformStats;        // statistics page

extern TformStart* formStart;
extern TformMain* formMain;
extern TSelectWordLib* SelectWordLib;
extern TformHelp* formHelp;
extern TformMakeWordLib* formMakeWordLib;
extern TformStats* formStats;

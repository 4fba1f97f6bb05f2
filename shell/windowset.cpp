#include "shell/windowset.h"

#include "help/formhelp.h"
#include "select/selectwordlib.h"
#include "settings/formmakewordlib.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"

#if __has_include("study/formmain.h")
#include "study/formmain.h"
#define LEXILARK_HAVE_STUDY_WINDOW 1
#endif

void CreateWindowSet(const std::string& gbkProgramFolder) {
    formStart = new TformStart(gbkProgramFolder);
#ifdef LEXILARK_HAVE_STUDY_WINDOW
    formMain = new TformMain(formStart->Manage);
#endif
    SelectWordLib = new TSelectWordLib;
    formHelp = new TformHelp;
    formMakeWordLib = new TformMakeWordLib;
}

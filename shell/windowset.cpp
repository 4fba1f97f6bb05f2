#include "shell/windowset.h"

#include "help/formhelp.h"
#include "select/selectwordlib.h"
#include "settings/formmakewordlib.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"
#include "study/formmain.h"

void CreateWindowSet(const std::string& gbkProgramFolder) {
    formStart = new TformStart(gbkProgramFolder);
    formMain = new TformMain(formStart->Manage);
    SelectWordLib = new TSelectWordLib;
    formHelp = new TformHelp;
    formMakeWordLib = new TformMakeWordLib;
}

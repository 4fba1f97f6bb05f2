#include "core/wordlib.h"

TWordLib::TWordLib() : Words(kMaxLibraryWords), display_(&NoStudyDisplay::Instance()) {}

void TWordLib::SetDisplay(StudyDisplay* display) {
    display_ = display ? display : &NoStudyDisplay::Instance();
}

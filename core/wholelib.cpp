#include "core/wordlib.h"

TWordLib0::TWordLib0() : Words(kMaxLibraryWords), display_(&NoStudyDisplay::Instance()) {
    GradeWordLastWord.fill("0");
}

void TWordLib0::SetDisplay(StudyDisplay* display) {
    display_ = display ? display : &NoStudyDisplay::Instance();
}

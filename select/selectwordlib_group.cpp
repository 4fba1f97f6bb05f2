// The grouping page: the counts of the library under study and the number
// of groups it is divided into; applying a grouping restarts the study at
// the first group.

#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <algorithm>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/numbertext.h"
#include "select/selectwordlib.h"
#include "session/studysession.h"
#include "widgets/screentext.h"

namespace {

QString Number(int n) { return QString::number(n); }
int NumberIn(const QLabel* label) { return StrToIntDef(label->text().toStdString(), 0); }

}  // namespace

void TSelectWordLib::OpenGroupingPage(StudySession& study) {
    study_ = &study;
    TWordLib0& whole = study.WordLib0;
    // The study list holds the learner's latest grades of the group under
    // study; the counts and a new grouping start from them.
    if (whole.Count > 0) whole.StoreGroup();
    {
        const QSignalBlocker quiet(SpinEditGroupCount);
        SpinEditGroupCount->setValue(whole.GroupCount);
    }
    LabelGroupIndex->setText(Number(whole.GroupIndex));
    Pages->setCurrentWidget(PageGroup);
    SpinEditGroupCountChange();
    LabelWordLibName1->setText(U("词库名称：") + Screen(study.LibraryName()));
    LabelWordCount->setText(U("总单词数：") + Number(whole.Count));
    LabeWordCountGrade0->setText(Number(whole.CountGradeZeroWords()));
    LabelGroupWordCount->setText(U("每组单词数约：") +
                                 Number(NumberIn(LabeWordCountGrade0) / SpinEditGroupCount->value()));
}

void TSelectWordLib::SpinEditGroupCountChange() {
    const int words = Study() ? Study()->WordLib0.Count : 0;
    if (SpinEditGroupCount->value() > std::min(words, kMaxGroupCount)) {
        // Told once, the box goes straight to the most groups the library
        // allows (one word each): a count far too large must not bring up
        // one message for every step down.
        {
            const QSignalBlocker quiet(SpinEditGroupCount);
            SpinEditGroupCount->setValue(std::clamp(words, 1, kMaxGroupCount));
        }
        ShowAppMessageUtf8("分组数过大！");
        if (SpinEditGroupCount->value() > words) return;  // no words to group
    }
    const int v = SpinEditGroupCount->value();
    LabelGroupIndex->setText("1");
    LabelGroupWordCount->setText(U("每组单词数约：") + Number(NumberIn(LabeWordCountGrade0) / v));
}

void TSelectWordLib::SpinEditGroupCountTyping() {
    bool number = false;
    const int typed = SpinEditGroupCount->cleanText().toInt(&number);
    if (!number || typed < 1 || typed > SpinEditGroupCount->maximum()) return;
    LabelGroupWordCount->setText(U("每组单词数约：") + Number(NumberIn(LabeWordCountGrade0) / typed));
}

void TSelectWordLib::suiButton7Click() {
    SpinEditGroupCount->interpretText();
    StudySession* study = Study();
    const int n = NumberIn(LabelGroupIndex);
    const int g = SpinEditGroupCount->value();
    if (g < n) {
        ShowAppMessageUtf8("当前分组序号不能大于分组总数，请改正！");
        return;
    }
    // Without words (no library open) there is no group to start.
    if (!study || n < 1 || study->WordLib0.Count < g) {
        ShowAppMessageUtf8("分组数过大！");
        return;
    }
    TWordLib0& whole = study->WordLib0;
    TWordLib& list = study->WordLib;
    whole.GroupIndex = n - 1;
    whole.GroupCount = g;
    whole.LoadGroup(n - 1);
    list.GroupIndex = n - 1;
    list.GroupCount = whole.GroupCount;
    // The list now holds other words at the same places.
    list.ForgetShownWord();
    list.ShowFirstWordOfGrade();
    whole.ShowGroupNo();
    hide();
}

void TSelectWordLib::suiButton5Click() { emit helpWanted(U("单词分组")); }

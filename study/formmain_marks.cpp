// What the study window shows of a judged answer besides "正 确" and "错 误":
// the learner's answer set against the word character by character, what a
// reading typed in kana makes of it, and the hints given once a run.

#include <QGroupBox>
#include <QLabel>
#include <algorithm>

#include "core/gbktext.h"
#include "core/manage.h"
#include "study/formmain_ui.h"
#include "widgets/colourvalue.h"
#include "widgets/screentext.h"

namespace {

QString Html(char32_t c) {
    if (c == U' ') return QStringLiteral("&nbsp;");
    return QString::fromUcs4(&c, 1).toHtmlEscaped();
}

// Matching characters in the text colour; wrong and extra ones struck
// through in the border colour; missing ones underlined, in the background
// colour on the border colour. The marks tell them apart where the colours
// do not (a scheme whose border is the text colour).
QString MarkedHtml(const std::vector<MarkedChar>& marks, const QColor& font, const QColor& back, const QColor& border) {
    QString out;
    size_t i = 0;
    while (i < marks.size()) {
        const CharMark mark = marks[i].mark;
        QString run;
        for (; i < marks.size() && marks[i].mark == mark; ++i) run += Html(marks[i].ch);
        switch (mark) {
            case CharMark::Match:
                out += QStringLiteral("<span style=\"color:%1\">%2</span>").arg(font.name(), run);
                break;
            case CharMark::Wrong:
                out += QStringLiteral("<s style=\"color:%1\">%2</s>").arg(border.name(), run);
                break;
            case CharMark::Missing:
                out += QStringLiteral("<u style=\"color:%1;background-color:%2\">%3</u>")
                           .arg(back.name(), border.name(), run);
                break;
        }
    }
    return out;
}

}  // namespace

void TformMain::Ui::ShowAnswerMarks(const AnswerVerdict& verdict, bool right) {
    const QColor font = ColourFromValue(window.study_.WordLib.FontColor);
    const QColor back = ColourFromValue(window.manage_.backcolor);
    const QColor border = ColourFromValue(window.manage_.bordercolor);
    const QString word = Screen(TrimGbk(window.study_.WordOnScreen())).toHtmlEscaped();
    QStringList lines;
    if (right) {
        if (verdict.byReading) {
            const char* form = verdict.form == KanaForm::Katakana ? "片假名" : "平假名";
            lines << U("按读音作答（%1），写法是 %2").arg(U(form), word);
        }
    } else if (verdict.againstReading && verdict.readingMatches) {
        lines << U("读音正确，写法是 ") + word;
    } else if (verdict.againstReading) {
        lines << U("读音对照：") + MarkedHtml(verdict.marks, font, back, border);
        lines << U("写法是 ") + word;
    } else {
        lines << U("你的答案：") + MarkedHtml(verdict.marks, font, back, border);
    }
    if (verdict.latinForJapanese && !inputMethodHintGiven_) {
        inputMethodHintGiven_ = true;
        lines << U("输入法未开启？按 Ctrl+空格 切换到日语输入法");
    }
    if (!right && !goOnHintGiven_) {
        goOnHintGiven_ = true;
        lines << U("改正后按回车或空格再检查，按 ↓ 跳到下一个词");
    }
    if (lines.isEmpty()) {
        HideAnswerMarks();
        return;
    }
    PanelAnswerMarks->setText(lines.join(QStringLiteral("<br>")));
    PanelAnswerMarks->raise();
    PanelAnswerMarks->setVisible(true);
    PlaceAnswerMarks();
}

void TformMain::Ui::HideAnswerMarks() {
    if (PanelAnswerMarks->isHidden() && PanelAnswerMarks->text().isEmpty()) return;
    PanelAnswerMarks->setVisible(false);
    PanelAnswerMarks->clear();
    PlaceAnswerMarks();
}

// The marks across the top of the middle box, as high as their lines need;
// the comment panel in the middle of what is left below them. Where the box
// is too low for both (small screens), the marks take a smaller font, and
// in the end the comment stands over their last line: "错 误" must be seen.
void TformMain::Ui::PlaceAnswerMarks() {
    const int margin = 6;
    const int boxHeight = GroupBoxMiddle->height();
    int top = 0;
    if (!PanelAnswerMarks->isHidden()) {
        const int width = std::max(GroupBoxMiddle->width() - 2 * margin, 1);
        int height = 0;
        for (int pixels : {20, 17, 14}) {
            QFont font = PanelAnswerMarks->font();
            font.setPixelSize(pixels);
            PanelAnswerMarks->setFont(font);
            height = PanelAnswerMarks->heightForWidth(width);
            if (height + PanelComment->height() + 3 * margin <= boxHeight) break;
        }
        height = std::clamp(height, 1, std::max(boxHeight - 2 * margin, 1));
        PanelAnswerMarks->setGeometry(margin, margin, width, height);
        top = PanelAnswerMarks->geometry().bottom() + 1;
    }
    const int room = boxHeight - top;
    const int y =
        std::clamp(top + (room - PanelComment->height()) / 2, 0, std::max(boxHeight - PanelComment->height(), 0));
    PanelComment->move((GroupBoxMiddle->width() - PanelComment->width()) / 2, y);
    PanelComment->raise();
}

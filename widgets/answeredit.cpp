#include "widgets/answeredit.h"

#include <algorithm>

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>

#include "platform/controlchord.h"
#include "widgets/virtualkey.h"

AnswerEdit::AnswerEdit(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    ControlChord::Watch();
}

void AnswerEdit::SetBorderColour(const QColor& colour) {
    border_ = colour;
    update();
}

void AnswerEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(border_, 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

void AnswerEdit::SetTextColour(const QColor& colour) {
    QPalette p = palette();
    if (p.color(QPalette::Text) == colour) return;
    p.setColor(QPalette::Text, colour);
    setPalette(p);
}

QColor AnswerEdit::TextColour() const { return palette().color(QPalette::Text); }

QColor AnswerEdit::OwnBackground() const { return palette().color(QPalette::Base); }

namespace {

// Press and release of one key carry the same identity: the physical key
// where the platform tells it, else the Qt key.
quint64 KeyIdentity(const QKeyEvent& event) {
    if (event.nativeScanCode() != 0) return event.nativeScanCode();
    return (quint64{1} << 32) | static_cast<quint32>(event.key());
}

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c.unicode() == 0x3000; }

bool IsBlankCommit(const QInputMethodEvent& event) {
    const QString commit = event.commitString();
    return event.preeditString().isEmpty() && !commit.isEmpty() && event.replacementLength() == 0 &&
           std::all_of(commit.begin(), commit.end(), IsBlank);
}

}  // namespace

void AnswerEdit::focusOutEvent(QFocusEvent* event) {
    ++focusLosses_;
    controlAlone_ = false;
    QLineEdit::focusOutEvent(event);
}

AnswerEdit::Press AnswerEdit::ReportPress(int virtualKey) {
    const int focusLosses = focusLosses_;
    const bool consumed = onKeyDown(virtualKey);
    if (focusLosses_ != focusLosses) {
        // A message box came up meanwhile and has the key's release.
        if (onKeyUp) onKeyUp(virtualKey);
        return Press::Finished;
    }
    return consumed ? Press::Consumed : Press::LeftToTheBox;
}

void AnswerEdit::keyPressEvent(QKeyEvent* event) {
    if (composing_) {  // the input method's key, whatever reaches the box
        event->accept();
        return;
    }
    if (!onKeyDown) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const quint64 id = KeyIdentity(*event);
    if (event->key() == Qt::Key_Control) {  // reported when it is released
        if (!event->isAutoRepeat()) controlAlone_ = true;
        keysDown_.insert(id);
        event->accept();
        return;
    }
    controlAlone_ = false;
    keysDown_.insert(id);
    switch (ReportPress(WindowsVirtualKey(*event))) {
        case Press::Consumed:
            DeliverCharacter(event);
            break;
        case Press::LeftToTheBox:
            QLineEdit::keyPressEvent(event);
            break;
        case Press::Finished:
            keysDown_.remove(id);
            break;
    }
    event->accept();
}

// What still reaches the box of a consumed key: its character. Control
// characters do what an edit does with them (Backspace, the clipboard keys,
// undo); other keys without a character change nothing.
void AnswerEdit::DeliverCharacter(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (mods & Qt::ControlModifier) {
        switch (event->key()) {
            case Qt::Key_C:
                copy();
                return;
            case Qt::Key_V:
                paste();
                return;
            case Qt::Key_X:
                cut();
                return;
            case Qt::Key_Z:
                undo();
                return;
            default:
                return;
        }
    }
    if (event->key() == Qt::Key_Backspace) {
        backspace();
        return;
    }
    const QString text = event->text();
    if (text.isEmpty() || (mods & (Qt::AltModifier | Qt::MetaModifier))) return;
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return;
    insert(text);
}

void AnswerEdit::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats its press only; its release comes once, at the end.
    if (composing_) {
        event->accept();
        return;
    }
    if (event->isAutoRepeat() || !onKeyUp) {
        QLineEdit::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (!keysDown_.remove(KeyIdentity(*event))) return;  // the input method had its press
    const int code = WindowsVirtualKey(*event);
    if (event->key() == Qt::Key_Control) {
        const bool tap = controlAlone_ && !ControlChord::Happened();
        controlAlone_ = false;
        if (!tap || !onKeyDown || ReportPress(code) == Press::Finished) return;
    }
    onKeyUp(code);
}

void AnswerEdit::inputMethodEvent(QInputMethodEvent* event) {
    controlAlone_ = false;
    if (!composing_ && onKeyDown && IsBlankCommit(*event)) {
        event->accept();
        PressSpaceForBlankCommit();
        return;
    }
    const bool changesText = !event->preeditString().isEmpty() || !event->commitString().isEmpty();
    if (changesText && !composing_ && onKeyDown) onKeyDown(kInputMethodKey);
    QLineEdit::inputMethodEvent(event);
    composing_ = !event->preeditString().isEmpty();
    if (!composing_ && !event->commitString().isEmpty() && onKeyUp) onKeyUp(kInputMethodKey);
}

void AnswerEdit::PressSpaceForBlankCommit() {
    const Press press = ReportPress(vk::Space);
    if (press == Press::Finished) return;
    if (press == Press::LeftToTheBox) insert(QStringLiteral(" "));
    if (onKeyUp) onKeyUp(vk::Space);
}

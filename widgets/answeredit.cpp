#include "widgets/answeredit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>

#include "widgets/virtualkey.h"

AnswerEdit::AnswerEdit(QWidget* parent) : QLineEdit(parent) { setFrame(false); }

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

void AnswerEdit::keyPressEvent(QKeyEvent* event) {
    if (composing_) {  // the input method's key, whatever reaches the box
        event->accept();
        return;
    }
    if (!onKeyDown) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (onKeyDown(WindowsVirtualKey(*event)))
        DeliverCharacter(event);
    else
        QLineEdit::keyPressEvent(event);
    event->accept();
}

// What still reaches the box of a consumed key: its character. Control
// characters do what an edit does with them (Backspace, the clipboard keys,
// undo); other keys without a character change nothing.
void AnswerEdit::DeliverCharacter(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (mods & Qt::ControlModifier) {
        switch (event->key()) {
            case Qt::Key_C: copy(); return;
            case Qt::Key_V: paste(); return;
            case Qt::Key_X: cut(); return;
            case Qt::Key_Z: undo(); return;
            default: return;
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
    onKeyUp(WindowsVirtualKey(*event));
    event->accept();
}

void AnswerEdit::inputMethodEvent(QInputMethodEvent* event) {
    const bool changesText = !event->preeditString().isEmpty() || !event->commitString().isEmpty();
    if (changesText && !composing_ && onKeyDown) onKeyDown(kInputMethodKey);
    QLineEdit::inputMethodEvent(event);
    composing_ = !event->preeditString().isEmpty();
    if (!composing_ && !event->commitString().isEmpty() && onKeyUp) onKeyUp(kInputMethodKey);
}

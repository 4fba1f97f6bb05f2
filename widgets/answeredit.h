#pragma once
// The answer box: a one-line edit whose key presses and releases go to the
// window first, as Windows virtual-key codes, like the edit control the
// study rules were made for. A press the window consumes loses its own
// editing (caret moves, Delete) but its character still arrives, exactly as
// a character message would; the window removes it again on release where
// it must.
//
// While an input method composes, its keys belong to it: they are not
// reported, so Enter or Space that converts or commits a composition neither
// checks nor advances. The composition itself is reported as the key code
// the input method stands for (229), before the text changes and, once the
// text is committed, as its release. A release whose press the box never
// saw (the input method took it) is not reported either.
//
// Three keys are reported other than they arrive:
// - A commit of nothing but blanks while nothing is composed is the Space
//   key: Japanese input methods turn Space into a full-width space when
//   there is nothing to convert. It is reported as Space with its release
//   and never inserted as it came; only where the window leaves the key to
//   the box does a plain space go in.
// - Ctrl is reported when it is released, press and release together, and
//   only when no other key was pressed in between: Ctrl+C or Ctrl+Space
//   (taken by the input method or the desktop) never report it.
// - A key whose press opens a message box (the end of a group) has its
//   release taken by that box; the box reports the release at once and the
//   key types nothing, so no character of a command key is left behind for
//   the next answer.

#include <QLineEdit>
#include <QSet>
#include <functional>

class AnswerEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kInputMethodKey = 229;

    explicit AnswerEdit(QWidget* parent = nullptr);

    // Answers true when the key is consumed.
    std::function<bool(int virtualKey)> onKeyDown;
    std::function<void(int virtualKey)> onKeyUp;

    bool IsComposing() const { return composing_; }
    // The colour typed text is painted in.
    void SetTextColour(const QColor& colour);
    QColor TextColour() const;
    QColor OwnBackground() const;
    // The frame around the box.
    void SetBorderColour(const QColor& colour);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    enum class Press { Consumed, LeftToTheBox, Finished };
    Press ReportPress(int virtualKey);
    void PressSpaceForBlankCommit();
    void DeliverCharacter(QKeyEvent* event);

    bool composing_ = false;
    bool controlAlone_ = false;  // Ctrl is down and nothing else was pressed
    int focusLosses_ = 0;
    QSet<quint64> keysDown_;  // presses reported, whose release is awaited
    QColor border_{189, 207, 238};
};

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
// text is committed, as its release.

#include <QLineEdit>
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
    void paintEvent(QPaintEvent* event) override;

private:
    void DeliverCharacter(QKeyEvent* event);

    bool composing_ = false;
    QColor border_{189, 207, 238};
};

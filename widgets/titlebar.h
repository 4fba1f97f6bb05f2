#pragma once
// The title bar of the program's frameless windows: the caption, a close
// button that asks the window to close (the window decides whether it may),
// and dragging with the mouse to move the window.

#include <QPoint>
#include <QWidget>

class QLabel;
class QToolButton;

class TitleBar : public QWidget {
    Q_OBJECT
public:
    explicit TitleBar(const QString& caption, QWidget* parent = nullptr);

    QString caption() const;
    void setCaption(const QString& caption);
    // Object name "TitleBarClose".
    QToolButton* closeButton() const { return close_; }

    static constexpr int kHeight = 26;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* caption_;
    QToolButton* close_;
    bool dragging_ = false;
    QPoint dragOffset_;
};

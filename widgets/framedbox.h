#pragma once
// A group box whose frame is drawn in a colour of its own (the configured
// border colour) while its title and contents keep the palette's colours.
// The study window's boxes and radio groups are built from it.

#include <QColor>
#include <QGroupBox>

class FramedBox : public QGroupBox {
    Q_OBJECT
public:
    explicit FramedBox(const QString& title = QString(), QWidget* parent = nullptr);

    void SetBorderColour(const QColor& colour);
    QColor BorderColour() const { return border_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor border_{189, 207, 238};
};

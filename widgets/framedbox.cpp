#include "widgets/framedbox.h"

#include <QPainter>

FramedBox::FramedBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

void FramedBox::SetBorderColour(const QColor& colour) {
    if (border_ == colour) return;
    border_ = colour;
    update();
}

void FramedBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const bool titled = !title().isEmpty();
    const int top = titled ? metrics.height() / 2 : 0;
    painter.setPen(QPen(border_, 1));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawRoundedRect(QRectF(0.5, top + 0.5, width() - 1.0, height() - top - 1.0), 3, 3);
    if (!titled) return;
    const QRect titleRect(8, 0, metrics.horizontalAdvance(title()) + 6, metrics.height());
    painter.fillRect(titleRect, palette().window());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(titleRect, Qt::AlignCenter, title());
}

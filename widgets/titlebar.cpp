#include "widgets/titlebar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>

TitleBar::TitleBar(const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(new QLabel(caption, this)), close_(new QToolButton(this)) {
    setObjectName("TitleBar");
    setFixedHeight(kHeight);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(
        "#TitleBar { background: #395a99; }"
        "#TitleBar QLabel { color: white; }"
        "#TitleBar QToolButton { color: white; border: none; padding: 0 6px; }"
        "#TitleBar QToolButton:hover { background: #c0392b; }");
    caption_->setObjectName("TitleBarCaption");
    close_->setObjectName("TitleBarClose");
    close_->setText(QStringLiteral("×"));
    close_->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 0, 0, 0);
    layout->addWidget(caption_, 1);
    layout->addWidget(close_);
    connect(close_, &QToolButton::clicked, this, [this] { window()->close(); });
}

QString TitleBar::caption() const { return caption_->text(); }
void TitleBar::setCaption(const QString& caption) { caption_->setText(caption); }

void TitleBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        dragOffset_ = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
    }
    QWidget::mousePressEvent(event);
}

void TitleBar::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        window()->move(event->globalPosition().toPoint() - dragOffset_);
    }
    QWidget::mouseMoveEvent(event);
}

void TitleBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

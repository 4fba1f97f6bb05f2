#pragma once
// Whether a learner sees the whole of a window: the window lies on the
// screen, and every widget it shows lies inside the widget that holds it
// (a widget sticking out of its parent is cut off there), with the caption
// of every push button whole. Scroll areas are checked as a whole: what
// lies inside their viewport may scroll.

#include <QAbstractScrollArea>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTextDocument>
#include <QWidget>
#include <algorithm>

namespace fit_check {

inline QString Describe(const QWidget* w) {
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    const QPoint at = w->mapToGlobal(QPoint(0, 0));
    return QStringLiteral("%1%2 \"%3\" at %4,%5 %6x%7")
        .arg(QString::fromLatin1(w->metaObject()->className()),
             w->objectName().isEmpty() ? QString() : QLatin1Char(' ') + w->objectName(),
             button ? button->text() : QString())
        .arg(at.x())
        .arg(at.y())
        .arg(w->width())
        .arg(w->height());
}

// A label of several lines is as wide as its widest line.
inline int WidestLine(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// The text a label draws: with a buddy, "&" marks the key of its shortcut
// and is not drawn ("&&" draws one).
inline QString Shown(const QLabel* label) {
    QString text = label->text();
    if (!label->buddy()) return text;
    text.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    return text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

inline void CollectCutOff(const QWidget* parent, QStringList& faults) {
    const auto* scroll = qobject_cast<const QAbstractScrollArea*>(parent);
    for (const QObject* object : parent->children()) {
        const auto* child = qobject_cast<const QWidget*>(object);
        if (!child || child->isWindow() || child->isHidden()) continue;
        if (scroll && child == scroll->viewport()) continue;
        if (!parent->rect().contains(child->geometry()))
            faults << QStringLiteral("%1 sticks out of %2").arg(Describe(child), Describe(parent));
        if (const auto* button = qobject_cast<const QPushButton*>(child);
            button && button->fontMetrics().horizontalAdvance(button->text()) + 4 > button->width())
            faults << QStringLiteral("%1 cuts its caption").arg(Describe(button));
        if (const auto* label = qobject_cast<const QLabel*>(child);
            label && !label->wordWrap() && !Qt::mightBeRichText(label->text()) &&
            WidestLine(label->fontMetrics(), Shown(label)) > label->contentsRect().width())
            faults << QStringLiteral("%1 cuts its text \"%2\"").arg(Describe(label), label->text());
        CollectCutOff(child, faults);
    }
}

// What of `window` a learner does not see on `screen`: one line for each
// fault, empty when the whole window is in sight. The window must be shown.
inline QStringList CutOff(const QWidget* window, const QRect& screen) {
    QStringList faults;
    if (!window->isVisible()) return {Describe(window) + " is not shown"};
    const QRect frame(window->mapToGlobal(QPoint(0, 0)), window->size());
    if (!screen.contains(frame))
        faults << QStringLiteral("%1 is off the screen %2x%3")
                      .arg(Describe(window))
                      .arg(screen.width())
                      .arg(screen.height());
    CollectCutOff(window, faults);
    return faults;
}

}  // namespace fit_check

// Fails the test naming every part of `window` that is not in sight.
#define EXPECT_IN_SIGHT(window, screen, what)                                                             \
    do {                                                                                                  \
        const QStringList cut_ = fit_check::CutOff((window), (screen));                                   \
        QVERIFY2(cut_.isEmpty(), qPrintable(QString(what) + ":\n  " + cut_.join(QLatin1String("\n  ")))); \
    } while (false)

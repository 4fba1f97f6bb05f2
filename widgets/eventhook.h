#pragma once
// Runs a function when a widget receives an event of one type, without the
// widget's class having to know: mouse releases on buttons, a window being
// resized, a dialog being hidden.

#include <QEvent>
#include <QObject>
#include <functional>

class EventHook : public QObject {
public:
    // The hook belongs to `watched` and goes with it. The event still
    // reaches the widget after `action` has run.
    static EventHook* Install(QObject* watched, QEvent::Type type, std::function<void()> action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EventHook(QObject* watched, QEvent::Type type, std::function<void()> action);

    QEvent::Type type_;
    std::function<void()> action_;
};

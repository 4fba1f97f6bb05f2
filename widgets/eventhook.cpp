#include "widgets/eventhook.h"

EventHook* EventHook::Install(QObject* watched, QEvent::Type type, std::function<void()> action) {
    return new EventHook(watched, type, std::move(action));
}

EventHook::EventHook(QObject* watched, QEvent::Type type, std::function<void()> action)
    : QObject(watched), type_(type), action_(std::move(action)) {
    watched->installEventFilter(this);
}

bool EventHook::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == type_ && action_) action_();
    return QObject::eventFilter(watched, event);
}

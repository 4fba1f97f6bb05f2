#include "widgets/standabove.h"

#include <QWidget>
#include <QWindow>

void StandAbove(QWidget* window, QWidget* opener) {
    if (!window || !opener) return;
    QWidget* owner = opener->window();
    if (owner == window) return;
    // The native windows exist from here on; a window opened before its
    // opener was shown still gets its owner.
    window->winId();
    owner->winId();
    if (QWindow* handle = window->windowHandle()) handle->setTransientParent(owner->windowHandle());
}

void ShowAbove(QWidget* window, QWidget* opener) {
    if (!window) return;
    StandAbove(window, opener);
    window->show();
    window->raise();
    GiveKeyboardTo(window);
}

void GiveKeyboardTo(QWidget* window) {
    if (!window) return;
    QWidget* top = window->window();
    if (QWindow* handle = top->windowHandle(); handle && top->isVisible())
        handle->requestActivate();
    else
        top->activateWindow();
}

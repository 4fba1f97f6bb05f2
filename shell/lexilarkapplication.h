#pragma once
// The program's application object: an exception thrown by an event
// handler is shown and the event loop goes on, instead of ending the
// process in the middle of a learner's work.

#include <QApplication>
#include <exception>

// Shows an exception that no handler caught, with its message text, the
// way the window system reports it, and lets the program carry on.
void ShowExceptionMessage(const std::exception& error);

class LexilarkApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

#pragma once
// Answers the modal dialogs that come up during a test: the test cannot
// answer them itself, as it waits inside the dialog until it is answered.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <utility>

// While it lives, every dialog of class `Dialog` that comes up modal in
// front is handed to `answer`, which closes it (clicks a button, done()).
template <class Dialog>
class ModalAnswerer {
public:
    explicit ModalAnswerer(std::function<void(Dialog*)> answer) : answer_(std::move(answer)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (dialog && dialog->isVisible()) answer_(dialog);
        });
        timer_.start(10);
    }
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

private:
    std::function<void(Dialog*)> answer_;
    QTimer timer_;
};

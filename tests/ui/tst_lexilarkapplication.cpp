// The program's application object: an exception thrown by an event
// handler is shown with its message and the event loop goes on.

#include <QtTest>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/gbktext.h"
#include "core/numbertext.h"
#include "shell/lexilarkapplication.h"
#include "widgets/plainmessage.h"

namespace {

class Throwing : public QObject {
public:
    int handled = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw std::runtime_error("磁盘已满");
        if (e->type() == QEvent::User + 1) StrToInt("12x");
        if (e->type() == QEvent::User + 2) ++handled;
        return QObject::event(e);
    }
};

}  // namespace

class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void errorInAnEventHandlerIsShownAndTheLoopGoesOn() {
        std::vector<std::string> shown;
        PlainMessageSink previous =
            SetPlainMessageSink([&](const std::string& gbkText) { shown.push_back(Utf8(gbkText)); });
        Throwing target;
        QEvent first(QEvent::User);
        QVERIFY(!QCoreApplication::sendEvent(&target, &first));
        QCoreApplication::postEvent(&target, new QEvent(QEvent::Type(QEvent::User + 1)));
        QCoreApplication::postEvent(&target, new QEvent(QEvent::Type(QEvent::User + 2)));
        QTRY_COMPARE(target.handled, 1);
        SetPlainMessageSink(previous);
        QCOMPARE(shown, (std::vector<std::string>{"磁盘已满", "'12x' is not a valid integer value"}));
    }
};

int main(int argc, char** argv) {
    LexilarkApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lexilarkapplication.moc"

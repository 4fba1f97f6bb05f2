#include "shell/lexilarkapplication.h"

#include <string>

#include "core/gbktext.h"
#include "core/numbertext.h"
#include "widgets/plainmessage.h"

void ShowExceptionMessage(const std::exception& error) {
    if (const auto* convert = dynamic_cast<const ConvertError*>(&error)) {
        ShowPlainMessageUtf8(Utf8(convert->Message()));
        return;
    }
    // Our own messages are GBK; those of the libraries are plain ASCII or
    // UTF-8. Take the text as UTF-8 when it is that, as GBK otherwise.
    const std::string text = error.what();
    ShowPlainMessageUtf8(TryUtf8ToGbk(text) ? text : Utf8(text));
}

bool LexilarkApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowExceptionMessage(error);
    }
    return false;
}

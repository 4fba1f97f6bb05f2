#include "widgets/plainmessage.h"

#include <QApplication>
#include <QMessageBox>

#include "core/gbktext.h"

namespace {
PlainMessageSink& Sink() {
    static PlainMessageSink sink;
    return sink;
}
}  // namespace

void ShowPlainMessageUtf8(std::string_view utf8Text) {
    if (Sink()) {
        Sink()(Gbk(utf8Text));
        return;
    }
    QMessageBox::information(nullptr, QApplication::applicationName(),
                             QString::fromUtf8(utf8Text.data(), static_cast<qsizetype>(utf8Text.size())));
}

PlainMessageSink SetPlainMessageSink(PlainMessageSink sink) {
    PlainMessageSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

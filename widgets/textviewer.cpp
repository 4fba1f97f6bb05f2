#include "widgets/textviewer.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStringDecoder>
#include <QVBoxLayout>
#include <algorithm>

#include "core/plainfile.h"
#include "platform/fontregistration.h"
#include "widgets/buttons.h"
#include "widgets/screentext.h"

namespace {

constexpr int kPreferredWidth = 560;
constexpr int kPreferredHeight = 440;
// Room left round the window on a small screen for its frame and the panel.
constexpr int kScreenMargin = 40;

}  // namespace

TextViewer::TextViewer(const QString& title, const QString& text, QWidget* parent) : QDialog(parent) {
    setObjectName("TextViewer");
    setWindowTitle(title);
    Memo = new QPlainTextEdit(this);
    Memo->setObjectName("Memo");
    Memo->setReadOnly(true);
    Memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo->setFont(JapaneseFirst(Memo->font()));
    Memo->setPlainText(text);
    ButtonClose = NewButton("ButtonClose", "关 闭", this);
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo, 1);
    layout->addLayout(NewButtonRow({ButtonClose}));
    ButtonClose->setDefault(true);
    Memo->setFocus();
}

void TextViewer::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        const QWidget* anchor = parentWidget() ? parentWidget()->window() : nullptr;
        const QScreen* shown = anchor && anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
        if (shown) {
            const QRect room = shown->availableGeometry();
            resize(std::min(kPreferredWidth, room.width() - kScreenMargin),
                   std::min(kPreferredHeight, room.height() - kScreenMargin));
            const QPoint centre = anchor && anchor->isVisible() ? anchor->frameGeometry().center() : room.center();
            const int x = std::clamp(centre.x() - width() / 2, room.left(), room.right() + 1 - width());
            const int y = std::clamp(centre.y() - height() / 2, room.top(), room.bottom() + 1 - height());
            move(x, y);
        }
    }
    QDialog::showEvent(event);
}

std::optional<QString> ReadTextForShowing(const std::filesystem::path& file) {
    const std::optional<std::string> bytes = ReadPlainFile(file);
    if (!bytes) return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArray::fromStdString(*bytes));
    if (utf8.hasError()) return ScreenLines(*bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

#pragma once
// A read-only window for a text file the program ships to be read (the
// import sample), for desktops that have no viewer of their own for it.
// The text is shown as it is, with the Japanese face first so that its
// Japanese words take their Japanese forms.

#include <QDialog>
#include <QString>
#include <filesystem>
#include <optional>

class QPlainTextEdit;
class QPushButton;

class TextViewer : public QDialog {
    Q_OBJECT
public:
    // Sized to its screen: as large as suits a page of text, never larger
    // than the screen it is shown on.
    TextViewer(const QString& title, const QString& text, QWidget* parent);

    QPlainTextEdit* Memo = nullptr;
    QPushButton* ButtonClose = nullptr;  // "关 闭"

protected:
    void showEvent(QShowEvent* event) override;
};

// The text of a file for showing: UTF-8 (with or without its byte order
// mark) when it is well-formed UTF-8, else GBK, lines as a text box wants
// them. Nothing when the file cannot be read.
std::optional<QString> ReadTextForShowing(const std::filesystem::path& file);

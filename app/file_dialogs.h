#pragma once

#include <optional>

#include <QString>

class QWidget;

namespace app {

// What an open or save dialog is asked to show.
struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    QString filter;         // Qt filters separated by ";;"
    QString defaultSuffix;  // added to a name typed without extension; empty for none
    QString folder;         // where the dialog starts
};

// Shows the open and save dialogs. Every project command asks through the
// one installed FileDialogs, so the tests can answer in the user's place.
// A save dialog does not ask about replacing a file: the save procedure
// asks that itself, with its own text.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen file's full path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> choose(QWidget* parent, const FileDialogRequest& request) = 0;

    // The installed dialogs (real QFileDialogs unless replaced).
    static FileDialogs& current();
    // Installs `d` (not owned; nullptr restores the real dialogs).
    static void install(FileDialogs* d);

    // The dialogs' own texts in the program's language (an empty text
    // leaves the one of Qt's translation); set when a language is loaded.
    struct Texts {
        QString open, save, cancel, lookIn, fileName, fileType;
    };
    static void setTexts(const Texts& texts);
    [[nodiscard]] static const Texts& texts();
};

// File dialogs on the screen.
class QtFileDialogs : public FileDialogs {
public:
    std::optional<QString> choose(QWidget* parent, const FileDialogRequest& request) override;
};

} // namespace app

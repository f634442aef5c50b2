#include "app/file_dialogs.h"

#include <QFileDialog>

namespace app {

namespace {
FileDialogs* g_installedDialogs = nullptr;
FileDialogs::Texts g_texts;

void setLabel(QFileDialog& dialog, QFileDialog::DialogLabel which, const QString& text)
{
    if (!text.isEmpty())
        dialog.setLabelText(which, text);
}
} // namespace

void FileDialogs::setTexts(const Texts& texts) { g_texts = texts; }

const FileDialogs::Texts& FileDialogs::texts() { return g_texts; }

FileDialogs& FileDialogs::current()
{
    static QtFileDialogs dialogs;
    return g_installedDialogs ? *g_installedDialogs : dialogs;
}

void FileDialogs::install(FileDialogs* d) { g_installedDialogs = d; }

std::optional<QString> QtFileDialogs::choose(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(request.defaultSuffix);
    setLabel(dialog, QFileDialog::Accept, save ? g_texts.save : g_texts.open);
    setLabel(dialog, QFileDialog::Reject, g_texts.cancel);
    setLabel(dialog, QFileDialog::LookIn, g_texts.lookIn);
    setLabel(dialog, QFileDialog::FileName, g_texts.fileName);
    setLabel(dialog, QFileDialog::FileType, g_texts.fileType);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace app

#include "app/file_dialogs.h"

#include <QFileDialog>

namespace app {

namespace {
FileDialogs* g_installed = nullptr;
FileDialogs::Texts g_texts;

void label(QFileDialog& dialog, QFileDialog::DialogLabel which, const QString& text)
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
    return g_installed ? *g_installed : dialogs;
}

void FileDialogs::install(FileDialogs* d) { g_installed = d; }

std::optional<QString> QtFileDialogs::choose(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(request.defaultSuffix);
    label(dialog, QFileDialog::Accept, save ? g_texts.save : g_texts.open);
    label(dialog, QFileDialog::Reject, g_texts.cancel);
    label(dialog, QFileDialog::LookIn, g_texts.lookIn);
    label(dialog, QFileDialog::FileName, g_texts.fileName);
    label(dialog, QFileDialog::FileType, g_texts.fileType);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace app

#include "app/file_dialogs.h"

#include <QFileDialog>

namespace app {

namespace {
FileDialogs* g_installed = nullptr;
} // namespace

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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace app

#include "app/qt_translations.h"

#include <memory>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/file_dialogs.h"
#include "app/messenger.h"
#include "app/qt_text.h"
#include "engine/language_table.h"

namespace app {

namespace {

// Entries of the message boxes' buttons and of the file dialogs.
constexpr int kYesText = 401;
constexpr int kNoText = 402;
constexpr int kDialogCancelText = 403;
constexpr int kSaveText = 404;
constexpr int kDiscardText = 405;
constexpr int kOpenText = 407;
constexpr int kLookInText = 408;
constexpr int kFileNameText = 409;
constexpr int kFileTypeText = 410;

} // namespace

QStringList qtTranslationCodes(const std::string& languageName)
{
    const QString name = QString::fromStdString(languageName).toLower();
    if (name == "srpski" || name == "serbian")
        return {"sr@latin", "sr_Latn", "hr"};
    if (name == "hrvatski" || name == "croatian")
        return {"hr"};
    if (name == "deutsch" || name == "german")
        return {"de"};
    return {};
}

QString installQtTranslation(const std::string& languageName, const QStringList& folders)
{
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    for (const QString& code : qtTranslationCodes(languageName)) {
        for (const QString& folder : folders) {
            auto translator = std::make_unique<QTranslator>();
            if (!translator->load("qtbase_" + code, folder))
                continue;
            QCoreApplication::installTranslator(translator.get());
            installed = std::move(translator);
            return code;
        }
    }
    return {};
}

QStringList qtTranslationFolders(const std::string& programFolder)
{
    return {QString::fromStdString(programFolder) + "translations",
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

void applyDialogTexts(const engine::LanguageTable& lang)
{
    const auto text = [&lang](int entry) { return qs(lang.text(entry)); };
    Messenger::ButtonTexts buttons;
    buttons.yes = text(kYesText);
    buttons.no = text(kNoText);
    buttons.cancel = text(kDialogCancelText);
    buttons.save = text(kSaveText);
    buttons.discard = text(kDiscardText);
    Messenger::setButtonTexts(buttons);
    FileDialogs::Texts dialogs;
    dialogs.open = text(kOpenText);
    dialogs.save = buttons.save;
    dialogs.cancel = buttons.cancel;
    dialogs.lookIn = text(kLookInText);
    dialogs.fileName = text(kFileNameText);
    dialogs.fileType = text(kFileTypeText);
    FileDialogs::setTexts(dialogs);
}

} // namespace app

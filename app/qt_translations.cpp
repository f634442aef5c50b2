#include "app/qt_translations.h"

#include <memory>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace app {

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

} // namespace app

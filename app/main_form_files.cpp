// Project commands: new, open, add, save, save as, the recent files, the
// window title, the project details and the XML exchange.

#include <QAction>
#include <QFontMetrics>

#include "app/main_form.h"
#include "app/qt_text.h"
#include "engine/settings_edit.h"
#include "project/project_file.h"

namespace app {

void TMainForm::connectProjectCommands()
{
    for (int i = 0; i < static_cast<int>(m_recent.size()); ++i) {
        connect(m_recent[static_cast<size_t>(i)], &QAction::triggered, this, [this, i] {
            const std::string* rp[] = {&m_settings.rp1, &m_settings.rp2, &m_settings.rp3, &m_settings.rp4,
                                       &m_settings.rp5};
            openProjectFile(qs(*rp[i]));
        });
    }
}

void TMainForm::setCaption(const QString& projectName)
{
    setWindowTitle(qs(engine::windowCaption(projectName.toStdString())));
}

void TMainForm::openProjectFile(const QString& fileName)
{
    const project_io::OpenOutcome outcome =
        project_io::OpenProject(fileName.toStdString(), false, m_project, m_settings);
    if (outcome.status.msg != engine::Msg::CannotOpenProject) {
        m_project.fileName = fileName.toStdString();
        setCaption(qs(engine::projectNameOf(fileName.toStdString())));
    }
    if (!outcome.status.ok())
        showStatus(outcome.status, Messenger::Kind::Error);
    for (const engine::Status& w : outcome.warnings)
        showStatus(w, Messenger::Kind::Warning);
    refreshTables();
    if (outcome.showResults) {
        setResultPageVisible(true);
        ShowResults();
    }
}

void TMainForm::RefreshRecentMenu()
{
    const std::string* rp[] = {&m_settings.rp1, &m_settings.rp2, &m_settings.rp3, &m_settings.rp4,
                               &m_settings.rp5};
    for (int k = 0; k < 5; ++k) {
        const QString entry = qs(*rp[k]);
        m_recent[static_cast<size_t>(k)]->setVisible(!entry.isEmpty());
        if (entry.isEmpty())
            continue;
        QString name = entry.left(qMax(0, entry.size() - 4));
        if (name.size() >= 45)
            name = fontMetrics().elidedText(name, Qt::ElideMiddle, 250);
        m_recent[static_cast<size_t>(k)]->setText(QString("&%1 ").arg(k + 1) + name);
    }
    m_n6->setVisible(!m_settings.rp1.empty());
}

} // namespace app

// Project commands: new, open, add, save, save as, the recent files, the
// window title, the project details and the XML exchange.

#include <QAction>
#include <QCursor>
#include <QFontMetrics>
#include <QLabel>
#include <QTextEdit>

#include "app/file_dialogs.h"
#include "app/main_form.h"
#include "app/project_details_dialog.h"
#include "app/qt_text.h"
#include "engine/settings_edit.h"
#include "project/project_commands.h"
#include "project/project_file.h"

namespace app {

namespace {

const QString kOpenFilter = "Velmora (*.vlp *.VLP);;Quillon (*.qln *.QLN);;"
                            "All Supported File Types (*.vlp *.qln *.VLP *.QLN)";
const QString kImportFilter = "Velmora XML file (*.xml)";
const QString kSaveFilter = "Velmora (*.vlp)";
const QString kExportFilter = "Velmora XML (*.xml)";

constexpr engine::Msg kOverwriteQuestion{27};
constexpr engine::Msg kOpenTitle{167};
constexpr engine::Msg kSaveTitle{168};
constexpr engine::Msg kRecentFileGone{206};
constexpr engine::Msg kNewProjectQuestion{244};

project_io::RecentList recentOf(const engine::Settings& s) { return {s.rp1, s.rp2, s.rp3, s.rp4, s.rp5}; }

void setRecent(engine::Settings& s, const project_io::RecentList& list)
{
    s.rp1 = list[0];
    s.rp2 = list[1];
    s.rp3 = list[2];
    s.rp4 = list[3];
    s.rp5 = list[4];
}

} // namespace

void TMainForm::connectProjectCommands()
{
    const std::pair<const char*, void (TMainForm::*)()> commands[] = {
        {"Pocninovo1", &TMainForm::Pocninovo1Click}, {"Ucitaj1", &TMainForm::Ucitaj1Click},
        {"Dodaj1", &TMainForm::Dodaj1Click},         {"Sacuvaj1", &TMainForm::Sacuvaj1Click},
        {"SacuvajKao1", &TMainForm::SacuvajKao1Click}, {"toXML", &TMainForm::toXMLClick},
        {"fromXML", &TMainForm::fromXMLClick},       {"Detalji1", &TMainForm::Detalji1Click},
    };
    for (const auto& [name, handler] : commands) {
        auto* a = findChild<QAction*>(name);
        connect(a, &QAction::triggered, this, handler);
        a->setEnabled(true);
    }
    for (int i = 0; i < static_cast<int>(m_recent.size()); ++i)
        connect(m_recent[static_cast<size_t>(i)], &QAction::triggered, this, [this, i] { recentClick(i); });
}

void TMainForm::setCaption(const QString& projectName)
{
    setWindowTitle(qs(engine::windowCaption(projectName.toStdString())));
}

void TMainForm::setPrintEnabled(bool enabled)
{
    // The tool button follows the action.
    findChild<QAction*>("Print1")->setEnabled(enabled);
}

std::optional<QString> TMainForm::chooseProjectFile(bool save, const QString& filter, const QString& suffix)
{
    FileDialogRequest request;
    request.mode = save ? FileDialogRequest::Mode::Save : FileDialogRequest::Mode::Open;
    request.title = text(save ? kSaveTitle : kOpenTitle);
    request.filter = filter;
    request.defaultSuffix = suffix;
    request.folder = qs(project_io::dialogFolder(m_project.fileName, m_programFolder));
    std::optional<QString> chosen = FileDialogs::current().choose(this, request);
    if (chosen && chosen->trimmed().isEmpty())
        return std::nullopt;
    return chosen;
}

// ---------------------------------------------------------------------------
// Opening

void TMainForm::hideShownResult()
{
    setResultPageVisible(false);
    findChild<QWidget*>("BitBtn15")->setEnabled(false);
    findChild<QWidget*>("TableMinus")->setEnabled(false);
}

bool TMainForm::openProjectFile(const QString& fileName, bool addMode)
{
    const std::string name = fileName.toStdString();
    const project_io::OpenOutcome outcome = project_io::OpenProject(name, addMode, m_project, m_settings);
    // Nothing was read: the project, its title and its report stay.
    if (outcome.status.msg == engine::Msg::CannotOpenProject || outcome.status.msg == engine::Msg::UnknownFileKind) {
        showStatus(outcome.status, Messenger::Kind::Error);
        return false;
    }
    setWindowTitle(qs(project_io::openedTitle(name)));
    if (!addMode) {
        m_report->clear();
        m_bill->clear();
    }
    if (outcome.status.msg == engine::Msg::CannotReadProject) {
        // The tables hold only part of the file now. Without its name a
        // plain Save asks where to write, instead of replacing the file that
        // could not be read with what was read of it.
        m_project.fileName = project_io::folderOf(name);
        showText(text(outcome.status.msg) + "\n" + fileName, Messenger::Kind::Error, Messenger::Buttons::Ok,
                 QCursor::pos());
    } else if (!outcome.status.ok()) {
        showStatus(outcome.status, Messenger::Kind::Error);
    }
    for (const engine::Status& w : outcome.warnings)
        showStatus(w, Messenger::Kind::Warning);
    if (outcome.showResults) {
        setResultPageVisible(true);
        firstDiagramGroup();
        ShowResults();  // refreshes the tables too
        return true;
    }
    refreshTables();
    if (!addMode) {
        // The layouts and offcut commands of the project before belong to
        // tables that are gone.
        hideShownResult();
    }
    return true;
}

void TMainForm::Ucitaj1Click()
{
    const std::optional<QString> chosen = chooseProjectFile(false, kOpenFilter, QString());
    if (!chosen || !openProjectFile(*chosen, false))
        return;
    setPrintEnabled(true);
    PushRecentFile(chosen->toStdString());
}

void TMainForm::Dodaj1Click()
{
    if (const std::optional<QString> chosen = chooseProjectFile(false, kOpenFilter, QString()))
        openProjectFile(*chosen, true);
}

void TMainForm::fromXMLClick()
{
    if (const std::optional<QString> chosen = chooseProjectFile(false, kImportFilter, "xml"))
        openProjectFile(*chosen, false);
}

void TMainForm::recentClick(int k)
{
    const std::string entry = recentOf(m_settings)[static_cast<size_t>(k)];
    if (!project_io::projectFileExists(entry)) {
        showMessage(kRecentFileGone, Messenger::Kind::Information);
        return;
    }
    m_project.fileName = entry;
    setPrintEnabled(true);
    openProjectFile(qs(entry), false);
}

// ---------------------------------------------------------------------------
// New project

void TMainForm::Pocninovo1Click()
{
    if (showMessage(kNewProjectQuestion, Messenger::Kind::Confirmation, Messenger::Buttons::YesNo)
        != Messenger::Answer::Yes)
        return;
    // The project details stay.
    m_project.clearTables();
    m_project.clearResult();
    m_project.result.stats = {};
    m_report->clear();
    m_bill->clear();
    hideShownResult();
    refreshTables();
    setCaption(text(engine::Msg::NewProjectName));
    m_project.fileName.clear();
    setPrintEnabled(false);
}

// ---------------------------------------------------------------------------
// Saving

bool TMainForm::saveProcedure(bool ask, bool xml)
{
    if (m_project.sheetRowCount() == 0 && m_project.partRowCount() == 0) {
        showStatus(engine::Status(engine::Msg::CannotSaveProject, {}, engine::Msg::SaveTablesEmpty),
                   Messenger::Kind::Error);
        return false;
    }
    const std::string current = m_project.fileName;
    std::string chosen = current;
    const bool asked = ask || project_io::needsFileName(current);
    if (asked) {
        const std::optional<QString> picked =
            chooseProjectFile(true, xml ? kExportFilter : kSaveFilter, xml ? "xml" : "vlp");
        if (!picked)
            return false;
        chosen = picked->toStdString();
    }
    const std::string target = project_io::savedFileName(chosen, xml ? "xml" : "vlp");
    // Replacing a file needs a yes: any file the user chose, and a file other
    // than the project's own that a plain Save would write (a project opened
    // from .xml or .qln is saved as .vlp beside it).
    if ((asked || target != current) && project_io::projectFileExists(target)) {
        if (showText(qs(target) + " " + text(kOverwriteQuestion), Messenger::Kind::Confirmation,
                     Messenger::Buttons::YesNo, messagePlace())
            != Messenger::Answer::Yes)
            return false;
    }
    const engine::Status saved = project_io::SaveProject(target, m_project, m_settings, m_programFolder);
    if (!saved.ok()) {
        // Nothing was written: the project keeps its name and title.
        showStatus(saved, Messenger::Kind::Error);
        return false;
    }
    if (xml)
        return true;  // an export leaves the project's own name and title
    m_project.fileName = target;
    if (asked)
        setWindowTitle(qs(project_io::savedTitle(chosen)));
    return true;
}

void TMainForm::Sacuvaj1Click()
{
    if (saveProcedure(false, false))
        PushRecentFile(m_project.fileName);
}

void TMainForm::SacuvajKao1Click()
{
    if (!saveProcedure(true, false))
        return;
    PushRecentFile(m_project.fileName);
    setPrintEnabled(false);
}

void TMainForm::toXMLClick() { saveProcedure(true, true); }

// ---------------------------------------------------------------------------
// Recent files

void TMainForm::PushRecentFile(const std::string& name)
{
    project_io::RecentList list = recentOf(m_settings);
    project_io::PushRecentFile(list, name);
    setRecent(m_settings, list);
    RefreshRecentMenu();
}

QString TMainForm::ShortenRecentName(const std::string& name) const
{
    const QFontMetrics metrics(m_label15->font());
    return qs(project_io::ShortenRecentName(
        name, [&metrics](const std::string& s) { return metrics.horizontalAdvance(qs(s)); }));
}

void TMainForm::RefreshRecentMenu()
{
    const project_io::RecentList list = recentOf(m_settings);
    for (size_t k = 0; k < list.size(); ++k) {
        QAction* item = m_recent[k];
        item->setVisible(!list[k].empty());
        if (!list[k].empty())
            item->setText(QString("&%1 ").arg(k + 1) + ShortenRecentName(list[k]).replace("&", "&&"));
    }
    m_n6->setVisible(!list[0].empty());
}

// ---------------------------------------------------------------------------
// Project details

void TMainForm::Detalji1Click()
{
    if (m_details)
        m_details->exec();
}

} // namespace app

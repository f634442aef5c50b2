#include "app/file_commands.h"

#include <filesystem>
#include <system_error>

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QPushButton>

#include "app/diagram_page.h"
#include "app/file_dialogs.h"
#include "app/input_page.h"
#include "app/main_form.h"
#include "app/main_menus.h"
#include "app/project_details_dialog.h"
#include "app/qt_text.h"
#include "app/command_check.h"
#include "app/unsaved_changes.h"
#include "app/report_page.h"
#include "engine/paths.h"
#include "engine/settings_edit.h"
#include "project/project_commands.h"
#include "project/project_file.h"

namespace app {

FileCommands::FileCommands(TMainForm& main)
    : m_main(main)
    , m_project(main.project())
    , m_settings(main.settings())
    , m_programFolder(main.programFolder())
{
}

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
constexpr engine::Msg kSaveChangesQuestion{406};

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

void FileCommands::setCaption(const QString& projectName)
{
    m_main.setWindowTitle(qs(engine::windowCaption(projectName.toStdString())));
}

void FileCommands::setPrintEnabled(bool enabled)
{
    // The tool button follows the action. A command that cannot print yet
    // must not look as if it could.
    QAction* print = m_main.menus().Print1;
    print->setEnabled(enabled && hasCommandHandler(print));
    m_main.diagramPage()->BitBtn8->setEnabled(enabled);
}

void FileCommands::setLastFolder(const std::string& projectPath)
{
    std::error_code ec;
    if (!projectPath.empty() && (projectPath.back() == '/' || std::filesystem::is_directory(projectPath, ec)))
        m_lastFolder = projectPath.back() == '/' ? projectPath : projectPath + "/";
    else
        m_lastFolder = project_io::folderOf(projectPath);
}

std::string FileCommands::projectPathSetting()
{
    if (!m_project.fileName.empty())
        return m_project.fileName;
    return m_lastFolder.empty() ? engine::programDataPath(m_programFolder, "Projects/") : m_lastFolder;
}

std::string FileCommands::dialogStartFolder()
{
    if (!m_project.fileName.empty())
        setLastFolder(m_project.fileName);
    std::error_code ec;
    if (!m_lastFolder.empty() && std::filesystem::is_directory(m_lastFolder, ec))
        return m_lastFolder;
    const std::string projects = engine::programDataPath(m_programFolder, "Projects/", engine::DataUse::Write);
    std::filesystem::create_directories(projects, ec);
    return projects;
}

bool FileCommands::askReplace(const QString& file, QPoint at)
{
    return m_main.showText(file + " " + m_main.text(kOverwriteQuestion), Messenger::Kind::Confirmation,
                           Messenger::Buttons::YesNo, at)
        == Messenger::Answer::Yes;
}

bool FileCommands::mayLeaveProject()
{
    const auto ask = [this] {
        switch (m_main.showMessage(kSaveChangesQuestion, Messenger::Kind::Confirmation,
                                   Messenger::Buttons::SaveDiscardCancel)) {
        case Messenger::Answer::Save: return UnsavedAnswer::Save;
        case Messenger::Answer::Discard: return UnsavedAnswer::Discard;
        default: return UnsavedAnswer::Cancel;
        }
    };
    return app::mayLeaveProject(m_main.projectChanged(), ask, [this] { return saveCurrent(); });
}

std::optional<QString> FileCommands::chooseProjectFile(bool save, const QString& filter, const QString& suffix)
{
    FileDialogRequest request;
    request.mode = save ? FileDialogRequest::Mode::Save : FileDialogRequest::Mode::Open;
    request.title = m_main.text(save ? kSaveTitle : kOpenTitle);
    request.filter = filter;
    request.defaultSuffix = suffix;
    request.folder = qs(dialogStartFolder());
    std::optional<QString> chosen = FileDialogs::current().choose(&m_main, request);
    if (chosen && chosen->trimmed().isEmpty())
        return std::nullopt;
    return chosen;
}

// ---------------------------------------------------------------------------
// Opening

void FileCommands::hideShownResult()
{
    m_main.setResultPageVisible(false);
    m_main.pag1->BitBtn15->setEnabled(false);
    m_main.pag1->TableMinus->setEnabled(false);
}

bool FileCommands::openProjectFile(const QString& fileName, bool addMode)
{
    const std::string name = fileName.toStdString();
    const project_io::OpenOutcome outcome = project_io::OpenProject(name, addMode, m_project, m_settings);
    // Nothing was read: the project, its title and its report stay.
    if (outcome.status.msg == engine::Msg::CannotOpenProject || outcome.status.msg == engine::Msg::UnknownFileKind) {
        m_main.showStatus(outcome.status, Messenger::Kind::Error);
        return false;
    }
    m_main.setWindowTitle(qs(project_io::openedTitle(name)));
    if (!addMode)
        m_main.pag4->clear();
    if (outcome.status.msg == engine::Msg::CannotReadProject) {
        // The tables hold only part of the file now. Without its name a
        // plain Save asks where to write, instead of replacing the file that
        // could not be read with what was read of it.
        m_project.fileName = project_io::folderOf(name);
        m_main.showText(m_main.text(outcome.status.msg) + "\n" + fileName, Messenger::Kind::Error, Messenger::Buttons::Ok,
                 QCursor::pos());
    } else if (!outcome.status.ok()) {
        m_main.showStatus(outcome.status, Messenger::Kind::Error);
    }
    for (const engine::Status& w : outcome.warnings)
        m_main.showStatus(w, Messenger::Kind::Warning);
    if (outcome.showResults) {
        m_main.setResultPageVisible(true);
        m_main.firstDiagramGroup();
        m_main.ShowResults();  // refreshes the tables too
    } else {
        m_main.refreshTables();
        if (!addMode) {
            // The layouts and offcut commands of the project before belong to
            // tables that are gone.
            hideShownResult();
        }
    }
    // A project just opened holds what its file holds; added rows are not
    // in any file yet.
    m_main.setProjectChanged(addMode);
    return true;
}

void FileCommands::Ucitaj1Click()
{
    if (!mayLeaveProject())
        return;
    const std::optional<QString> chosen = chooseProjectFile(false, kOpenFilter, QString());
    if (!chosen || !openProjectFile(*chosen, false))
        return;
    setPrintEnabled(true);
    PushRecentFile(chosen->toStdString());
}

bool FileCommands::openArchiveProject(const QString& fileName)
{
    if (!mayLeaveProject() || !openProjectFile(fileName, false))
        return false;
    setPrintEnabled(true);
    PushRecentFile(fileName.toStdString());
    return true;
}

void FileCommands::Dodaj1Click()
{
    if (const std::optional<QString> chosen = chooseProjectFile(false, kOpenFilter, QString()))
        openProjectFile(*chosen, true);
}

void FileCommands::fromXMLClick()
{
    if (!mayLeaveProject())
        return;
    if (const std::optional<QString> chosen = chooseProjectFile(false, kImportFilter, "xml"))
        openProjectFile(*chosen, false);
}

void FileCommands::recentClick(int k)
{
    const std::string entry = recentOf(m_settings)[static_cast<size_t>(k)];
    if (!project_io::projectFileExists(entry)) {
        m_main.showMessage(kRecentFileGone, Messenger::Kind::Information);
        return;
    }
    if (!mayLeaveProject())
        return;
    // The name becomes the project's once the file could be opened: a file
    // that cannot be read must not be the target of the next plain Save
    // while the tables still hold the project before.
    if (!openProjectFile(qs(entry), false))
        return;
    setPrintEnabled(true);
}

// ---------------------------------------------------------------------------
// New project

void FileCommands::Pocninovo1Click()
{
    if (m_main.showMessage(kNewProjectQuestion, Messenger::Kind::Confirmation, Messenger::Buttons::YesNo)
        != Messenger::Answer::Yes)
        return;
    if (!mayLeaveProject())
        return;
    setLastFolder(m_project.fileName.empty() ? m_lastFolder : m_project.fileName);
    // The project details stay.
    m_project.clearTables();
    m_project.clearResult();
    m_project.result.stats = {};
    m_main.pag4->clear();
    hideShownResult();
    m_main.refreshTables();
    setCaption(m_main.text(engine::Msg::NewProjectName));
    m_project.fileName.clear();
    setPrintEnabled(false);
    m_main.setProjectChanged(false);
}

// ---------------------------------------------------------------------------
// Saving

bool FileCommands::saveProcedure(bool ask, bool xml)
{
    if (m_project.sheetRowCount() == 0 && m_project.partRowCount() == 0) {
        m_main.showStatus(engine::Status(engine::Msg::CannotSaveProject, {}, engine::Msg::SaveTablesEmpty),
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
    if ((asked || target != current) && project_io::projectFileExists(target)
        && !askReplace(qs(target), m_main.messagePlace()))
        return false;
    const engine::Status saved = project_io::SaveProject(target, m_project, m_settings, m_programFolder);
    if (!saved.ok()) {
        // Nothing was written: the project keeps its name and title.
        m_main.showStatus(saved, Messenger::Kind::Error);
        return false;
    }
    if (xml)
        return true;  // an export leaves the project's own name and title
    m_project.fileName = target;
    if (asked)
        m_main.setWindowTitle(qs(project_io::savedTitle(chosen)));
    m_main.setProjectChanged(false);
    return true;
}

bool FileCommands::saveCurrent()
{
    if (!saveProcedure(false, false))
        return false;
    PushRecentFile(m_project.fileName);
    return true;
}

void FileCommands::Sacuvaj1Click() { saveCurrent(); }

void FileCommands::SacuvajKao1Click()
{
    if (!saveProcedure(true, false))
        return;
    PushRecentFile(m_project.fileName);
    setPrintEnabled(false);
}

void FileCommands::toXMLClick() { saveProcedure(true, true); }

// ---------------------------------------------------------------------------
// Recent files

void FileCommands::PushRecentFile(const std::string& name)
{
    project_io::RecentList list = recentOf(m_settings);
    project_io::PushRecentFile(list, name);
    setRecent(m_settings, list);
    RefreshRecentMenu();
}

void FileCommands::RefreshRecentMenu() { m_main.menus().showRecent(recentOf(m_settings), m_main.pag1->Label15->font()); }

// ---------------------------------------------------------------------------
// Project details

void FileCommands::Detalji1Click()
{
    TPrProp* details = m_main.detailsDialog();
    if (!details)
        return;
    const engine::ProjectDetails before = m_project.details;
    details->exec();
    if (!(m_project.details == before))
        m_main.markProjectChanged();
}

} // namespace app

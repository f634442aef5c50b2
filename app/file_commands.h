#pragma once

#include <optional>
#include <string>

#include <QPoint>
#include <QString>

namespace engine {
struct Project;
struct Settings;
} // namespace engine

namespace app {

class TMainForm;

// The File menu's project commands of the main window: new, open, add,
// save, save as, the recent files, the XML exchange and the project details;
// and the window title they set. The main window's handlers of these
// commands call them.
class FileCommands {
public:
    explicit FileCommands(TMainForm& main);

    // Opens a project file as the current project (command line, recent
    // files, the open commands), or adds its rows in add mode. False when the
    // file could not be opened at all (nothing changed then).
    bool openProjectFile(const QString& fileName, bool addMode = false);
    void RefreshRecentMenu();
    // Puts a name at the top of the recent list and refreshes the menu.
    void PushRecentFile(const std::string& name);
    // "Velmora Pro - " and the project's name as the window title.
    void setCaption(const QString& projectName);
    // The print command (and its tool button) with or without a result;
    // it stays disabled while it has no handler.
    void setPrintEnabled(bool enabled);

    // The folder of the last project (the setting ProjectPath, a file or a
    // folder): where the file dialogs open while the project is untitled.
    void setLastFolder(const std::string& projectPath);
    // What the setting ProjectPath keeps: the project's file name, or the
    // last project's folder while the project is untitled.
    [[nodiscard]] std::string projectPathSetting();
    // Where the open and save dialogs start: the project's folder, the last
    // project's folder, or the program's "Projects" folder (made when missing).
    [[nodiscard]] std::string dialogStartFolder();
    // Whether an existing `file` may be replaced: asks (message 27) near
    // `at`; true for Yes. Every command that writes a file the user chose
    // asks through it (the file dialogs leave the question to us).
    [[nodiscard]] bool askReplace(const QString& file, QPoint at);
    // Before a command replaces or closes the project: when it has changes
    // since it was saved, asks Save / Discard / Cancel. False when the
    // command must stop.
    bool mayLeaveProject();

    void Pocninovo1Click();
    void Ucitaj1Click();
    // Open without its file dialog (a row of the archive page): the same
    // question about changes, the print command and the recent list. True
    // when the project was opened.
    bool openArchiveProject(const QString& fileName);
    void Dodaj1Click();
    void Sacuvaj1Click();
    void SacuvajKao1Click();
    void recentClick(int k);
    void toXMLClick();
    void fromXMLClick();
    void Detalji1Click();

private:
    // Writes the project: asks for a name when `ask` is on or the project
    // is untitled; an XML export keeps the project's own name. True when
    // the file was written.
    bool saveProcedure(bool ask, bool xml);
    // Save: the save procedure without asking for a known name, then the
    // recent list. True when the project was written.
    bool saveCurrent();
    // Shows an open or save dialog starting in the project's folder.
    [[nodiscard]] std::optional<QString> chooseProjectFile(bool save, const QString& filter, const QString& suffix);
    // The layouts page and the two stock commands go with a result that no
    // longer belongs to the tables.
    void hideShownResult();

    TMainForm& m_main;
    engine::Project& m_project;
    engine::Settings& m_settings;
    const std::string& m_programFolder;
    std::string m_lastFolder;
};

} // namespace app

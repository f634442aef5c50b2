#pragma once

#include <array>

#include "project/project_commands.h"

class QAction;
class QFont;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace app {

class CaptionTargets;

// The main window's menus and tool bar. A tool button runs its menu item
// and is enabled with it. The commands are connected by the main window; an
// item whose command the program does not have yet stays disabled.
class MainMenus {
public:
    explicit MainMenus(QMainWindow& window);

    // The recent projects as items recent0..recent4 (hidden while empty,
    // separator N6 with the first), each at most 250 pixels of `font` wide.
    void showRecent(const project_io::RecentList& list, const QFont& font);
    [[nodiscard]] std::array<QAction*, 5> recentItems() const { return {recent0, recent1, recent2, recent3, recent4}; }
    void addCaptionTargets(CaptionTargets& targets) const;

    // The menus and items, by their design names.
    QMenu* File1;
    QAction* Pocninovo1;
    QAction* Ucitaj1;
    QAction* Dodaj1;
    QAction* Sacuvaj1;
    QAction* SacuvajKao1;
    QMenu* Export1;
    QAction* toXML;
    QAction* toDXF;
    QMenu* Import1;
    QAction* fromExcel;
    QAction* fromXML;
    QAction* Detalji1;
    QAction* Print1;
    QAction* PrinterSetup1;
    QAction* Printlabels1;
    QAction* N6;
    QAction* recent0;
    QAction* recent1;
    QAction* recent2;
    QAction* recent3;
    QAction* recent4;
    QAction* Exit1;
    QMenu* Options1;
    QAction* Settings1;
    QAction* Kantiranje1;
    QMenu* Help1;
    QAction* Ref1;
    QAction* Homepage1;
    QAction* About1;

    // The tool bar and its buttons.
    QToolBar* ToolBar1;
    QToolButton* ToolButton1;
    QToolButton* ToolButton2;
    QToolButton* ToolButton7;
    QToolButton* ToolButton4;
    QToolButton* ToolButton5;
    QToolButton* ToolButton8;
    QToolButton* ToolButton13;
    QToolButton* SpeedButton1;
    QToolButton* ToolButton10;

private:
    void buildMenus(QMainWindow& window);
    void buildToolBar(QMainWindow& window);
};

} // namespace app

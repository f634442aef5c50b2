#pragma once

#include <QWidget>

#include "engine/language_table.h"
#include "engine/project.h"
#include "engine/settings.h"

class QLabel;
class QPushButton;
class QScrollBar;

namespace app {

class CaptionTargets;
class DiagramView;

// The layout page (pag3): a control strip with the group chooser, the group
// number, the sheet line, the print button and the line of the piece under
// the pointer, above the drawing of one group of cut sheets.
class DiagramPage : public QWidget {
    Q_OBJECT
public:
    // The drawing reads the project, the settings and the texts (not owned).
    DiagramPage(engine::Project& project, const engine::Settings& settings, const engine::LanguageTable& language,
                QWidget* parent = nullptr);

    void addCaptionTargets(CaptionTargets& targets) const;

    // The controls, by their design names.
    QWidget* panDiagramControls;
    QScrollBar* ScrollBar2;
    QLabel* Label39;
    QLabel* Label7;
    QLabel* Label44;
    QPushButton* BitBtn8;
    DiagramView* Image5;
};

} // namespace app

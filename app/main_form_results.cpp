// The result refresh: the report, the bill, the statistics and the pages of
// a shown result.

#include <QAction>
#include <QPushButton>
#include <QTabWidget>

#include "app/diagram_page.h"
#include "app/diagram_view.h"
#include "app/input_page.h"
#include "app/main_form.h"
#include "app/manual_page.h"
#include "app/report_page.h"
#include "output/show_results.h"

namespace app {

int TMainForm::reportLineCount() const { return pag4->reportLineCount(); }

void TMainForm::applyReportFont() { pag4->applyFont(m_settings.StatFontSize, m_project.report, m_project.bill); }

void TMainForm::refreshDiagram(bool toFirstGroup) { pag3->Image5->refresh(toFirstGroup); }

void TMainForm::firstDiagramGroup() { pag3->Image5->toFirstGroup(); }

void TMainForm::ShowResults()
{
    const output::ShowResultsOutcome shown =
        output::showResultsCore(m_project, m_settings, m_bandTypes, m_lang);
    // The drawing follows the result also when message 20 follows.
    refreshDiagram(false);
    pag4->showReport(m_project.report, m_project.bill);
    refreshTables();
    refreshUnitCaptions();
    for (const engine::Status& w : shown.warnings)
        showStatus(w, Messenger::Kind::Warning);
    if (!shown.allPlaced) {
        showMessage(engine::Msg::NotAllPartsPlaced, Messenger::Kind::Plain);
        return;
    }
    PageControl1->setTabVisible(PageControl1->indexOf(pag1), true);
    PageControl1->setTabVisible(PageControl1->indexOf(pag2), false);
    setResultPageVisible(true);
    pag1->BitBtn15->setEnabled(shown.canTakeOffcuts);
    pag1->TableMinus->setEnabled(shown.canSubtractSheets);
    m_files->setPrintEnabled(true);
}

} // namespace app

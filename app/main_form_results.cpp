// The automatic run, the result refresh and the stock commands that act on
// a shown result.

#include <atomic>
#include <utility>

#include <QAction>
#include <QPushButton>
#include <QTabWidget>

#include "app/diagram_page.h"
#include "app/diagram_view.h"
#include "app/input_page.h"
#include "app/main_form.h"
#include "app/main_menus.h"
#include "app/manual_page.h"
#include "app/progress_window.h"
#include "app/report_page.h"
#include "app/table_panel.h"
#include "app/text_table_model.h"
#include "engine/auto_run.h"
#include "engine/deep_engine.h"
#include "engine/offcut_reuse.h"
#include "engine/rand31.h"
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

TwndProgress* TMainForm::progressWindow()
{
    if (!m_progress)
        m_progress = new TwndProgress(this);
    return m_progress;
}

void TMainForm::Button4Click()
{
    // The run works on a copy of the project and of the generator; they
    // replace the originals only when every attempt ran, so Cancel leaves
    // tables, order, result, report and random sequence as they were.
    // An open cell editor writes its text now, before the rows are sorted.
    pag1->Button4->setFocus();
    engine::Project work = m_project;
    if (const engine::Status st = engine::PrepareEngineInput(work, m_settings); !st.ok()) {
        showStatus(st, Messenger::Kind::Error);
        return;
    }
    engine::Rand31 rng = engine::programRand31();
    const engine::Settings settings = m_settings;
    engine::AutoRunOutcome outcome;
    const bool done = progressWindow()->run(
        this, text(engine::Msg::AutomaticProgressCaption), text(58),
        [&](const std::atomic<bool>& cancel, const TwndProgress::Progress& progress) {
            engine::AutoRunOptions options;
            options.rng = &rng;
            options.cancel = &cancel;
            options.progress = progress;
            outcome = engine::runAutomatic(work, settings, options);
        });
    if (progressWindow()->failed()) {
        showMessage(engine::Msg::RunFailed);
        return;
    }
    if (!done || outcome.cancelled || !outcome.status.ok())
        return;
    if (settings.DeepOpt)
        runDeepPhase(work);
    m_project = std::move(work);
    engine::programRand31() = rng;
    firstDiagramGroup();
    ShowResults();
    markProjectChanged();
}

void TMainForm::runDeepPhase(engine::Project& work)
{
    // The deep optimisation starts from the automatic result, in the progress
    // window again with its own caption and bar; Cancel (or a failure) keeps
    // the automatic result.
    const engine::DeepLayout start{work.result.elements, work.result.offcuts};
    engine::DeepOutcome deep;
    const bool done = progressWindow()->run(
        this, text(525), text(58), [&](const std::atomic<bool>& cancel, const TwndProgress::Progress& progress) {
            engine::DeepOptions options;
            options.cancel = &cancel;
            options.progress = progress;
            deep = engine::runDeepEngine(work.input.parts, work.input.sheets, start, options);
        });
    if (progressWindow()->failed() || !done || deep.stop == engine::DeepStop::Cancelled)
        return;
    work.result.method = engine::ResultMethod::DeepKeptAutomatic;
    if (deep.improved) {
        work.result.elements = std::move(deep.layout.elements);
        work.result.offcuts = std::move(deep.layout.offcuts);
        work.result.method = engine::ResultMethod::Deep;
    }
}

void TMainForm::BitBtn15Click()
{
    pag1->BitBtn15->setEnabled(false);
    const engine::Result<int> added = engine::takeGoodOffcuts(m_project, m_settings, m_lang);
    if (!added) {
        showStatus(added.error(), Messenger::Kind::Error);
        return;
    }
    pag1->panMainSheet->model()->refresh();
    pag1->showTableCaptions();
}

void TMainForm::TableMinusClick()
{
    pag1->TableMinus->setEnabled(false);
    const engine::Result<int> subtracted = engine::subtractUsedSheets(m_project, m_settings);
    if (!subtracted) {
        showStatus(subtracted.error(), Messenger::Kind::Error);
        return;
    }
    pag1->panMainSheet->model()->refresh();
    pag1->showTableCaptions();
}

} // namespace app

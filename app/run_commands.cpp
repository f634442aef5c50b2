#include "app/run_commands.h"

#include <atomic>
#include <utility>

#include <QPushButton>

#include "app/input_page.h"
#include "app/main_form.h"
#include "app/progress_window.h"
#include "app/table_panel.h"
#include "app/text_table_model.h"
#include "engine/auto_run.h"
#include "engine/deep_engine.h"
#include "engine/offcut_reuse.h"
#include "engine/rand31.h"

namespace app {

TwndProgress* RunCommands::progressWindow()
{
    if (!m_progress)
        m_progress = new TwndProgress(&m_main);
    return m_progress;
}

bool RunCommands::cancelRunning()
{
    if (!m_progress || !m_progress->running())
        return false;
    m_progress->requestCancel();
    return true;
}

void RunCommands::Button4Click()
{
    // The run works on a copy of the project and of the generator; they
    // replace the originals only when every attempt ran, so Cancel leaves
    // tables, order, result, report and random sequence as they were.
    // An open cell editor writes its text now, before the rows are sorted.
    m_main.pag1->Button4->setFocus();
    engine::Project work = m_main.project();
    if (const engine::Status st = engine::PrepareEngineInput(work, m_main.settings()); !st.ok()) {
        m_main.showStatus(st, Messenger::Kind::Error);
        return;
    }
    engine::Rand31 rng = engine::programRand31();
    const engine::Settings settings = m_main.settings();
    engine::AutoRunOutcome outcome;
    const bool done = progressWindow()->run(
        &m_main, m_main.text(engine::Msg::AutomaticProgressCaption), m_main.text(58),
        [&](const std::atomic<bool>& cancel, const TwndProgress::Progress& progress) {
            engine::AutoRunOptions options;
            options.rng = &rng;
            options.cancel = &cancel;
            options.progress = progress;
            outcome = engine::runAutomatic(work, settings, options);
        });
    if (progressWindow()->failed()) {
        m_main.showMessage(engine::Msg::RunFailed);
        return;
    }
    if (!done || outcome.cancelled || !outcome.status.ok())
        return;
    if (settings.DeepOpt)
        runDeepPhase(work);
    m_main.project() = std::move(work);
    engine::programRand31() = rng;
    m_main.firstDiagramGroup();
    m_main.ShowResults();
    m_main.markProjectChanged();
}

void RunCommands::runDeepPhase(engine::Project& work)
{
    // The deep optimisation starts from the automatic result, in the progress
    // window again with its own caption and bar; Cancel (or a failure) keeps
    // the automatic result.
    const engine::DeepLayout start{work.result.elements, work.result.offcuts};
    engine::DeepOutcome deep;
    const bool done = progressWindow()->run(
        &m_main, m_main.text(525), m_main.text(58), [&](const std::atomic<bool>& cancel, const TwndProgress::Progress& progress) {
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

void RunCommands::BitBtn15Click()
{
    m_main.pag1->BitBtn15->setEnabled(false);
    const engine::Result<int> added = engine::takeGoodOffcuts(m_main.project(), m_main.settings(), m_main.language());
    if (!added) {
        m_main.showStatus(added.error(), Messenger::Kind::Error);
        return;
    }
    m_main.pag1->panMainSheet->model()->refresh();
    m_main.pag1->showTableCaptions();
}

void RunCommands::TableMinusClick()
{
    m_main.pag1->TableMinus->setEnabled(false);
    const engine::Result<int> subtracted = engine::subtractUsedSheets(m_main.project(), m_main.settings());
    if (!subtracted) {
        m_main.showStatus(subtracted.error(), Messenger::Kind::Error);
        return;
    }
    m_main.pag1->panMainSheet->model()->refresh();
    m_main.pag1->showTableCaptions();
}

} // namespace app

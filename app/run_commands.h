#pragma once

#include "engine/project.h"

namespace app {

class TMainForm;
class TwndProgress;

// The optimisation and the stock commands that act on its result: the
// automatic run ("AUTOMATSKI", Button4) with the deep phase after it when
// the setting asks for it, taking the good offcuts into the sheet table
// ("DOBAR VISAK", BitBtn15) and subtracting the used sheets ("ODUZIMANJE
// TABLI", TableMinus).
class RunCommands {
public:
    explicit RunCommands(TMainForm& main) : m_main(main) {}

    // Checks and sorts the tables, runs the automatic engine in the progress
    // window (Cancel keeps the project and the generator as they were) and
    // shows the result.
    void Button4Click();
    // Once per shown result each.
    void BitBtn15Click();
    void TableMinusClick();

    // The progress window of the runs (made on first use).
    [[nodiscard]] TwndProgress* progressWindow();
    // A run in progress is asked to stop; false when none runs.
    bool cancelRunning();

private:
    // After the automatic run: the deep optimisation in the progress window;
    // its plan goes into `work` when better.
    void runDeepPhase(engine::Project& work);

    TMainForm& m_main;
    TwndProgress* m_progress = nullptr;
};

} // namespace app

#pragma once

#include <memory>

#include "app/main_form.h"

namespace app {

class TFSettings;
class TAboutBox;
class TBands;
class TImportExcel;
class TPrProp;
class TPrnEx;
class TcstLabel;
class TfrmLabelPrint;
class TfrmLabelItemSetup;

// The program's windows: the main window and its dialogs, created once in
// a fixed order (settings, about box, band types, then the later dialogs),
// each completely before the next. The dialogs are children of the main
// window and live as long as it does.
struct Forms {
    std::unique_ptr<TMainForm> main;
    TFSettings* settings = nullptr;
    TAboutBox* about = nullptr;
    TBands* bands = nullptr;
    TImportExcel* importDialog = nullptr;
    TPrProp* details = nullptr;
    TPrnEx* printOptions = nullptr;
    TcstLabel* labelDesigner = nullptr;
    TfrmLabelPrint* labelPrint = nullptr;
    TfrmLabelItemSetup* labelItemSetup = nullptr;
};

// Creates the forms. When the main window's start fails (main->startError()
// is not empty) no dialog is created.
[[nodiscard]] Forms createForms(const StartupOptions& options);

// The whole program: creates the forms and runs the event loop; returns the
// exit code. `--screenshot DIR` saves pictures of the windows and quits.
int runProgram(int argc, char** argv);

} // namespace app

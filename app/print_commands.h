#pragma once

#include <optional>

#include <QObject>
#include <QString>

#include "engine/project.h"
#include "output/print_job.h"

namespace app {

class TMainForm;
class TPrnEx;

// The print commands: the layouts (menu Print1, its tool button, the view
// page's BitBtn8), the report and bill boxes (Stampaj, StampajCene) and the
// sheet and part lists (BitBtn1, BitBtn2). Each shows the print dialog and
// prints on the chosen printer or into a PDF file; a cancelled dialog prints
// nothing and changes nothing.
class PrintCommands : public QObject {
    Q_OBJECT
public:
    explicit PrintCommands(TMainForm& main);
    void setOptionsPanel(TPrnEx* panel) { m_panel = panel; }

    void Print1Click();
    void BitBtn8Click();
    void StampajClick();
    void StampajCeneClick();
    void BitBtn1Click();
    void BitBtn2Click();

    // Prints the run into the PDF file `pdfFile`, or on the main window's
    // printer when it is empty. Failures are shown; returns success.
    bool print(const output::PrintOptions& options, const QString& pdfFile);

    // The print dialog without range and options (label printing): a PDF
    // file name, an empty text for the printer, nothing when cancelled.
    std::optional<QString> askDestination();

private:
    // The layouts with the dialog opened on group `shownGroup`.
    void printLayouts(int shownGroup);
    // A text document (report, bill or a list) through the plain dialog.
    void printDocument(const output::PrintOptions& options);
    // Where the dialog sends the pages: a PDF file name, empty for the
    // printer; nothing when the user cancelled.
    std::optional<QString> destination(bool pdf);

    TMainForm& m_main;
    TPrnEx* m_panel = nullptr;
};

} // namespace app

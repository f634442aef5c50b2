#pragma once

#include <array>
#include <string>

#include <QDialog>

#include "labels/label_definitions.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace app {

class TMainForm;
class TcstLabel;
class TfrmLabelItemSetup;

// File → Print labels: the label sheet style, the three kinds of label with
// their switches and settings buttons, the designer, and printing on the
// printer or into a PDF file. The choices live in the label definitions
// file (Config/velmlabels.xml): loaded when the dialog opens, saved by OK,
// Print and the designer button. A missing or damaged file is reported
// with its path; the dialog still opens, with nothing to choose.
class TfrmLabelPrint : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLabelPrint(TMainForm* main);
    void setDialogs(TcstLabel* designer, TfrmLabelItemSetup* itemSetup);

    // Reads the switches and the style list from the file.
    void loading();
    // Writes the switches and the chosen style.
    void saving();
    void btnOKClick();
    void btnPrintClick();
    void btnCustomizeLabelClick();
    void btnPartSettingsClick() { openItemSetup(labels::LabelKind::Part); }
    void btnUsedTableSettingsClick() { openItemSetup(labels::LabelKind::UsedTable); }
    void btnOffcutSettingsClick() { openItemSetup(labels::LabelKind::Offcut); }

    // The kind the item setup edits.
    [[nodiscard]] labels::LabelKind kind() const { return m_kind; }
    // The definitions file to read and to write.
    [[nodiscard]] std::string readPath() const;
    [[nodiscard]] std::string writePath() const;

    // Prints the labels of the chosen kinds in the chosen style into the
    // PDF file `pdfFile`, or on the main window's printer when it is empty.
    // Failures are shown; returns success.
    bool printLabels(const QString& pdfFile);

    QLabel* lblLabelStyle;
    QComboBox* cmbLabelStyle;
    QPushButton* btnCustomizeLabel;
    QLabel* lblOutput;
    QCheckBox* chkPart;
    QLabel* lblPart;
    QPushButton* btnPartSettings;
    QCheckBox* chkUsedTable;
    QLabel* lblUsedTable;
    QPushButton* btnUsedTableSettings;
    QCheckBox* chkOffcut;
    QLabel* lblOffcut;
    QPushButton* btnOffcutSettings;
    QPushButton* btnPrint;
    QPushButton* btnOK;
    QPushButton* btnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void openItemSetup(labels::LabelKind kind);
    [[nodiscard]] std::array<bool, 3> kinds() const;

    TMainForm* m_main;
    TcstLabel* m_designer = nullptr;
    TfrmLabelItemSetup* m_itemSetup = nullptr;
    labels::LabelKind m_kind = labels::LabelKind::Part;
    bool m_loaded = false;
};

} // namespace app

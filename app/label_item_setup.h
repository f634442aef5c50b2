#pragma once

#include <array>

#include <QDialog>

#include "labels/label_definitions.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace app {

class TMainForm;

// The text lines of one kind of label (parts, used sheets or offcuts): for
// each of the ten lines whether it is printed, bold, its font size (5 to 20
// points) and its leading text, and whether the labels are framed. Loaded
// from the label definitions file each time it opens, written by OK.
class TfrmLabelItemSetup : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLabelItemSetup(TMainForm* main);

    // The kind to edit; the printing dialog sets it before each opening.
    void setKind(labels::LabelKind kind) { m_kind = kind; }
    [[nodiscard]] labels::LabelKind kind() const { return m_kind; }

    void loading();
    // Writes the kind's lines and frame; false (after the message) when the
    // file could not be written.
    bool saving();
    void btnOKClick();

    // One row per line, in print order (Size, Name, Company, Project,
    // Author, Client, Address, Phone, Note, Date).
    struct Row {
        QLabel* label;
        QCheckBox* output;
        QSpinBox* fontSize;
        QCheckBox* bold;
        QLineEdit* text;
    };
    std::array<Row, labels::kLabelLineCount> rows{};

    QLabel* lblOutput;
    QLabel* lblFontSize;
    QLabel* lblBold;
    QLabel* lblLeadingText;
    QCheckBox* chkBorder;
    QLabel* lblBorder;
    QPushButton* btnOK;
    QPushButton* btnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TMainForm* m_main;
    labels::LabelKind m_kind = labels::LabelKind::Part;
};

} // namespace app

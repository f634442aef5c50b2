#pragma once

#include <array>
#include <string>

#include <QDialog>

#include "output/dxf_settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace app {

class TMainForm;

// The DXF export dialog: the release, the six layers with their colours
// (shown with Customise), the layer and output switch of each of the six
// kinds of drawing objects, Export and Cancel. Its choices live in the DXF
// settings file, read each time the dialog is shown and written after an
// export and when a layer name is changed; the program's shipped file is
// never written (the per-user copy is, engine::programDataPath).
class TExportDXF : public QDialog {
    Q_OBJECT
public:
    explicit TExportDXF(TMainForm* main);

    // Reads the settings file into the controls (layer table hidden).
    void FormActivate();
    // Shows or hides the layer table.
    void spdCustomizeClick();
    // Leaving the name field of layer `layer` (1..5): an empty name gets
    // its default and nothing is saved; another name is saved and the
    // controls are read again.
    void txtLayerExit(int layer);
    // The save dialog, then the drawing and the settings; closes with OK
    // once the file is written.
    void btnExportClick();

    // The choices the controls show, over those last read from the file.
    [[nodiscard]] output::DxfSettings settingsFromControls() const;
    // Where the settings are read and where they are written.
    [[nodiscard]] std::string settingsReadPath() const;
    [[nodiscard]] std::string settingsWritePath() const;
    [[nodiscard]] bool layerTableShown() const;

    // The controls, by their design names.
    QLabel* lblExportVersion;
    QComboBox* cmbVersions;
    QPushButton* spdCustomize;
    QWidget* panLayers;
    QLabel* lblLayername;
    QLabel* lblColor;
    std::array<QLineEdit*, output::kDxfLayerCount> txtLayer{};
    std::array<QComboBox*, output::kDxfLayerCount> cmbLayer{};
    QLabel* lblLayerName2;
    QLabel* lblOutput;
    // The items in settings-file order: part rectangles, part labels, part
    // sizes, offcut rectangles, offcut sizes, sheet headers.
    std::array<QLabel*, output::kDxfItemCount> itemLabel{};
    std::array<QComboBox*, output::kDxfItemCount> itemLayer{};
    std::array<QCheckBox*, output::kDxfItemCount> itemOutput{};
    QComboBox* cmbPart;
    QCheckBox* chkPart;
    QComboBox* cmbPartName;
    QCheckBox* chkPartName;
    QComboBox* cmbPartDimension;
    QCheckBox* chkPartDimension;
    QComboBox* cmbOffcut;
    QCheckBox* chkOffcut;
    QComboBox* cmbOffcutDimension;
    QCheckBox* chkOffcutDimension;
    QComboBox* cmbLayoutHeader;
    QCheckBox* chkLayoutHeader;
    QPushButton* btnExport;
    QPushButton* btnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showSettings(const output::DxfSettings& s);

    TMainForm* m_main;
    // What the file held at the last reading (the release list, the last
    // export path); the controls show the rest.
    output::DxfSettings m_loaded;
};

} // namespace app

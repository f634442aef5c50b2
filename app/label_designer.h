#pragma once

#include <array>
#include <functional>
#include <string>

#include <QDialog>
#include <QPointF>
#include <QWidget>

#include "labels/label_layout.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace app {

class TMainForm;

// The up and down arrows beside a length field (0.1 a step).
class SpinButton : public QWidget {
public:
    explicit SpinButton(const char* name);
    QToolButton* up;
    QToolButton* down;
};

// The A4 sample of the designer, one pixel to the millimetre.
class LabelSample : public QWidget {
public:
    LabelSample();
    void setGeometryMm(const labels::LabelGeometry& g);
    [[nodiscard]] const labels::LabelGeometry& geometryMm() const { return m_geometry; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    labels::LabelGeometry m_geometry;
};

// Asks for the name of a new label style.
class TLabelNew : public QDialog {
    Q_OBJECT
public:
    explicit TLabelNew(TMainForm* main);
    QLabel* lblNewLabelName;
    QLineEdit* txtNewLabelName;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

// The label sheet designer: the styles of the label definitions file, each
// with the size of one label, the page margins and the gutters (each group
// in its own unit: mm, cm or inch) and the labels per page, with an A4
// sample. Styles are added and deleted here (never the last one); OK writes
// the style, after checking the left and top margins against what the
// printer can reach (without a printer the PDF output stands in: no limit).
class TcstLabel : public QDialog {
    Q_OBJECT
public:
    explicit TcstLabel(TMainForm* main);

    // The style the next opening starts on (the printing dialog's choice).
    void setStartStyle(int index) { m_startStyle = index; }
    [[nodiscard]] int editedStyle() const { return m_edited; }

    // Fills the controls from style `index` (-1: the active style) and
    // refills the style list. A file that cannot be read leaves all as it is.
    void LoadStyle(int index);
    // Writes the controls into style `index`; false when margins were
    // raised to the printer's reach (the dialog then stays open).
    bool SaveStyle(int index);
    void AddStyle(const std::string& name);
    void DeleteStyle(int index);

    void Button1Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void cmbLabelStyleChange(int index);

    // The printer's unprintable left and top edges in millimetres; tests set
    // their own.
    static inline std::function<QPointF()> printerOffsetsMm;

    QGroupBox* grpLabelSize;
    QLabel* lblSizeWidth;
    QLineEdit* txtSizeWidth;
    SpinButton* CSpinButton1;
    QLabel* lblSizeLength;
    QLineEdit* txtSizeLength;
    SpinButton* CSpinButton2;
    QComboBox* cmbSizeUnit;
    QLabel* lblSizeLengthUnit;

    QGroupBox* grpMargins;
    QLabel* lblMarginLeft;
    QLineEdit* txtMarginLeft;
    SpinButton* CSpinButton3;
    QLabel* lblMarginRight;
    QLineEdit* txtMarginRight;
    SpinButton* CSpinButton4;
    QLabel* lblMarginTop;
    QLineEdit* txtMarginTop;
    SpinButton* CSpinButton5;
    QLabel* lblMarginBottom;
    QLineEdit* txtMarginBottom;
    SpinButton* CSpinButton6;
    QComboBox* cmbMarginUnit;
    QLabel* lblMarginRightUnit;
    QLabel* lblMarginTopUnit;
    QLabel* lblMarginBottomUnit;

    QGroupBox* grpGutters;
    QLabel* lblGutterHorizontal;
    QLineEdit* txtGutterHorizontal;
    SpinButton* CSpinButton7;
    QLabel* lblGutterVertical;
    QLineEdit* txtGutterVertical;
    SpinButton* CSpinButton8;
    QComboBox* cmbGutterUnit;
    QLabel* lblGutterVerticalUnit;

    QGroupBox* grpLayout;
    QLabel* lblLayoutRows;
    QSpinBox* spnLayoutRows;
    QLabel* lblLayoutColumns;
    QSpinBox* spnLayoutColumns;

    QGroupBox* grpLabelStyle;
    QComboBox* cmbLabelStyle;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

    LabelSample* LayoutSample;
    QPushButton* Button1;
    QPushButton* Button2;
    TLabelNew* labelNew;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Field {
        QLineEdit* edit;
        int group;  // 0 size, 1 margins, 2 gutters
        QString remembered;
    };
    void addField(QLineEdit* edit, SpinButton* spin, int group);
    void fieldLeft(Field& f);
    void step(Field& f, double delta);
    void unitChanged(int group, int unit);
    void setUnitLabels(int group);
    void redrawSample();
    [[nodiscard]] labels::LabelStyle styleOfControls() const;
    [[nodiscard]] QPointF printerOffsets() const;
    void setField(QLineEdit* edit, const std::string& text);

    TMainForm* m_main;
    std::vector<Field> m_fields;
    std::array<int, 3> m_units{};
    std::array<QComboBox*, 3> m_unitLists{};
    int m_edited = 0;
    int m_startStyle = -1;
    bool m_loading = false;
};

} // namespace app

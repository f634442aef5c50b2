#pragma once

#include <array>
#include <functional>
#include <optional>

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSlider;
class QTabWidget;

namespace app {

class CaptionTargets;
class RadioGroup;
class TMainForm;

// The settings dialog: four pages of controls that change the main window's
// running settings at once (there is no cancel); the values are written to
// the store when the main window closes.
class TFSettings : public QDialog {
    Q_OBJECT
public:
    explicit TFSettings(TMainForm* main);

    // Fills the controls from the settings, as on every activation.
    void activate();
    // The language was changed: the combo box items got new texts.
    void languageChanged();

    // Handlers.
    void lengthFieldExit(QLineEdit* edit);
    void cenaChange(QLineEdit* edit);
    void RadioGroup2Click(int unit);
    void areastyle_comboChange(int index);
    void kantiranjeClick(bool checked);
    void ComboBox1Change(const QString& name);
    void Button2Click();
    void ScrollBar1Change(int position);
    void SoundPathExit();
    void BitBtn1Click();

    // The controls, by their design names.
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    RadioGroup* RadioGroup2;
    QGroupBox* areastyle;
    QComboBox* areastyle_combo;
    QGroupBox* GroupBox5;
    QLabel* Label10;
    QLabel* Label12;
    QLineEdit* defwidth;
    QLineEdit* defheight;
    QGroupBox* GroupBox7;
    QCheckBox* kantiranje;
    QGroupBox* GroupBox10;
    QLineEdit* testera;
    QGroupBox* GroupBox4;
    QCheckBox* CheckBox1;
    QGroupBox* GroupBox6;
    QComboBox* ComboBox1;
    QWidget* TabSheet2;
    QGroupBox* GroupBox11;
    QSlider* TrackBar1;
    QLabel* Label1;
    QLabel* Label14;
    QLabel* Label15;
    QLabel* Label11;
    QLabel* Label16;
    QLabel* Label17;
    QCheckBox* chk_manual_duplicate;
    QCheckBox* chk_deep;  // the deep optimisation after the automatic run
    QCheckBox* zvuk;
    QLineEdit* SoundPath;
    QPushButton* BitBtn1;
    QGroupBox* GroupBox12;
    QSlider* TrackBar2;
    QLabel* Label18;
    QLabel* Label21;
    QLabel* Label22;
    QLabel* Label19;
    QLabel* Label20;
    QLabel* Label23;
    QWidget* TabSheet3;
    QGroupBox* GroupBox1;
    QCheckBox* LoadSema;
    QCheckBox* LoadReport;
    QGroupBox* GroupBox2;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    RadioGroup* RadioGroup1;
    QWidget* TabSheet4;
    QGroupBox* GroupBox8;
    QLabel* Label50;
    QLineEdit* cena1;
    QLabel* Label42;
    QLineEdit* cena2;
    QGroupBox* GroupBox9;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* minviska;
    QLineEdit* minviska2;
    QGroupBox* GroupBox3;
    QLabel* Label6;
    QLineEdit* CompanyName;
    QLabel* Label7;
    QLineEdit* CompanyDetails;
    QLabel* Label8;
    QComboBox* ComboBox2;
    QLabel* Label13;
    QScrollBar* ScrollBar1;
    QLabel* Label9;
    QLabel* Image1;
    QPushButton* Button2;
    QLabel* lbl_font;
    QCheckBox* chk_print_duplicate;
    QLabel* Label61;
    QLineEdit* nadmera;
    QPushButton* Button1;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildGeneral();
    QWidget* buildLayoutDetails();
    // A track bar between three labels above and three below; its moves
    // are stored by `store`.
    // `labels` are the members to set, named `names`: above the bar from
    // left to right, then below it.
    QGroupBox* buildSpeedBox(const char* boxName, const char* sliderName, QSlider*& slider,
                             const std::array<QLabel**, 6>& labels, const std::array<const char*, 6>& names,
                             std::function<void(int)> store);
    QWidget* buildSaveLoad();
    QWidget* buildViewReport();
    void addCaptionTargets(CaptionTargets& targets) const;
    void fillLengthFields();
    void drawHatching();
    void showFontLabel();
    [[nodiscard]] QPoint messagePlace() const;

    TMainForm* m_main;
    bool m_filling = false;
    std::optional<QPoint> m_messagePlace;
    QString m_remembered;
};

} // namespace app

#pragma once

#include <optional>

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;
class QSlider;
class QTabWidget;

namespace app {

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

    [[nodiscard]] QLineEdit* lengthField(const char* name) const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildGeneral();
    QWidget* buildLayoutDetails();
    QWidget* buildSaveLoad();
    QWidget* buildViewReport();
    void fillLengthFields();
    void drawHatching();
    void showFontLabel();
    [[nodiscard]] QPoint messagePlace() const;

    TMainForm* m_main;
    bool m_filling = false;
    std::optional<QPoint> m_messagePlace;
    QString m_remembered;
    QTabWidget* m_tabs = nullptr;
    QButtonGroup* m_units = nullptr;
    QComboBox* m_areaStyle = nullptr;
    QComboBox* m_languages = nullptr;
    QLabel* m_fontLabel = nullptr;
    QLabel* m_hatchingValue = nullptr;
    QLabel* m_hatching = nullptr;
    QScrollBar* m_scrollBar1 = nullptr;
    QLineEdit* m_soundPath = nullptr;
};

} // namespace app

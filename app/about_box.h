#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace app {

class TMainForm;

// The about box: the product's title beside its picture and an OK button.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(TMainForm* main);

    // The controls.
    QWidget* ProgramIcon;
    QLabel* ProductName;
    QPushButton* OKButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TMainForm* m_main;
};

} // namespace app

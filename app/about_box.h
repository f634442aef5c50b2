#pragma once

#include <QDialog>

namespace app {

class TMainForm;

// The about box: the product's title beside its picture and an OK button.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(TMainForm* main);

protected:
    void showEvent(QShowEvent* event) override;

private:
    TMainForm* m_main;
};

} // namespace app

#pragma once

#include <QWidget>

namespace app {

// The manual optimisation page (pag2): the preview of the sheet being filled
// and the control column beside it, filled by the manual mode's commands.
class ManualPage : public QWidget {
    Q_OBJECT
public:
    explicit ManualPage(QWidget* parent = nullptr);

    // The controls, by their design names.
    QWidget* Image3;
    QWidget* panManual;
};

} // namespace app

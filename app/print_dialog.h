#pragma once

#include <functional>

#include <QDialog>
#include <QWidget>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace app {

class RadioGroup;
class TMainForm;

// The print options panel: layouts per page and the cover and report
// switches (bound to the settings PrintCover and PrintReport as they are
// clicked). Made once at start-up and lent to each layout print dialog.
class TPrnEx : public QWidget {
    Q_OBJECT
public:
    explicit TPrnEx(TMainForm* main);

    // 1, 2 or 4.
    [[nodiscard]] int perPage() const;
    // The check boxes from the settings.
    void loadSettings();

    RadioGroup* RadioGroup1;
    QGroupBox* GroupBox1;
    QCheckBox* chk_print_cover;
    QCheckBox* chk_print_report;

private:
    TMainForm* m_main;
};

// The print dialog: which layouts (all, from-to, the shown one), how many
// copies, and where: the printer (the system's print dialog follows) or a
// PDF file. The layout dialog carries the options panel at its right edge;
// the text documents' dialog has neither panel nor range.
class TPrintDialogEx : public QDialog {
    Q_OBJECT
public:
    // groups = 0: no range (a text document).
    TPrintDialogEx(QWidget* parent, TPrnEx* options, int groups, int shownGroup);
    ~TPrintDialogEx() override;

    enum class Target { Printer, Pdf };
    [[nodiscard]] Target target() const { return m_target; }
    // 0-based, inclusive.
    [[nodiscard]] int first() const;
    [[nodiscard]] int last() const;
    [[nodiscard]] int copies() const;

    QRadioButton* rbAll = nullptr;
    QRadioButton* rbPages = nullptr;
    QRadioButton* rbSelection = nullptr;
    QSpinBox* spFrom = nullptr;
    QSpinBox* spTo = nullptr;
    QSpinBox* spCopies = nullptr;
    QPushButton* btnPrint = nullptr;
    QPushButton* btnPdf = nullptr;

    // Runs a dialog modally; tests put their own runner here.
    static int run(QDialog& dialog);
    static inline std::function<int(QDialog&)> runner;

private:
    TPrnEx* m_options;
    QWidget* m_optionsParent = nullptr;
    int m_groups;
    int m_shown;
    Target m_target = Target::Printer;
};

} // namespace app

#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

namespace app {

class TMainForm;

// The project details dialog: cover title, author and the client's name,
// surname, three address lines, phone and note of the open project.
class TPrProp : public QDialog {
    Q_OBJECT
public:
    explicit TPrProp(TMainForm* main);

    // Loads the edits from the project; runs each time the dialog is shown.
    void FormActivate();
    // "O.K.": stores the edits into the project and closes the dialog.
    void Button1Click();
    // Keeps the address memo to three lines: a caret in a fourth line
    // removes that line and moves on to the phone edit.
    void cl_addressChange();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TMainForm* m_main;
    QLineEdit* m_coverTitle = nullptr;
    QLineEdit* m_author = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_surname = nullptr;
    QPlainTextEdit* m_address = nullptr;
    QLineEdit* m_phone = nullptr;
    QLineEdit* m_note = nullptr;
};

} // namespace app

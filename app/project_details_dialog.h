#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

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

    // The controls, by their design names.
    QTabWidget* PageControl1;
    QWidget* Summary;
    QLabel* lbl_title;
    QLineEdit* cover_title;
    QLabel* lbl_author;
    QLineEdit* author;
    QLabel* lbl_client;
    QLabel* cl1;
    QLineEdit* cl_name;
    QLabel* cl2;
    QLineEdit* cl_surname;
    QLabel* cl3;
    QPlainTextEdit* cl_address;
    QLabel* cl4;
    QLineEdit* cl_phone;
    QLabel* cl5;
    QLineEdit* cl_note;
    QPushButton* Button1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TMainForm* m_main;
};

} // namespace app

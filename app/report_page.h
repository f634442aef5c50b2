#pragma once

#include <QWidget>

#include "engine/project.h"

class QLabel;
class QTextEdit;
class QToolButton;

namespace app {

class CaptionTargets;

// The reports page (pag4): the cutting report on the left and the bill on
// the right, each under its caption with a print and a clear button.
class ReportPage : public QWidget {
    Q_OBJECT
public:
    explicit ReportPage(QWidget* parent = nullptr);

    // The monospaced font of both boxes in `pointSize`; texts already shown
    // take it too.
    void applyFont(int pointSize, const engine::RichText& report, const engine::RichText& bill);
    void showReport(const engine::RichText& report, const engine::RichText& bill);
    void clear();
    [[nodiscard]] int reportLineCount() const;
    void addCaptionTargets(CaptionTargets& targets) const;

    // The controls, by their design names.
    QWidget* panReport;
    QLabel* Panel4;
    QTextEdit* RichEdit1;
    QToolButton* Stampaj;
    QToolButton* ObrisiIzvestaj;
    QWidget* panBill;
    QLabel* Panel5;
    QTextEdit* RichEdit2;
    QToolButton* StampajCene;
    QToolButton* BitBtn19;

private:
    // A box under its caption with its two buttons; the members named are set.
    QWidget* buildPanel(const char* panelName, const char* captionName, QLabel*& caption, QTextEdit*& box,
                        const char* boxName, const char* printName, QToolButton*& print, const char* clearName,
                        QToolButton*& clear);
};

} // namespace app

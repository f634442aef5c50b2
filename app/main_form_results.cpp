// The result refresh and the report page.

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QTextEdit>

#include "app/main_form.h"
#include "app/qt_text.h"
#include "engine/band_grid.h"
#include "output/show_results.h"

namespace app {

QWidget* TMainForm::buildReportPage()
{
    auto* page = new QWidget;
    auto* lay = new QHBoxLayout(page);
    m_report = new QTextEdit;
    m_report->setObjectName("RichEdit1");
    m_report->setReadOnly(true);
    m_bill = new QTextEdit;
    m_bill->setObjectName("RichEdit2");
    m_bill->setReadOnly(true);
    m_bill->setFixedWidth(280);
    lay->addWidget(m_report, 1);
    lay->addWidget(m_bill);
    return page;
}

void TMainForm::applyReportFont()
{
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPointSize(m_settings.StatFontSize);
    m_report->setFont(f);
    m_bill->setFont(f);
}

namespace {

QString plainText(const engine::RichText& text)
{
    QString out;
    for (const engine::RichLine& line : text)
        out += qs(line.text) + '\n';
    return out;
}

} // namespace

void TMainForm::ShowResults()
{
    const output::ShowResultsOutcome shown =
        output::ShowResultsCore(m_project, m_settings, engine::bandTableFromGrid(m_bandTypes), m_lang);
    m_report->setPlainText(plainText(m_project.report));
    m_bill->setPlainText(plainText(m_project.bill));
    showStatistics();
    refreshTables();
    for (const engine::Status& w : shown.warnings)
        showStatus(w, Messenger::Kind::Warning);
    if (!shown.allPlaced) {
        showMessage(engine::Msg::NotAllPartsPlaced, Messenger::Kind::Plain);
        return;
    }
    m_pages->setTabVisible(m_pages->indexOf(m_pag1), true);
    setResultPageVisible(true);
    m_pages->setTabVisible(m_pages->indexOf(m_pag2), false);
    findChild<QWidget*>("BitBtn15")->setEnabled(shown.canTakeOffcuts);
    findChild<QWidget*>("TableMinus")->setEnabled(shown.canSubtractSheets);
}

} // namespace app

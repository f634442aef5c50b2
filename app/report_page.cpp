#include "app/report_page.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/captions.h"
#include "app/qt_text.h"
#include "output/report_text.h"

namespace app {

namespace {

// The report aligns its columns with spaces. Font matching may hand back a
// proportional font for "Courier New", and some monospaced fonts do not say
// they are, so the widths are what counts.
bool monospaced(const QFont& font)
{
    const QFontMetricsF m(font);
    return m.horizontalAdvance('i') == m.horizontalAdvance('W') && m.horizontalAdvance(' ') == m.horizontalAdvance('W');
}

QToolButton* toolButton(const char* name, const char* icon)
{
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setIcon(QIcon(icon));
    b->setIconSize(QSize(20, 20));
    return b;
}

void showRichText(QTextEdit* box, const engine::RichText& text)
{
    box->clear();
    const QFont base = box->document()->defaultFont();
    QTextCursor cursor(box->document());
    cursor.beginEditBlock();
    for (size_t i = 0; i < text.size(); ++i) {
        QTextCharFormat format;
        format.setFont(base);
        format.setFontWeight(output::boldInEffect(text, i) ? QFont::Bold : QFont::Normal);
        format.setFontPointSize(base.pointSizeF() + text[i].sizeDelta);
        if (i > 0)
            cursor.insertBlock();
        cursor.setCharFormat(format);
        cursor.insertText(qs(text[i].text), format);
    }
    cursor.endEditBlock();
    box->moveCursor(QTextCursor::Start);
}

} // namespace

ReportPage::ReportPage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("pag4");
    auto* lay = new QHBoxLayout(this);
    panReport = buildPanel("panReport", "Panel4", Panel4, RichEdit1, "RichEdit1", "Stampaj", Stampaj,
                           "ObrisiIzvestaj", ObrisiIzvestaj);
    panBill = buildPanel("panBill", "Panel5", Panel5, RichEdit2, "RichEdit2", "StampajCene", StampajCene, "BitBtn19",
                         BitBtn19);
    panBill->setFixedWidth(280);
    lay->addWidget(panReport, 1);
    lay->addWidget(panBill);
}

QWidget* ReportPage::buildPanel(const char* panelName, const char* captionName, QLabel*& caption, QTextEdit*& box,
                                const char* boxName, const char* printName, QToolButton*& print,
                                const char* clearName, QToolButton*& clear)
{
    auto* panel = new QWidget;
    panel->setObjectName(panelName);
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 0);
    caption = new QLabel;
    caption->setObjectName(captionName);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    box = new QTextEdit;
    box->setObjectName(boxName);
    box->setReadOnly(true);
    box->setLineWrapMode(QTextEdit::NoWrap);
    v->addWidget(caption);
    v->addWidget(box, 1);
    print = toolButton(printName, ":/icons/print.svg");
    // Enabled while the box has something to print.
    print->setEnabled(false);
    clear = toolButton(clearName, ":/icons/clear.svg");
    connect(clear, &QToolButton::clicked, box, &QTextEdit::clear);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(print);
    buttons->addWidget(clear);
    buttons->addStretch(1);
    v->addLayout(buttons);
    return panel;
}

void ReportPage::applyFont(int pointSize, const engine::RichText& report, const engine::RichText& bill)
{
    QFont f("Courier New");
    f.setStyleHint(QFont::TypeWriter);
    if (!monospaced(f))
        f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPointSize(pointSize);
    for (QTextEdit* box : {RichEdit1, RichEdit2}) {
        box->setFont(f);
        box->document()->setDefaultFont(f);
    }
    // The title lines carry sizes of their own, taken from the box font.
    if (!RichEdit1->document()->isEmpty())
        showRichText(RichEdit1, report);
    if (!RichEdit2->document()->isEmpty())
        showRichText(RichEdit2, bill);
}

void ReportPage::showReport(const engine::RichText& report, const engine::RichText& bill)
{
    showRichText(RichEdit1, report);
    showRichText(RichEdit2, bill);
    Stampaj->setEnabled(!report.empty());
    StampajCene->setEnabled(!bill.empty());
}

void ReportPage::clear()
{
    RichEdit1->clear();
    RichEdit2->clear();
    Stampaj->setEnabled(false);
    StampajCene->setEnabled(false);
}

int ReportPage::reportLineCount() const { return RichEdit1->document()->blockCount(); }

void ReportPage::addCaptionTargets(CaptionTargets& targets) const { targets.add({Panel4, Panel5}); }

} // namespace app

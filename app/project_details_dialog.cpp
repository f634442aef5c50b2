#include "app/named_widgets.h"
#include "app/project_details_dialog.h"

#include <QFontMetrics>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QVBoxLayout>

#include "app/captions.h"
#include "app/main_form.h"
#include "app/qt_text.h"

namespace app {

namespace {

constexpr int kDetailsCaptionGroup = 6;
constexpr int kAddressLines = 3;

QLineEdit* limitedEdit(const char* name, int maxLength)
{
    auto* e = new QLineEdit;
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    return e;
}

} // namespace

TPrProp::TPrProp(TMainForm* main)
    : QDialog(main, Qt::Dialog | Qt::WindowStaysOnTopHint)
    , m_main(main)
{
    setObjectName("TPrProp");
    setWindowTitle("Properties");
    auto* v = new QVBoxLayout(this);
    PageControl1 = new QTabWidget;
    PageControl1->setObjectName("PageControl1");
    Summary = new QWidget;
    Summary->setObjectName("Summary");
    PageControl1->addTab(Summary, "Summary");
    v->addWidget(PageControl1);

    cover_title = limitedEdit("cover_title", 60);
    author = limitedEdit("author", 60);
    cl_name = limitedEdit("cl_name", 25);
    cl_surname = limitedEdit("cl_surname", 35);
    cl_address = new QPlainTextEdit;
    cl_address->setObjectName("cl_address");
    cl_address->setTabChangesFocus(true);
    cl_address->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Three lines and the frame.
    cl_address->setFixedHeight(QFontMetrics(cl_address->font()).lineSpacing() * kAddressLines + 12);
    cl_phone = limitedEdit("cl_phone", 30);
    cl_note = limitedEdit("cl_note", 100);

    auto* form = new QFormLayout(Summary);
    form->addRow(lbl_title = newLabel("lbl_title", "Title:"), cover_title);
    form->addRow(lbl_author = newLabel("lbl_author", "Author:"), author);
    form->addRow(lbl_client = newLabel("lbl_client", "Client data:"));
    form->addRow(cl1 = newLabel("cl1", "Name:"), cl_name);
    form->addRow(cl2 = newLabel("cl2", "Surname:"), cl_surname);
    form->addRow(cl3 = newLabel("cl3", "Addres:"), cl_address);
    form->addRow(cl4 = newLabel("cl4", "Phone:"), cl_phone);
    form->addRow(cl5 = newLabel("cl5", "Note:"), cl_note);

    Button1 = new QPushButton("O.K.");
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(Button1);
    v->addLayout(row);
    setMinimumWidth(440);

    connect(Button1, &QPushButton::clicked, this, &TPrProp::Button1Click);
    connect(cl_address, &QPlainTextEdit::textChanged, this, &TPrProp::cl_addressChange);
    CaptionTargets targets;
    targets.add({Button1, lbl_title, lbl_author, lbl_client, cl1, cl2, cl3, cl4, cl5, Summary});
    main->registerCaptionWindow(kDetailsCaptionGroup, this, std::move(targets));
    main->LoadLanguage(main->languageName(), kDetailsCaptionGroup);
    // The layout settles the window's minimum size now, before the window
    // exists, instead of at its first showing.
    layout()->activate();
}

void TPrProp::showEvent(QShowEvent* event)
{
    FormActivate();
    move(m_main->frameGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

void TPrProp::FormActivate()
{
    const engine::ProjectDetails& d = m_main->project().details;
    cover_title->setText(qs(d.coverTitle));
    author->setText(qs(d.author));
    cl_name->setText(qs(d.clientName));
    cl_surname->setText(qs(d.clientSurname));
    cl_phone->setText(qs(d.clientPhone));
    cl_note->setText(qs(d.clientNote));
    // Empty address lines close up: only line 3 set shows as the first line.
    cl_address->clear();
    for (const std::string& line : d.clientAddress)
        if (!line.empty())
            cl_address->appendPlainText(qs(line));
    cover_title->setFocus();
}

void TPrProp::Button1Click()
{
    engine::ProjectDetails& d = m_main->project().details;
    d.coverTitle = cover_title->text().toStdString();
    d.author = author->text().toStdString();
    d.clientName = cl_name->text().toStdString();
    d.clientSurname = cl_surname->text().toStdString();
    d.clientPhone = cl_phone->text().toStdString();
    d.clientNote = cl_note->text().toStdString();
    const QTextDocument* doc = cl_address->document();
    for (int i = 0; i < kAddressLines; ++i)
        d.clientAddress[static_cast<size_t>(i)] =
            i < doc->blockCount() ? doc->findBlockByNumber(i).text().toStdString() : std::string();
    accept();
}

void TPrProp::cl_addressChange()
{
    if (cl_address->textCursor().blockNumber() < kAddressLines)
        return;
    // Everything from the end of the third line goes (a pasted text may
    // bring more than one line); the removal calls this again, harmlessly.
    QTextCursor cut(cl_address->document());
    cut.setPosition(cl_address->document()->findBlockByNumber(kAddressLines - 1).position()
                    + cl_address->document()->findBlockByNumber(kAddressLines - 1).length() - 1);
    cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    cl_phone->setFocus();
}

} // namespace app

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

#include "app/main_form.h"
#include "app/qt_text.h"

namespace app {

namespace {

constexpr int kCaptionGroup = 6;
constexpr int kAddressLines = 3;

QLabel* label(const char* name, const char* caption)
{
    auto* l = new QLabel(caption);
    l->setObjectName(name);
    return l;
}

QLineEdit* edit(const char* name, int maxLength)
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
    auto* tabs = new QTabWidget;
    tabs->setObjectName("PageControl1");
    auto* page = new QWidget;
    page->setObjectName("Summary");
    tabs->addTab(page, "Summary");
    v->addWidget(tabs);

    m_coverTitle = edit("cover_title", 60);
    m_author = edit("author", 60);
    m_name = edit("cl_name", 25);
    m_surname = edit("cl_surname", 35);
    m_address = new QPlainTextEdit;
    m_address->setObjectName("cl_address");
    m_address->setTabChangesFocus(true);
    m_address->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Three lines and the frame.
    m_address->setFixedHeight(QFontMetrics(m_address->font()).lineSpacing() * kAddressLines + 12);
    m_phone = edit("cl_phone", 30);
    m_note = edit("cl_note", 100);

    auto* form = new QFormLayout(page);
    form->addRow(label("lbl_title", "Title:"), m_coverTitle);
    form->addRow(label("lbl_author", "Author:"), m_author);
    form->addRow(label("lbl_client", "Client data:"));
    form->addRow(label("cl1", "Name:"), m_name);
    form->addRow(label("cl2", "Surname:"), m_surname);
    form->addRow(label("cl3", "Addres:"), m_address);
    form->addRow(label("cl4", "Phone:"), m_phone);
    form->addRow(label("cl5", "Note:"), m_note);

    auto* ok = new QPushButton("O.K.");
    ok->setObjectName("Button1");
    ok->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    v->addLayout(row);
    setMinimumWidth(440);

    connect(ok, &QPushButton::clicked, this, &TPrProp::Button1Click);
    connect(m_address, &QPlainTextEdit::textChanged, this, &TPrProp::cl_addressChange);
    main->registerCaptionWindow(kCaptionGroup, this);
    main->LoadLanguage(main->languageName(), kCaptionGroup);
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
    m_coverTitle->setText(qs(d.coverTitle));
    m_author->setText(qs(d.author));
    m_name->setText(qs(d.clientName));
    m_surname->setText(qs(d.clientSurname));
    m_phone->setText(qs(d.clientPhone));
    m_note->setText(qs(d.clientNote));
    // Empty address lines close up: only line 3 set shows as the first line.
    m_address->clear();
    for (const std::string& line : d.clientAddress)
        if (!line.empty())
            m_address->appendPlainText(qs(line));
    m_coverTitle->setFocus();
}

void TPrProp::Button1Click()
{
    engine::ProjectDetails& d = m_main->project().details;
    d.coverTitle = m_coverTitle->text().toStdString();
    d.author = m_author->text().toStdString();
    d.clientName = m_name->text().toStdString();
    d.clientSurname = m_surname->text().toStdString();
    d.clientPhone = m_phone->text().toStdString();
    d.clientNote = m_note->text().toStdString();
    const QTextDocument* doc = m_address->document();
    for (int i = 0; i < kAddressLines; ++i)
        d.clientAddress[static_cast<size_t>(i)] =
            i < doc->blockCount() ? doc->findBlockByNumber(i).text().toStdString() : std::string();
    accept();
}

void TPrProp::cl_addressChange()
{
    if (m_address->textCursor().blockNumber() < kAddressLines)
        return;
    // Everything from the end of the third line goes (a pasted text may
    // bring more than one line); the removal calls this again, harmlessly.
    QTextCursor cut(m_address->document());
    cut.setPosition(m_address->document()->findBlockByNumber(kAddressLines - 1).position()
                    + m_address->document()->findBlockByNumber(kAddressLines - 1).length() - 1);
    cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    m_phone->setFocus();
}

} // namespace app

#include "app/label_print_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/captions.h"
#include "app/label_designer.h"
#include "app/label_item_setup.h"
#include "app/main_form.h"
#include "app/main_menus.h"
#include "app/named_widgets.h"
#include "app/print_commands.h"
#include "app/print_dialog.h"
#include "app/qt_text.h"
#include "engine/date_format.h"
#include "labels/label_layout.h"
#include "render/pdf_print.h"
#include "render/qt_print_target.h"

namespace app {

namespace {

constexpr int kLabelPrintCaptionGroup = 12;
constexpr int kItemSetupCaptions[3] = {385, 386, 387};

QCheckBox* check(const char* name)
{
    auto* c = new QCheckBox;
    c->setObjectName(name);
    return c;
}

} // namespace

TfrmLabelPrint::TfrmLabelPrint(TMainForm* main) : QDialog(main), m_main(main)
{
    setObjectName("TfrmLabelPrint");
    setWindowTitle("Print labels");
    auto* v = new QVBoxLayout(this);
    auto* styleRow = new QHBoxLayout;
    styleRow->addWidget(lblLabelStyle = newLabel("lblLabelStyle", "Label style"));
    cmbLabelStyle = new QComboBox;
    cmbLabelStyle->setObjectName("cmbLabelStyle");
    cmbLabelStyle->setMinimumWidth(240);
    styleRow->addWidget(cmbLabelStyle, 1);
    styleRow->addWidget(btnCustomizeLabel = newButton("btnCustomizeLabel", "Customise label"));
    v->addLayout(styleRow);

    auto* grid = new QGridLayout;
    grid->addWidget(lblOutput = newLabel("lblOutput", "Output"), 0, 0, 1, 2);
    grid->addWidget(chkPart = check("chkPart"), 1, 0);
    grid->addWidget(lblPart = newLabel("lblPart", "Parts:"), 1, 1);
    grid->addWidget(btnPartSettings = newButton("btnPartSettings", "Settings"), 1, 2);
    grid->addWidget(chkUsedTable = check("chkUsedTable"), 2, 0);
    grid->addWidget(lblUsedTable = newLabel("lblUsedTable", "Used sheets:"), 2, 1);
    grid->addWidget(btnUsedTableSettings = newButton("btnUsedTableSettings", "Settings"), 2, 2);
    grid->addWidget(chkOffcut = check("chkOffcut"), 3, 0);
    grid->addWidget(lblOffcut = newLabel("lblOffcut", "Offcuts:"), 3, 1);
    grid->addWidget(btnOffcutSettings = newButton("btnOffcutSettings", "Settings"), 3, 2);
    grid->setColumnStretch(1, 1);
    v->addLayout(grid);
    lblPart->setBuddy(chkPart);
    lblUsedTable->setBuddy(chkUsedTable);
    lblOffcut->setBuddy(chkOffcut);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnPrint = newButton("btnPrint", "Print"));
    buttons->addStretch(1);
    buttons->addWidget(btnOK = newButton("btnOK", "O.K."));
    buttons->addWidget(btnCancel = newButton("btnCancel", "Cancel"));
    v->addLayout(buttons);
    btnOK->setDefault(true);

    connect(btnOK, &QPushButton::clicked, this, &TfrmLabelPrint::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnPrint, &QPushButton::clicked, this, &TfrmLabelPrint::btnPrintClick);
    connect(btnCustomizeLabel, &QPushButton::clicked, this, &TfrmLabelPrint::btnCustomizeLabelClick);
    connect(btnPartSettings, &QPushButton::clicked, this, &TfrmLabelPrint::btnPartSettingsClick);
    connect(btnUsedTableSettings, &QPushButton::clicked, this, &TfrmLabelPrint::btnUsedTableSettingsClick);
    connect(btnOffcutSettings, &QPushButton::clicked, this, &TfrmLabelPrint::btnOffcutSettingsClick);

    CaptionTargets targets;
    targets.add({lblLabelStyle, btnCustomizeLabel, lblOutput, lblPart, lblUsedTable, lblOffcut, btnPartSettings,
                 btnUsedTableSettings, btnOffcutSettings, btnPrint, btnOK, btnCancel});
    main->registerCaptionWindow(kLabelPrintCaptionGroup, this, std::move(targets));
    main->LoadLanguage(main->languageName(), kLabelPrintCaptionGroup);
    layout()->activate();
}

void TfrmLabelPrint::setDialogs(TcstLabel* designer, TfrmLabelItemSetup* itemSetup)
{
    m_designer = designer;
    m_itemSetup = itemSetup;
}

std::string TfrmLabelPrint::readPath() const { return labels::labelDefinitionsPath(m_main->programFolder()); }

std::string TfrmLabelPrint::writePath() const
{
    return labels::labelDefinitionsPath(m_main->programFolder(), engine::DataUse::Write);
}

void TfrmLabelPrint::showEvent(QShowEvent* event)
{
    // Print works exactly when the main window's print command does (a result).
    btnPrint->setEnabled(m_main->menus().Print1->isEnabled());
    loading();
    QDialog::showEvent(event);
}

void TfrmLabelPrint::loading()
{
    const auto d = labels::readLabelDefinitions(readPath());
    m_loaded = d.ok();
    cmbLabelStyle->clear();
    if (!d.ok()) {
        chkPart->setChecked(false);
        chkUsedTable->setChecked(false);
        chkOffcut->setChecked(false);
        m_main->showStatus(d.error(), Messenger::Kind::Error);
        return;
    }
    chkPart->setChecked(d->kind(labels::LabelKind::Part).output);
    chkUsedTable->setChecked(d->kind(labels::LabelKind::UsedTable).output);
    chkOffcut->setChecked(d->kind(labels::LabelKind::Offcut).output);
    for (const labels::LabelStyle& s : d->styles)
        cmbLabelStyle->addItem(qs(s.name));
    cmbLabelStyle->setCurrentIndex(d->activeStyle());
}

std::array<bool, 3> TfrmLabelPrint::kinds() const
{
    return {chkPart->isChecked(), chkUsedTable->isChecked(), chkOffcut->isChecked()};
}

void TfrmLabelPrint::saving()
{
    // A file that could not be read was reported when the dialog opened and
    // is left as it is.
    if (!m_loaded)
        return;
    const engine::Status s = labels::saveLabelChoice(writePath(), kinds(), cmbLabelStyle->currentIndex());
    if (!s.ok())
        m_main->showStatus(s, Messenger::Kind::Error);
}

void TfrmLabelPrint::btnOKClick()
{
    saving();
    accept();
}

void TfrmLabelPrint::btnCustomizeLabelClick()
{
    saving();
    if (!m_designer)
        return;
    m_designer->setStartStyle(cmbLabelStyle->currentIndex());
    // Styles added or deleted stay so also when the designer is cancelled:
    // the list is read again either way, so that no index names another
    // style than the one shown (the switches were saved just before).
    (void)TPrintDialogEx::run(*m_designer);
    if (m_loaded)
        loading();
}

void TfrmLabelPrint::openItemSetup(labels::LabelKind kind)
{
    m_kind = kind;
    if (!m_itemSetup)
        return;
    m_itemSetup->setKind(kind);
    m_itemSetup->setWindowTitle(m_main->text(kItemSetupCaptions[labels::kindIndex(kind)]));
    TPrintDialogEx::run(*m_itemSetup);
}

void TfrmLabelPrint::btnPrintClick()
{
    saving();
    const std::array<bool, 3> chosen = kinds();
    if (!chosen[0] && !chosen[1] && !chosen[2])
        return;
    const std::optional<QString> where = m_main->printCommands().askDestination();
    if (!where)
        return;
    if (printLabels(*where))
        accept();
}

bool TfrmLabelPrint::printLabels(const QString& pdfFile)
{
    const auto d = labels::readLabelDefinitions(readPath());
    if (!d.ok()) {
        m_main->showStatus(d.error(), Messenger::Kind::Error);
        return false;
    }
    const int style = cmbLabelStyle->currentIndex();
    if (style < 0 || style >= static_cast<int>(d->styles.size())) {
        m_main->showStatus(engine::Status(engine::Msg::LabelStyleMissing, {cmbLabelStyle->currentText().toStdString()}),
                           Messenger::Kind::Error);
        return false;
    }
    const engine::Project& project = m_main->project();
    const engine::Settings& settings = m_main->settings();
    labels::LabelJob job = labels::labelJob(*d, style, project, settings, engine::printTime());
    job.kinds = kinds();
    QPrinter& printer = m_main->printer();
    engine::Status status;
    if (!pdfFile.isEmpty()) {
        // The PDF is the whole sheet, as the label sheet is: positions from its corner.
        render::PdfOptions pdf;
        const QSizeF mm = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
        if (mm.width() > 0 && mm.height() > 0)
            pdf.paper = {std::min(mm.width(), mm.height()), std::max(mm.width(), mm.height())};
        pdf.marginMm = 0;
        pdf.title = labels::kLabelJobTitle;
        const render::DrawPages draw = [&](output::PrintTarget& target) {
            return labels::printLabels(target, project, settings, job, {}).status;
        };
        status = render::printPdfPagesFile(pdfFile.toStdString(), draw, pdf, project.fileName).status;
    } else {
        printer.setDocName(qs(labels::kLabelJobTitle));
        printer.setCopyCount(1);
        printer.setPageOrientation(QPageLayout::Portrait);
        const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Millimeter);
        const labels::LabelPaper offsets{0, 0, paint.left(), paint.top()};
        render::QtPrintTarget target(printer);
        status = labels::printLabels(target, project, settings, job, offsets).status;
        if (!target.finish() && status.ok())
            status = engine::Status(engine::Msg::CannotWritePdf, {printer.printerName().toStdString()});
    }
    if (!status.ok()) {
        m_main->showStatus(status, Messenger::Kind::Error);
        return false;
    }
    return true;
}

} // namespace app

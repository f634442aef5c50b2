#include "app/label_item_setup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/captions.h"
#include "app/main_form.h"
#include "app/named_widgets.h"
#include "app/qt_text.h"

namespace app {

namespace {

constexpr int kItemSetupCaptionGroup = 11;
constexpr int kMinFontSize = 5;
constexpr int kMaxFontSize = 20;

// Design names of the rows' controls: lblSize, chkSize, spnSize,
// chkSizeBold, txtSize, and so on.
constexpr const char* kLineNames[labels::kLabelLineCount] = {"Size",   "Name",    "Company", "Project", "Author",
                                                             "Client", "Address", "Phone",   "Note",    "Date"};
constexpr const char* kDefaultCaptions[labels::kLabelLineCount] = {
    "Dimension (LxH)", "Name", "Company", "Project title", "Author", "Client", "Client address", "Client phone",
    "Note", "Date"};

} // namespace

TfrmLabelItemSetup::TfrmLabelItemSetup(TMainForm* main) : QDialog(main), m_main(main)
{
    setObjectName("TfrmLabelItemSetup");
    setWindowTitle("Label item setup");
    auto* v = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(lblOutput = named(new QLabel("Output"), "lblOutput"), 0, 1);
    grid->addWidget(lblFontSize = named(new QLabel("Font size"), "lblFontSize"), 0, 2);
    grid->addWidget(lblBold = named(new QLabel("Bold"), "lblBold"), 0, 3);
    grid->addWidget(lblLeadingText = named(new QLabel("Leading text"), "lblLeadingText"), 0, 4);
    for (int i = 0; i < labels::kLabelLineCount; ++i) {
        const QString n = kLineNames[i];
        Row& r = rows[static_cast<size_t>(i)];
        r.label = named(new QLabel(kDefaultCaptions[i]), "lbl" + n);
        r.output = named(new QCheckBox, "chk" + n);
        r.fontSize = named(new QSpinBox, "spn" + n);
        r.fontSize->setRange(kMinFontSize, kMaxFontSize);
        r.bold = named(new QCheckBox, "chk" + n + "Bold");
        r.text = named(new QLineEdit, "txt" + n);
        r.label->setBuddy(r.output);
        grid->addWidget(r.label, i + 1, 0);
        grid->addWidget(r.output, i + 1, 1, Qt::AlignCenter);
        grid->addWidget(r.fontSize, i + 1, 2);
        grid->addWidget(r.bold, i + 1, 3, Qt::AlignCenter);
        grid->addWidget(r.text, i + 1, 4);
    }
    grid->setColumnStretch(4, 1);
    v->addLayout(grid);
    auto* border = new QHBoxLayout;
    border->addWidget(chkBorder = named(new QCheckBox, "chkBorder"));
    border->addWidget(lblBorder = named(new QLabel("Border"), "lblBorder"));
    lblBorder->setBuddy(chkBorder);
    border->addStretch(1);
    v->addLayout(border);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK = named(new QPushButton("O.K."), "btnOK"));
    buttons->addWidget(btnCancel = named(new QPushButton("Cancel"), "btnCancel"));
    btnOK->setDefault(true);
    v->addLayout(buttons);
    setMinimumWidth(520);

    connect(btnOK, &QPushButton::clicked, this, &TfrmLabelItemSetup::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    CaptionTargets targets;
    targets.add({lblOutput, lblFontSize, lblBold, lblLeadingText, lblBorder, btnOK, btnCancel});
    for (const Row& r : rows)
        targets.add({r.label});
    main->registerCaptionWindow(kItemSetupCaptionGroup, this, std::move(targets));
    main->LoadLanguage(main->languageName(), kItemSetupCaptionGroup);
    layout()->activate();
}

void TfrmLabelItemSetup::showEvent(QShowEvent* event)
{
    loading();
    QDialog::showEvent(event);
}

void TfrmLabelItemSetup::loading()
{
    // A file that cannot be read was reported by the printing dialog; the
    // controls keep what they showed.
    const auto d = labels::readLabelDefinitions(labels::labelDefinitionsPath(m_main->programFolder()));
    if (!d.ok())
        return;
    const labels::LabelKindSetup& k = d->kind(m_kind);
    chkBorder->setChecked(k.border);
    for (int i = 0; i < labels::kLabelLineCount; ++i) {
        const labels::LabelLineSetup& l = k.lines[static_cast<size_t>(i)];
        Row& r = rows[static_cast<size_t>(i)];
        r.output->setChecked(l.output);
        r.bold->setChecked(l.bold);
        r.fontSize->setValue(l.fontSize);
        r.text->setText(qs(l.text));
    }
}

bool TfrmLabelItemSetup::saving()
{
    labels::LabelKindSetup k;
    k.border = chkBorder->isChecked();
    for (int i = 0; i < labels::kLabelLineCount; ++i) {
        const Row& r = rows[static_cast<size_t>(i)];
        r.fontSize->interpretText();
        k.lines[static_cast<size_t>(i)] = {r.output->isChecked(), r.bold->isChecked(), r.fontSize->value(),
                                           r.text->text().toStdString()};
    }
    const engine::Status s = labels::saveLabelKind(
        labels::labelDefinitionsPath(m_main->programFolder(), engine::DataUse::Write), m_kind, k);
    if (!s.ok()) {
        m_main->showStatus(s, Messenger::Kind::Error);
        return false;
    }
    return true;
}

void TfrmLabelItemSetup::btnOKClick()
{
    saving();
    accept();
}

} // namespace app

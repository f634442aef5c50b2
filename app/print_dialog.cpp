#include "app/print_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/captions.h"
#include "app/main_form.h"
#include "app/radio_group.h"

namespace app {

namespace {

constexpr int kPrintCaptionGroup = 8;

} // namespace

TPrnEx::TPrnEx(TMainForm* main) : QWidget(main, Qt::Widget), m_main(main)
{
    setObjectName("TPrnEx");
    hide();
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(6, 3, 3, 3);
    RadioGroup1 = new RadioGroup("Br.Tabli na strani");
    RadioGroup1->setObjectName("RadioGroup1");
    for (const char* n : {"1", "2", "4"})
        RadioGroup1->addItem(n);
    RadioGroup1->setCurrentIndex(0);
    GroupBox1 = new QGroupBox("Print");
    GroupBox1->setObjectName("GroupBox1");
    chk_print_cover = new QCheckBox("Cover");
    chk_print_cover->setObjectName("chk_print_cover");
    chk_print_report = new QCheckBox("Report");
    chk_print_report->setObjectName("chk_print_report");
    auto* g = new QVBoxLayout(GroupBox1);
    g->addWidget(chk_print_cover);
    g->addWidget(chk_print_report);
    v->addWidget(RadioGroup1);
    v->addWidget(GroupBox1);
    v->addStretch(1);
    connect(chk_print_cover, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().PrintCover = on; });
    connect(chk_print_report, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().PrintReport = on; });
    loadSettings();

    CaptionTargets targets;
    targets.add({RadioGroup1, GroupBox1, chk_print_cover, chk_print_report});
    main->registerCaptionWindow(kPrintCaptionGroup, this, std::move(targets));
    main->LoadLanguage(main->languageName(), kPrintCaptionGroup);
}

int TPrnEx::perPage() const
{
    switch (RadioGroup1->currentIndex()) {
    case 1: return 2;
    case 2: return 4;
    default: return 1;
    }
}

void TPrnEx::loadSettings()
{
    chk_print_cover->setChecked(m_main->settings().PrintCover);
    chk_print_report->setChecked(m_main->settings().PrintReport);
}

TPrintDialogEx::TPrintDialogEx(QWidget* parent, TPrnEx* options, int groups, int shownGroup)
    : QDialog(parent), m_options(options), m_groups(groups), m_shown(shownGroup)
{
    setObjectName("TPrintDialogEx");
    auto* main = qobject_cast<TMainForm*>(parent);
    const auto t = [main](int entry, const char* fallback) {
        const QString s = main ? main->text(entry) : QString();
        return s.isEmpty() ? QString(fallback) : s;
    };
    setWindowTitle(t(447, "Print options"));
    auto* h = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    h->addLayout(left, 1);
    if (groups > 0) {
        auto* range = new QGroupBox(t(89, "Print the layouts"));
        auto* grid = new QGridLayout(range);
        rbAll = new QRadioButton(t(448, "All layouts"));
        rbPages = new QRadioButton(t(449, "Layouts from"));
        rbSelection = new QRadioButton(t(451, "The layout shown"));
        spFrom = new QSpinBox;
        spTo = new QSpinBox;
        for (QSpinBox* s : {spFrom, spTo}) {
            s->setRange(1, groups);
            s->setValue(shownGroup + 1);
        }
        grid->addWidget(rbAll, 0, 0, 1, 4);
        grid->addWidget(rbPages, 1, 0);
        grid->addWidget(spFrom, 1, 1);
        grid->addWidget(new QLabel(t(450, "to")), 1, 2);
        grid->addWidget(spTo, 1, 3);
        grid->addWidget(rbSelection, 2, 0, 1, 4);
        rbAll->setChecked(true);
        left->addWidget(range);
    }
    auto* copiesRow = new QHBoxLayout;
    copiesRow->addWidget(new QLabel(t(452, "Copies")));
    spCopies = new QSpinBox;
    spCopies->setRange(1, 999);
    copiesRow->addWidget(spCopies);
    copiesRow->addStretch(1);
    left->addLayout(copiesRow);
    left->addStretch(1);
    auto* buttons = new QHBoxLayout;
    btnPrint = new QPushButton(t(88, "Print..."));
    btnPrint->setObjectName("btnPrint");
    btnPdf = new QPushButton(t(445, "Print to PDF file..."));
    btnPdf->setObjectName("btnPdf");
    auto* cancel = new QPushButton(t(453, "Cancel"));
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnPdf);
    buttons->addWidget(cancel);
    left->addLayout(buttons);
    if (m_options) {
        // The options panel is lent for the time the dialog is open.
        m_optionsParent = m_options->parentWidget();
        m_options->loadSettings();
        h->addWidget(m_options);
        m_options->show();
    }
    btnPrint->setDefault(true);
    connect(btnPrint, &QPushButton::clicked, this, [this] {
        m_target = Target::Printer;
        accept();
    });
    connect(btnPdf, &QPushButton::clicked, this, [this] {
        m_target = Target::Pdf;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TPrintDialogEx::~TPrintDialogEx()
{
    if (m_options) {
        m_options->hide();
        m_options->setParent(m_optionsParent);
    }
}

int TPrintDialogEx::first() const
{
    if (m_groups <= 0 || rbAll->isChecked())
        return 0;
    if (rbSelection->isChecked())
        return m_shown;
    return std::min(spFrom->value(), spTo->value()) - 1;
}

int TPrintDialogEx::last() const
{
    if (m_groups <= 0 || rbAll->isChecked())
        return m_groups - 1;
    if (rbSelection->isChecked())
        return m_shown;
    return std::max(spFrom->value(), spTo->value()) - 1;
}

int TPrintDialogEx::copies() const { return spCopies->value(); }

int TPrintDialogEx::run(QDialog& dialog) { return runner ? runner(dialog) : dialog.exec(); }

} // namespace app

#include "app/dxf_export_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/captions.h"
#include "app/file_commands.h"
#include "app/file_dialogs.h"
#include "app/main_form.h"
#include "app/named_widgets.h"
#include "app/qt_text.h"
#include "engine/paths.h"
#include "output/dxf_writer.h"

namespace app {

namespace {

constexpr int kDxfCaptionGroup = 7;

QComboBox* dropDown(const QString& name)
{
    auto* c = new QComboBox;
    c->setObjectName(name);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

} // namespace

TExportDXF::TExportDXF(TMainForm* main)
    : QDialog(main)
    , m_main(main)
{
    setObjectName("TExportDXF");
    setWindowTitle("DXF export");
    auto* v = new QVBoxLayout(this);

    auto* release = new QHBoxLayout;
    lblExportVersion = newLabel("lblExportVersion", "Export version");
    cmbVersions = dropDown("cmbVersions");
    release->addWidget(lblExportVersion);
    release->addWidget(cmbVersions, 1);
    v->addLayout(release);

    auto* items = new QGridLayout;
    lblLayerName2 = newLabel("lblLayerName2", "Layer name");
    lblOutput = newLabel("lblOutput", "Output");
    items->addWidget(lblLayerName2, 0, 1);
    items->addWidget(lblOutput, 0, 2);
    const struct {
        const char* name;
        const char* caption;
        const char* combo;
        const char* check;
    } itemRows[output::kDxfItemCount] = {
        {"lblPart", "Parts", "cmbPart", "chkPart"},
        {"lblPartName", "Part name", "cmbPartName", "chkPartName"},
        {"lblPartDimension", "Part dimension", "cmbPartDimension", "chkPartDimension"},
        {"lblOffcut", "Offcuts", "cmbOffcut", "chkOffcut"},
        {"lblOffcutDimension", "Offcut dimension", "cmbOffcutDimension", "chkOffcutDimension"},
        {"lblLayoutHeader", "Layout header", "cmbLayoutHeader", "chkLayoutHeader"},
    };
    for (int i = 0; i < output::kDxfItemCount; ++i) {
        const auto k = static_cast<size_t>(i);
        itemLabel[k] = newLabel(itemRows[i].name, itemRows[i].caption);
        itemLayer[k] = dropDown(itemRows[i].combo);
        itemOutput[k] = new QCheckBox;
        itemOutput[k]->setObjectName(itemRows[i].check);
        items->addWidget(itemLabel[k], i + 1, 0);
        items->addWidget(itemLayer[k], i + 1, 1);
        items->addWidget(itemOutput[k], i + 1, 2, Qt::AlignCenter);
    }
    items->setColumnStretch(1, 1);
    v->addLayout(items);
    cmbPart = itemLayer[0];
    chkPart = itemOutput[0];
    cmbPartName = itemLayer[1];
    chkPartName = itemOutput[1];
    cmbPartDimension = itemLayer[2];
    chkPartDimension = itemOutput[2];
    cmbOffcut = itemLayer[3];
    chkOffcut = itemOutput[3];
    cmbOffcutDimension = itemLayer[4];
    chkOffcutDimension = itemOutput[4];
    cmbLayoutHeader = itemLayer[5];
    chkLayoutHeader = itemOutput[5];

    auto* buttons = new QHBoxLayout;
    spdCustomize = new QPushButton("Customise layouts");
    spdCustomize->setObjectName("spdCustomize");
    spdCustomize->setCheckable(true);
    btnExport = new QPushButton("Export");
    btnExport->setObjectName("btnExport");
    btnExport->setDefault(true);
    btnCancel = new QPushButton("Cancel");
    btnCancel->setObjectName("btnCancel");
    buttons->addWidget(spdCustomize);
    buttons->addStretch(1);
    buttons->addWidget(btnExport);
    buttons->addWidget(btnCancel);
    v->addLayout(buttons);

    panLayers = new QGroupBox;
    panLayers->setObjectName("panLayers");
    auto* layers = new QGridLayout(panLayers);
    lblLayername = newLabel("lblLayername", "Layer name");
    lblColor = newLabel("lblColor", "Colour");
    layers->addWidget(lblLayername, 0, 0);
    layers->addWidget(lblColor, 0, 1);
    // A swatch beside each name: the AutoCAD colours 1 to 7.
    const QColor swatches[] = {Qt::red, Qt::yellow, Qt::green, Qt::cyan, Qt::blue, Qt::magenta, Qt::white};
    for (int i = 0; i < output::kDxfLayerCount; ++i) {
        const auto k = static_cast<size_t>(i);
        txtLayer[k] = new QLineEdit;
        txtLayer[k]->setObjectName(QString("txtLayer%1").arg(i));
        cmbLayer[k] = dropDown(QString("cmbLayer%1").arg(i));
        for (size_t c = 0; c < output::dxfColourNames().size(); ++c) {
            QPixmap swatch(12, 12);
            swatch.fill(swatches[c]);
            QPainter frame(&swatch);
            frame.setPen(Qt::darkGray);
            frame.drawRect(0, 0, 11, 11);
            frame.end();
            cmbLayer[k]->addItem(QIcon(swatch), qs(output::dxfColourNames()[c]));
        }
        layers->addWidget(txtLayer[k], i + 1, 0);
        layers->addWidget(cmbLayer[k], i + 1, 1);
        if (i > 0)
            connect(txtLayer[k], &QLineEdit::editingFinished, this, [this, i] { txtLayerExit(i); });
    }
    // Layer 0 is the drawing's own layer "0".
    txtLayer[0]->setText("0");
    txtLayer[0]->setReadOnly(true);
    txtLayer[0]->setEnabled(false);
    layers->setColumnStretch(0, 1);
    v->addWidget(panLayers);
    v->addStretch(1);
    panLayers->hide();

    connect(spdCustomize, &QPushButton::clicked, this, &TExportDXF::spdCustomizeClick);
    connect(btnExport, &QPushButton::clicked, this, &TExportDXF::btnExportClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    CaptionTargets targets;
    targets.add({lblExportVersion, lblLayerName2, lblOutput, spdCustomize, lblLayername, lblColor, btnExport,
                 btnCancel});
    for (QLabel* l : itemLabel)
        targets.add({l});
    main->registerCaptionWindow(kDxfCaptionGroup, this, std::move(targets));
    main->LoadLanguage(main->languageName(), kDxfCaptionGroup);
    setMinimumWidth(380);
    layout()->activate();
}

std::string TExportDXF::settingsReadPath() const { return output::dxfSettingsPath(m_main->programFolder()); }

std::string TExportDXF::settingsWritePath() const
{
    return output::dxfSettingsPath(m_main->programFolder(), engine::DataUse::Write);
}

bool TExportDXF::layerTableShown() const { return !panLayers->isHidden(); }

void TExportDXF::showEvent(QShowEvent* event)
{
    FormActivate();
    QDialog::showEvent(event);
}

void TExportDXF::FormActivate()
{
    panLayers->hide();
    spdCustomize->setChecked(false);
    adjustSize();
    // What does not read keeps what the controls show.
    output::DxfSettings s = settingsFromControls();
    (void)output::loadDxfSettings(settingsReadPath(), s);
    showSettings(s);
}

void TExportDXF::showSettings(const output::DxfSettings& s)
{
    m_loaded = s;
    for (size_t i = 0; i < txtLayer.size(); ++i) {
        if (i > 0)
            txtLayer[i]->setText(qs(s.layers[i].name));
        cmbLayer[i]->setCurrentIndex(s.layers[i].colour - 1);
    }
    QStringList names;
    for (size_t i = 0; i < txtLayer.size(); ++i)
        names << txtLayer[i]->text();
    for (size_t i = 0; i < itemLayer.size(); ++i) {
        itemLayer[i]->clear();
        itemLayer[i]->addItems(names);
        itemLayer[i]->setCurrentIndex(s.items[i].layer);
        itemOutput[i]->setChecked(s.items[i].output);
    }
    cmbVersions->clear();
    for (const std::string& r : s.releases)
        cmbVersions->addItem(qs(r));
    cmbVersions->setCurrentIndex(s.active);
}

output::DxfSettings TExportDXF::settingsFromControls() const
{
    output::DxfSettings s = m_loaded;
    for (size_t i = 0; i < txtLayer.size(); ++i) {
        if (i > 0)
            s.layers[i].name = txtLayer[i]->text().toStdString();
        if (cmbLayer[i]->currentIndex() >= 0)
            s.layers[i].colour = cmbLayer[i]->currentIndex() + 1;
    }
    for (size_t i = 0; i < itemLayer.size(); ++i) {
        if (itemLayer[i]->currentIndex() >= 0)
            s.items[i].layer = itemLayer[i]->currentIndex();
        s.items[i].output = itemOutput[i]->isChecked();
    }
    if (cmbVersions->currentIndex() >= 0)
        s.active = cmbVersions->currentIndex();
    return s;
}

void TExportDXF::spdCustomizeClick()
{
    panLayers->setVisible(panLayers->isHidden());
    spdCustomize->setChecked(layerTableShown());
    adjustSize();
}

void TExportDXF::txtLayerExit(int layer)
{
    QLineEdit* field = txtLayer[static_cast<size_t>(layer)];
    if (field->text().trimmed().isEmpty()) {
        field->setText(qs(output::dxfDefaultLayerName(layer)));
        return;
    }
    // A failed save leaves the file as it was; the reading then shows it.
    (void)output::saveDxfSettings(settingsWritePath(), settingsFromControls());
    output::DxfSettings s = settingsFromControls();
    (void)output::loadDxfSettings(settingsReadPath(), s);
    showSettings(s);
}

void TExportDXF::btnExportClick()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = "Export DXF";
    request.filter = "AutoCAD DXF (*.dxf)";
    request.defaultSuffix = "dxf";
    const QString last = qs(m_loaded.filePath);
    request.folder = last.isEmpty() ? qs(m_main->fileCommands().dialogStartFolder()) : QFileInfo(last).absolutePath();
    const std::optional<QString> chosen = FileDialogs::current().choose(this, request);
    if (!chosen || chosen->isEmpty())
        return;
    QString file = *chosen;
    if (!file.endsWith(".dxf", Qt::CaseInsensitive))
        file += ".dxf";
    const std::string target = file.toStdString();
    if (QFileInfo::exists(qs(target)) && !m_main->fileCommands().askReplace(qs(target), pos() + QPoint(100, 100)))
        return;
    output::DxfSettings s = settingsFromControls();
    const engine::Status st =
        output::exportDxf(target, m_main->project(), m_main->settings(), settingsWritePath(), s);
    if (!st.ok()) {
        m_main->showStatus(st, Messenger::Kind::Error);
        return;
    }
    m_loaded = s;
    accept();
}

} // namespace app

#include "app/statistics_panel.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>

#include "app/captions.h"
#include "app/qt_text.h"
#include "engine/project.h"
#include "engine/statistics_captions.h"

namespace app {

namespace {

QLabel* caption(const char* name, const QString& text)
{
    auto* l = new QLabel(text);
    l->setObjectName(name);
    l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // Long captions take a second line in a narrow window instead of being
    // cut off.
    l->setWordWrap(true);
    return l;
}

QLabel* value(const char* name, const QFont& font)
{
    auto* l = new QLabel("---");
    l->setObjectName(name);
    // Wide enough for a part area in square millimetres.
    l->setMinimumWidth(QFontMetrics(font).horizontalAdvance("99999999.99") + 8);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

} // namespace

StatisticsPanel::StatisticsPanel(QWidget* parent)
    : QFrame(parent)
{
    setObjectName("panMainStat");
    setFrameShape(QFrame::StyledPanel);
    setFixedHeight(138);
    m_grid = new QGridLayout(this);
    m_grid->setContentsMargins(6, 4, 6, 4);
    m_grid->setVerticalSpacing(2);
    m_grid->setHorizontalSpacing(4);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    setFont(small);

    Label23 = caption("Label23", "BROJ UNETIH ELEMENATA");
    Label34 = value("Label34", small);
    Label24 = caption("Label24", "BROJ ISKORISTENIH ELEMENATA->");
    Label33 = value("Label33", small);
    Label25 = caption("Label25", "BROJ ISKORISTENIH TABLI->");
    Label32 = value("Label32", small);
    Label26 = caption("Label26", "POVRSINA ISKORISTENIH ELEMENATA->");
    Label31 = value("Label31", small);
    Label27 = caption("Label27", "PROSECAN STEPEN ISKORISTENOSTI(%)->");
    Label30 = value("Label30", small);
    Label28 = caption("Label28", "STEPEN  ISKOR. POSLEDNJE TABLE (%)->");
    Label29 = value("Label29", small);
    Label40 = caption("Label40", "REZANJE U DUZINSKIM METRIMA (m)");
    Label41 = value("Label41", small);
    Label54 = caption("Label54", "DUZINA KANTOVANJA (m) ->");
    Label55 = value("Label55", small);
    addRow(Label23, Label34);
    addRow(Label24, Label33);
    addRow(Label25, Label32);
    addRow(Label26, Label31);
    addRow(Label27, Label30);
    addRow(Label28, Label29);
    addRow(Label40, Label41);
    addRow(Label54, Label55);
    m_grid->setColumnStretch(0, 1);
    m_grid->setColumnStretch(2, 1);
}

void StatisticsPanel::addRow(QLabel* caption, QLabel* value)
{
    // Four rows a column pair.
    m_grid->addWidget(caption, m_rows % 4, (m_rows / 4) * 2);
    m_grid->addWidget(value, m_rows % 4, (m_rows / 4) * 2 + 1);
    ++m_rows;
}

void StatisticsPanel::showStatistics(const engine::ProjectStats& st)
{
    const std::pair<QLabel*, const std::string*> values[] = {
        {Label34, &st.parts},         {Label33, &st.used_parts},       {Label32, &st.used_sheets},
        {Label31, &st.part_area},     {Label30, &st.average_yield},    {Label29, &st.last_sheet_yield},
        {Label41, &st.cut_length},    {Label55, &st.banding_length},
    };
    for (const auto& [label, text] : values)
        label->setText(text->empty() ? QString("---") : qs(*text));
}

void StatisticsPanel::showUnitCaptions(const engine::LanguageTable& table, const engine::HeadingValues& values)
{
    using engine::UnitHeading;
    const std::pair<QLabel*, UnitHeading> headings[] = {
        {Label26, UnitHeading::PlacedArea}, {Label27, UnitHeading::AverageYield}, {Label28, UnitHeading::LastSheetYield},
        {Label40, UnitHeading::CutLength}, {Label54, UnitHeading::BandingLength},
    };
    for (const auto& [label, heading] : headings)
        label->setText(qs(engine::statisticsCaption(table, heading, values)));
}

void StatisticsPanel::addCaptionTargets(CaptionTargets& targets) const
{
    targets.add({Label23, Label24, Label25, Label26, Label27, Label28, Label40, Label54});
}

} // namespace app

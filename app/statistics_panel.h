#pragma once

#include <QFrame>

class QGridLayout;
class QLabel;

namespace engine {
class LanguageTable;
struct HeadingValues;
struct ProjectStats;
} // namespace engine

namespace app {

class CaptionTargets;

// The statistics of the shown result under the part table: eight captions,
// each beside its value.
class StatisticsPanel : public QFrame {
    Q_OBJECT
public:
    explicit StatisticsPanel(QWidget* parent = nullptr);

    // The values of a result; "---" for a project that never had one.
    void showStatistics(const engine::ProjectStats& stats);
    // The captions that carry a unit: area, yields, cut and banding length.
    void showUnitCaptions(const engine::LanguageTable& table, const engine::HeadingValues& values);
    void addCaptionTargets(CaptionTargets& targets) const;

    // Captions.
    QLabel* Label23;
    QLabel* Label24;
    QLabel* Label25;
    QLabel* Label26;
    QLabel* Label27;
    QLabel* Label28;
    QLabel* Label40;
    QLabel* Label54;
    // Values, in the order of the captions.
    QLabel* Label34;
    QLabel* Label33;
    QLabel* Label32;
    QLabel* Label31;
    QLabel* Label30;
    QLabel* Label29;
    QLabel* Label41;
    QLabel* Label55;

private:
    // One caption and its value in the next place of the two columns.
    void addRow(QLabel* caption, QLabel* value);

    QGridLayout* m_grid;
    int m_rows = 0;
};

} // namespace app

#pragma once

#include <QWidget>

class QLabel;
class QTableWidget;
class QTreeView;

namespace app {

class CaptionTargets;

// The project archive page (Arhiva): a folder browser on the left, the
// archive table with its column headings on the right. The listing itself
// comes with the archive commands.
class ArchivePage : public QWidget {
    Q_OBJECT
public:
    explicit ArchivePage(QWidget* parent = nullptr);

    // Column widths and heading places for the table's width.
    void layoutArchive();
    void addCaptionTargets(CaptionTargets& targets) const;

    // The controls, by their design names.
    QTreeView* panArchiveBrowse;
    QWidget* panArchiveMain;
    QWidget* panArchiveHeadings;
    QLabel* Label62;
    QLabel* Label63;
    QLabel* Label64;
    QLabel* Label65;
    QTableWidget* StringGrid3;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace app

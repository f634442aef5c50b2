#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyle>
#include <QTableView>

#include "app/band_type_model.h"
#include "app/grid_delegate.h"
#include "app/grid_header.h"
#include "app/main_form.h"
#include "app_fixture.h"

using apptest::AppTest;

namespace {

// Band names that differ only in their middle, as real band names do.
constexpr const char* kBandFile = "Bez trake\r\n0\r\n-\r\n0\r\n0\r\n"
                                  "PVC 0.4mm\r\n0.04\r\nA\r\n5\r\n1.2\r\n"
                                  "PVC 2mm\r\n0.2\r\nB\r\n5\r\n2.1\r\n";

class BandColumns : public AppTest {
protected:
    // Starts in `language` with banding on, the main window at its smallest
    // size, and two parts whose length edges carry the two PVC bands.
    void startWithTwoBandedParts(const char* language)
    {
        QFile f(home() + "Config/bands.vlb");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(kBandFile);
        f.close();
        writeSettings({"iLang=Finished", QString("Jezik=") + language, "Kantiranje=1", "JedMere=1"});
        start({}, false);
        showActive();
        ASSERT_EQ(main().size(), QSize(795, 590));
        for (int band : {1, 2}) {
            field("Edit6")->setText("50");
            field("Edit16")->setText("2");
            field("Edit7")->setText("40");
            main().pag1->ComboBox2->setCurrentIndex(band);
            typeEnter(field("Edit8"), "");
        }
        ASSERT_EQ(main().project().parts.rowCount(), 2);
        ASSERT_EQ(main().project().parts.cell(1, 6), "PVC 0.4mm");
        ASSERT_EQ(main().project().parts.cell(2, 6), "PVC 2mm");
        QApplication::processEvents();
    }

    QLineEdit* field(const char* name) { return main().findChild<QLineEdit*>(name); }
    QTableView* grid() { return main().pag1->StringGrid2; }
    app::GridDelegate* delegate() { return qobject_cast<app::GridDelegate*>(grid()->itemDelegate()); }

    // The heading as the header draws it in its section.
    QString shownHeading(int section)
    {
        auto* h = qobject_cast<app::GridHeader*>(grid()->horizontalHeader());
        return h ? h->shownText(section) : QString();
    }
};

} // namespace

TEST_F(BandColumns, NamesAndHeadingsDifferAtTheSmallestWindow)
{
    for (const char* language : {"Srpski", "English"}) {
        SCOPED_TRACE(language);
        startWithTwoBandedParts(language);
        ASSERT_NE(delegate(), nullptr);
        const QModelIndex thin = grid()->model()->index(0, 6);
        const QModelIndex thick = grid()->model()->index(1, 6);
        const QString a = delegate()->shownText(*grid(), thin);
        const QString b = delegate()->shownText(*grid(), thick);
        EXPECT_NE(a, b);
        EXPECT_FALSE(a.isEmpty());
        // Both keep the end of the name, where the thickness is.
        EXPECT_TRUE(a.endsWith("m")) << a.toStdString();
        EXPECT_TRUE(b.endsWith("m")) << b.toStdString();
        // The two length-edge headings ("Kant D1", "Kant D2") differ too.
        EXPECT_NE(shownHeading(6), shownHeading(7)) << shownHeading(6).toStdString();
        EXPECT_NE(shownHeading(8), shownHeading(9));
        // Tooltips hold the whole texts.
        EXPECT_EQ(grid()->model()->data(thin, Qt::ToolTipRole).toString(), "PVC 0.4mm");
        EXPECT_EQ(grid()->model()->headerData(6, Qt::Horizontal, Qt::ToolTipRole).toString(), text(184));
        EXPECT_EQ(grid()->model()->headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(), text(106));
        // Every visible column is at least a few characters wide, and the
        // band columns are not the narrowest.
        const int bandWidth = grid()->columnWidth(6);
        EXPECT_GE(bandWidth, grid()->columnWidth(1));
        EXPECT_GE(bandWidth, grid()->columnWidth(3));
        forms = {};
        QFile::remove(settingsFile());
    }
}

TEST_F(BandColumns, NarrowHeadingsKeepTheirEnds)
{
    startWithTwoBandedParts("Srpski");
    for (int c = 6; c <= 9; ++c)
        grid()->setColumnWidth(c, 40);
    const QString d1 = shownHeading(6);
    const QString d2 = shownHeading(7);
    EXPECT_NE(d1, text(184));
    EXPECT_TRUE(d1.endsWith("1")) << d1.toStdString();
    EXPECT_TRUE(d2.endsWith("2")) << d2.toStdString();
    EXPECT_NE(d1, d2);
    EXPECT_NE(shownHeading(8), shownHeading(9));
}

TEST_F(BandColumns, ShortTextsAreShownWhole)
{
    startWithTwoBandedParts("English");
    const QModelIndex length = grid()->model()->index(0, 1);
    EXPECT_EQ(delegate()->shownText(*grid(), length), "50");
    // A blank cell has no tooltip.
    EXPECT_FALSE(grid()->model()->data(grid()->model()->index(0, 4), Qt::ToolTipRole).isValid());
}

TEST_F(BandColumns, FirstClickOnABandCellOpensTheChooser)
{
    startWithTwoBandedParts("English");
    const QModelIndex cell = grid()->model()->index(1, 7);
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualRect(cell).center());
    auto* chooser = grid()->findChild<QComboBox*>("ComboBox1");
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_EQ(chooser->geometry(), grid()->visualRect(cell));
    EXPECT_TRUE(chooser->view()->isVisible()) << "the list of band types is open";
    EXPECT_EQ(chooser->currentText(), "PVC 2mm");
    // One more click on an item of the list takes it.
    QAbstractItemView* list = chooser->view();
    const QModelIndex item = list->model()->index(1, 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
    EXPECT_EQ(main().project().parts.cell(2, 7), "PVC 0.4mm");
    EXPECT_EQ(main().project().parts.cell(2, 11), "0.04");
    EXPECT_EQ(main().project().parts.cell(2, 15), "A");
}

TEST_F(BandColumns, ClicksElsewhereOpenNoChooser)
{
    startWithTwoBandedParts("English");
    const QModelIndex length = grid()->model()->index(0, 1);
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualRect(length).center());
    EXPECT_EQ(grid()->findChild<QComboBox*>("ComboBox1"), nullptr);
    // The chooser lists the band types of the main window's model.
    EXPECT_EQ(main().pag1->ComboBox2->model(), main().bandModel());
    EXPECT_EQ(main().pag1->ComboBox2->count(), 3);
}

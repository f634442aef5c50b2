#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTabWidget>

#include "app/main_form.h"
#include "app_fixture.h"
#include "engine/units.h"

using apptest::AppTest;
using Kind = app::Messenger::Kind;

namespace {

class InputPage : public AppTest {
protected:
    QLineEdit* f(const char* name) { return main().findChild<QLineEdit*>(name); }
    const engine::TextTable& sheets() { return main().project().sheets; }
    const engine::TextTable& parts() { return main().project().parts; }
    QString caption(const char* label) { return main().findChild<QLabel*>(label)->text(); }
};

} // namespace

TEST_F(InputPage, SheetRowTypedWithEnter)
{
    start();
    showActive();
    EXPECT_EQ(f("Edit2")->text(), "2.7");  // DefSheetWidth 270 in centimetres
    EXPECT_EQ(f("Edit3")->text(), "1.9");
    typeEnter(f("Edit1"), "oak");
    EXPECT_TRUE(f("Edit2")->hasFocus());
    f("Edit2")->clear();
    typeEnter(f("Edit2"), "275.04");
    EXPECT_EQ(f("Edit2")->text(), "275.04");
    f("Edit3")->clear();
    typeEnter(f("Edit3"), "183");
    f("Edit4")->clear();
    typeEnter(f("Edit4"), "2");
    ASSERT_EQ(sheets().rowCount(), 1);
    EXPECT_EQ(sheets().row(1), (std::vector<std::string>{"", "275.04", "183", "2", "oak"}));
    EXPECT_EQ(f("Edit4")->text(), "1");
    EXPECT_TRUE(f("Edit2")->hasFocus());
    EXPECT_EQ(caption("Label15"), text(130) + " (2)");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(main().pag1->StringGrid1->model()->rowCount(), 1);
}

TEST_F(InputPage, ThreePartsTypedWithEnterAndBands)
{
    writeSettings({"iLang=Finished", "Jezik=English", "Kantiranje=1"});
    start();
    showActive();
    ASSERT_TRUE(f("Edit16")->isVisible());
    main().pag1->ComboBox2->setCurrentIndex(1);
    const struct {
        const char *ini, *len, *kd, *wid, *kv, *qty;
    } rows[] = {{"A", "60", "1", "40", "2", "3"}, {"B", "80", "0", "30", "0", "1"}, {"C", "50", "2", "20", "1", "2"}};
    for (const auto& r : rows) {
        f("Edit5")->clear();
        typeEnter(f("Edit5"), r.ini);
        ASSERT_TRUE(f("Edit6")->hasFocus());
        typeEnter(f("Edit6"), r.len);
        ASSERT_TRUE(f("Edit16")->hasFocus());
        f("Edit16")->clear();
        typeEnter(f("Edit16"), r.kd);
        ASSERT_TRUE(f("Edit7")->hasFocus());
        typeEnter(f("Edit7"), r.wid);
        ASSERT_TRUE(f("Edit17")->hasFocus());
        f("Edit17")->clear();
        typeEnter(f("Edit17"), r.kv);
        ASSERT_TRUE(f("Edit8")->hasFocus());
        f("Edit8")->clear();
        typeEnter(f("Edit8"), r.qty);
        EXPECT_TRUE(f("Edit6")->hasFocus());
        f("Edit6")->clear();
        f("Edit7")->clear();
    }
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(parts().rowCount(), 3);
    // Row 1: KD 1 bands the first length edge, KV 2 both width edges.
    EXPECT_EQ(parts().cell(1, 1), "60");
    EXPECT_EQ(parts().cell(1, 4), "A");
    EXPECT_EQ(parts().cell(1, 5), "0");
    EXPECT_EQ(parts().cell(1, 6), "PVC 2");
    EXPECT_EQ(parts().cell(1, 10), "0.2");
    EXPECT_EQ(parts().cell(1, 14), "A");
    EXPECT_EQ(parts().cell(1, 7), "Bez trake");
    EXPECT_EQ(parts().cell(1, 11), "0");
    EXPECT_EQ(parts().cell(1, 15), "-");
    EXPECT_EQ(parts().cell(1, 8), "PVC 2");
    EXPECT_EQ(parts().cell(1, 9), "PVC 2");
    EXPECT_EQ(parts().cell(2, 6), "Bez trake");
    EXPECT_EQ(parts().cell(3, 7), "PVC 2");
    EXPECT_EQ(parts().cell(3, 9), "Bez trake");
    EXPECT_EQ(caption("Label21"), text(131) + " (6)");
}

TEST_F(InputPage, BandCountOtherThanZeroOneTwoIsRefused)
{
    writeSettings({"iLang=Finished", "Jezik=English", "Kantiranje=1"});
    start();
    showActive();
    f("Edit16")->clear();
    typeEnter(f("Edit16"), "3");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, text(18));
    EXPECT_EQ(f("Edit16")->text(), "");
    EXPECT_TRUE(f("Edit16")->hasFocus());
}

TEST_F(InputPage, BadLengthInEveryUnit)
{
    const struct {
        int unit;
        const char* bad;
        engine::Msg msg;
    } cases[] = {
        {0, "12,5", engine::Msg::NotANumber},    {1, "abc", engine::Msg::NotANumber},
        {2, "1..2", engine::Msg::NotANumber},    {3, "3 in", engine::Msg::NotANumber},
        {4, "", engine::Msg::Ok},                {5, "", engine::Msg::Ok},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        QFile::remove(settingsFile());
        writeSettings({"iLang=Finished", "Jezik=English", QString("JedMere=%1").arg(c.unit)});
        messages.shown.clear();
        start();
        showActive();
        // The imperial units: a text their parser refuses, with its message.
        std::string bad = c.bad;
        engine::Msg expected = c.msg;
        if (c.unit >= 4) {
            bad = c.unit == 4 ? "1/" : "7x";
            expected = engine::NormalizeLengthText(bad, engine::lengthUnitFromInt(c.unit)).msg;
            ASSERT_NE(expected, engine::Msg::Ok);
        }
        QLineEdit* len = f("Edit6");
        len->setFocus();
        QTest::keyClicks(len, QString::fromStdString(bad));
        f("Edit7")->setFocus();  // leaving the field checks it
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, text(engine::number(expected)));
        EXPECT_EQ(messages.shown[0].kind, Kind::Error);
        EXPECT_EQ(len->text(), "");
        EXPECT_TRUE(len->hasFocus());
        // Sheet fields place their box beside the field.
        messages.shown.clear();
        f("Edit2")->setText(QString::fromStdString(bad));
        f("Edit2")->setFocus();
        f("Edit3")->setFocus();
        ASSERT_EQ(messages.shown.size(), 1u);
        const QPoint expectedAt =
            main().frameGeometry().topLeft() + f("Edit2")->mapTo(&main(), QPoint(0, 0)) + QPoint(-80, 120);
        EXPECT_EQ(messages.shown[0].at, expectedAt);
        forms = {};
    }
}

TEST_F(InputPage, FractionalQuantityAddsNothing)
{
    start();
    showActive();
    f("Edit4")->setText("2.5");
    typeEnter(f("Edit4"), "");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, text(207));
    EXPECT_EQ(sheets().rowCount(), 0);
    f("Edit4")->setText("0");
    typeEnter(f("Edit4"), "");
    EXPECT_EQ(messages.shown.back().text, text(2));
    f("Edit6")->setText("50");
    f("Edit7")->setText("40");
    f("Edit8")->setText("1.5");
    typeEnter(f("Edit8"), "");
    EXPECT_EQ(messages.shown.back().text, text(207));
    EXPECT_EQ(parts().rowCount(), 0);
    EXPECT_EQ(caption("Label21"), text(131) + " (0)");
}

TEST_F(InputPage, DeleteAndClearAskFirst)
{
    start();
    showActive();
    for (const char* q : {"1", "2", "3"}) {
        f("Edit4")->setText(q);
        typeEnter(f("Edit4"), "");
    }
    ASSERT_EQ(sheets().rowCount(), 3);
    main().pag1->StringGrid1->setCurrentIndex(main().pag1->StringGrid1->model()->index(1, 1));
    messages.answers = {app::Messenger::Answer::No};
    main().pag1->Deleterow2Click();
    EXPECT_EQ(sheets().rowCount(), 3);
    EXPECT_EQ(messages.shown.back().text, text(14));
    EXPECT_EQ(messages.shown.back().buttons, app::Messenger::Buttons::YesNoCancel);
    main().pag1->Deleterow2Click();  // answered Yes
    ASSERT_EQ(sheets().rowCount(), 2);
    EXPECT_EQ(sheets().cell(2, 3), "3");
    EXPECT_EQ(caption("Label15"), text(130) + " (4)");

    messages.answers = {app::Messenger::Answer::Cancel};
    main().pag1->BitBtn3Click();
    EXPECT_EQ(sheets().rowCount(), 2);
    EXPECT_EQ(messages.shown.back().text, text(289));
    main().pag1->BitBtn3Click();
    EXPECT_EQ(sheets().rowCount(), 0);
    EXPECT_EQ(caption("Label15"), text(130) + " (0)");

    f("Edit6")->setText("50");
    f("Edit7")->setText("40");
    typeEnter(f("Edit8"), "");
    main().pag1->BitBtn4Click();
    EXPECT_EQ(messages.shown.back().text, text(290));
    EXPECT_EQ(parts().rowCount(), 0);
}

TEST_F(InputPage, LockAllTogglesEveryRow)
{
    start();
    showActive();
    for (int i = 0; i < 2; ++i) {
        f("Edit6")->setText("50");
        f("Edit7")->setText("40");
        typeEnter(f("Edit8"), "");
    }
    main().pag1->BitBtn16Click();
    EXPECT_EQ(parts().cell(1, 5), "1");
    EXPECT_EQ(parts().cell(2, 5), "1");
    main().pag1->BitBtn16Click();
    EXPECT_EQ(parts().cell(1, 5), "0");
    EXPECT_EQ(parts().cell(2, 5), "0");
    // The lock cell toggles on a click and back on the next one.
    main().pag1->StringGrid2SelectCell(2, 5);
    EXPECT_EQ(parts().cell(2, 5), "1");
    main().pag1->StringGrid2SelectCell(2, 5);
    EXPECT_EQ(parts().cell(2, 5), "0");
}

TEST_F(InputPage, CellEditsAreChecked)
{
    start();
    showActive();
    f("Edit6")->setText("50");
    f("Edit7")->setText("40");
    typeEnter(f("Edit8"), "");
    QAbstractItemModel* m = main().pag1->StringGrid2->model();
    EXPECT_FALSE(m->setData(m->index(0, 1), "12,5", Qt::EditRole));
    EXPECT_EQ(parts().cell(1, 1), "50");
    EXPECT_EQ(messages.shown.back().text, text(272));
    EXPECT_TRUE(m->setData(m->index(0, 1), "61.234", Qt::EditRole));
    EXPECT_EQ(parts().cell(1, 1), "61.23");
    EXPECT_FALSE(m->setData(m->index(0, 3), "2.5", Qt::EditRole));
    EXPECT_EQ(parts().cell(1, 3), "1");
    EXPECT_TRUE(m->setData(m->index(0, 3), "7", Qt::EditRole));
    EXPECT_EQ(caption("Label21"), text(131) + " (7)");
}

TEST_F(InputPage, ClickBelowTheRowsOfAnEmptyTableGoesToTheEntryField)
{
    start();
    showActive();
    QTest::mouseClick(main().pag1->StringGrid1->viewport(), Qt::LeftButton, {}, QPoint(20, 60));
    EXPECT_TRUE(f("Edit2")->hasFocus());
    EXPECT_TRUE(messages.shown.empty());
    typeEnter(f("Edit4"), "");
    QTest::mouseClick(main().pag1->StringGrid1->viewport(), Qt::LeftButton, {}, QPoint(20, 150));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, text(13));
}

TEST_F(InputPage, BandCellTakesTheChosenTypeAndEditsHideTheLayouts)
{
    writeSettings({"iLang=Finished", "Jezik=English", "Kantiranje=1"});
    start();
    showActive();
    f("Edit6")->setText("50");
    f("Edit7")->setText("40");
    typeEnter(f("Edit8"), "");
    main().setResultPageVisible(true);
    QTableView* grid = main().pag1->StringGrid2;
    const QModelIndex cell = grid->model()->index(0, 8);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* chooser = grid->findChild<QComboBox*>("ComboBox1");
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->count(), 3);
    EXPECT_EQ(chooser->geometry(), grid->visualRect(cell));
    chooser->setCurrentIndex(2);
    emit chooser->activated(2);
    EXPECT_EQ(parts().cell(1, 8), "ABS 1");
    EXPECT_EQ(parts().cell(1, 12), "0.1");
    EXPECT_EQ(parts().cell(1, 16), "B");
    EXPECT_FALSE(main().resultPageVisible());
}

#include <QComboBox>
#include <QLineEdit>
#include <QTableView>

#include "app/bands_dialog.h"
#include "app/main_form.h"
#include "app/settings_dialog.h"
#include "app_fixture.h"

using apptest::AppTest;

namespace {

class SettingsDialog : public AppTest {
protected:
    QString bandFile()
    {
        QFile f(home() + "Config/bands.vlb");
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

} // namespace

TEST_F(SettingsDialog, UnitChangeConvertsTablesAndBandFile)
{
    start();
    engine::Project& p = main().project();
    p.sheets.appendRow({"", "275", "183", "1", ""});
    p.parts.appendRow({"", "abc", "40", "1", "A", "0", "PVC 2", "", "", "", "0.2", "", "", "", "A"});
    main().refreshTables();
    forms.settings->activate();
    forms.settings->RadioGroup2Click(0);  // centimetres -> millimetres
    EXPECT_EQ(main().settings().JedMere, 0);
    EXPECT_EQ(p.sheets.cell(1, 1), "2750");
    EXPECT_EQ(p.sheets.cell(1, 2), "1830");
    EXPECT_EQ(p.parts.cell(1, 1), "abc");
    EXPECT_EQ(p.parts.cell(1, 2), "400");
    EXPECT_EQ(p.parts.cell(1, 10), "2");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, text(294));
    // The band file: record 0 as it was, the others converted.
    EXPECT_EQ(bandFile(), "Bez trake\r\n0\r\n-\r\n0\r\n0\r\nPVC 2\r\n2\r\nA\r\n50\r\n1.2\r\nABS 1\r\n1\r\nB\r\n30\r\n0.8\r\n");
    EXPECT_EQ(main().bandTypes().record(1).thickness, "2");
    EXPECT_EQ(forms.settings->testera->text(), "0.4");
    EXPECT_EQ(main().pag1->Edit2->text(), "27");
    // The same unit again changes nothing.
    forms.settings->RadioGroup2Click(0);
    EXPECT_EQ(p.sheets.cell(1, 1), "2750");
}

TEST_F(SettingsDialog, UnitChangeKeepsTheLayoutsPageAsItWas)
{
    start();
    main().setResultPageVisible(true);
    forms.settings->RadioGroup2Click(2);
    EXPECT_TRUE(main().resultPageVisible());
    main().setResultPageVisible(false);
    forms.settings->areastyle_comboChange(2);
    EXPECT_FALSE(main().resultPageVisible());
    EXPECT_EQ(main().settings().AreaStyle, 2);
}

TEST_F(SettingsDialog, LengthFieldsNormaliseOrRefuse)
{
    start();
    forms.settings->activate();
    QLineEdit* saw = forms.settings->testera;
    EXPECT_EQ(saw->text(), "0.04");  // 4 tenths of a millimetre
    saw->setText("0.456");
    forms.settings->lengthFieldExit(saw);
    EXPECT_EQ(saw->text(), "0.46");
    EXPECT_EQ(main().settings().Testera, 46);
    saw->setText("x");
    forms.settings->lengthFieldExit(saw);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, text(272));
    EXPECT_EQ(saw->text(), "0.46");
    EXPECT_EQ(main().settings().Testera, 46);
    // A kerf of 7 m does not fit the setting's 16 bits: refused, not wrapped.
    saw->setText("700");
    forms.settings->lengthFieldExit(saw);
    EXPECT_EQ(messages.shown.back().text, text(296));
    EXPECT_EQ(saw->text(), "0.46");
    EXPECT_EQ(main().settings().Testera, 46);
}

TEST_F(SettingsDialog, PriceFieldRefusesLetters)
{
    start();
    forms.settings->activate();
    auto* price = forms.settings->findChild<QLineEdit*>("cena1");
    price->setText("12.5");
    forms.settings->cenaChange(price);
    EXPECT_FLOAT_EQ(main().settings().CENA1, 12.5f);
    price->setText("12.5x");
    forms.settings->cenaChange(price);
    EXPECT_EQ(messages.shown.back().text, text(296));
    EXPECT_EQ(price->text(), "12.5");
    // A price beyond a single-precision float would become infinity.
    price->setText("1e39");
    forms.settings->cenaChange(price);
    EXPECT_EQ(messages.shown.back().text, text(296));
    EXPECT_FLOAT_EQ(main().settings().CENA1, 12.5f);
}

TEST_F(SettingsDialog, BandingSwitchShowsTheBandFields)
{
    start();
    forms.settings->activate();
    main().show();
    EXPECT_FALSE(main().pag1->Edit16->isVisible());
    forms.settings->kantiranjeClick(true);
    EXPECT_TRUE(main().pag1->Edit16->isVisible());
    EXPECT_TRUE(main().pag1->Edit16->isEnabled());
    EXPECT_FALSE(main().pag1->StringGrid2->isColumnHidden(6));
    EXPECT_TRUE(main().pag1->StringGrid2->isColumnHidden(10));
    forms.settings->kantiranjeClick(false);
    EXPECT_FALSE(main().pag1->Edit16->isVisible());
    EXPECT_TRUE(main().pag1->StringGrid2->isColumnHidden(6));
}

TEST_F(SettingsDialog, MissingSoundFileFallsBackToTheProgramSound)
{
    start();
    forms.settings->activate();
    auto* sound = forms.settings->findChild<QLineEdit*>("SoundPath");
    sound->setText(home() + "none.wav");
    main().settings().SoundPath = (home() + "none.wav").toStdString();
    forms.settings->SoundPathExit();
    EXPECT_EQ(messages.shown.back().text, text(243));
    EXPECT_EQ(main().settings().SoundPath, (home() + "sound.wav").toStdString());
}

TEST_F(SettingsDialog, LanguageListAndChoice)
{
    start();
    forms.settings->activate();
    auto* list = forms.settings->findChild<QComboBox*>("ComboBox1");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentText(), "English");
    forms.settings->ComboBox1Change("Srpski");
    EXPECT_EQ(main().languageName(), "Srpski");
    EXPECT_EQ(forms.settings->findChild<QComboBox*>("areastyle_combo")->currentIndex(), main().settings().AreaStyle);
}

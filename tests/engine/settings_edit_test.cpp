#include "engine/settings_edit.h"

#include <gtest/gtest.h>

using namespace engine;

TEST(SettingsEdit, LengthFieldValues)
{
    LengthSetting r = readLengthSetting("0.456", LengthUnit::Centimetre);
    EXPECT_EQ(r.msg, Msg::Ok);
    EXPECT_EQ(r.text, "0.46");
    EXPECT_EQ(r.value, 46);
    EXPECT_EQ(readLengthSetting("x", LengthUnit::Millimetre).msg, Msg::NotANumber);
    EXPECT_EQ(readLengthSetting("-5", LengthUnit::Millimetre).msg, Msg::CannotConvertValue);
    EXPECT_EQ(readLengthSetting("27", LengthUnit::Millimetre).value, 270);
}

TEST(SettingsEdit, Prices)
{
    float p = 3;
    EXPECT_TRUE(readPrice("12.5", p));
    EXPECT_FLOAT_EQ(p, 12.5f);
    EXPECT_FALSE(readPrice("12.5a", p));
    EXPECT_FLOAT_EQ(p, 12.5f);
    EXPECT_EQ(priceText(p), "12.5");
}

TEST(SettingsEdit, OutOfRangeValuesGoBackToTheirDefaults)
{
    const Settings d = Settings::defaults("/p/");
    Settings s = d;
    s.JedMere = 9;
    s.autoparam = -1;
    s.frmstate = 2;
    const std::vector<std::string> names = resetOutOfRange(s, d);
    EXPECT_EQ(names, (std::vector<std::string>{"JedMere", "autoparam"}));
    EXPECT_EQ(s.JedMere, 1);
    EXPECT_EQ(s.autoparam, 2);
    EXPECT_EQ(s.frmstate, 2);
}

TEST(SettingsEdit, HelpDocumentByLanguage)
{
    EXPECT_EQ(helpDocumentPath("/p/", "Espa\xC3\xB1ol"), "/p/Help/velm_help_esp.html");
    EXPECT_EQ(helpDocumentPath("/p/", "Espa\xF1ol"), "/p/Help/velm_help_esp.html");
    EXPECT_EQ(helpDocumentPath("/p/", "Espanol"), "/p/Help/velm_help_eng.html");
    EXPECT_EQ(helpDocumentPath("/p/", "English"), "/p/Help/velm_help_eng.html");
}

TEST(SettingsEdit, SoundPathAndCaptions)
{
    const SoundPathCheck missing = checkSoundPath("/nonexistent/x.wav", "/p/");
    EXPECT_EQ(missing.msg, Msg::SoundFileMissing);
    EXPECT_EQ(missing.path, "/p/sound.wav");
    EXPECT_EQ(checkSoundPath(TEST_DATA_DIR "/app/home/Config/bands.vlb", "/p/").msg, Msg::Ok);
    EXPECT_EQ(windowCaption("kitchen"), "Velmora Pro - kitchen");
    EXPECT_EQ(projectNameOf("/a/b/kitchen.vlp"), "kitchen");
}

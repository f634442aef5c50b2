#include "engine/settings_edit.h"

#include <cstdint>
#include <vector>

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

namespace {

// The settings the length fields write, in one value for comparing.
std::vector<long long> lengthSettings(const engine::Settings& s)
{
    return {s.Testera, s.Visak, s.Visak2, s.DefSheetWidth, s.DefSheetHeight};
}

} // namespace

TEST(SettingsEdit, LengthFieldsStoreTheirOwnSetting)
{
    using F = LengthSettingField;
    Settings s;
    const Settings before = s;
    const struct {
        F field;
        std::int32_t Settings::*member;
    } cases[] = {{F::MinOffcut, &Settings::Visak},
                 {F::MinOffcut2, &Settings::Visak2},
                 {F::DefaultSheetWidth, &Settings::DefSheetWidth},
                 {F::DefaultSheetHeight, &Settings::DefSheetHeight}};
    for (const auto& c : cases) {
        Settings t = s;
        const LengthSettingEdit r = editLengthSetting(t, c.field, "12.345", LengthUnit::Centimetre);
        EXPECT_EQ(r.msg, Msg::Ok);
        EXPECT_FALSE(r.restore);
        EXPECT_EQ(r.text, "12.35");
        EXPECT_EQ(t.*c.member, 1235);
        // Nothing else moved.
        t.*c.member = s.*c.member;
        EXPECT_EQ(lengthSettings(t), lengthSettings(before));
    }
    const LengthSettingEdit kerf = editLengthSetting(s, F::Kerf, "4.4", LengthUnit::Millimetre);
    EXPECT_EQ(kerf.msg, Msg::Ok);
    EXPECT_EQ(s.Testera, 44);
}

TEST(SettingsEdit, RefusedLengthsStoreNothing)
{
    using F = LengthSettingField;
    Settings s;
    const Settings before = s;
    LengthSettingEdit r = editLengthSetting(s, F::MinOffcut, "x", LengthUnit::Millimetre);
    EXPECT_EQ(r.msg, Msg::NotANumber);
    EXPECT_FALSE(r.warning);
    EXPECT_TRUE(r.restore);
    r = editLengthSetting(s, F::DefaultSheetWidth, "-5", LengthUnit::Millimetre);
    EXPECT_EQ(r.msg, Msg::CannotConvertValue);
    EXPECT_TRUE(r.warning);
    EXPECT_FALSE(r.restore);
    EXPECT_FALSE(r.text.empty());
    // 7 m of kerf does not fit the 16 bits that hold it: refused, not wrapped.
    r = editLengthSetting(s, F::Kerf, "7000", LengthUnit::Millimetre);
    EXPECT_EQ(r.msg, Msg::CannotConvertValue);
    EXPECT_TRUE(r.warning);
    EXPECT_TRUE(r.restore);
    EXPECT_EQ(lengthSettings(s), lengthSettings(before));
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
    EXPECT_EQ(checkSoundPath(std::string(TEST_DATA_DIR) + "/app/home/Config/bands.vlb", "/p/").msg, Msg::Ok);
    EXPECT_EQ(windowCaption("kitchen"), "Velmora Pro - kitchen");
    EXPECT_EQ(projectNameOf("/a/b/kitchen.vlp"), "kitchen");
}

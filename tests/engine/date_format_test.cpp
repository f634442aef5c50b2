#include "engine/date_format.h"

#include <cstdlib>

#include <gtest/gtest.h>

namespace {

// Wednesday 9 December 2026, 08:05:03.
std::tm when()
{
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 9;
    t.tm_wday = 3;
    t.tm_hour = 8;
    t.tm_min = 5;
    t.tm_sec = 3;
    return t;
}

TEST(FormatDateTime, TheSettingsChoices)
{
    // The six date formats the settings dialog offers.
    EXPECT_EQ(engine::FormatDateTime("dd/mm/yyyy", when()), "09/12/2026");
    EXPECT_EQ(engine::FormatDateTime("ddd/mm/yyyy", when()), "Wed/12/2026");
    EXPECT_EQ(engine::FormatDateTime("ddd/mmm/yyyy", when()), "Wed/Dec/2026");
    EXPECT_EQ(engine::FormatDateTime("mm/dd/yyyy", when()), "12/09/2026");
    EXPECT_EQ(engine::FormatDateTime("mmm/dd/yyyy", when()), "Dec/09/2026");
    EXPECT_EQ(engine::FormatDateTime("mmm/ddd/yyyy", when()), "Dec/Wed/2026");
}

TEST(FormatDateTime, MinutesAfterHours)
{
    // The cover and label date: the format, a quoted dash, hours and minutes.
    EXPECT_EQ(engine::FormatDateTime("dd/mm/yyyy ' - ' hh:mm ", when()), "09/12/2026  -  08:05 ");  // the blanks around the quote stay
    EXPECT_EQ(engine::FormatDateTime("HH:MM", when()), "08:05");
    EXPECT_EQ(engine::FormatDateTime("h:m", when()), "8:5");
    // An m that does not follow an h stays the month, also after a time.
    EXPECT_EQ(engine::FormatDateTime("hh:nn:ss dd.mm.yy", when()), "08:05:03 09.12.26");
    EXPECT_EQ(engine::FormatDateTime("mm hh mm", when()), "12 08 05");
}

TEST(FormatDateTime, NamesQuotesAndShortcuts)
{
    EXPECT_EQ(engine::FormatDateTime("dddd d mmmm yyyy", when()), "Wednesday 9 December 2026");
    EXPECT_EQ(engine::FormatDateTime("\"day\" d 'of' m", when()), "day 9 of 12");
    EXPECT_EQ(engine::FormatDateTime("t", when()), "08:05");
    EXPECT_EQ(engine::FormatDateTime("tt", when()), "08:05:03");
    EXPECT_EQ(engine::FormatDateTime("c", when()), "09/12/2026 08:05:03");
    EXPECT_EQ(engine::FormatDateTime("", when()), "");
    EXPECT_EQ(engine::FormatDateTime("'open", when()), "open");  // an unclosed quote ends the text
}

TEST(PrintTime, SourceDateEpochFixesTheMoment)
{
    ::setenv("SOURCE_DATE_EPOCH", "1796803503", 1);  // 2026-12-09 08:05:03 UTC
    const std::tm t = engine::printTime();
    ::unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_EQ(engine::FormatDateTime("yyyy-mm-dd hh:nn:ss", t), "2026-12-09 08:05:03");
}

} // namespace

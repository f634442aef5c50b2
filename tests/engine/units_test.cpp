#include "engine/units.h"

#include <gtest/gtest.h>

using namespace engine;

namespace {
constexpr auto MM = LengthUnit::Millimetre;
constexpr auto CM = LengthUnit::Centimetre;
constexpr auto M = LengthUnit::Metre;
constexpr auto IN = LengthUnit::DecimalInch;
constexpr auto FRAC = LengthUnit::FractionalInch;
constexpr auto FTIN = LengthUnit::FeetInches;
} // namespace

TEST(UnitsRound, HalfUpAndNegatives)
{
    EXPECT_DOUBLE_EQ(RoundHalfUp(2.5, 0), 3.0);
    EXPECT_DOUBLE_EQ(RoundHalfUp(-2.7, 0), -2.0);
    EXPECT_DOUBLE_EQ(RoundHalfUp(-2.2, 0), -1.0);
    EXPECT_NEAR(RoundHalfUp(275.126, -2), 275.13, 1e-9);
    EXPECT_DOUBLE_EQ(RoundHalfUp(1234.5, 2), 1200.0);
    EXPECT_DOUBLE_EQ(RoundHalfUp(1250, 2), 1300.0);
}

TEST(UnitsParse, WorkedExamples)
{
    EXPECT_EQ(ParseLength(MM, "275"), 2750);
    EXPECT_EQ(ParseLength(CM, "275"), 27500);
    EXPECT_EQ(ParseLength(M, "2.75"), 27500);
    EXPECT_EQ(ParseLength(IN, "1"), 254);
    EXPECT_EQ(ParseLength(FRAC, "1 1/2\""), 381);
    EXPECT_EQ(ParseLength(FTIN, "1' 6\""), 4572);
    EXPECT_EQ(ParseLength(FRAC, "1/2"), 127);
    EXPECT_EQ(ParseLength(LengthUnit{9}, "12"), 0);
}

TEST(UnitsParse, RefusesWhatIsNoLength)
{
    EXPECT_EQ(ParseLength(MM, "abc"), -1);
    EXPECT_EQ(ParseLength(MM, ""), -1);
    EXPECT_EQ(ParseLength(CM, "1,5"), -1);
    EXPECT_EQ(ParseLength(CM, "nan"), -1);
    EXPECT_EQ(ParseLength(CM, "inf"), -1);
    EXPECT_EQ(ParseLength(M, "1e9"), -1);  // beyond 32 bits
    EXPECT_EQ(ParseLength(FRAC, "3/0"), -1);
    EXPECT_EQ(ParseLength(FRAC, "abc"), -1);
}

TEST(UnitsFormat, WorkedExamples)
{
    for (int u = 0; u <= 5; ++u)
        EXPECT_EQ(FormatLength(0, LengthUnit{u}), "0");
    EXPECT_EQ(FormatLength(27500, CM), "275");
    EXPECT_EQ(FormatLength(2750, MM), "275");
    EXPECT_EQ(FormatLength(27500, M), "2.75");
    EXPECT_EQ(FormatLength(2755, CM), "27.55");
    EXPECT_EQ(FormatLength(381, FRAC), "1 1/2\"");
    EXPECT_EQ(FormatLength(4572, FTIN), "1' 6\"");
    EXPECT_EQ(FormatLength(6096, FTIN), "2' ");
    EXPECT_EQ(FormatLength(1, FRAC), "0/2\"");
    EXPECT_EQ(FormatLength(254, IN), "1");
    EXPECT_EQ(FormatLength(127, IN), "0.5");
    EXPECT_EQ(FormatLength(254, FRAC), "1\"");
    EXPECT_EQ(FormatLength(100, LengthUnit{6}), "");
}

TEST(UnitsFormat, RoundTripsEveryMetricValue)
{
    for (Length v = 0; v <= 30000; v += 7) {  // lengths are never negative in use
        EXPECT_EQ(ParseLength(MM, FormatLength(v, MM)), v);
        EXPECT_EQ(ParseLength(CM, FormatLength(v * 10, CM)), v * 10);
    }
}

TEST(UnitsFraction, NearestFraction)
{
    EXPECT_EQ(NearestFraction(0.5).numerator, 1);
    EXPECT_EQ(NearestFraction(0.5).denominator, 2);
    EXPECT_EQ(NearestFraction(0.0).numerator, 0);
    EXPECT_EQ(NearestFraction(0.0).denominator, 2);
    EXPECT_EQ(NearestFraction(0.999).numerator, 2);
    EXPECT_EQ(NearestFraction(0.999).denominator, 2);
    EXPECT_EQ(NearestFraction(0.375).numerator, 3);
    EXPECT_EQ(NearestFraction(0.375).denominator, 8);
    EXPECT_EQ(NearestFraction(1.0 / 64).denominator, 64);
}

TEST(UnitsImperial, Results)
{
    auto p = [](const char* t) { return ParseImperialText(t); };
    EXPECT_EQ(p("7").inches, 7);
    EXPECT_EQ(p("7").feet, 0);
    EXPECT_EQ(p("7'").feet, 7);
    EXPECT_EQ(p("5 7").feet, 5);
    EXPECT_EQ(p("5 7").inches, 7);
    EXPECT_EQ(p("5' 7").feet, 5);
    EXPECT_EQ(p("5' 7").inches, 7);
    const ImperialValue a = p("5 3/4");
    EXPECT_EQ(a.feet, 0);
    EXPECT_EQ(a.inches, 5);
    EXPECT_EQ(a.numerator, 3);
    EXPECT_EQ(a.denominator, 4);
    for (const char* t : {"12 5 3/8", "12' 5\" 3/8\"", "12'   5\"  3/8\""}) {
        const ImperialValue b = p(t);
        EXPECT_EQ(b.msg, Msg::Ok) << t;
        EXPECT_EQ(b.feet, 12) << t;
        EXPECT_EQ(b.inches, 5) << t;
        EXPECT_EQ(b.numerator, 3) << t;
        EXPECT_EQ(b.denominator, 8) << t;
    }
    EXPECT_EQ(p("3/4").numerator, 3);
    EXPECT_EQ(p("3/4").denominator, 4);
}

TEST(UnitsImperial, EveryMessage)
{
    auto m = [](const char* t) { return ParseImperialText(t).msg; };
    EXPECT_EQ(m(""), Msg::ImperialEmpty);
    EXPECT_EQ(m("5x"), Msg::ImperialBadCharacter);
    EXPECT_EQ(m("5.5"), Msg::ImperialBadCharacter);
    EXPECT_EQ(m("   "), Msg::ImperialGroupCount);
    EXPECT_EQ(m("1 2 3 4/5"), Msg::ImperialGroupCount);
    EXPECT_EQ(m("3/"), Msg::ImperialEndsWithSlash);
    EXPECT_EQ(m("12 5 3"), Msg::ImperialNoFraction);
    // A fraction is only ever taken as the last group, so a second one is
    // always caught as "not last" first.
    EXPECT_EQ(m("1/2 3/4"), Msg::ImperialFractionNotLast);
    EXPECT_EQ(m("1/2 3"), Msg::ImperialFractionNotLast);
    EXPECT_EQ(m("3/4'"), Msg::ImperialLoneFractionFeet);
    EXPECT_EQ(m("1' 2'"), Msg::ImperialFeetTwice);
    EXPECT_EQ(m("5 7'"), Msg::ImperialFeetTwice);
    EXPECT_EQ(m("12 5\" 3/8"), Msg::ImperialInchesTwice);
    EXPECT_EQ(m("1\" 2\""), Msg::ImperialInchesTwice);
    EXPECT_EQ(m("3//4"), Msg::ImperialBadInteger);
    EXPECT_EQ(m("1 3/4'"), Msg::ImperialBadInteger);  // fraction marked as feet keeps its mark
    EXPECT_EQ(m("3/0"), Msg::ImperialBadInteger);
    EXPECT_EQ(m("99999999999"), Msg::ImperialBadInteger);
}

TEST(UnitsNormalize, MetricAndDecimalInch)
{
    auto n = [](const char* t, LengthUnit u) { return NormalizeLengthText(t, u); };
    EXPECT_EQ(n("275.126", CM).text, "275.13");
    EXPECT_EQ(n("0", FTIN).text, "0");
    EXPECT_EQ(n("abc", MM).msg, Msg::NotANumber);
    EXPECT_EQ(n("12.34", MM).text, "12.3");
    EXPECT_EQ(n("12.35", MM).text, "12.3");  // 12.35 is held as 12.3499999...
    EXPECT_EQ(n("12.36", MM).text, "12.4");
    EXPECT_EQ(n("1.23456", M).text, "1.2346");
    EXPECT_EQ(n("1.23456", IN).text, "1.235");
    EXPECT_EQ(n("007", CM).text, "7");
    EXPECT_FALSE(n("7", LengthUnit{8}).hasText);
    EXPECT_EQ(n("7", LengthUnit{8}).msg, Msg::Ok);
}

TEST(UnitsNormalize, FeetAndInches)
{
    auto n = [](const char* t, LengthUnit u) { return NormalizeLengthText(t, u); };
    EXPECT_EQ(n("3/3\"", FRAC).text, "2/2\"");
    EXPECT_EQ(n("14", FTIN).text, "14\"");
    EXPECT_EQ(n("0\"", FRAC).msg, Msg::Ok);
    EXPECT_EQ(n("0\"", FRAC).text, "");
    EXPECT_EQ(n("1' 6", FRAC).text, "18\"");
    EXPECT_EQ(n("1' 6 1/3", FRAC).text, "18 21/64\"");
    EXPECT_EQ(n("1' 6 1/4", FTIN).text, "1' 6 1/4\"");
    EXPECT_EQ(n("5'", FTIN).text, "5' ");
    EXPECT_EQ(n("3/0", FRAC).msg, Msg::ImperialBadInteger);
    EXPECT_EQ(n("12 5 3", FTIN).msg, Msg::ImperialNoFraction);
}

TEST(UnitsArea, FormatsThroughSinglePrecision)
{
    EXPECT_EQ(FormatArea(1000000, AreaUnit::SquareCentimetre, true), "100 cm\u00B2");
    EXPECT_EQ(FormatArea(579600000LL, AreaUnit::SquareMetre, true), "5.796 m\u00B2");
    EXPECT_EQ(FormatArea(64516, AreaUnit::SquareInch, false), "1");
    EXPECT_EQ(FormatArea(123456789012LL, AreaUnit::SquareMillimetre, false), "1234567936");
    EXPECT_EQ(FormatArea(5, LengthUnit{} == LengthUnit::Millimetre ? AreaUnit{7} : AreaUnit{0}, true), "");
    EXPECT_EQ(AreaUnitName(AreaUnit::SquareYard), "yd\u00B2");
    EXPECT_EQ(AreaUnitName(AreaUnit{6}), "");
}

TEST(UnitsLabels, LengthLabelsAndValues)
{
    EXPECT_EQ(LengthUnitLabel(CM, false), "cm");
    EXPECT_EQ(LengthUnitLabel(FRAC, false), "in");
    EXPECT_EQ(LengthUnitLabel(FRAC, true), "");
    EXPECT_EQ(LengthUnitLabel(LengthUnit{6}, false), "");
    EXPECT_DOUBLE_EQ(LengthInUnit(2540, FTIN), 10.0);
    EXPECT_DOUBLE_EQ(LengthInUnit(2750, CM), 27.5);
}

TEST(UnitsGeneralFormat, ShortestForm)
{
    EXPECT_EQ(formatGeneral(275.0), "275");
    EXPECT_EQ(formatGeneral(27.5), "27.5");
    EXPECT_EQ(formatGeneral(static_cast<double>(1234.3f)), "1234.30004882813");
    EXPECT_EQ(formatGeneral(0.1 + 0.2), "0.3");
    EXPECT_EQ(formatGeneral(-0.5), "-0.5");
    EXPECT_EQ(formatGeneral(0.00001), "0.00001");
    EXPECT_EQ(formatGeneral(0.000001), "1E-6");
    EXPECT_EQ(formatGeneral(1e20), "1E20");
    EXPECT_EQ(formatGeneral(66.6666666, 4, 4), "66.67");
    EXPECT_EQ(formatGeneral(12345.0, 4, 2), "1.235E04");
    EXPECT_EQ(formatGeneral(99.99, 3, 2), "100");
}

TEST(UnitsParseNumbers, DecimalAndInteger)
{
    double d = 0;
    EXPECT_TRUE(parseDecimal(" 1.5 ", d));
    EXPECT_DOUBLE_EQ(d, 1.5);
    EXPECT_TRUE(parseDecimal(".5", d));
    EXPECT_TRUE(parseDecimal("5.", d));
    EXPECT_TRUE(parseDecimal("-1e3", d));
    EXPECT_DOUBLE_EQ(d, -1000.0);
    EXPECT_FALSE(parseDecimal(".", d));
    EXPECT_FALSE(parseDecimal("1e", d));
    EXPECT_FALSE(parseDecimal("0x10", d));
    std::int32_t i = 0;
    EXPECT_TRUE(parseInteger("42", i));
    EXPECT_EQ(i, 42);
    EXPECT_TRUE(parseInteger("-3", i));
    EXPECT_FALSE(parseInteger("2.5", i));
    EXPECT_FALSE(parseInteger("", i));
    EXPECT_FALSE(parseInteger("3000000000", i));
}

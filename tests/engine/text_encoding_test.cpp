#include "engine/text_encoding.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using engine::isValidUtf8;
using engine::toUtf8;
using engine::windows1252ToUtf8;

TEST(TextEncodingUtf8, AcceptsWellFormedText)
{
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("plain ascii"));
    EXPECT_TRUE(isValidUtf8("čćžšđ ČĆŽŠĐ m² €"));
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x98\x80"));     // U+1F600
    EXPECT_TRUE(isValidUtf8("\xF4\x8F\xBF\xBF"));     // U+10FFFF
    EXPECT_TRUE(isValidUtf8(std::string("a\0b", 3))); // NUL is a character
}

TEST(TextEncodingUtf8, RejectsMalformedText)
{
    EXPECT_FALSE(isValidUtf8("\x80"));             // lone continuation
    EXPECT_FALSE(isValidUtf8("\xC4"));             // cut short
    EXPECT_FALSE(isValidUtf8("\xE2\x82"));         // cut short
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));         // overlong '/'
    EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));     // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xFF"));
    EXPECT_FALSE(isValidUtf8("Gr\xF6\xDF" "e")); // 1252 text
}

TEST(TextEncoding1252, MapsEveryRange)
{
    EXPECT_EQ(windows1252ToUtf8("abc"), "abc");
    EXPECT_EQ(windows1252ToUtf8("\x80\x8A\x8E\x9A\x9E\x93\x94\x96"), "€ŠŽšž“”–");
    EXPECT_EQ(windows1252ToUtf8("\xB2\xE8\xF0\xFF"), "²èðÿ");
    EXPECT_EQ(windows1252ToUtf8("\x81\x9D"), "\xC2\x81\xC2\x9D"); // unassigned: C1 controls
}

TEST(TextEncodingAuto, ChoosesByValidity)
{
    EXPECT_EQ(toUtf8("m\xC2\xB2"), "m²");
    EXPECT_EQ(toUtf8("m\xB2"), "m²");
    // Every 1252 text comes back as valid UTF-8.
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    EXPECT_TRUE(isValidUtf8(toUtf8(all)));
}

} // namespace

// The decision is made once per file, and one stray byte does not make a
// UTF-8 file into Windows-1252: "Petrović" must not become "PetroviÄ‡".
TEST(TextEncodingFile, OneBadByteKeepsTheRestUtf8)
{
    const std::string bytes = "<surname>Petrovi\xC4\x87</surname><note>\xFF</note>";
    EXPECT_EQ(engine::detectTextEncoding(bytes), engine::TextEncoding::Utf8);
    const engine::DecodedText d = engine::decodeTextFile(bytes);
    EXPECT_EQ(d.text, "<surname>Petrovi\xC4\x87</surname><note>\xEF\xBF\xBD</note>");
    EXPECT_EQ(d.replaced, 1u);
}

TEST(TextEncodingFile, EightBitFileWithoutUtf8SequencesIsWindows1252)
{
    const engine::DecodedText d = engine::decodeTextFile("Gr\xF6\xDF" "e \x80 5");
    EXPECT_EQ(d.text, "Größe € 5");
    EXPECT_EQ(d.replaced, 0u);
}

TEST(TextEncodingFile, DeclaredEncodingIsFollowed)
{
    // Declared UTF-8: a lone 8-bit letter is a damaged byte, not 1252.
    EXPECT_EQ(engine::detectTextEncoding("Gr\xF6\xDF" "e", "UTF-8"), engine::TextEncoding::Utf8);
    EXPECT_EQ(engine::decodeTextFile("a\xF6", "utf-8").text, "a\xEF\xBF\xBD");
    // Declared 1252 wins over a sequence that happens to look like UTF-8.
    EXPECT_EQ(engine::detectTextEncoding("\xC4\x87 \xF6", "windows-1252"), engine::TextEncoding::Windows1252);
    EXPECT_EQ(engine::decodeTextFile("\xC4\x87 \xF6", "ISO-8859-1").text, "Ä‡ ö");
    // Text read correctly is never re-encoded, whatever is declared.
    EXPECT_EQ(engine::decodeTextFile("Petrovi\xC4\x87", "windows-1252").text, "Petrović");
}

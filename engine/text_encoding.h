#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace engine {

// The program writes UTF-8, but files made by older versions (language
// files, project texts, band files) are 8-bit Windows-1252 text. Readers
// pass what they read through toUtf8, so both kinds load the same way.

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF). Plain ASCII is valid UTF-8.
[[nodiscard]] bool isValidUtf8(std::string_view bytes);

// Each byte taken as a Windows-1252 character, written as UTF-8. The five
// bytes 1252 leaves unassigned (81, 8D, 8F, 90, 9D hex) become the C1 control
// characters of the same number, as browsers decode them.
[[nodiscard]] std::string windows1252ToUtf8(std::string_view bytes);

enum class TextEncoding { Utf8, Windows1252 };

// How the bytes of one file are to be read, decided once for the whole file:
// - valid UTF-8 is UTF-8;
// - a declared encoding (an XML declaration's "UTF-8", "windows-1252",
//   "ISO-8859-1", ...; empty when there is none) is followed;
// - otherwise a file that holds at least one well-formed multi-byte UTF-8
//   sequence is UTF-8 with a few damaged bytes, and only a file with none is
//   8-bit Windows-1252 text from an older version. One stray byte must not
//   turn a whole UTF-8 file into mojibake.
[[nodiscard]] TextEncoding detectTextEncoding(std::string_view bytes, std::string_view declaredEncoding = {});

struct DecodedText {
    std::string text;          // UTF-8
    std::size_t replaced = 0;  // bytes that were no UTF-8, each now U+FFFD
};

// `bytes` as UTF-8 in the given encoding; as UTF-8, every byte that starts
// no well-formed sequence becomes U+FFFD and is counted.
[[nodiscard]] DecodedText decodeText(std::string_view bytes, TextEncoding encoding);

// detectTextEncoding, then decodeText.
[[nodiscard]] DecodedText decodeTextFile(std::string_view bytes, std::string_view declaredEncoding = {});

// decodeTextFile(bytes).text.
[[nodiscard]] std::string toUtf8(std::string_view bytes);

} // namespace engine

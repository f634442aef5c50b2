#pragma once

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

// `bytes` unchanged when it is valid UTF-8, otherwise read as Windows-1252.
[[nodiscard]] std::string toUtf8(std::string_view bytes);

} // namespace engine

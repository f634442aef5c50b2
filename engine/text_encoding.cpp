#include "engine/text_encoding.h"

#include <array>
#include <cstdint>

namespace engine {

namespace {

// Code points of the bytes 80..9F hex; the rest of 1252 above 7F equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, //
};

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        // Every 1252 character lies in the Basic Multilingual Plane.
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the well-formed UTF-8 sequence at bytes[i] (1 for ASCII), or 0
// when the byte there starts none.
size_t sequenceLength(std::string_view bytes, size_t i)
{
    const size_t n = bytes.size();
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80)
        return 1;
    size_t len = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
        minimum = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
        minimum = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
        minimum = 0x10000;
    } else {
        return 0; // a stray continuation byte, C0/C1 or F5..FF
    }
    if (n - i < len)
        return 0;
    for (size_t k = 1; k < len; ++k) {
        const auto cc = static_cast<unsigned char>(bytes[i + k]);
        if (!isContinuation(cc))
            return 0;
        cp = (cp << 6) | (cc & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

std::string lowered(std::string_view s)
{
    std::string out;
    for (const char c : s)
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return out;
}

} // namespace

bool isValidUtf8(std::string_view bytes)
{
    for (size_t i = 0; i < bytes.size();) {
        const size_t len = sequenceLength(bytes, i);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

std::string windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            out += ch;
        else if (c < 0xA0)
            appendUtf8(out, kHighControls[c - 0x80]);
        else
            appendUtf8(out, c);
    }
    return out;
}

TextEncoding detectTextEncoding(std::string_view bytes, std::string_view declaredEncoding)
{
    if (isValidUtf8(bytes))
        return TextEncoding::Utf8;
    const std::string declared = lowered(declaredEncoding);
    if (declared == "utf-8" || declared == "utf8")
        return TextEncoding::Utf8;
    if (declared == "windows-1252" || declared == "cp1252" || declared == "iso-8859-1" || declared == "latin1"
        || declared == "iso_8859-1" || declared == "latin-1")
        return TextEncoding::Windows1252;
    for (size_t i = 0; i < bytes.size();) {
        const size_t len = sequenceLength(bytes, i);
        if (len > 1)
            return TextEncoding::Utf8;
        i += len == 0 ? 1 : len;
    }
    return TextEncoding::Windows1252;
}

DecodedText decodeText(std::string_view bytes, TextEncoding encoding)
{
    DecodedText out;
    if (encoding == TextEncoding::Windows1252) {
        out.text = windows1252ToUtf8(bytes);
        return out;
    }
    out.text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const size_t len = sequenceLength(bytes, i);
        if (len == 0) {
            out.text += "\xEF\xBF\xBD";
            ++out.replaced;
            ++i;
        } else {
            out.text.append(bytes.substr(i, len));
            i += len;
        }
    }
    return out;
}

DecodedText decodeTextFile(std::string_view bytes, std::string_view declaredEncoding)
{
    return decodeText(bytes, detectTextEncoding(bytes, declaredEncoding));
}

std::string toUtf8(std::string_view bytes) { return decodeTextFile(bytes).text; }

} // namespace engine

#include "output/svg_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "engine/file_io.h"
#include "output/diagram_painter.h"

namespace output {

namespace {

constexpr double kPixelsPerPoint = 96.0 / 72.0;
constexpr double kCharWidthEm = 0.55;
constexpr double kLineHeightEm = 1.15;
// Distance from the top of the text box to the baseline, for Arial-like faces.
constexpr double kAscentEm = 0.9;

const char* colourName(Colour c)
{
    switch (c) {
    case Colour::White: return "#ffffff";
    case Colour::Black: return "#000000";
    case Colour::Red: return "#ff0000";
    case Colour::Blue: return "#0000ff";
    }
    return "#000000";
}

// Characters XML cannot carry are dropped; markup characters are escaped.
std::string xmlEscaped(const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            if (c >= 0x20 || c == '\t')
                out += ch;
        }
    }
    return out;
}

std::size_t codePoints(const std::string& s)
{
    std::size_t n = 0;
    for (const char ch : s)
        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80)
            ++n;
    return n;
}

std::string svgNumber(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    std::string s = buf;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    return s;
}

} // namespace

SvgCanvas::SvgCanvas(int width, int height) : m_width(width), m_height(height) {}

void SvgCanvas::setPen(Colour colour, PenStyle style)
{
    m_penColour = colour;
    m_penStyle = style;
}

void SvgCanvas::setFont(const std::string& family, int pointSize)
{
    m_fontFamily = family;
    m_fontPoints = pointSize;
}

double SvgCanvas::fontPixelSize() const { return m_fontPoints * kPixelsPerPoint; }

void SvgCanvas::drawLine(int x1, int y1, int x2, int y2)
{
    // Pixel centres, with square caps so that both end pixels are covered.
    std::string e = "<line x1=\"" + svgNumber(x1 + 0.5) + "\" y1=\"" + svgNumber(y1 + 0.5) + "\" x2=\"" + svgNumber(x2 + 0.5)
        + "\" y2=\"" + svgNumber(y2 + 0.5) + "\" stroke=\"" + colourName(m_penColour) + "\"";
    if (m_penStyle == PenStyle::Dotted)
        e += " stroke-dasharray=\"1 2\"";
    else
        e += " stroke-linecap=\"square\"";
    e += "/>";
    m_elements.push_back(std::move(e));
}

void SvgCanvas::frameRect(const Rect& r, Colour colour)
{
    const int w = r.right - r.left - 1;
    const int h = r.bottom - r.top - 1;
    if (w < 0 || h < 0)
        return;
    m_elements.push_back("<rect x=\"" + svgNumber(r.left + 0.5) + "\" y=\"" + svgNumber(r.top + 0.5) + "\" width=\"" + svgNumber(w)
                         + "\" height=\"" + svgNumber(h) + "\" fill=\"none\" stroke=\"" + colourName(colour) + "\"/>");
}

void SvgCanvas::fillRect(const Rect& r, Colour colour)
{
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    m_elements.push_back("<rect x=\"" + svgNumber(r.left) + "\" y=\"" + svgNumber(r.top) + "\" width=\"" + svgNumber(r.right - r.left)
                         + "\" height=\"" + svgNumber(r.bottom - r.top) + "\" fill=\"" + colourName(colour) + "\"/>");
}

void SvgCanvas::drawText(int x, int y, const std::string& text, TextBackground background)
{
    if (text.empty())
        return;
    if (background == TextBackground::White)
        fillRect(Rect{x, y, x + textWidth(text), y + textHeight(text)}, Colour::White);
    const double px = fontPixelSize();
    m_elements.push_back("<text x=\"" + svgNumber(x) + "\" y=\"" + svgNumber(y + kAscentEm * px) + "\" font-family=\""
                         + xmlEscaped(m_fontFamily) + "\" font-size=\"" + svgNumber(px) + "\">" + xmlEscaped(text)
                         + "</text>");
}

int SvgCanvas::textWidth(const std::string& text)
{
    return static_cast<int>(std::ceil(static_cast<double>(codePoints(text)) * kCharWidthEm * fontPixelSize()));
}

int SvgCanvas::textHeight(const std::string& text)
{
    if (text.empty())
        return 0;
    return static_cast<int>(std::ceil(kLineHeightEm * fontPixelSize()));
}

std::string SvgCanvas::document() const
{
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    doc += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(m_width) + "\" height=\""
        + std::to_string(m_height) + "\" viewBox=\"0 0 " + std::to_string(m_width) + " "
        + std::to_string(m_height) + "\">\n";
    if (!m_title.empty())
        doc += "<title>" + xmlEscaped(m_title) + "</title>\n";
    doc += "<g shape-rendering=\"crispEdges\" stroke-width=\"1\">\n";
    for (const std::string& e : m_elements)
        doc += e + "\n";
    doc += "</g>\n</svg>\n";
    return doc;
}

bool isLayoutSvgName(std::string_view name)
{
    constexpr std::string_view prefix = "layout-";
    constexpr std::string_view suffix = ".svg";
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) || !name.ends_with(suffix))
        return false;
    const std::string_view digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    return digits.front() != '0'
        && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void removeLayoutSvgs(const std::string& folder)
{
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        // A link of such a name goes too (not what it points to): the new
        // layout must not be written through it into some other file.
        std::error_code kindError;
        const auto kind = it->symlink_status(kindError).type();
        if (isLayoutSvgName(it->path().filename().string())
            && (kind == std::filesystem::file_type::regular || kind == std::filesystem::file_type::symlink))
            std::filesystem::remove(it->path(), kindError);
    }
}

engine::Status writeLayoutSvgs(const std::string& folder, const engine::Project& project,
                               const engine::Settings& settings, const engine::LanguageTable& language, int width,
                               int height)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    // The folder holds the layouts of this result only: files of an earlier,
    // larger result would pass for a part of it.
    removeLayoutSvgs(folder);
    const DiagramPainter painter(project, settings, language);
    const int groups = static_cast<int>(project.result.groups.size());
    for (int g = 0; g < groups; ++g) {
        SvgCanvas canvas(width, height);
        DiagramState state;
        const DiagramPainter::PaintOutcome outcome = painter.paint(canvas, g, width, height, state);
        canvas.setTitle(outcome.caption);
        const std::string path = (std::filesystem::path(folder) / ("layout-" + std::to_string(g + 1) + ".svg")).string();
        const engine::Status written = engine::writeFileAtomically(path, canvas.document());
        if (!written.ok())
            return engine::becauseOf(engine::Msg::CannotWriteDrawing, {path}, written);
    }
    return {};
}

} // namespace output

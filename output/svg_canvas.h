#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/language_table.h"
#include "engine/msg.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "output/canvas.h"

namespace output {

// A Canvas that collects SVG elements; document() gives the whole file.
// One canvas pixel is one SVG user unit (px). Fonts are converted at 96
// pixels per inch, as on the screen: 8 points are 10.67 px.
//
// There is no font engine here, so text sizes are estimates: a character is
// taken as 0.55 x the font's pixel size wide (close to the average of Arial
// and similar faces for digits and lower-case letters) and a line as
// 1.15 x the pixel size high. The white box behind a text uses the same
// estimate, so wide glyphs may stick out of it a little.
class SvgCanvas : public Canvas {
public:
    SvgCanvas(int width, int height);

    void setPen(Colour colour, PenStyle style = PenStyle::Solid) override;
    void setFont(const std::string& family, int pointSize) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    void frameRect(const Rect& r, Colour colour) override;
    void fillRect(const Rect& r, Colour colour) override;
    void drawText(int x, int y, const std::string& text, TextBackground background = TextBackground::White) override;
    [[nodiscard]] int textWidth(const std::string& text) override;
    [[nodiscard]] int textHeight(const std::string& text) override;

    // Text of the document's <title> element (empty: none).
    void setTitle(const std::string& title) { m_title = title; }

    // The complete SVG document.
    [[nodiscard]] std::string document() const;

    [[nodiscard]] double fontPixelSize() const;

private:
    int m_width;
    int m_height;
    Colour m_penColour = Colour::Black;
    PenStyle m_penStyle = PenStyle::Solid;
    std::string m_fontFamily = "Arial";
    int m_fontPoints = 8;
    std::string m_title;
    std::vector<std::string> m_elements;
};

// Writes one SVG per LayoutGroup of project.result into `folder`, named
// layout-1.svg, layout-2.svg, ... by group number, each the layout view of
// that group drawn in a box of width x height pixels. The caller runs
// GroupLayouts first. Layout files of an earlier run in the folder
// (layout-N.svg, ordinary files or links) are removed first; each file is written
// whole or not at all. Returns Ok, or CannotWriteDrawing with the path (and
// the file problem as reason).
// True for the names writeLayoutSvgs gives its files: "layout-N.svg".
[[nodiscard]] bool isLayoutSvgName(std::string_view name);
// Removes the files of those names from `folder`.
void removeLayoutSvgs(const std::string& folder);

[[nodiscard]] engine::Status writeLayoutSvgs(const std::string& folder, const engine::Project& project,
                                             const engine::Settings& settings, const engine::LanguageTable& language,
                                             int width = 1200, int height = 800);

} // namespace output

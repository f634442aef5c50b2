#pragma once

#include <string>
#include <vector>

#include "output/canvas.h"

namespace output_test {

// A canvas that writes every call down as one line of text. Text is taken
// as 6 pixels a character and 13 pixels high.
class RecordingCanvas : public output::Canvas {
public:
    std::vector<std::string> calls;

    static std::string name(output::Colour c)
    {
        switch (c) {
        case output::Colour::White: return "white";
        case output::Colour::Black: return "black";
        case output::Colour::Red: return "red";
        case output::Colour::Blue: return "blue";
        }
        return "?";
    }
    static std::string rect(const output::Rect& r)
    {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + ","
            + std::to_string(r.bottom);
    }

    void setPen(output::Colour colour, output::PenStyle style) override
    {
        calls.push_back("pen " + name(colour) + (style == output::PenStyle::Dotted ? " dotted" : " solid"));
    }
    void setFont(const std::string& family, int pointSize) override
    {
        calls.push_back("font " + family + " " + std::to_string(pointSize));
    }
    void drawLine(int x1, int y1, int x2, int y2) override
    {
        calls.push_back("line " + std::to_string(x1) + "," + std::to_string(y1) + "," + std::to_string(x2) + ","
                        + std::to_string(y2));
    }
    void frameRect(const output::Rect& r, output::Colour colour) override
    {
        calls.push_back("frame " + rect(r) + " " + name(colour));
    }
    void fillRect(const output::Rect& r, output::Colour colour) override
    {
        calls.push_back("fill " + rect(r) + " " + name(colour));
    }
    void drawText(int x, int y, const std::string& text, output::TextBackground) override
    {
        calls.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " " + text);
    }
    int textWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
    int textHeight(const std::string&) override { return 13; }

    // The calls that start with `prefix`, in order.
    [[nodiscard]] std::vector<std::string> only(const std::string& prefix) const
    {
        std::vector<std::string> out;
        for (const std::string& c : calls)
            if (c.rfind(prefix, 0) == 0)
                out.push_back(c);
        return out;
    }
};

} // namespace output_test

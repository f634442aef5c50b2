#include "output/svg_canvas.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include <unistd.h>

#include "example_project.h"

namespace {

namespace fs = std::filesystem;

size_t occurrences(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(SvgCanvas, PixelGeometry)
{
    output::SvgCanvas c(100, 50);
    c.fillRect({0, 0, 100, 50}, output::Colour::White);
    c.frameRect({10, 10, 20, 30}, output::Colour::Red);
    c.setPen(output::Colour::Blue, output::PenStyle::Dotted);
    c.drawLine(0, 0, 10, 5);
    c.frameRect({5, 5, 5, 9}, output::Colour::Black);  // empty: nothing
    const std::string doc = c.document();
    EXPECT_NE(doc.find("width=\"100\" height=\"50\" viewBox=\"0 0 100 50\""), std::string::npos);
    EXPECT_NE(doc.find("<rect x=\"0\" y=\"0\" width=\"100\" height=\"50\" fill=\"#ffffff\"/>"), std::string::npos);
    // A frame inside the rectangle: pixel centres from 10.5 to 19.5.
    EXPECT_NE(doc.find("<rect x=\"10.5\" y=\"10.5\" width=\"9\" height=\"19\" fill=\"none\" stroke=\"#ff0000\"/>"),
              std::string::npos);
    EXPECT_NE(doc.find("<line x1=\"0.5\" y1=\"0.5\" x2=\"10.5\" y2=\"5.5\" stroke=\"#0000ff\" stroke-dasharray"),
              std::string::npos);
    EXPECT_EQ(occurrences(doc, "<rect"), 2U);
}

TEST(SvgCanvas, TextIsEscapedAndMeasured)
{
    output::SvgCanvas c(100, 50);
    c.setFont("Arial", 8);
    EXPECT_NEAR(c.fontPixelSize(), 10.667, 0.001);
    EXPECT_EQ(c.textWidth("1234"), 24);  // 4 x 0.55 x 10.67 = 23.5, rounded up
    EXPECT_EQ(c.textWidth("m\u00B2"), 12);  // characters, not bytes
    EXPECT_EQ(c.textHeight("x"), 13);
    c.drawText(3, 4, "a<b & \"c\"\x01");
    c.setTitle("T&T");
    const std::string doc = c.document();
    EXPECT_NE(doc.find(">a&lt;b &amp; &quot;c&quot;</text>"), std::string::npos);
    EXPECT_NE(doc.find("<title>T&amp;T</title>"), std::string::npos);
    EXPECT_NE(doc.find("<rect x=\"3\" y=\"4\" width=\"59\" height=\"13\" fill=\"#ffffff\"/>"), std::string::npos);
}

TEST(SvgLayouts, OneFilePerGroup)
{
    const fs::path dir = fs::temp_directory_path() / ("velmora_svg_" + std::to_string(::getpid()));
    const engine::Project p = output_test::exampleProject();
    ASSERT_TRUE(output::writeLayoutSvgs(dir.string(), p, output_test::exampleSettings(),
                                        output_test::exampleLanguage(), 1200, 800)
                    .ok());
    EXPECT_TRUE(fs::exists(dir / "layout-1.svg"));
    EXPECT_TRUE(fs::exists(dir / "layout-2.svg"));
    EXPECT_FALSE(fs::exists(dir / "layout-3.svg"));
    std::ifstream in(dir / "layout-2.svg");
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_NE(ss.str().find("<title>Sheet 2800mm x 2070mm A=5.796 m\u00B2 (x1)</title>"), std::string::npos);
    EXPECT_EQ(occurrences(ss.str(), "fill=\"none\" stroke=\"#000000\""), 1U + 2U + 3U);  // box, parts, offcuts
    fs::remove_all(dir);

    const engine::Status bad = output::writeLayoutSvgs("/proc/no-such-folder", p, output_test::exampleSettings(),
                                                       output_test::exampleLanguage());
    EXPECT_EQ(bad.msg, engine::Msg::CannotWriteDrawing);
}

} // namespace

#pragma once

#include <string>
#include <vector>

#include "output/print_pages.h"
#include "tests/output/recording_canvas.h"

namespace labels_test {

// A4 at 254 dots per inch: ten pixels to the millimetre, 2100 x 2970.
constexpr int kDpi = 254;

// Pages written down call by call; "page" marks where a page begins.
class LabelTarget : public output::PrintTarget {
public:
    output_test::RecordingCanvas recorder;
    int documents = 0;
    int widthPx = 2100;
    int heightPx = 2970;

    void beginDocument(output::Orientation) override
    {
        ++documents;
        recorder.calls.push_back("page");
    }
    void newPage() override { recorder.calls.push_back("page"); }
    void endDocument() override {}
    output::Canvas& canvas() override { return recorder; }
    [[nodiscard]] output::PageGeometry geometry() const override
    {
        return output::PageGeometry::of(widthPx, heightPx, kDpi);
    }

    // The calls of each page starting with `prefix`.
    [[nodiscard]] std::vector<std::vector<std::string>> pages(const std::string& prefix = "") const
    {
        std::vector<std::vector<std::string>> out;
        for (const std::string& c : recorder.calls) {
            if (c == "page")
                out.emplace_back();
            else if (!out.empty() && c.rfind(prefix, 0) == 0)
                out.back().push_back(c);
        }
        return out;
    }
};

} // namespace labels_test

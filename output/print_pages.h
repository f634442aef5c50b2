#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "engine/language_table.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "output/canvas.h"

namespace output {

// Printed pages: layouts several to a page, the cover page and text
// documents (report, bill, lists), all drawn through a Canvas on the pages
// of a PrintTarget. The printer, the PDF writer and the tests each provide a
// target; what lands on a page is decided here only.

enum class Orientation { Portrait, Landscape };

// The geometry of a page in printer pixels. PW x PH is the printable area
// (the canvas origin is its top-left corner); dpi its resolution.
struct PageGeometry {
    int PW = 0;
    int PH = 0;
    int dpi = 72;
    int pw = 0;  // trunc(0.9 PW): width used by diagrams
    int ph = 0;  // trunc(0.9 PH)
    int L0 = 0;  // trunc(0.05 PW): left margin
    int T0 = 0;  // trunc(0.1 PH): top margin
    int p = 1;   // dpi div 72: pixels of one point, whole
    // Pixels of `points` typographic points at the exact resolution.
    [[nodiscard]] double points(double pts) const { return pts * dpi / 72.0; }
    [[nodiscard]] static PageGeometry of(int PW, int PH, int dpi);
};

// The pages of one print run. A document begins on a fresh page in the
// given orientation; geometry() describes the current page.
class PrintTarget {
public:
    virtual ~PrintTarget() = default;
    virtual void beginDocument(Orientation orientation) = 0;
    virtual void newPage() = 0;
    virtual void endDocument() = 0;
    [[nodiscard]] virtual Canvas& canvas() = 0;
    [[nodiscard]] virtual PageGeometry geometry() const = 0;
};

// Diagrams per page: 1, 2 or 4. Two go on a portrait page, one or four on a
// landscape page.
[[nodiscard]] bool validPerPage(int perPage);
[[nodiscard]] Orientation layoutOrientation(int perPage);

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Top-left corners of the diagram slots of a page, in slot order.
[[nodiscard]] std::vector<Point> layoutSlots(const PageGeometry& g, int perPage);

// Printer pixels per internal unit for a sheet of L x H, single precision:
// the smaller of the width and the height ratio of a slot.
[[nodiscard]] float printScale(const PageGeometry& g, int perPage, std::int32_t sheetLength, std::int32_t sheetHeight);

// Which group goes into which slot of which page. `groups` are the groups to
// print in order (0-based); each copy starts on a new page; no page is empty.
struct PlacedDiagram {
    int group = 0;
    int slot = 0;  // 0-based
};
using PlannedPage = std::vector<PlacedDiagram>;
[[nodiscard]] std::vector<PlannedPage> planLayoutPages(const std::vector<int>& groups, int perPage, int copies);

// What the printed pages say besides the drawing.
struct PrintContext {
    const engine::Project& project;
    const engine::Settings& settings;
    const engine::LanguageTable& language;
    std::tm now{};
};

// The page line: " " + company name + " " + company details + page number +
// " -" + the project's file name without folder.
[[nodiscard]] std::string pageTitleText(const PrintContext& c, int pageNumber);
// " " + message 189 + " " + the date and time of a saved project.
[[nodiscard]] std::string printedOnText(const PrintContext& c);
// The line over a diagram: description, size, area, " PI%=" yield, "(x" n ")".
// partArea: the area of the group's part rectangles, kerf included.
[[nodiscard]] std::string diagramHeaderText(const PrintContext& c, int group, std::int64_t partArea);

// Draws group `group` at (ox, oy) with scale s (pixels per internal unit):
// parts in 8 points with their sizes and label, offcuts hatched with size
// texts in 6 points when both sides exceed Visak. Returns the part area for
// the header, or -1 when nothing was drawn (no such group or sheet).
std::int64_t drawPrintedDiagram(Canvas& canvas, const PrintContext& c, const PageGeometry& g, int group, int ox,
                                int oy, float s);

// The page texts (page line, printed date, " Velmora ", the header frame)
// and the diagram header above (ox, oy).
void drawPageTexts(Canvas& canvas, const PrintContext& c, const PageGeometry& g, int pageNumber);
void drawDiagramHeader(Canvas& canvas, const PrintContext& c, int group, int ox, int oy, std::int64_t partArea,
                       const PageGeometry& g);

// The layouts of the groups first..last (0-based, inclusive), `perPage` to a
// page, `copies` times, as one document. Returns the number of pages.
int printLayouts(PrintTarget& target, const PrintContext& c, int first, int last, int perPage, int copies);

// The cover page as a document of its own (portrait).
void printCover(PrintTarget& target, const PrintContext& c);

// A text box (report, bill, list) as a document of its own, portrait, in a
// monospaced font of `pointSize` (smaller when the widest line would not fit
// the page). Bold and size marks are kept. Returns the number of pages.
int printText(PrintTarget& target, const engine::RichText& text, int pointSize);

// The typeface of printed text boxes.
inline const std::string kPrintTextFont = "DejaVu Sans Mono";

} // namespace output

#pragma once

#include <span>
#include <string>
#include <string_view>

#include "engine/language_table.h"

namespace app {

// Which captions of a window come from which language entry. Each window
// fills its own group when it is built and again when the language changes;
// an entry names its control by the design name, which is the object name of
// the window's typed member (see CaptionTargets).

// What of the named component the entry sets.
enum class CaptionKind {
    Caption,     // label, button, check box, group box, page tab
    MenuCaption, // menu or menu item text
    Hint,        // tool tip
    WindowTitle, // the window's own title; the component is the window's name
    DialogTitle, // title of a file dialog the window owns
    ColumnTitle, // row-0 title of grid column `index`
    Item,        // item `index` of a radio group or drop-down list
    FontName,    // font family of a drawing surface ("Printer" or "Image5")
};

struct CaptionAssignment {
    const char* component;
    CaptionKind kind;
    int index;          // column or item number; 0 for the other kinds
    int entry;          // language table entry
    const char* suffix = ""; // appended to the entry text (the ":" of some labels)
};

// The caption groups that exist: 1, 2, 3 and 5 to 13 (there is no group 4).
[[nodiscard]] std::span<const int> captionGroupNumbers();

// Window class of a group ("TMainForm" for 1, ...), empty for no group.
[[nodiscard]] std::string_view captionGroupWindow(int group);

// The assignments of one group, in entry order; empty for a number that is
// no group.
[[nodiscard]] std::span<const CaptionAssignment> captionGroup(int group);

// Entry text plus the assignment's suffix.
[[nodiscard]] std::string captionText(const engine::LanguageTable& table, const CaptionAssignment& a);

// Whether the entry sets a control of the window: false for the window's
// own title, the file-dialog titles and the drawing-surface font names.
[[nodiscard]] bool namesControl(const CaptionAssignment& a);

} // namespace app

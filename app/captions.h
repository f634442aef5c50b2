#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "app/caption_groups.h"

class QObject;
class QWidget;

namespace engine {
class LanguageTable;
}

namespace app {

// The controls of one window that its caption group names, under their
// object names (the design names). A window lists its typed members here
// once it has built them; captions never search the widget tree.
class CaptionTargets {
public:
    // Objects whose object names another listed object already has are a
    // fault of the window (asserted).
    void add(std::initializer_list<QObject*> objects);
    // The listed object of that name, or nullptr.
    [[nodiscard]] QObject* find(const std::string& name) const;
    [[nodiscard]] std::vector<std::string> names() const;

private:
    std::map<std::string, QObject*> m_byName;
};

// Fills caption group `group` of `window` from the language table. Entries
// that name no control (window title aside) and entries whose control is not
// in `targets` are left out: the caption test checks that only controls of
// windows still to come are missing.
void applyCaptionGroup(QWidget* window, const CaptionTargets& targets, int group, const engine::LanguageTable& table);

// The windows whose captions the language table fills, one per caption group.
class CaptionWindows {
public:
    void add(int group, QWidget* window, CaptionTargets targets);
    // Applies group `group` to its window; false when no window has that group.
    bool apply(int group, const engine::LanguageTable& table) const;
    // The controls of group `group`'s window, or nullptr when it has none.
    [[nodiscard]] const CaptionTargets* targets(int group) const;

private:
    struct Window {
        QWidget* window;
        CaptionTargets targets;
    };
    std::map<int, Window> m_windows;
};

} // namespace app

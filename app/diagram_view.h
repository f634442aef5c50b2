#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "engine/language_table.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "output/diagram_painter.h"

namespace app {

// The drawing of the layout page (Image5): one LayoutGroup of the project's
// result, to scale, with the piece under the pointer framed red (blue when it
// is the selected offcut), and the two-click re-cut of adjacent offcuts.
//
// The drawing is kept in an off-screen image of the widget's size. It is
// drawn in full only when what it shows changes (refresh(), another group, a
// new size, other drawing settings); a mouse move only reframes the pieces on
// that image, so a sheet with hundreds of pieces follows the pointer
// smoothly, and an expose just copies the image.
//
// The offcut selection is cleared when the drawing shows something else
// (refresh(), another group, other settings) and by clearSelection(), but not
// by a new size or an expose: the selected offcut is the same piece at any
// scale, and a user's first click must not be lost because a window moved.
class DiagramView : public QWidget {
    Q_OBJECT
public:
    DiagramView(engine::Project& project, const engine::Settings& settings, const engine::LanguageTable& language,
                QWidget* parent = nullptr);

    // What the control strip shows about the drawing.
    struct Strip {
        int group = 0;       // the shown group, kept inside the groups
        int groupCount = 0;
        QString caption;     // the sheet description line
    };

    // The result (or what is drawn from it) changed: regroups the sheets,
    // keeps the shown group (the first with toFirstGroup) inside the groups,
    // clears the selection and draws again. Emits stripChanged unless the
    // sheet table is empty. A change of the result or of the drawing
    // settings that nobody announced is found at the next paint and has the
    // same effect.
    void refresh(bool toFirstGroup = false);
    // Shows group `group` (the scroll position); the same as refresh() when it
    // is another group.
    void setGroup(int group);
    [[nodiscard]] int group() const { return m_group; }
    // The next refresh shows the first group (a new result).
    void toFirstGroup() { m_group = 0; }
    void clearSelection() { m_state.selectedOffcut = output::kNoSelection; }

    [[nodiscard]] const output::DiagramState& state() const { return m_state; }
    // Draws the image again if what it shows is out of date.
    void ensureDrawn();
    // The drawing as it is shown now (drawn first if it is out of date).
    [[nodiscard]] const QImage& image()
    {
        ensureDrawn();
        return m_image;
    }
    // Number of full drawings so far (the tests see when one happened).
    [[nodiscard]] int fullPaints() const { return m_fullPaints; }

signals:
    void stripChanged(const app::DiagramView::Strip& strip);
    // Size line of the piece under the pointer.
    void pieceText(const QString& text);
    // Two offcuts were re-cut: the statistics must be rebuilt.
    void recut();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // What a drawing depends on besides group and size (result, drawing
    // settings, texts); another value means another drawing.
    [[nodiscard]] std::string drawKey() const;
    // The same for the texts of the input tables.
    [[nodiscard]] std::size_t tablesKey() const;
    void render();
    void reframeAt(const QPoint& pos, bool forced);

    engine::Project& m_project;
    const engine::Settings& m_settings;
    const engine::LanguageTable& m_language;
    output::DiagramState m_state;
    int m_group = 0;
    QImage m_image;
    bool m_dirty = true;
    std::string m_refreshedWith;
    std::size_t m_tablesDrawn = 0;
    QPoint m_pointer{-1, -1};
    bool m_pointerKnown = false;
    int m_fullPaints = 0;
};

} // namespace app

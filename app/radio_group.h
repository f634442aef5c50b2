#pragma once

#include <QGroupBox>

class QAbstractButton;
class QButtonGroup;

namespace app {

// A framed column of radio buttons whose item texts come from the language
// table by index, the way the design's radio groups are captioned.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit RadioGroup(const QString& title = {}, QWidget* parent = nullptr);

    // Adds an item below the others; its object name is the group's name,
    // "Item" and its index.
    void addItem(const QString& text);
    [[nodiscard]] int count() const;
    void setItemText(int index, const QString& text);
    [[nodiscard]] QAbstractButton* item(int index) const;
    // Checks item `index` (nothing for an index without item); no itemClicked.
    void setCurrentIndex(int index);
    [[nodiscard]] int currentIndex() const;

signals:
    // A person clicked item `index`.
    void itemClicked(int index);

private:
    QButtonGroup* m_buttons;
};

} // namespace app

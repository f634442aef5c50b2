#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

namespace app {

// The pages and dialogs build their controls in code, each with its design
// name as object name: the caption groups and the tests find them by it.

template <class W>
W* named(W* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

inline QLabel* newLabel(const char* name, const QString& caption = {}, QWidget* parent = nullptr)
{
    return named(new QLabel(caption, parent), name);
}

inline QPushButton* newButton(const char* name, const QString& caption)
{
    return named(new QPushButton(caption), name);
}

inline QLineEdit* newEdit(const char* name, const QString& text = {})
{
    return named(new QLineEdit(text), name);
}

} // namespace app

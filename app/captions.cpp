#include "app/captions.h"

#include <cassert>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTableView>

#include "app/radio_group.h"
#include "engine/language_table.h"

namespace app {

namespace {

void setItem(QObject* o, int item, const QString& text)
{
    if (auto* combo = qobject_cast<QComboBox*>(o)) {
        if (item < combo->count())
            combo->setItemText(item, text);
    } else if (auto* group = qobject_cast<RadioGroup*>(o)) {
        group->setItemText(item, text);
    }
}

void setCaption(QObject* o, const QString& text)
{
    auto* w = qobject_cast<QWidget*>(o);
    if (!w)
        return;
    // A page of a tab widget carries its caption on its tab.
    if (w->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(w->parentWidget()->parentWidget()))
            if (const int i = tabs->indexOf(w); i >= 0) {
                tabs->setTabText(i, text);
                return;
            }
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(text);
    else if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(text);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(text);
}

void setHint(QObject* o, const QString& text)
{
    if (auto* act = qobject_cast<QAction*>(o))
        act->setToolTip(text);
    else if (auto* w = qobject_cast<QWidget*>(o))
        w->setToolTip(text);
}

void setMenuCaption(QObject* o, const QString& text)
{
    if (auto* act = qobject_cast<QAction*>(o))
        act->setText(text);
    else if (auto* menu = qobject_cast<QMenu*>(o))
        menu->setTitle(text);
}

} // namespace

void CaptionTargets::add(std::initializer_list<QObject*> objects)
{
    for (QObject* o : objects) {
        [[maybe_unused]] const bool added = m_byName.emplace(o->objectName().toStdString(), o).second;
        assert(added && "two controls of one window share a design name");
    }
}

QObject* CaptionTargets::find(const std::string& name) const
{
    const auto it = m_byName.find(name);
    return it == m_byName.end() ? nullptr : it->second;
}

std::vector<std::string> CaptionTargets::names() const
{
    std::vector<std::string> out;
    for (const auto& [name, object] : m_byName)
        out.push_back(name);
    return out;
}

void applyCaptionGroup(QWidget* window, const CaptionTargets& targets, int group, const engine::LanguageTable& table)
{
    for (const CaptionAssignment& a : captionGroup(group)) {
        const QString text = QString::fromStdString(captionText(table, a));
        if (a.kind == CaptionKind::WindowTitle) {
            window->setWindowTitle(text);
            continue;
        }
        QObject* o = namesControl(a) ? targets.find(a.component) : nullptr;
        if (!o)
            continue;
        switch (a.kind) {
        case CaptionKind::Caption: setCaption(o, text); break;
        case CaptionKind::MenuCaption: setMenuCaption(o, text); break;
        case CaptionKind::Hint: setHint(o, text); break;
        case CaptionKind::ColumnTitle:
            if (auto* view = qobject_cast<QTableView*>(o); view && view->model())
                view->model()->setHeaderData(a.index, Qt::Horizontal, text, Qt::EditRole);
            break;
        case CaptionKind::Item: setItem(o, a.index, text); break;
        default: break;
        }
    }
}

void CaptionWindows::add(int group, QWidget* window, CaptionTargets targets)
{
    m_windows[group] = {window, std::move(targets)};
}

bool CaptionWindows::apply(int group, const engine::LanguageTable& table) const
{
    const auto it = m_windows.find(group);
    if (it == m_windows.end())
        return false;
    applyCaptionGroup(it->second.window, it->second.targets, group, table);
    return true;
}

const CaptionTargets* CaptionWindows::targets(int group) const
{
    const auto it = m_windows.find(group);
    return it == m_windows.end() ? nullptr : &it->second.targets;
}

} // namespace app

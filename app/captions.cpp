#include "app/captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

#include "engine/caption_groups.h"
#include "engine/language_table.h"

namespace app {

namespace {

QObject* findIn(QObject* parent, const QString& name)
{
    // Breadth first, and not into the dialogs the window owns: they reuse
    // the main window's component names (StringGrid1, ComboBox2, Label10).
    QList<QObject*> level = parent->children();
    while (!level.isEmpty()) {
        QList<QObject*> next;
        for (QObject* o : level) {
            if (o->objectName() == name)
                return o;
            if (!qobject_cast<QDialog*>(o))
                next += o->children();
        }
        level = std::move(next);
    }
    return nullptr;
}

void setItem(QObject* o, int item, const QString& text)
{
    if (auto* combo = qobject_cast<QComboBox*>(o)) {
        if (item < combo->count())
            combo->setItemText(item, text);
    } else if (auto* box = qobject_cast<QGroupBox*>(o)) {
        const QList<QRadioButton*> buttons = box->findChildren<QRadioButton*>();
        if (item < buttons.size())
            buttons[item]->setText(text);
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

} // namespace

QObject* findInWindow(QWidget* root, const char* name) { return findIn(root, QString::fromLatin1(name)); }

void applyCaptionGroup(QWidget* root, int group, const engine::LanguageTable& table)
{
    for (const engine::CaptionAssignment& a : engine::captionGroup(group)) {
        const QString text = QString::fromStdString(engine::captionText(table, a));
        const QString name = QString::fromLatin1(a.component);
        switch (a.kind) {
        case engine::CaptionKind::WindowTitle: root->setWindowTitle(text); continue;
        case engine::CaptionKind::DialogTitle: root->setProperty(("dialogTitle." + name).toLatin1(), text); continue;
        case engine::CaptionKind::FontName: root->setProperty(("fontName." + name).toLatin1(), text); continue;
        default: break;
        }
        QObject* o = findIn(root, name);
        if (!o)
            continue;  // a control of a command that this program does not show yet
        switch (a.kind) {
        case engine::CaptionKind::Caption: setCaption(o, text); break;
        case engine::CaptionKind::MenuCaption:
            if (auto* act = qobject_cast<QAction*>(o))
                act->setText(text);
            else if (auto* menu = qobject_cast<QMenu*>(o))
                menu->setTitle(text);
            break;
        case engine::CaptionKind::Hint:
            if (auto* act = qobject_cast<QAction*>(o))
                act->setToolTip(text);
            else if (auto* w = qobject_cast<QWidget*>(o))
                w->setToolTip(text);
            break;
        case engine::CaptionKind::ColumnTitle:
            if (auto* view = qobject_cast<QTableView*>(o); view && view->model())
                view->model()->setHeaderData(a.index, Qt::Horizontal, text, Qt::EditRole);
            break;
        case engine::CaptionKind::Item: setItem(o, a.index, text); break;
        default: break;
        }
    }
}

} // namespace app

#pragma once

// What a screen reader gets from a window: its tree of accessible objects,
// their names and the actions they offer.

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace accessible {

inline QAccessibleInterface *Of(QObject *object)
{
    QAccessibleInterface *found = QAccessible::queryAccessibleInterface(object);
    return found
               ? found
               : (qFatal("%s has no accessible object", qPrintable(object->objectName())), nullptr);
}

// Every accessible object under root, as a screen reader walks the tree;
// the rows of item views are not entered.
inline QList<QAccessibleInterface *> Walk(QAccessibleInterface *root)
{
    QList<QAccessibleInterface *> found{root};
    const QAccessible::Role role = root->role();
    if (role == QAccessible::List || role == QAccessible::Tree || role == QAccessible::Table)
        return found;
    for (int i = 0; i < root->childCount(); ++i)
        if (QAccessibleInterface *child = root->child(i))
            found += Walk(child);
    return found;
}

// The visible objects a user acts on that a screen reader could not name, or
// nothing: no name, or for a combo box (named after its entry) no
// description or no label.
inline QString Unnamed(QWidget *window)
{
    QStringList unnamed;
    for (QAccessibleInterface *node : Walk(Of(window))) {
        static const QList<QAccessible::Role> interactive = {
            QAccessible::PushButton, QAccessible::CheckBox,     QAccessible::RadioButton,
            QAccessible::ComboBox,   QAccessible::EditableText, QAccessible::ScrollBar,
            QAccessible::Slider,     QAccessible::List,         QAccessible::Tree,
            QAccessible::Table,      QAccessible::MenuItem,     QAccessible::ButtonMenu};
        if (!interactive.contains(node->role()) || node->state().invisible)
            continue;
        const bool named = node->role() == QAccessible::ComboBox
                               ? !node->text(QAccessible::Description).isEmpty() &&
                                     !node->relations(QAccessible::Label).isEmpty()
                               : !node->text(QAccessible::Name).trimmed().isEmpty();
        if (!named)
            unnamed << node->object()->objectName() + QStringLiteral(" (role ") +
                           QString::number(node->role(), 16) + QLatin1Char(')');
    }
    return unnamed.join(QStringLiteral(", "));
}

// The labels whose name is not the text they show, or nothing.
inline QString NamesNotShown(QWidget *window)
{
    QStringList differing;
    for (QAccessibleInterface *node : Walk(Of(window))) {
        auto *label = qobject_cast<QLabel *>(node->object());
        if (label && label->pixmap().isNull() && !label->text().isEmpty() &&
            node->text(QAccessible::Name) != label->text())
            differing << label->objectName() + QStringLiteral(" hears '") +
                             node->text(QAccessible::Name) + QStringLiteral("' sees '") +
                             label->text() + QLatin1Char('\'');
    }
    return differing.join(QStringLiteral(", "));
}

// Runs an action the way assistive technology does; false when the object
// does not offer it.
inline bool Act(QObject *object, const QString &action)
{
    QAccessibleActionInterface *actions = Of(object)->actionInterface();
    if (!actions || !actions->actionNames().contains(action))
        return false;
    actions->doAction(action);
    return true;
}

// Chooses the entry of an item view (a list, a tree or a combo box's list)
// that has this name, by the toggle action of its cell; false when there is
// none.
inline bool SelectEntry(QObject *view, const QString &name)
{
    QAccessibleInterface *list = Of(view);
    for (int i = 0; i < list->childCount(); ++i) {
        QAccessibleInterface *cell = list->child(i);
        if (cell && cell->text(QAccessible::Name) == name && cell->actionInterface()) {
            cell->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
            return true;
        }
    }
    return false;
}

// What a screen reader met in a modal box: what it could not name, and what
// it hears otherwise than the screen shows (both empty when all is well).
struct ModalVisit {
    QString unnamed = QStringLiteral("never shown");
    QString unheard;
};

// Once the next modal box is up, notes what a screen reader meets there and
// presses the button with this text through its accessibility action.
inline void PressInNextModal(const QString &button, ModalVisit &visit)
{
    QTimer::singleShot(100, [button, &visit] {
        QWidget *box = QApplication::activeModalWidget();
        visit.unnamed = Unnamed(box);
        visit.unheard = NamesNotShown(box);
        for (auto *pushButton : box->findChildren<QPushButton *>())
            if (pushButton->text().remove(QLatin1Char('&')) == button)
                Act(pushButton, QAccessibleActionInterface::pressAction());
    });
}

} // namespace accessible

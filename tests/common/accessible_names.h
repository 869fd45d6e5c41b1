#pragma once
// Screen readers, and the checks that drive the program as one does, find a
// control by its accessible name: its own text, or the text of the label whose
// buddy it is, or a name set for it. A control without one is unreachable.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringList>
#include <QWidget>

// The shown controls below `root` a user can act on, or that hold a choice
// (radio groups), which have no accessible name; each as "objectName (class)".
inline QStringList UnnamedControls(QWidget *root)
{
    QStringList unnamed;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(root))
            continue;
        const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QAbstractSpinBox *>(w) ||
                             qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractItemView *>(w) ||
                             (qobject_cast<QLineEdit *>(w) && !qobject_cast<QAbstractSpinBox *>(w->parentWidget()) &&
                              !qobject_cast<QComboBox *>(w->parentWidget()));
        // A container of radio buttons is a group the reader announces.
        bool radios = false;
        for (QObject *child : w->children())
            radios = radios || qobject_cast<QRadioButton *>(child);
        if (!control && !radios)
            continue;
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(w);
        if (!face || face->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << QStringLiteral("%1 (%2)").arg(w->objectName(), QLatin1String(w->metaObject()->className()));
    }
    return unnamed;
}

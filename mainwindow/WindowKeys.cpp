#include "mainwindow/WindowKeys.h"

#include "controls/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace tintara {

WindowKeys::WindowKeys(QWidget* window) : QObject(window) {
    for (QPushButton* button : window->findChildren<QPushButton*>())
        button->installEventFilter(this);
    for (TUpDown* spinner : window->findChildren<TUpDown*>()) {
        if (QLineEdit* field = spinner->buddy()) {
            m_spinnerOf.insert(field, spinner);
            field->installEventFilter(this);
        }
    }
}

bool WindowKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return QObject::eventFilter(watched, event);
    if (auto* button = qobject_cast<QPushButton*>(watched)) {
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            button->click();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
    if (TUpDown* spinner = m_spinnerOf.value(watched)) {
        int steps = 0;
        switch (key->key()) {
        case Qt::Key_Up:
            steps = 1;
            break;
        case Qt::Key_Down:
            steps = -1;
            break;
        case Qt::Key_PageUp:
            steps = 10;
            break;
        case Qt::Key_PageDown:
            steps = -10;
            break;
        default:
            break;
        }
        if (steps != 0 && spinner->isEnabled()) {
            spinner->stepBy(steps);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tintara

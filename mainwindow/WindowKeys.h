#pragma once
// Keys a desktop user expects in the window: Return presses the focused push button
// (Qt's push buttons take only Space outside dialogs), and Up and Down (Page Up and
// Page Down by ten) step a field that has a spinner, as the spinner's arrows do.

#include <QHash>
#include <QObject>

class QLineEdit;
class QWidget;

namespace tintara {

class TUpDown;

class WindowKeys : public QObject {
    Q_OBJECT
public:
    // Watches the window's push buttons and the fields bound to its spinners; call once
    // the spinners are bound.
    explicit WindowKeys(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<QObject*, TUpDown*> m_spinnerOf; // field -> its spinner
};

} // namespace tintara

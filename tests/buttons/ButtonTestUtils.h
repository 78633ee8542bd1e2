#pragma once
// Helpers shared by the button tests: pointer moves without a pressed button (which
// QTest would route through the cursor), paint counting, and frame sampling.

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>

#include <functional>

namespace tintara::test {

// A pointer move over the widget, in its client coordinates.
inline void SendMove(QWidget* widget, QPoint position, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent event(QEvent::MouseMove, QPointF(position), QPointF(widget->mapToGlobal(position)),
                      Qt::NoButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

inline void SendLeave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &event);
}

// Counts paint events of a widget and optionally runs a probe before each one is
// handled (the probe may grab the widget; nested paints are not probed).
class PaintWatcher : public QObject {
public:
    explicit PaintWatcher(QWidget* widget, std::function<void()> probe = {})
        : m_probe(std::move(probe)) {
        widget->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_inProbe) {
            ++count;
            if (m_probe) {
                m_inProbe = true;
                m_probe();
                m_inProbe = false;
            }
        }
        return false;
    }

private:
    std::function<void()> m_probe;
    bool m_inProbe = false;
};

// Colour of one pixel of a widget picture, as 0xRRGGBB.
inline QRgb PixelAt(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

// Creates an empty file (or empties an existing one); false when it cannot.
inline bool TouchFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

} // namespace tintara::test

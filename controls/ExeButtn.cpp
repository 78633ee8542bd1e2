#include "controls/ExeButtn.h"

#include "framework/Shell.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

#include <algorithm>

namespace tintara {
namespace {

// Position of the last folder or drive separator, or -1.
qsizetype LastSeparator(const QString& name) {
    qsizetype last = -1;
    for (const QChar separator : {QChar(u'\\'), QChar(u':'), QChar(u'/')})
        last = std::max(last, name.lastIndexOf(separator));
    return last;
}

QIcon SmallCopy(const QIcon& icon) {
    if (icon.isNull())
        return {};
    return QIcon(icon.pixmap(QSize(16, 16)).scaled(16, 16));
}

} // namespace

TExeButton::TExeButton(QWidget* parent) : TClickableControl(parent) {
    // Moves are reported (OnMouseMove) also while no button is pressed.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TExeButton::~TExeButton() = default;

void TExeButton::SetIcon(const QIcon& icon) {
    m_icon = icon;
    m_smallIcon = SmallCopy(icon);
}

void TExeButton::SetFileName(const QString& fileName) {
    if (fileName == m_fileName)
        return;
    m_fileName = fileName;

    const qsizetype separator = LastSeparator(fileName);
    const qsizetype dot = fileName.lastIndexOf(u'.');
    m_fileExt = dot > separator ? fileName.mid(dot).toUpper() : QString();

    SetIcon(shell::AssociatedIcon(fileName));

    m_caption = fileName.mid(separator + 1);
    m_filePath = fileName.left(separator + 1);
    m_caption.chop(m_fileExt.size());
    UpdateLayout();
}

void TExeButton::SetCaption(const QString& caption) {
    if (caption == m_caption)
        return;
    m_caption = caption;
    UpdateLayout();
}

void TExeButton::SetFlag(int index, bool value) {
    switch (index) {
    case AutoFlag:
        m_auto = value;
        break;
    case AutoRunFlag:
        m_autoRun = value;
        UpdateKeyboardReach();
        break;
    case ShowIconFlag:
        m_showIcon = value;
        break;
    case ShowLabelFlag:
        m_showLabel = value;
        break;
    case LargeIconFlag:
        m_largeIcon = value;
        break;
    case DownFlag:
        m_down = value;
        break;
    case BorderFlag:
        m_border = value;
        break;
    default:
        break;
    }
    UpdateLayout();
}

void TExeButton::UpdateLayout() {
    m_iconSize = m_largeIcon ? 32 : 16;
    if (m_auto) {
        const int h = m_iconSize + 8;
        int w = h;
        if (m_showLabel) {
            w += m_labelWidth;
            if (!m_showIcon)
                w -= m_iconSize;
        }
        resize(w, h);
        updateGeometry();
    }
    repaint();
}

void TExeButton::RunFile() {
    if (shell::IsShortcut(m_fileName)) {
        if (const auto target = shell::ResolveShortcut(m_fileName, this))
            shell::Open(target->path, target->workingFolder);
        return;
    }
    shell::Open(m_fileName, m_filePath);
}

QString TExeButton::ShortenLabel(QString text, int offset, int available,
                                 const std::function<int(const QString&)>& width) {
    while (!text.isEmpty() && width(text) + offset > available) {
        text.chop(1);
        if (text.size() > 4)
            text.replace(text.size() - 2, 2, QStringLiteral(".."));
    }
    return text;
}

TExeButton::LabelPlacement TExeButton::PlaceLabel() const {
    const QFontMetrics metrics(font());
    const int available = width() - 8 - (m_showIcon ? m_iconSize : 0);
    LabelPlacement placement;
    placement.y = (height() - metrics.height()) / 2;
    const int offset = std::max(0, (available - metrics.horizontalAdvance(m_caption)) / 2);
    placement.text = ShortenLabel(m_caption, offset, available, [&metrics](const QString& text) {
        return metrics.horizontalAdvance(text);
    });
    placement.x = offset + 4 + (m_showIcon ? m_iconSize : 0);
    return placement;
}

QString TExeButton::VisibleLabel() const {
    if (!m_showLabel || m_caption.isEmpty())
        return {};
    return PlaceLabel().text;
}

QSize TExeButton::sizeHint() const {
    if (m_auto)
        return size();
    return {m_iconSize + 8 + m_labelWidth, m_iconSize + 8};
}

void TExeButton::paintEvent(QPaintEvent*) {
    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.setFont(font());
    // Stands in for the background erase of the client area.
    painter.fillRect(rect(), Color());

    if (m_border || m_down) {
        QColor light = palette().color(QPalette::Midlight);
        QColor dark = palette().color(QPalette::Shadow);
        if (m_down)
            std::swap(light, dark);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(light, 0));
        if (h > 1)
            painter.drawLine(QPoint(0, h - 1), QPoint(0, 1));
        if (w > 1)
            painter.drawLine(QPoint(0, 0), QPoint(w - 2, 0));
        painter.setPen(QPen(dark, 0));
        if (h > 1)
            painter.drawLine(QPoint(w - 1, 0), QPoint(w - 1, h - 2));
        if (w > 1)
            painter.drawLine(QPoint(w - 1, h - 1), QPoint(1, h - 1));
    }

    if (m_showLabel && !m_caption.isEmpty()) {
        const LabelPlacement label = PlaceLabel();
        if (!label.text.isEmpty()) {
            const QFontMetrics metrics(painter.font());
            const QRect box(label.x, label.y, metrics.horizontalAdvance(label.text),
                            metrics.height());
            painter.fillRect(box, Color());
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(QPoint(label.x, label.y + metrics.ascent()), label.text);
        }
    }

    if (m_showIcon) {
        const QIcon& icon = m_largeIcon ? m_icon : m_smallIcon;
        if (!icon.isNull()) {
            const QRect target(m_iconLeft, m_iconTop, m_iconSize, m_iconSize);
            painter.drawPixmap(target, icon.pixmap(target.size()));
        }
    }
    DrawFocusMark(painter);
}

void TExeButton::Pressed(QPoint) {
    m_down = m_latch ? !m_down : true;
    repaint();
}

void TExeButton::Released(QPoint p) {
    if (!m_latch) {
        m_down = false;
        repaint();
    }
    const bool inside = p.x() > 0 && p.x() < width() && p.y() > 0 && p.y() < height();
    if (inside && m_autoRun)
        RunFile();
}

} // namespace tintara

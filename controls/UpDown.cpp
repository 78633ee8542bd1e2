#include "controls/UpDown.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QWheelEvent>

#include <algorithm>

namespace tintara {

namespace {

constexpr int RepeatDelayMs = 400;
constexpr int RepeatIntervalMs = 80;

// Reads a whole decimal number ("12", "-3", " 7 "); anything else fails. Values far
// outside any range saturate, so they still clamp to the nearer end.
bool ParseWholeNumber(const QString& text, long long& value) {
    const QString trimmed = text.trimmed();
    qsizetype pos = 0;
    bool negative = false;
    if (pos < trimmed.size() &&
        (trimmed[pos] == QLatin1Char('-') || trimmed[pos] == QLatin1Char('+'))) {
        negative = trimmed[pos] == QLatin1Char('-');
        ++pos;
    }
    if (pos == trimmed.size())
        return false;
    constexpr long long Cap = 1LL << 40;
    long long result = 0;
    for (; pos < trimmed.size(); ++pos) {
        const char16_t c = trimmed[pos].unicode();
        if (c < u'0' || c > u'9')
            return false;
        if (result < Cap)
            result = result * 10 + (c - u'0');
    }
    value = negative ? -result : result;
    return true;
}

} // namespace

TUpDown::TUpDown(QWidget* parent) : QAbstractSlider(parent) {
    setOrientation(Qt::Vertical);
    setRange(0, 255);
    setValue(0);
    setSingleStep(1);
    // Clicking the arrows leaves the focus in the edit being spun.
    setFocusPolicy(Qt::NoFocus);
    m_repeat.setSingleShot(false);
    connect(&m_repeat, &QTimer::timeout, this, &TUpDown::repeatStep);
}

void TUpDown::setBuddy(QLineEdit* buddy) {
    m_buddy = buddy;
    writeBuddy();
}

void TUpDown::stepBy(int steps) {
    takeValueFromBuddy();
    const long long span = static_cast<long long>(maximum()) - minimum() + 1;
    long long target = static_cast<long long>(value()) + steps;
    if (m_wrapping && span > 0) {
        target = (target - minimum()) % span;
        if (target < 0)
            target += span;
        target += minimum();
    } else {
        target = std::clamp<long long>(target, minimum(), maximum());
    }
    setValue(static_cast<int>(target));
    // Also when the position stayed: the edit may still hold a text out of range.
    writeBuddy();
}

QSize TUpDown::sizeHint() const {
    return {15, 21};
}

QSize TUpDown::minimumSizeHint() const {
    return {11, 12};
}

void TUpDown::sliderChange(SliderChange change) {
    QAbstractSlider::sliderChange(change);
    if (change == SliderValueChange && !m_readingBuddy)
        writeBuddy();
}

void TUpDown::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    for (const Arrow arrow : {Arrow::Up, Arrow::Down}) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = arrowRect(arrow);
        button.state |= m_pressed == arrow ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);

        QStyleOption indicator;
        indicator.initFrom(this);
        const int inset = 2;
        indicator.rect = button.rect.adjusted(inset, inset, -inset, -inset);
        if (m_pressed == arrow)
            indicator.rect.translate(1, 1);
        style()->drawPrimitive(arrow == Arrow::Up ? QStyle::PE_IndicatorArrowUp
                                                  : QStyle::PE_IndicatorArrowDown,
                               &indicator, &painter, this);
    }
}

void TUpDown::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        event->ignore();
        return;
    }
    m_pressed =
        arrowRect(Arrow::Up).contains(event->position().toPoint()) ? Arrow::Up : Arrow::Down;
    update();
    repeatStep();
    m_repeat.start(RepeatDelayMs);
    event->accept();
}

void TUpDown::mouseReleaseEvent(QMouseEvent* event) {
    m_repeat.stop();
    m_pressed = Arrow::None;
    update();
    event->accept();
}

void TUpDown::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

void TUpDown::repeatStep() {
    if (m_repeat.isActive())
        m_repeat.setInterval(RepeatIntervalMs);
    if (m_pressed != Arrow::None)
        stepBy(m_pressed == Arrow::Up ? 1 : -1);
}

void TUpDown::takeValueFromBuddy() {
    if (!m_buddy)
        return;
    long long read = 0;
    if (!ParseWholeNumber(m_buddy->text(), read))
        return;
    m_readingBuddy = true;
    setValue(static_cast<int>(std::clamp<long long>(read, minimum(), maximum())));
    m_readingBuddy = false;
}

void TUpDown::writeBuddy() {
    if (!m_buddy)
        return;
    const QString position = QString::number(value());
    if (m_buddy->text() != position)
        m_buddy->setText(position);
}

QRect TUpDown::arrowRect(Arrow arrow) const {
    const int upperHeight = height() / 2;
    if (arrow == Arrow::Up)
        return {0, 0, width(), upperHeight};
    return {0, upperHeight, width(), height() - upperHeight};
}

} // namespace tintara

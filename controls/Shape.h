#pragma once
// TShape: a flat rectangle or circle with a one-pixel black outline, filled with one
// colour. The fill is held as a 32-bit screen colour value (red + 256 x green +
// 65536 x blue) exactly as it was given, without clamping or masking, and is the only
// store of the colour: code that computes a colour from out-of-range channels gets the
// same value back. Drawing uses the value's low three bytes as red, green and blue, so
// a negative or oversized value still shows a definite colour.
//
// In a Designer form, promote a QWidget to TShape (header "controls/Shape.h") and set
// the properties shapeType and fillColor.

#include <QColor>
#include <QWidget>

#include <cstdint>

namespace tintara {

class TShape : public QWidget {
    Q_OBJECT
    Q_PROPERTY(ShapeType shapeType READ shapeType WRITE setShapeType)
    Q_PROPERTY(qint32 fillColor READ fillColor WRITE setFillColor NOTIFY fillColorChanged)

public:
    enum ShapeType { Rectangle, Circle };
    Q_ENUM(ShapeType)

    // White, the fill a new shape has.
    static constexpr std::int32_t DefaultFill = 0xFFFFFF;

    explicit TShape(QWidget* parent = nullptr);

    ShapeType shapeType() const { return m_shape; }
    void setShapeType(ShapeType shape);

    std::int32_t fillColor() const { return m_fill; }
    // Stores the value as it is and repaints; raises fillColorChanged when it differs.
    void setFillColor(std::int32_t value);

    // The colour the fill is drawn with: the low three bytes of the value.
    static QColor DrawnColour(std::int32_t value);
    // The value of a colour: red + 256 x green + 65536 x blue.
    static std::int32_t ValueOf(const QColor& colour);

    QSize sizeHint() const override { return {65, 65}; }

signals:
    void fillColorChanged(qint32 value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ShapeType m_shape = Rectangle;
    std::int32_t m_fill = DefaultFill;
};

} // namespace tintara

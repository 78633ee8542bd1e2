// A form shaped as a disc with a hole in it, drawn in code. Drag it with the left
// button; double-click it, or press Escape, to close it.

#include "controls/bmshapedform.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>

namespace {

constexpr int Size = 320;

// White is the key colour (the bottom-left pixel): the corners and the hole are cut
// out. No antialiasing, so no near-white fringe joins the shape.
QImage Ring() {
    QImage image(Size, Size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    QRadialGradient gradient(QPointF(Size * 0.35, Size * 0.35), Size * 0.7);
    gradient.setColorAt(0.0, QColor(120, 190, 255));
    gradient.setColorAt(1.0, QColor(10, 40, 120));
    painter.setBrush(gradient);
    painter.drawEllipse(QRect(0, 0, Size, Size));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRect(Size / 2 - 60, Size / 2 - 60, 120, 120));
    painter.setPen(QColor(255, 220, 80));
    QFont font = painter.font();
    font.setPixelSize(18);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 20, Size, 40), Qt::AlignCenter, QStringLiteral("Drag me"));
    painter.drawText(QRect(0, Size - 60, Size, 40), Qt::AlignCenter,
                     QStringLiteral("Double-click to close"));
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget form;
    form.setWindowTitle(QStringLiteral("Shaped form"));
    auto* shape = new tintara::TBMShapedForm(&form);
    shape->SetAutoSize(true);
    shape->Picture()->Assign(Ring());
    QObject::connect(shape, &tintara::TBMShapedForm::OnDblClick, &form, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &form);
    QObject::connect(escape, &QShortcut::activated, &form, &QWidget::close);
    form.move(150, 100);
    form.show();
    return app.exec();
}

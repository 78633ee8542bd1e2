#include "about/aboutpictures.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace tintara::about {
namespace {

// The classic sixteen-colour palette; the small pictures use only these.
const QColor Black(0, 0, 0);
const QColor Navy(0, 0, 128);
const QColor Green(0, 128, 0);
const QColor Maroon(128, 0, 0);
const QColor Grey(128, 128, 128);
const QColor Blue(0, 0, 255);
const QColor Lime(0, 255, 0);
const QColor Aqua(0, 255, 255);
const QColor Red(255, 0, 0);
const QColor Yellow(255, 255, 0);
const QColor White(255, 255, 255);

QImage blankImage(int width, int height, const QColor& background) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

// Reduces a drawn picture to an indexed one, as the small pictures are kept.
QPixmap indexed(const QImage& image) {
    return QPixmap::fromImage(image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither));
}

} // namespace

QPixmap WebPicture(const QColor& background) {
    QImage image = blankImage(40, 32, background);
    QPainter p(&image);
    p.setPen(Navy);
    p.setBrush(Blue);
    p.drawEllipse(QRect(5, 1, 29, 29));
    // Land masses.
    p.setPen(Qt::NoPen);
    p.setBrush(Green);
    p.drawPolygon(QPolygon({QPoint(11, 6), QPoint(18, 5), QPoint(19, 11), QPoint(15, 15),
                            QPoint(16, 22), QPoint(12, 20), QPoint(9, 12)}));
    p.drawPolygon(
        QPolygon({QPoint(23, 9), QPoint(30, 10), QPoint(31, 17), QPoint(26, 24), QPoint(22, 18)}));
    p.setBrush(Lime);
    p.drawRect(12, 8, 3, 3);
    p.drawRect(25, 12, 3, 3);
    // Lines of latitude and longitude.
    p.setPen(Aqua);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRect(13, 1, 13, 29));
    p.drawLine(5, 15, 34, 15);
    p.drawLine(8, 8, 31, 8);
    p.drawLine(8, 23, 31, 23);
    p.end();
    return indexed(image);
}

QPixmap contactPicture(const QColor& background) {
    QImage image = blankImage(40, 32, background);
    QPainter p(&image);
    p.setPen(Black);
    p.setBrush(White);
    p.drawRect(3, 6, 33, 21);
    p.drawLine(3, 6, 19, 18);
    p.drawLine(36, 6, 20, 18);
    p.setPen(Grey);
    p.drawLine(4, 26, 15, 17);
    p.drawLine(35, 26, 24, 17);
    // Stamp.
    p.setPen(Maroon);
    p.setBrush(Red);
    p.drawRect(29, 8, 5, 5);
    p.setPen(Yellow);
    p.drawPoint(31, 10);
    p.end();
    return indexed(image);
}

QPixmap ShowcasePicture(const QColor& background) {
    QImage image = blankImage(134, 137, background);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 137);
    sky.setColorAt(0, QColor(24, 40, 96));
    sky.setColorAt(1, QColor(96, 128, 192));
    p.setPen(QPen(QColor(16, 24, 64), 1));
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(0.5, 0.5, 133, 136), 8, 8);

    // A material sphere lit from the upper left: diffuse body, ambient rim, specular spot.
    const QRectF sphere(27, 10, 80, 80);
    QRadialGradient body(QPointF(55, 36), 62, QPointF(48, 30));
    body.setColorAt(0.0, QColor(255, 250, 235));
    body.setColorAt(0.12, QColor(240, 150, 70));
    body.setColorAt(0.7, QColor(170, 60, 20));
    body.setColorAt(1.0, QColor(60, 20, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(sphere);
    QRadialGradient glow(QPointF(67, 95), 40);
    glow.setColorAt(0, QColor(0, 0, 0, 110));
    glow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setBrush(glow);
    p.drawEllipse(QRectF(30, 88, 74, 12));

    // The four colours of the material: diffuse, ambient, specular, emissive.
    const QColor swatches[] = {QColor(220, 110, 40), QColor(90, 35, 15), QColor(255, 245, 225),
                               QColor(40, 180, 220)};
    for (int i = 0; i < 4; ++i) {
        const QRectF swatch(14 + i * 28, 108, 22, 20);
        p.setPen(QPen(QColor(230, 230, 230), 1));
        p.setBrush(swatches[i]);
        p.drawRect(swatch);
    }
    p.end();
    return QPixmap::fromImage(image.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither));
}

QIcon programIcon() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.fillRect(1, 1, 15, 15, Red);
    p.fillRect(16, 1, 15, 15, Lime);
    p.fillRect(1, 16, 15, 15, Blue);
    p.fillRect(16, 16, 15, 15, Yellow);
    p.setPen(Black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, 31, 31);
    // The "T", white with a black outline.
    QPainterPath t;
    t.addRect(6, 6, 20, 5);
    t.addRect(13, 11, 6, 15);
    p.setBrush(White);
    p.drawPath(t.simplified());
    p.end();
    return QIcon(QPixmap::fromImage(image));
}

} // namespace tintara::about

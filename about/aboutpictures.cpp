#include "about/aboutpictures.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace tintara::about {
namespace {

// The classic sixteen-colour palette; the small pictures use only these.
const QColor kBlack(0, 0, 0);
const QColor kNavy(0, 0, 128);
const QColor kGreen(0, 128, 0);
const QColor kMaroon(128, 0, 0);
const QColor kGrey(128, 128, 128);
const QColor kBlue(0, 0, 255);
const QColor kLime(0, 255, 0);
const QColor kAqua(0, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kWhite(255, 255, 255);

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

QPixmap webPicture(const QColor& background) {
    QImage image = blankImage(40, 32, background);
    QPainter p(&image);
    p.setPen(kNavy);
    p.setBrush(kBlue);
    p.drawEllipse(QRect(5, 1, 29, 29));
    // Land masses.
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawPolygon(QPolygon({QPoint(11, 6), QPoint(18, 5), QPoint(19, 11), QPoint(15, 15),
                            QPoint(16, 22), QPoint(12, 20), QPoint(9, 12)}));
    p.drawPolygon(
        QPolygon({QPoint(23, 9), QPoint(30, 10), QPoint(31, 17), QPoint(26, 24), QPoint(22, 18)}));
    p.setBrush(kLime);
    p.drawRect(12, 8, 3, 3);
    p.drawRect(25, 12, 3, 3);
    // Lines of latitude and longitude.
    p.setPen(kAqua);
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
    p.setPen(kBlack);
    p.setBrush(kWhite);
    p.drawRect(3, 6, 33, 21);
    p.drawLine(3, 6, 19, 18);
    p.drawLine(36, 6, 20, 18);
    p.setPen(kGrey);
    p.drawLine(4, 26, 15, 17);
    p.drawLine(35, 26, 24, 17);
    // Stamp.
    p.setPen(kMaroon);
    p.setBrush(kRed);
    p.drawRect(29, 8, 5, 5);
    p.setPen(kYellow);
    p.drawPoint(31, 10);
    p.end();
    return indexed(image);
}

QPixmap showcasePicture(const QColor& background) {
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
    p.fillRect(1, 1, 15, 15, kRed);
    p.fillRect(16, 1, 15, 15, kLime);
    p.fillRect(1, 16, 15, 15, kBlue);
    p.fillRect(16, 16, 15, 15, kYellow);
    p.setPen(kBlack);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, 31, 31);
    // The "T", white with a black outline.
    QPainterPath t;
    t.addRect(6, 6, 20, 5);
    t.addRect(13, 11, 6, 15);
    p.setBrush(kWhite);
    p.drawPath(t.simplified());
    p.end();
    return QIcon(QPixmap::fromImage(image));
}

} // namespace tintara::about

#include "setup/OptionPictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <functional>

namespace tavi::setup {

namespace {

const QColor kSky(0x00, 0x5D, 0xA5);
const QColor kGround(0x68, 0x3C, 0x00);
const QColor kCommandBars(0xFF, 0x00, 0xFF);
const QColor kSymbol(0xF8, 0xDF, 0x23);
const QColor kReadout(0x00, 0xFF, 0xFF);
const QColor kBezel(0x3A, 0x3A, 0x3A);

// A screen in its bezel; the painter draws in a 100 x 100 square centred on it.
QPixmap screen(QSize size, const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(size);
    pixmap.fill(kBezel);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(size.width(), size.height()) - 8;
    painter.translate((size.width() - side) / 2.0, (size.height() - side) / 2.0);
    painter.scale(side / 100.0, side / 100.0);
    painter.fillRect(QRectF(0, 0, 100, 100), Qt::black);
    draw(painter);
    return pixmap;
}

void drawText(QPainter& painter, const QRectF& box, const QString& text, const QColor& colour,
              int pixelSize) {
    QFont font = painter.font();
    font.setPixelSize(pixelSize);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignCenter, text);
}

void drawAttitude(QPainter& painter) {
    painter.fillRect(QRectF(5, 5, 90, 45), kSky);
    painter.fillRect(QRectF(5, 50, 90, 45), kGround);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawLine(QPointF(5, 50), QPointF(95, 50));
    for (const double y : {35.0, 65.0}) {
        painter.drawLine(QPointF(40, y), QPointF(60, y));
    }
}

void drawVShape(QPainter& painter) {
    QPolygonF aircraft;
    aircraft << QPointF(50, 50) << QPointF(22, 62) << QPointF(30, 62) << QPointF(50, 55)
             << QPointF(70, 62) << QPointF(78, 62);
    painter.setPen(QPen(Qt::black, 0.8));
    painter.setBrush(kSymbol);
    painter.drawPolygon(aircraft);
    QPolygonF bars;
    bars << QPointF(50, 44) << QPointF(18, 56) << QPointF(18, 52) << QPointF(50, 40)
         << QPointF(82, 52) << QPointF(82, 56);
    painter.setBrush(kCommandBars);
    painter.drawPolygon(bars);
}

void drawCrossBars(QPainter& painter) {
    painter.setPen(QPen(kCommandBars, 2.5));
    painter.drawLine(QPointF(22, 44), QPointF(78, 44));
    painter.drawLine(QPointF(56, 22), QPointF(56, 78));
    painter.setPen(QPen(Qt::black, 0.8));
    painter.setBrush(kSymbol);
    painter.drawRect(QRectF(22, 49, 18, 3));
    painter.drawRect(QRectF(60, 49, 18, 3));
    painter.drawRect(QRectF(48.5, 48.5, 3, 3));
}

} // namespace

QPixmap flightDirectorPicture(bool vShape, QSize size) {
    return screen(size, [vShape](QPainter& painter) {
        drawAttitude(painter);
        if (vShape) {
            drawVShape(painter);
        } else {
            drawCrossBars(painter);
        }
    });
}

QPixmap pressurePicture(bool hectopascals, QSize size) {
    return screen(size, [hectopascals](QPainter& painter) {
        drawText(painter, QRectF(0, 15, 100, 20), "BARO", Qt::white, 12);
        drawText(painter, QRectF(0, 38, 100, 30), hectopascals ? "1013" : "29.92", kReadout, 24);
        drawText(painter, QRectF(0, 68, 100, 20), hectopascals ? "HPA" : "IN", kReadout, 14);
    });
}

QPixmap weightPicture(bool kilograms, QSize size) {
    return screen(size, [kilograms](QPainter& painter) {
        drawText(painter, QRectF(0, 15, 100, 20), "FUEL QTY", Qt::white, 12);
        drawText(painter, QRectF(0, 38, 100, 30), kilograms ? "2720" : "6000", kReadout, 24);
        drawText(painter, QRectF(0, 68, 100, 20), kilograms ? "KG" : "LB", kReadout, 14);
    });
}

QIcon programIcon() {
    QPixmap pixmap(QSize(64, 64));
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(kSky);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    painter.setBrush(Qt::white);
    QPainterPath aircraft;
    aircraft.addRect(QRectF(29, 10, 6, 44));
    aircraft.addPolygon(QPolygonF() << QPointF(32, 24) << QPointF(8, 38) << QPointF(56, 38));
    aircraft.addPolygon(QPolygonF() << QPointF(32, 46) << QPointF(22, 54) << QPointF(42, 54));
    painter.drawPath(aircraft.simplified());
    return QIcon(pixmap);
}

} // namespace tavi::setup

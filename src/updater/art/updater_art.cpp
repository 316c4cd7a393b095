// Draws the updater's window icon and logo: updater_art ICON.png LOGO.png
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cstdio>

namespace {

// A downward arrow into a tray: "fetch the newest and put it in place".
void drawArrowIntoTray(QPainter &painter, const QRectF &box, const QColor &color)
{
    const qreal w = box.width();
    const qreal h = box.height();
    QPainterPath arrow;
    arrow.moveTo(box.left() + w * 0.40, box.top() + h * 0.15);
    arrow.lineTo(box.left() + w * 0.60, box.top() + h * 0.15);
    arrow.lineTo(box.left() + w * 0.60, box.top() + h * 0.45);
    arrow.lineTo(box.left() + w * 0.75, box.top() + h * 0.45);
    arrow.lineTo(box.left() + w * 0.50, box.top() + h * 0.70);
    arrow.lineTo(box.left() + w * 0.25, box.top() + h * 0.45);
    arrow.lineTo(box.left() + w * 0.40, box.top() + h * 0.45);
    arrow.closeSubpath();
    painter.fillPath(arrow, color);

    QPen pen(color, w * 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.drawPolyline(QList<QPointF>{{box.left() + w * 0.18, box.top() + h * 0.66},
                                        {box.left() + w * 0.18, box.top() + h * 0.84},
                                        {box.left() + w * 0.82, box.top() + h * 0.84},
                                        {box.left() + w * 0.82, box.top() + h * 0.66}});
}

QImage picture(int size, bool framed)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(0, 0, size, size);
    QLinearGradient fill(box.topLeft(), box.bottomRight());
    fill.setColorAt(0.0, QColor(0x2f, 0x6f, 0xb8));
    fill.setColorAt(1.0, QColor(0x12, 0x3a, 0x6e));
    painter.setBrush(fill);
    painter.setPen(framed ? QPen(QColor(0xe8, 0xee, 0xf6), size * 0.03) : Qt::NoPen);
    const qreal inset = framed ? size * 0.04 : 0.0;
    painter.drawRoundedRect(box.adjusted(inset, inset, -inset, -inset), size * 0.18, size * 0.18);
    drawArrowIntoTray(painter, box, QColor(0xf4, 0xf7, 0xfb));
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: updater_art ICON.png LOGO.png\n");
        return 2;
    }
    const bool saved = picture(32, false).save(QString::fromLocal8Bit(argv[1])) &&
                       picture(128, true).save(QString::fromLocal8Bit(argv[2]));
    if (!saved)
        std::fprintf(stderr, "updater_art: cannot write the pictures\n");
    return saved ? 0 : 1;
}

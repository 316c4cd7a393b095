// nimbra-drawimages <folder>: the dark-blue pictures of the main window, each at its
// control's size (15 twips a pixel), and the hand cursor.
#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

const QColor kNavy(0, 0, 64);
const QColor kBlue(26, 58, 138);
const QColor kLightYellow(255, 255, 128);
const QColor kSilver(192, 192, 192);

QString folder;

bool save(const QImage &image, const QString &name)
{
    const QString path = folder + u'/' + name;
    if (!image.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QFont captionFont(int pixels)
{
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(pixels);
    return font;
}

bool button(const QString &name, int width, int height, const QString &caption)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kNavy);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, 0, height);
    shade.setColorAt(0, kBlue.lighter(140));
    shade.setColorAt(1, kBlue);
    p.setBrush(shade);
    p.setPen(QPen(kLightYellow, 1));
    p.drawRoundedRect(QRectF(1, 1, width - 3, height - 3), 6, 6);
    p.setPen(Qt::white);
    p.setFont(captionFont(13));
    p.drawText(image.rect(), Qt::AlignCenter, caption);
    p.end();
    return save(image, name);
}

bool power(const QString &name, const QColor &colour, const QString &caption)
{
    QImage image(83, 66, QImage::Format_RGB32);
    image.fill(kSilver);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(kNavy);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 79, 62), 8, 8);
    p.setPen(QPen(colour, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(25, 10, 33, 33), 60 * 16, -300 * 16); // open at the top
    p.drawLine(41, 6, 41, 24);
    p.setPen(Qt::white);
    p.setFont(captionFont(11));
    p.drawText(QRect(0, 46, 83, 18), Qt::AlignCenter, caption);
    p.end();
    return save(image, name);
}

bool band(const QString &name, int width, int height, const QColor &top, const QColor &bottom)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient shade(0, 0, 0, height);
    shade.setColorAt(0, top);
    shade.setColorAt(1, bottom);
    p.fillRect(image.rect(), shade);
    p.end();
    return save(image, name);
}

bool logo()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(kNavy);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kLightYellow);
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setBrush(kNavy);
    p.drawEllipse(QRectF(8, 13, 20, 20));
    p.setPen(Qt::white);
    p.setFont(captionFont(14));
    p.drawText(image.rect().adjusted(0, 4, 0, 0), Qt::AlignCenter, QStringLiteral("N"));
    p.end();
    return image.save(folder + QStringLiteral("/Icon.ico"), "ICO");
}

// A pointing hand saved as an icon, then marked as a cursor: type 2, and the hot spot (the
// finger tip) where an icon entry keeps its planes and bit count.
bool handCursor()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(8, 1, 5, 17), 2.5, 2.5);
    hand.addRoundedRect(QRectF(5, 13, 20, 17), 4, 4);
    p.drawPath(hand.simplified());
    for (const int x : {13, 17, 21})
        p.drawLine(x, 14, x, 19);
    p.end();
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "ICO") || data.size() < 22)
        return false;
    const char header[] = {2, 0};
    data.replace(2, 2, header, 2);
    const char hotSpot[] = {10, 0, 1, 0}; // x 10, y 1
    data.replace(10, 4, hotSpot, 4);
    QFile file(folder + QStringLiteral("/curHand.cur"));
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: nimbra-drawimages <folder>\n");
        return 2;
    }
    folder = QString::fromLocal8Bit(argv[1]);
    const bool ok = button(QStringLiteral("bmpTyaato.bmp"), 84, 34, QStringLiteral("チャート")) &&
                    button(QStringLiteral("bmpSyuusi.bmp"), 84, 34, QStringLiteral("収支")) &&
                    button(QStringLiteral("bmpSettei.bmp"), 84, 34, QStringLiteral("設定")) &&
                    button(QStringLiteral("bmpSupport.bmp"), 80, 30, QStringLiteral("サポート")) &&
                    power(QStringLiteral("bmpPowerOn.bmp"), QColor(64, 224, 64), QStringLiteral("ON")) &&
                    power(QStringLiteral("bmpPowerOff.bmp"), QColor(128, 128, 128), QStringLiteral("OFF")) &&
                    band(QStringLiteral("bmpFrame01.bmp"), 883, 97, QColor(232, 232, 232), kSilver) &&
                    band(QStringLiteral("bmpFrame02.bmp"), 881, 65, kBlue, kNavy) && logo() && handCursor();
    return ok ? 0 : 1;
}

#include "mainwindow/Design.h"

#include "core/Colours.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Twips.h"

#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QPalette>
#include <QWidget>

#include <QtEndian>

namespace {

void logUnreadable(const QString &path)
{
    writeLog(glngLogFileNo, QStringLiteral("画像ファイルを読み込めません: ") + path);
}

void setColour(QWidget &widget, QPalette::ColorRole role, long bgr)
{
    QPalette palette = widget.palette();
    palette.setColor(role, ui::colorFromBgr(bgr));
    widget.setPalette(palette);
}

} // namespace

QPixmap loadDesignPicture(const QString &path)
{
    QPixmap picture(path);
    if (picture.isNull())
        logUnreadable(path);
    return picture;
}

std::optional<QCursor> loadDesignCursor(const QString &path)
{
    // A cursor file is an icon file of type 2 whose entry holds the hot spot where an icon
    // keeps its planes and bit count: read the hot spot, then the image as an icon.
    QFile file(path);
    QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    constexpr int kEntryEnd = 6 + 16;
    if (data.size() < kEntryEnd || qFromLittleEndian<quint16>(data.constData() + 2) != 2) {
        logUnreadable(path);
        return std::nullopt;
    }
    const int hotX = qFromLittleEndian<quint16>(data.constData() + 10);
    const int hotY = qFromLittleEndian<quint16>(data.constData() + 12);
    data[2] = 1;
    data[10] = 1; // planes
    data[11] = 0;
    data[12] = 32; // bits per pixel
    data[13] = 0;
    const QImage image = QImage::fromData(data, "ICO");
    if (image.isNull()) {
        logUnreadable(path);
        return std::nullopt;
    }
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

void setBackColour(QWidget &widget, long bgr)
{
    widget.setAutoFillBackground(true);
    setColour(widget, QPalette::Window, bgr);
}

void setForeColour(QWidget &widget, long bgr)
{
    setColour(widget, QPalette::WindowText, bgr);
}

void setGridDesignColours(ui::FlexGrid &grid)
{
    const QColor back = ui::colorFromBgr(colours::kDarkBlue);
    const QColor fore = ui::colorFromBgr(colours::kWhite);
    QPalette palette = grid.palette();
    palette.setColor(QPalette::Base, back);       // cells
    palette.setColor(QPalette::Window, back);     // outside the cells
    palette.setColor(QPalette::Button, back);     // header row
    palette.setColor(QPalette::Text, fore);       // cell text
    palette.setColor(QPalette::ButtonText, fore); // header text
    palette.setColor(QPalette::WindowText, fore);
    grid.setPalette(palette);
    grid.viewport()->setAutoFillBackground(true);
    grid.setAutoFillBackground(true);
    grid.horizontalHeader()->setPalette(palette);
    grid.setStyleSheet(QStringLiteral("QTableWidget { gridline-color: %1; }").arg(fore.name()));
}

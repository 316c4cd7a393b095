// The main window's look: pictures, hand cursor, the dark-blue colour scheme, fonts and
// the layout of its panels.
#include "mainwindow/frmMain.h"

#include "core/Colours.h"
#include "mainwindow/Design.h"
#include "platform/sys/ProgramDir.h"
#include "platform/ui/Chart2D.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/WindowBuilder.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <optional>

namespace {

QPixmap picture(const char *fileName)
{
    return loadDesignPicture(sys::programDirectory() + QStringLiteral("/Images/") + QString::fromLatin1(fileName));
}

void setPicture(QLabel *label, const QPixmap &pixmap)
{
    if (!pixmap.isNull())
        label->setPixmap(pixmap);
}

// A frame's background picture, drawn under its children.
void setBackgroundPicture(QFrame *frame, const QPixmap &pixmap)
{
    if (pixmap.isNull())
        return;
    QPalette palette = frame->palette();
    palette.setBrush(QPalette::Window, QBrush(pixmap));
    frame->setPalette(palette);
    frame->setAutoFillBackground(true);
}

void setLineColour(QFrame *line, long bgr)
{
    line->setFrameShape(QFrame::NoFrame);
    setBackColour(*line, bgr);
}

// The widget's font in another family and, where given, another point size.
void setFontFamily(QWidget *widget, const QString &family, std::optional<int> points = std::nullopt)
{
    QFont font = widget->font();
    font.setFamily(family);
    if (points)
        font.setPointSize(*points);
    widget->setFont(font);
}

} // namespace

void frmMain::initDesign()
{
    setPicture(imgLogo, picture("Icon.ico"));
    setBackgroundPicture(picFrame1, picture("bmpFrame01.bmp"));
    setBackgroundPicture(picFrame2, picture("bmpFrame02.bmp"));
    setPicture(imgChart, picture("bmpTyaato.bmp"));
    setPicture(imgSyusi, picture("bmpSyuusi.bmp"));
    const QPixmap on = picture("bmpPowerOn.bmp");
    setPicture(imgRun, on);
    setPicture(imgPowerOn, on);
    setPicture(imgPowerOff, picture("bmpPowerOff.bmp"));
    setPicture(imgSupport, picture("bmpSupport.bmp"));
    setPicture(imgSetting, picture("bmpSettei.bmp"));
    const std::optional<QCursor> hand =
        loadDesignCursor(sys::programDirectory() + QStringLiteral("/Images/curHand.cur"));
    for (QWidget *clickable : {imgSupport, imgChart, imgSyusi, imgRun, imgSetting, lblSupport})
        clickable->setCursor(hand.value_or(QCursor(Qt::PointingHandCursor)));

    // Layout, top bar down to the lists.
    picFrame1->setGeometry(ui::twipsRect(0, 0, 13245, 1455));
    imgLogo->setGeometry(ui::twipsRect(330, 270, 780, 780));
    imgSupport->setGeometry(ui::twipsRect(4800, 720, 1200, 450));
    imgRun->setGeometry(ui::twipsRect(11220, 180, 1245, 990));
    picFrame2->setGeometry(ui::twipsRect(0, 1440, 13215, 975));
    picFrame3->setGeometry(ui::twipsRect(120, 2340, 7635, 975));
    picChartInfo->setGeometry(ui::twipsRect(0, 2400, 13245, 5655));
    imgChart->setGeometry(ui::twipsRect(8280, 240, 1260, 510));
    imgSyusi->setGeometry(ui::twipsRect(9720, 240, 1260, 510));
    imgSetting->setGeometry(ui::twipsRect(11160, 240, 1260, 510));
    Picture2->setGeometry(ui::twipsRect(120, 960, 7635, 4395));
    cht2Gra->setGeometry(ui::twipsRect(60, 120, 7455, 4095));
    fraChartInfo->setGeometry(ui::twipsRect(600, 1380, 6675, 1455));
    // The hint fills its frame, so that its sentence breaks only where the frame ends.
    lblChartInfo->setGeometry(ui::twipsRect(60, 60, 6555, 1335));
    Picture1->setGeometry(ui::twipsRect(7800, 960, 5235, 4395));
    for (QFrame *view : {fraSyusi2, fraSyusi, fraChart, fraOrder})
        view->setGeometry(ui::twipsRect(60, 0, 5055, 4215));
    msfgZisseki2->setGeometry(ui::twipsRect(120, 600, 4815, 3015));
    msfgZisseki->setGeometry(ui::twipsRect(120, 600, 4815, 3015));
    lblSyusi2Msg->setGeometry(ui::twipsRect(120, 3720, 4815, 255));
    lblSyusiMsg->setGeometry(ui::twipsRect(120, 3720, 4815, 255));
    fraNikkeiHeikin->setGeometry(ui::twipsRect(60, 840, 4935, 2415));
    cht2Gra2->setGeometry(ui::twipsRect(60, 360, 4815, 1995));
    fraZyunbi->setGeometry(ui::twipsRect(120, 1800, 4875, 2235));
    msfgSelect->setGeometry(ui::twipsRect(0, 300, 4815, 1875));
    cmdAddBrand->setGeometry(ui::twipsRect(2880, 60, 1575, 255));
    msfgOrder->setGeometry(ui::twipsRect(60, 420, 4935, 3675));
    // The order list's columns are 15 twips wider than the list, so a scroll bar would
    // show for the last pixels of the action column: it is left out.
    msfgOrder->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The info panel lies over the upper edge of the main area.
    picFrame3->raise();
    // Captions beside the pictures of the top bar and the lines of the info panel.
    lblSupport->setGeometry(ui::twipsRect(6120, 810, 1600, 255));
    lblMaxDate->setGeometry(ui::twipsRect(8040, 360, 3000, 255));
    lblDate->setGeometry(ui::twipsRect(8040, 660, 3000, 255));
    lblRunStatus->setGeometry(ui::twipsRect(8040, 960, 3000, 375));
    lblBrandName->setGeometry(ui::twipsRect(120, 60, 3700, 255));
    lblGenzaiti->setGeometry(ui::twipsRect(3900, 60, 3650, 255));
    lblZenzituHi->setGeometry(ui::twipsRect(120, 360, 3700, 255));
    lblTakaYasu->setGeometry(ui::twipsRect(3900, 360, 3650, 255));
    lblBuyTanka->setGeometry(ui::twipsRect(120, 660, 1500, 255));
    linKounyu->setGeometry(ui::twipsRect(1680, 780, 420, 15));
    lblKounyu->setGeometry(ui::twipsRect(2160, 660, 1600, 255));
    lblSelTanka->setGeometry(ui::twipsRect(3900, 660, 1500, 255));
    linRieki->setGeometry(ui::twipsRect(5460, 780, 420, 15));
    lblRieki->setGeometry(ui::twipsRect(5940, 660, 1600, 255));

    // Colours, from the top bar down to the results views.
    setBackColour(*picFrame1, colours::kSilver);
    for (QLabel *label : {lblDate, lblSupport, lblMaxDate})
        setForeColour(*label, colours::kBlack);
    setForeColour(*lblRunStatus, colours::kRed);
    for (QLabel *label : {lblKounyuKanouGaku, lblMotikabu, lblGoukei, lblRiekiritu, lblNissu})
        setForeColour(*label, colours::kWhite);
    for (int i = 0; i < 5; ++i) {
        if (auto *title = findChild<QLabel *>(QStringLiteral("lblTitle_") + QString::number(i)))
            setForeColour(*title, colours::kWhite);
    }
    setBackColour(*picFrame3, colours::kDarkBlue);
    for (QLabel *label : {lblBrandName, lblRieki, lblSelTanka})
        setForeColour(*label, colours::kLightYellow);
    setLineColour(linRieki, colours::kLightYellow);
    setForeColour(*lblZenzituHi, colours::kYellow);
    for (QLabel *label : {lblGenzaiti, lblTakaYasu})
        setForeColour(*label, colours::kWhite);
    for (QLabel *label : {lblKounyu, lblBuyTanka})
        setForeColour(*label, colours::kSilver);
    setLineColour(linKounyu, colours::kSilver);
    setBackColour(*Picture2, colours::kDarkBlue);
    setBackColour(*fraChartInfo, colours::kDarkBlue);
    setBackColour(*lblChartInfo, colours::kDarkBlue);
    setForeColour(*lblChartInfo, colours::kWhite);
    setBackColour(*Picture1, colours::kDarkBlue);
    setBackColour(*fraChart, colours::kDarkBlue);
    setBackColour(*fraNikkeiHeikin, colours::kDarkBlue);
    setForeColour(*lblNikkei, colours::kLightYellow);
    setBackColour(*fraOrder, colours::kDarkBlue);
    setForeColour(*lblTyumon, colours::kLightYellow);
    setGridDesignColours(*msfgOrder);
    setBackColour(*fraSyusi, colours::kDarkBlue);
    setForeColour(*lblSyusi, colours::kLightYellow);
    setForeColour(*lblSyusiMsg, colours::kWhite);
    setGridDesignColours(*msfgZisseki);
    setBackColour(*fraSyusi2, colours::kDarkBlue);
    setForeColour(*lblSyusi2, colours::kLightYellow);
    setForeColour(*lblSyusi2Msg, colours::kWhite);
    setGridDesignColours(*msfgZisseki2);

    // Fonts: fixed pitch for the lists and header titles, proportional for the top bar.
    const QString gothic = QStringLiteral("ＭＳ ゴシック");
    for (QWidget *grid : {msfgSelect, msfgOrder, msfgZisseki, msfgZisseki2})
        setFontFamily(grid, gothic, 9); // the state texts fit their 800-twip column
    for (int i = 0; i < 5; ++i) {
        if (auto *title = findChild<QLabel *>(QStringLiteral("lblTitle_") + QString::number(i)))
            setFontFamily(title, gothic);
    }
    for (QWidget *topBar : {static_cast<QWidget *>(lblMsg), static_cast<QWidget *>(lblDate),
                            static_cast<QWidget *>(lblMaxDate), static_cast<QWidget *>(lblRunStatus)})
        setFontFamily(topBar, QStringLiteral("ＭＳ Ｐゴシック"));
}

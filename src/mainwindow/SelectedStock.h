#pragma once

#include <QString>
#include <QtGlobal>

// The main window's form-level values of the stock picked in a list: what the price chart
// and the stock panel show, and the period flag that the chart button toggles.
struct SelectedStock {
    QString mstrBrandCode;   // 銘柄コード
    QString mstrSizyouCode;  // 市場コード
    qint64 mlngYoyakuNo = 0; // 予約番号 of the picked row; 0 for a candidate
    int mlngChartKikan = 0;  // 0: the 60 days up to the processing day, 1: the 180 days
};

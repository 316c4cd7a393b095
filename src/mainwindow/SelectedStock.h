#pragma once

#include <QString>

// The main window's form-level values that choose what the price chart shows: the stock
// picked in a list and the period flag that the chart button toggles.
struct SelectedStock {
    QString mstrBrandCode;  // 銘柄コード
    QString mstrSizyouCode; // 市場コード
    int mlngChartKikan = 0; // 0: the 60 days up to the processing day, 1: the 180 days
};

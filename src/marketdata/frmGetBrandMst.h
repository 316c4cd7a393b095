#pragma once

#include "marketdata/DataJobWindow.h"

// "銘柄マスタ取得": rebuilds the stock master of every market, or of the chosen one, from
// the money site's stock pages.
class frmGetBrandMst : public DataJobWindow {
    Q_OBJECT
public:
    explicit frmGetBrandMst(QWidget *parent = nullptr);

private:
    void Form_Load();
    void cmdSelect_Click() override;
};

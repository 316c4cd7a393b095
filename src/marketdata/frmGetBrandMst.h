#pragma once

#include "marketdata/DataJobWindow.h"

namespace net {
class Inet;
}

// "銘柄マスタ取得": rebuilds the stock master of every market, or of the chosen one, from
// the money site's stock pages. While the rebuild runs the close box asks whether to stop
// it; a stop (that, or the system's request to end the program) ends it after the code in
// hand and keeps the old master.
class frmGetBrandMst : public DataJobWindow {
    Q_OBJECT
public:
    explicit frmGetBrandMst(QWidget *parent = nullptr);

protected:
    void reject() override;

private:
    void Form_Load();
    void cmdSelect_Click() override;

    net::Inet *Inet1;
};

#pragma once

#include "core/CancelToken.h"
#include "core/SettingsRecords.h"

#include <QDate>
#include <QStringList>

class QLabel;
namespace ui {
class FlexGrid;
}

// The day's buy candidates for live trading, written into the candidate list.
//
// Mode 1 first resets the list to its header. No ticked market, or as many reservations
// registered today (sys::now()) as there are purchase slots (base.KounyuTensu), ends
// here with 0. Otherwise the fixed preset is put onto the four records, where it stays,
// and the screening query of `day` is walked in its order. A row is kept when its position
// in its 180-day price window passes, its row of the previous data day confirms it
// (checkKaiSign), and no execution of the stock was registered today. Each kept stock is
// appended to the list and its code put at the next position of `codes` from 1 on (the
// list grows as needed); `lblMsg` names the stock while it is added. The walk ends when
// the kept stocks fill the free slots, or after the row in hand once `cancel` is set.
//
// Holds the busy guard and yields to the window system while it runs. Reads the database
// only. Returns the number of stocks kept.
int searchSuisyouMeigara(int mode, QLabel &lblMsg, ui::FlexGrid &msfgSelect, const QDate &day, BS &base, SL &condition,
                         OD &order, Sizyou &markets, QStringList &codes, const jobs::CancelToken &cancel);

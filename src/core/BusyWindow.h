#pragma once

namespace ui {

// A window whose job is running cannot be closed: when `busy`, tells the user so
// ("処理中に画面を閉じることはできません。") and returns true, and the window stays open.
bool refuseClosingWhileBusy(bool busy);

} // namespace ui

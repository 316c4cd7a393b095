#pragma once

#include <functional>

namespace ui {

// The main window's refresh of its header figures after a setting they depend on changed.
// The main window sits in a layer above the dialogs that change those settings, so it
// registers its refresh here while it exists (an empty function takes it back).
void setHeaderRefresh(std::function<void()> refresh);

// Runs the registered refresh; does nothing while none is registered.
void refreshHeader();

} // namespace ui

#pragma once

namespace ui {

// Fusion style with a fixed light palette (a desktop theme must not repaint the windows'
// own colours), in which disabled menu items, buttons and texts are greyed, and the
// Japanese font substitutions: "ＭＳ ゴシック" is IPA Gothic (fixed pitch, full-width
// exactly twice half-width) and "ＭＳ Ｐゴシック" IPA PGothic.
void setupApplicationLook();

} // namespace ui

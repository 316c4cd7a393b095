#pragma once

// The named colours of the windows and charts, written 0x00BBGGRR (blue first) as the
// window designs give them; ui::colorFromBgr makes a QColor of one.
namespace colours {

inline constexpr long kDarkBlue = 0x400000; // the scheme's background, RGB(0, 0, 64)
inline constexpr long kBlack = 0x000000;
inline constexpr long kWhite = 0xFFFFFF;
inline constexpr long kRed = 0x0000FF;
inline constexpr long kGreen = 0x00FF00;
inline constexpr long kYellow = 0x00FFFF;
inline constexpr long kLightYellow = 0x80FFFF;
inline constexpr long kSilver = 0xC0C0C0;

} // namespace colours

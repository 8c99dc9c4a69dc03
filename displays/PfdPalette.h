#pragma once

#include "platform/gfx/Canvas.h"

// The colours, pens and hatches the primary flight display paints with.
namespace tavi::pfd {

using platform::gfx::Argb;
using platform::gfx::Hatch;
using platform::gfx::HatchStyle;
using platform::gfx::Pen;

inline constexpr Argb kWhite = 0xFFFFFFFF;
inline constexpr Argb kLine = 0xFFF5F5F5;
inline constexpr Argb kGreen = 0xFF00FF00;
inline constexpr Argb kCyan = 0xFF00FFFF;
inline constexpr Argb kMagenta = 0xFFFF00FF;
inline constexpr Argb kRed = 0xFFFF0000;
inline constexpr Argb kAmber = 0xFFF8DF23;
inline constexpr Argb kYellow = 0xFFFFFF00;
inline constexpr Argb kOrange = 0xFFFFA500;
inline constexpr Argb kBlack = 0xFF000000;

inline constexpr Pen kWhite1{kLine, 1.0};
inline constexpr Pen kWhite15{kLine, 1.5};
inline constexpr Pen kWhite2{kLine, 2.0};
inline constexpr Pen kCyan1{kCyan, 1.0};
inline constexpr Pen kCyan2{kCyan, 2.0};
inline constexpr Pen kCyan25{kCyan, 2.5};
inline constexpr Pen kMagenta1{kMagenta, 1.0};
inline constexpr Pen kMagenta2{kMagenta, 2.0};
inline constexpr Pen kMagenta25{kMagenta, 2.5};
inline constexpr Pen kYellow2{kYellow, 2.0};
inline constexpr Pen kRed2{kRed, 2.0};
inline constexpr Pen kRed25{kRed, 2.5};
inline constexpr Pen kRed3{kRed, 3.0};
inline constexpr Pen kRed4{kRed, 4.0};
inline constexpr Pen kRed5{kRed, 5.0};
inline constexpr Pen kAmber2{kAmber, 2.0};
inline constexpr Pen kAmber3{kAmber, 3.0};
inline constexpr Pen kGreen15{kGreen, 1.5};
inline constexpr Pen kGreen2{kGreen, 2.0};
inline constexpr Pen kGreen25{kGreen, 2.5};
inline constexpr Pen kGreen3{kGreen, 3.0};
inline constexpr Pen kGreen4{kGreen, 4.0};

inline constexpr Hatch kSky{HatchStyle::kFiftyPercent, 0xFF005096, 0xFF005DA5};
inline constexpr Hatch kGround{HatchStyle::kFiftyPercent, 0xFF543900, 0xFF683C00};
inline constexpr Hatch kGreenHatch{HatchStyle::kLightUpwardDiagonal, kGreen, kBlack};
inline constexpr Hatch kTape{HatchStyle::kFiftyPercent, 0xFF3C3C3C, 0xFF2D2D2D};

} // namespace tavi::pfd

#pragma once

#include "displays/Eicas.h"
#include "platform/gfx/Canvas.h"

// The pens the engine indication and crew alerting screen draws its lines with.
namespace tavi::eicas {

inline constexpr platform::gfx::Pen kWhite15{Eicas::kLines, 1.5};
inline constexpr platform::gfx::Pen kWhite2{Eicas::kLines, 2.0};
inline constexpr platform::gfx::Pen kRed2{Eicas::kRed, 2.0};
inline constexpr platform::gfx::Pen kRed3{Eicas::kRed, 3.0};
inline constexpr platform::gfx::Pen kYellow2{Eicas::kYellow, 2.0};

} // namespace tavi::eicas

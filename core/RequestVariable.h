#pragma once

#include <cstdint>

namespace tavi {

// A named panel variable that asks for an action (its name ends in Click, Inc, Dec or Pressed):
// a non-zero value is written back to 0 so that the action runs once. A negative id (a
// registration that failed) never asks.
//
// The value the request carried, or 0 when there is none.
double takeRequestValue(int32_t variableId);
// Whether there is a request.
bool takeRequest(int32_t variableId);

} // namespace tavi

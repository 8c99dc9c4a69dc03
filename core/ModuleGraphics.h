#pragma once

#include "platform/gfx/FontCollection.h"

namespace tavi {

// Deferred start-up: starts the graphics library and keeps its token for the teardown.
void startGraphics();
// Teardown, with the value of [GDI+] unload (default 1): when set, releases the module's fonts
// and shuts the graphics library down; otherwise both stay for the simulator's other gauges.
void stopGraphics(bool unload);

// The module's own fonts, "Quartz", "Arial Narrow" (bold) and "Divev Uzaze", loaded on the first
// request; every later request answers the same collection.
const platform::gfx::FontCollection& privateFontCollection();

} // namespace tavi

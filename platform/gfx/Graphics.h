#pragma once

#include <cstdint>

// The graphics library's start-up and shut-down. Cairo needs neither, so both only count, which
// shows that the module starts and stops its graphics as it should.
namespace tavi::platform::gfx {

using GraphicsToken = uintptr_t;

struct GraphicsCounts {
    int startups = 0;
    int shutdowns = 0;
};

GraphicsToken graphicsStartup();
void graphicsShutdown(GraphicsToken token);
GraphicsCounts graphicsCounts();

} // namespace tavi::platform::gfx

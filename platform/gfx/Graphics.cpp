#include "platform/gfx/Graphics.h"

namespace tavi::platform::gfx {

namespace {

GraphicsCounts& counts() {
    static GraphicsCounts instance;
    return instance;
}

} // namespace

GraphicsToken graphicsStartup() {
    return static_cast<GraphicsToken>(++counts().startups);
}

void graphicsShutdown(GraphicsToken) {
    ++counts().shutdowns;
}

GraphicsCounts graphicsCounts() {
    return counts();
}

} // namespace tavi::platform::gfx

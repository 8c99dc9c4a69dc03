#include "core/ModuleGraphics.h"

#include "core/Aircraft.h"
#include "core/Format.h"
#include "platform/gfx/Graphics.h"

#include <memory>

namespace tavi {

namespace {

struct ModuleFont {
    const char* name;
    // The installed family that stands in for the module's own face.
    const char* family;
    bool bold;
};

constexpr ModuleFont kModuleFonts[] = {
    {"Quartz", "DSEG7 Classic", false},
    {"Arial Narrow", "Liberation Sans Narrow", true},
    {"Divev Uzaze", "B612", false},
};

platform::gfx::GraphicsToken graphicsToken = 0;

std::unique_ptr<platform::gfx::FontCollection>& fontCollection() {
    static std::unique_ptr<platform::gfx::FontCollection> collection;
    return collection;
}

std::unique_ptr<platform::gfx::FontCollection> loadModuleFonts() {
    auto collection = std::make_unique<platform::gfx::FontCollection>();
    for (const ModuleFont& font : kModuleFonts) {
        if (!collection->add(font.name, font.family, font.bold) && theAircraft) {
            theAircraft->log(format("Font %s (%s) not installed, %s stands in", font.name,
                                    font.family, collection->sansSerif().family.c_str()));
        }
    }
    return collection;
}

} // namespace

void startGraphics() {
    graphicsToken = platform::gfx::graphicsStartup();
}

void stopGraphics(bool unload) {
    if (!unload) {
        return;
    }
    fontCollection().reset();
    platform::gfx::graphicsShutdown(graphicsToken);
}

const platform::gfx::FontCollection& privateFontCollection() {
    auto& collection = fontCollection();
    if (!collection) {
        collection = loadModuleFonts();
    }
    return *collection;
}

} // namespace tavi

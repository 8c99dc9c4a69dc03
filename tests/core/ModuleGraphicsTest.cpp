#include "core/ModuleGraphics.h"

#include "platform/gfx/Graphics.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tavi {
namespace {

TEST(ModuleGraphicsTest, TheModuleFontsResolveToTheirInstalledFaces) {
    struct Case {
        const char* name;
        const char* family;
        bool bold;
        const char* fileName;
    };
    const auto& fonts = privateFontCollection();
    EXPECT_EQ(&privateFontCollection(), &fonts);
    ASSERT_EQ(fonts.faces().size(), 3u);
    for (const Case c :
         {Case{"Quartz", "DSEG7 Classic", false, "DSEG7Classic-Regular.ttf"},
          Case{"Arial Narrow", "Liberation Sans Narrow", true, "LiberationSansNarrow-Bold.ttf"},
          Case{"Divev Uzaze", "B612", false, "B612-Regular.otf"}}) {
        SCOPED_TRACE(c.name);
        const auto& face = fonts.face(c.name);
        EXPECT_EQ(face.name, c.name);
        EXPECT_EQ(face.family, c.family);
        EXPECT_EQ(face.bold, c.bold);
        EXPECT_FALSE(face.substituted);
        EXPECT_EQ(std::filesystem::path(face.file).filename(), c.fileName);
    }
}

TEST(ModuleGraphicsTest, ShutDownOnlyWhenUnloadIsSet) {
    const auto before = platform::gfx::graphicsCounts();
    startGraphics();
    EXPECT_EQ(platform::gfx::graphicsCounts().startups, before.startups + 1);

    const auto* fonts = &privateFontCollection();
    stopGraphics(false);
    EXPECT_EQ(platform::gfx::graphicsCounts().shutdowns, before.shutdowns);
    EXPECT_EQ(&privateFontCollection(), fonts);

    stopGraphics(true);
    EXPECT_EQ(platform::gfx::graphicsCounts().shutdowns, before.shutdowns + 1);
    EXPECT_EQ(privateFontCollection().faces().size(), 3u);
}

} // namespace
} // namespace tavi

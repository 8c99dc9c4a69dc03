#include "platform/gfx/FontCollection.h"

#include <cairo.h>
#include <filesystem>
#include <gtest/gtest.h>

namespace tavi::platform::gfx {
namespace {

// How far the text advances when drawn with the face at 20 pixels.
double advanceOf(const FontFace& face, const char* text) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 64, 64);
    cairo_t* cr = cairo_create(surface);
    cairo_set_font_face(cr, face.cairoFace.get());
    cairo_set_font_size(cr, 20.0);
    cairo_text_extents_t extents{};
    cairo_text_extents(cr, text, &extents);
    const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return ok ? extents.x_advance : -1.0;
}

struct Installed {
    const char* family;
    bool bold;
    const char* fileName;
};

class InstalledFontTest : public ::testing::TestWithParam<Installed> {};

TEST_P(InstalledFontTest, IsFoundAndLoadedUnderTheGivenName) {
    FontCollection fonts;
    ASSERT_TRUE(fonts.add("Screen", GetParam().family, GetParam().bold));
    const FontFace& face = fonts.face("screen");
    EXPECT_EQ(face.name, "Screen");
    EXPECT_EQ(face.family, GetParam().family);
    EXPECT_EQ(face.bold, GetParam().bold);
    EXPECT_FALSE(face.substituted);
    EXPECT_EQ(std::filesystem::path(face.file).filename(), GetParam().fileName);
    ASSERT_NE(face.cairoFace, nullptr);
    EXPECT_EQ(cairo_font_face_status(face.cairoFace.get()), CAIRO_STATUS_SUCCESS);
    EXPECT_GT(advanceOf(face, "88:88"), 0.0);
    EXPECT_NE(advanceOf(face, "88:88"), advanceOf(fonts.sansSerif(), "88:88"));
}

INSTANTIATE_TEST_SUITE_P(
    DebianFonts, InstalledFontTest,
    ::testing::Values(Installed{"DSEG7 Classic", false, "DSEG7Classic-Regular.ttf"},
                      Installed{"Liberation Sans Narrow", true, "LiberationSansNarrow-Bold.ttf"},
                      Installed{"B612", false, "B612-Regular.otf"}));

TEST(FontCollectionTest, AFamilyThatIsNotInstalledGetsTheSansSerifFace) {
    FontCollection fonts;
    EXPECT_FALSE(fonts.add("Quartz", "No Such Family Anywhere", false));
    const FontFace& face = fonts.face("Quartz");
    EXPECT_TRUE(face.substituted);
    EXPECT_EQ(face.family, fonts.sansSerif().family);
    EXPECT_EQ(face.cairoFace, fonts.sansSerif().cairoFace);
    EXPECT_FALSE(fonts.sansSerif().family.empty());
    EXPECT_GT(advanceOf(face, "88"), 0.0);
}

TEST(FontCollectionTest, ANameNotInTheCollectionGetsTheSansSerifFace) {
    FontCollection fonts;
    fonts.add("Quartz", "DSEG7 Classic", false);
    EXPECT_EQ(&fonts.face("Arial"), &fonts.sansSerif());
    EXPECT_EQ(fonts.faces().size(), 1u);
}

TEST(FontCollectionTest, FacesStayUsableAfterTheCollectionIsGone) {
    FontFace kept;
    {
        FontCollection fonts;
        fonts.add("Quartz", "DSEG7 Classic", false);
        kept = fonts.face("Quartz");
    }
    EXPECT_GT(advanceOf(kept, "88"), 0.0);
}

} // namespace
} // namespace tavi::platform::gfx

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

extern "C" {
typedef struct _cairo_surface cairo_surface_t;
}

namespace tavi::platform::gfx {

// A rectangle of whole pixels.
struct PixelBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A text a draw left on a surface: the corner of its layout box, in the surface's pixels.
struct ShownText {
    std::string text;
    double x = 0.0;
    double y = 0.0;
};

// A picture of whole pixels in premultiplied ARGB32, the target a screen draws into. It keeps
// its picture between draws, so a draw that is skipped leaves the last one on show. Screens draw
// in their own logical units; the surface maps that space onto its pixels.
class Surface {
public:
    Surface(int pixelWidth, int pixelHeight);
    ~Surface();
    // A clear surface of the same pixel size and logical mapping: drawn on in the same logical
    // units, its pixels fall where they would on this one.
    std::unique_ptr<Surface> blankTwin() const;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int pixelWidth() const { return pixelWidth_; }
    int pixelHeight() const { return pixelHeight_; }
    // Maps the logical width and height onto the whole surface, each axis on its own.
    void setLogicalSize(double width, double height);
    double scaleX() const { return scaleX_; }
    double scaleY() const { return scaleY_; }

    // The colour of one pixel as non-premultiplied ARGB; 0 outside the surface.
    uint32_t pixel(int x, int y) const;
    bool writePng(const std::string& path) const;
    // The squares of 16 pixels within the box that hold a pixel that is not transparent, those
    // side by side in a row joined into one box.
    std::vector<PixelBox> inkedTiles(const PixelBox& within) const;
    // The rows of premultiplied ARGB32 words, for a window to show; null when the surface failed.
    const unsigned char* data() const;
    int stride() const;

    // Set by every draw on the surface, cleared by the one who shows it.
    bool changed = false;

    // The texts the draws left on the surface, so that the simulator can read what a screen
    // shows as a crew reads it. A text drawn again at its corner replaces itself; a clear, an
    // opaque fill or a copy over a text's corner wipes it.
    const std::vector<ShownText>& texts() const { return texts_; }
    void addText(ShownText text);
    void wipeTexts(const PixelBox& box);

    cairo_surface_t* cairoSurface() const { return surface_; }

private:
    int pixelWidth_;
    int pixelHeight_;
    double scaleX_ = 1.0;
    double scaleY_ = 1.0;
    cairo_surface_t* surface_;
    std::vector<ShownText> texts_;
};

} // namespace tavi::platform::gfx

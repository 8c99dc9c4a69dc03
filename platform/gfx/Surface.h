#pragma once

#include <cstdint>
#include <string>

extern "C" {
typedef struct _cairo_surface cairo_surface_t;
}

namespace tavi::platform::gfx {

// A picture of whole pixels in premultiplied ARGB32, the target a screen draws into. It keeps
// its picture between draws, so a draw that is skipped leaves the last one on show. Screens draw
// in their own logical units; the surface maps that space onto its pixels.
class Surface {
public:
    Surface(int pixelWidth, int pixelHeight);
    ~Surface();
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
    // The rows of premultiplied ARGB32 words, for a window to show; null when the surface failed.
    const unsigned char* data() const;
    int stride() const;

    // Set by every draw on the surface, cleared by the one who shows it.
    bool changed = false;

    cairo_surface_t* cairoSurface() const { return surface_; }

private:
    int pixelWidth_;
    int pixelHeight_;
    double scaleX_ = 1.0;
    double scaleY_ = 1.0;
    cairo_surface_t* surface_;
};

} // namespace tavi::platform::gfx

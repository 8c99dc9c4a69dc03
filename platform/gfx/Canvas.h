#pragma once

#include "platform/gfx/FontCollection.h"
#include "platform/gfx/Surface.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

extern "C" {
typedef struct _cairo cairo_t;
}

namespace tavi::platform::gfx {

// Colours are non-premultiplied ARGB words, 0xAARRGGBB.
using Argb = uint32_t;

struct PointF {
    double x = 0.0;
    double y = 0.0;
};

struct SizeF {
    double width = 0.0;
    double height = 0.0;
};

struct RectF {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
};

// A line's colour and width in logical units.
struct Pen {
    Argb colour = 0xFF000000;
    double width = 1.0;
};

// A face of the font collection at a size in logical units (pixels of the logical space).
struct Font {
    Font() = default;
    Font(const FontFace& face, double size) : face(face.cairoFace), size(size) {}

    std::shared_ptr<cairo_font_face_t> face;
    double size = 12.0;
};

enum class TextAntialias { kSystemDefault, kNone, kGrey };

// A two-colour pattern laid on the device's pixels: it neither turns nor scales with the
// drawing's transform. Fifty percent alternates single pixels; the light upward diagonal draws
// one pixel-wide line rising to the right every eight pixels.
enum class HatchStyle { kFiftyPercent, kLightUpwardDiagonal };

struct Hatch {
    HatchStyle style = HatchStyle::kFiftyPercent;
    Argb fore = 0xFF000000;
    Argb back = 0xFF000000;
};

class Path;

// One draw on a surface, in the surface's logical units with x to the right and y down. Angles
// are degrees, clockwise on the screen; arcs start from the +x axis. A call that fails leaves its
// status behind and the draw goes on.
class Canvas {
public:
    explicit Canvas(Surface& surface);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Surface& target() const { return surface_; }

    // 0 while every call has succeeded, else the first failure's code.
    int status() const;

    void save();
    void restore();

    // Quality of the picture.
    void setAntialias(bool on);
    void setTextAntialias(TextAntialias mode);
    // Copying replaces what lies below; otherwise colours blend over it by their alpha.
    void setCopyCompositing(bool copy);

    // Transforms apply to what is drawn afterwards, on top of those already set.
    void resetTransform();
    void translate(double dx, double dy);
    void rotate(double degrees);
    void scale(double sx, double sy);

    // Clips narrow the area that drawing reaches; each one intersects with the current clip.
    void clipRectangle(const RectF& rect);
    void clipPolygon(const std::vector<PointF>& points);
    void clipEllipse(const RectF& bounds);
    void clipPath(const Path& path);
    // Narrows the clip to everything outside the shape.
    void clipExcludeRectangle(const RectF& rect);
    void clipExcludeEllipse(const RectF& bounds);
    void resetClip();

    // Fills the clipped area with the colour, replacing what was there.
    void clear(Argb colour);

    void drawLine(const Pen& pen, PointF from, PointF to);
    void drawRectangle(const Pen& pen, const RectF& rect);
    void fillRectangle(Argb colour, const RectF& rect);
    // A 50-percent hatch: a checkerboard of single pixels in the two colours, aligned to the
    // surface's pixels whatever the transform, so a turned rectangle keeps an even texture.
    void fillRectangleHatched(Argb fore, Argb back, const RectF& rect);
    void drawEllipse(const Pen& pen, const RectF& bounds);
    void fillEllipse(Argb colour, const RectF& bounds);
    // The arc of the ellipse inside the bounds; a sweep of 0 draws nothing and a negative one
    // turns anticlockwise.
    void drawArc(const Pen& pen, const RectF& bounds, double startDegrees, double sweepDegrees);
    void drawPolygon(const Pen& pen, const std::vector<PointF>& points);
    // Even-odd rule: where the outline crosses itself, overlapping parts alternate.
    void fillPolygon(Argb colour, const std::vector<PointF>& points);
    void fillRectangle(const Hatch& hatch, const RectF& rect);
    void fillPolygon(const Hatch& hatch, const std::vector<PointF>& points);
    void drawPath(const Pen& pen, const Path& path);
    void fillPath(Argb colour, const Path& path);
    void fillPath(const Hatch& hatch, const Path& path);

    // The whole pixels that the area (in logical units) touches.
    PixelBox pixelsOf(const RectF& area) const;
    // Lays the pixels of the picture, a surface of the same size, over those of this one within
    // the boxes, blended by their alpha and within the clip; the transform plays no part.
    void drawSurface(const Surface& picture, const std::vector<PixelBox>& boxes);
    // Makes the whole pixels the area covers (in logical units) transparent.
    void clearArea(const RectF& area);
    // Paints the picture with its top-left corner at the point, one of its pixels to one unit of
    // the current transform. Below full brightness (1) a black veil of the picture's own shape
    // darkens it.
    void drawImage(const Surface& image, PointF at, double brightness = 1.0);

    // Text on one line whose layout box has its top-left corner at the origin.
    void drawString(std::string_view utf8, const Font& font, Argb colour, PointF origin);
    // The layout box of the text: the font's line height by the advance plus the box's margins.
    // A blank measures wider than nothing although it paints nothing.
    SizeF measureString(std::string_view utf8, const Font& font);
    // The glyph outlines of the text laid out as drawString lays it out, flattened into closed
    // figures in the current user space: a shape to fill, drawn at any angle without the glyphs
    // being rendered again.
    Path textOutline(std::string_view utf8, const Font& font, PointF origin);

private:
    void setColour(Argb colour);
    void stroke(const Pen& pen);
    void ellipsePath(const RectF& bounds);
    void polygonPath(const std::vector<PointF>& points);
    void rectanglePath(const RectF& rect);
    void shapePath(const Path& path);
    void clipOutsideCurrentPath();
    void fillWithHatch(const Hatch& hatch);
    // The whole pixels a rectangle of user space covers under the present transform.
    PixelBox deviceBox(double x1, double y1, double x2, double y2) const;
    // The texts of the picture, painted with its top-left corner at the user-space point, come
    // onto this surface.
    void takeTexts(const Surface& picture, PointF at);
    void useFont(const Font& font);

    Surface& surface_;
    cairo_t* cr_;
};

} // namespace tavi::platform::gfx

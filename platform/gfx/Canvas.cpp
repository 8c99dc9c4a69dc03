#include "platform/gfx/Canvas.h"

#include "platform/gfx/Path.h"
#include "platform/gfx/Surface.h"

#include <algorithm>
#include <array>
#include <cairo.h>
#include <cmath>
#include <numbers>
#include <string>

namespace tavi::platform::gfx {

namespace {

// Text boxes carry a margin on each side of the glyphs, a sixth of the em wide, so that texts
// measured and placed by their boxes sit as the screens were laid out.
constexpr double kTextMarginEm = 1.0 / 6.0;

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

double channel(Argb colour, int shift) {
    return ((colour >> shift) & 0xFF) / 255.0;
}

// A rectangle whose width or height is negative covers the same area as its normalised form.
RectF normalised(const RectF& rect) {
    RectF result = rect;
    if (result.width < 0.0) {
        result.x += result.width;
        result.width = -result.width;
    }
    if (result.height < 0.0) {
        result.y += result.height;
        result.height = -result.height;
    }
    return result;
}

} // namespace

Canvas::Canvas(Surface& surface) : surface_(surface), cr_(cairo_create(surface.cairoSurface())) {
    surface_.changed = true;
    resetTransform();
}

Canvas::~Canvas() {
    cairo_surface_flush(surface_.cairoSurface());
    cairo_destroy(cr_);
}

int Canvas::status() const {
    return static_cast<int>(cairo_status(cr_));
}

void Canvas::save() {
    cairo_save(cr_);
}

void Canvas::restore() {
    cairo_restore(cr_);
}

void Canvas::setAntialias(bool on) {
    cairo_set_antialias(cr_, on ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void Canvas::setTextAntialias(TextAntialias mode) {
    cairo_font_options_t* options = cairo_font_options_create();
    switch (mode) {
    case TextAntialias::kSystemDefault:
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_DEFAULT);
        break;
    case TextAntialias::kNone:
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
        break;
    case TextAntialias::kGrey:
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        break;
    }
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
}

void Canvas::setCopyCompositing(bool copy) {
    cairo_set_operator(cr_, copy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
}

void Canvas::resetTransform() {
    cairo_identity_matrix(cr_);
    cairo_scale(cr_, surface_.scaleX(), surface_.scaleY());
}

void Canvas::translate(double dx, double dy) {
    cairo_translate(cr_, dx, dy);
}

void Canvas::rotate(double degrees) {
    cairo_rotate(cr_, radians(degrees));
}

void Canvas::scale(double sx, double sy) {
    if (sx != 0.0 && sy != 0.0) {
        cairo_scale(cr_, sx, sy);
    }
}

void Canvas::clipRectangle(const RectF& rect) {
    rectanglePath(rect);
    cairo_clip(cr_);
}

void Canvas::clipPolygon(const std::vector<PointF>& points) {
    polygonPath(points);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr_);
}

void Canvas::clipEllipse(const RectF& bounds) {
    ellipsePath(bounds);
    cairo_clip(cr_);
}

void Canvas::clipPath(const Path& path) {
    shapePath(path);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr_);
}

void Canvas::clipExcludeRectangle(const RectF& rect) {
    rectanglePath(rect);
    clipOutsideCurrentPath();
}

void Canvas::clipExcludeEllipse(const RectF& bounds) {
    ellipsePath(bounds);
    clipOutsideCurrentPath();
}

void Canvas::clipOutsideCurrentPath() {
    // A rectangle far beyond any screen around the shape: under the even-odd rule the clip is
    // what lies between the two.
    constexpr double kFar = 1.0e5;
    cairo_rectangle(cr_, -kFar, -kFar, 2.0 * kFar, 2.0 * kFar);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr_);
}

void Canvas::resetClip() {
    cairo_reset_clip(cr_);
}

void Canvas::clear(Argb colour) {
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
    cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
    surface_.wipeTexts(deviceBox(x1, y1, x2, y2));
    cairo_save(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    setColour(colour);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

void Canvas::drawLine(const Pen& pen, PointF from, PointF to) {
    cairo_move_to(cr_, from.x, from.y);
    cairo_line_to(cr_, to.x, to.y);
    stroke(pen);
}

void Canvas::drawRectangle(const Pen& pen, const RectF& rect) {
    rectanglePath(rect);
    stroke(pen);
}

void Canvas::fillRectangle(Argb colour, const RectF& rect) {
    if (colour >> 24 == 0xFF) {
        surface_.wipeTexts(deviceBox(rect.x, rect.y, rect.x + rect.width, rect.y + rect.height));
    }
    rectanglePath(rect);
    setColour(colour);
    cairo_fill(cr_);
}

void Canvas::fillRectangleHatched(Argb fore, Argb back, const RectF& rect) {
    cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2, 2);
    cairo_t* painter = cairo_create(tile);
    const auto paint = [painter](Argb colour, int x, int y) {
        cairo_set_source_rgba(painter, channel(colour, 16), channel(colour, 8), channel(colour, 0),
                              channel(colour, 24));
        cairo_set_operator(painter, CAIRO_OPERATOR_SOURCE);
        cairo_rectangle(painter, x, y, 1, 1);
        cairo_fill(painter);
    };
    paint(fore, 0, 0);
    paint(fore, 1, 1);
    paint(back, 1, 0);
    paint(back, 0, 1);
    cairo_destroy(painter);
    cairo_pattern_t* hatch = cairo_pattern_create_for_surface(tile);
    cairo_surface_destroy(tile);
    cairo_pattern_set_extend(hatch, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(hatch, CAIRO_FILTER_NEAREST);
    cairo_matrix_t toDevice;
    cairo_get_matrix(cr_, &toDevice);
    cairo_pattern_set_matrix(hatch, &toDevice);
    rectanglePath(rect);
    cairo_set_source(cr_, hatch);
    cairo_fill(cr_);
    cairo_pattern_destroy(hatch);
}

void Canvas::drawEllipse(const Pen& pen, const RectF& bounds) {
    ellipsePath(bounds);
    stroke(pen);
}

void Canvas::fillEllipse(Argb colour, const RectF& bounds) {
    ellipsePath(bounds);
    setColour(colour);
    cairo_fill(cr_);
}

void Canvas::drawArc(const Pen& pen, const RectF& bounds, double startDegrees,
                     double sweepDegrees) {
    if (sweepDegrees == 0.0 || bounds.width == 0.0 || bounds.height == 0.0) {
        return;
    }
    const RectF box = normalised(bounds);
    cairo_save(cr_);
    cairo_translate(cr_, box.x + box.width / 2.0, box.y + box.height / 2.0);
    cairo_scale(cr_, box.width / 2.0, box.height / 2.0);
    cairo_new_path(cr_);
    const double start = radians(startDegrees);
    const double end = radians(startDegrees + sweepDegrees);
    if (sweepDegrees > 0.0) {
        cairo_arc(cr_, 0.0, 0.0, 1.0, start, end);
    } else {
        cairo_arc_negative(cr_, 0.0, 0.0, 1.0, start, end);
    }
    cairo_restore(cr_);
    stroke(pen);
}

void Canvas::drawPolygon(const Pen& pen, const std::vector<PointF>& points) {
    polygonPath(points);
    stroke(pen);
}

void Canvas::fillPolygon(Argb colour, const std::vector<PointF>& points) {
    polygonPath(points);
    setColour(colour);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr_);
}

void Canvas::fillRectangle(const Hatch& hatch, const RectF& rect) {
    rectanglePath(rect);
    fillWithHatch(hatch);
}

void Canvas::fillPolygon(const Hatch& hatch, const std::vector<PointF>& points) {
    polygonPath(points);
    fillWithHatch(hatch);
}

void Canvas::drawPath(const Pen& pen, const Path& path) {
    shapePath(path);
    stroke(pen);
}

void Canvas::fillPath(Argb colour, const Path& path) {
    shapePath(path);
    setColour(colour);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr_);
}

void Canvas::fillPath(const Hatch& hatch, const Path& path) {
    shapePath(path);
    fillWithHatch(hatch);
}

void Canvas::fillWithHatch(const Hatch& hatch) {
    constexpr int kTile = 8;
    // Opaque colours are their own premultiplied values; a translucent hatch is not in use.
    std::array<uint32_t, kTile * kTile> pixels{};
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            const bool fore =
                hatch.style == HatchStyle::kFiftyPercent ? (x + y) % 2 == 0 : x + y == kTile - 1;
            pixels[static_cast<std::size_t>(y * kTile + x)] = fore ? hatch.fore : hatch.back;
        }
    }
    cairo_surface_t* tile = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(pixels.data()), CAIRO_FORMAT_ARGB32, kTile, kTile,
        kTile * static_cast<int>(sizeof(uint32_t)));
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
    // The pattern's space is the device's, so the hatch stays on the pixel grid.
    cairo_matrix_t toDevice;
    cairo_get_matrix(cr_, &toDevice);
    cairo_pattern_set_matrix(pattern, &toDevice);
    cairo_set_source(cr_, pattern);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr_);
    cairo_set_source_rgb(cr_, 0.0, 0.0, 0.0);
    cairo_pattern_destroy(pattern);
    cairo_surface_finish(tile);
    cairo_surface_destroy(tile);
}

PixelBox Canvas::pixelsOf(const RectF& area) const {
    const RectF box = normalised(area);
    const int left = static_cast<int>(std::floor(box.x * surface_.scaleX()));
    const int top = static_cast<int>(std::floor(box.y * surface_.scaleY()));
    const int right = static_cast<int>(std::ceil((box.x + box.width) * surface_.scaleX()));
    const int bottom = static_cast<int>(std::ceil((box.y + box.height) * surface_.scaleY()));
    return {left, top, right - left, bottom - top};
}

void Canvas::drawSurface(const Surface& picture, const std::vector<PixelBox>& boxes) {
    if (boxes.empty()) {
        return;
    }
    for (const ShownText& text : picture.texts()) {
        if (std::any_of(boxes.begin(), boxes.end(), [&](const PixelBox& box) {
                return text.x >= box.x && text.y >= box.y && text.x < box.x + box.width &&
                       text.y < box.y + box.height;
            })) {
            surface_.addText(text);
        }
    }
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    cairo_set_source_surface(cr_, picture.cairoSurface(), 0.0, 0.0);
    cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
    cairo_new_path(cr_);
    for (const PixelBox& box : boxes) {
        cairo_rectangle(cr_, box.x, box.y, box.width, box.height);
    }
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void Canvas::clearArea(const RectF& area) {
    const PixelBox box = pixelsOf(area);
    surface_.wipeTexts(box);
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    cairo_set_source_rgba(cr_, 0.0, 0.0, 0.0, 0.0);
    cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    cairo_new_path(cr_);
    cairo_rectangle(cr_, box.x, box.y, box.width, box.height);
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void Canvas::drawImage(const Surface& image, PointF at, double brightness) {
    if (cairo_get_operator(cr_) == CAIRO_OPERATOR_SOURCE) {
        surface_.wipeTexts(
            deviceBox(at.x, at.y, at.x + image.pixelWidth(), at.y + image.pixelHeight()));
    }
    takeTexts(image, at);
    cairo_save(cr_);
    cairo_set_source_surface(cr_, image.cairoSurface(), at.x, at.y);
    cairo_paint(cr_);
    if (brightness < 1.0) {
        cairo_set_source_rgba(cr_, 0.0, 0.0, 0.0, 1.0 - std::max(brightness, 0.0));
        cairo_mask_surface(cr_, image.cairoSurface(), at.x, at.y);
    }
    cairo_restore(cr_);
}

void Canvas::drawString(std::string_view utf8, const Font& font, Argb colour, PointF origin) {
    if (utf8.empty()) {
        return;
    }
    useFont(font);
    cairo_font_extents_t extents{};
    cairo_font_extents(cr_, &extents);
    setColour(colour);
    double x = origin.x;
    double y = origin.y;
    cairo_user_to_device(cr_, &x, &y);
    surface_.addText({std::string(utf8), x, y});
    cairo_move_to(cr_, origin.x + font.size * kTextMarginEm, origin.y + extents.ascent);
    cairo_show_text(cr_, std::string(utf8).c_str());
    cairo_new_path(cr_);
}

PixelBox Canvas::deviceBox(double x1, double y1, double x2, double y2) const {
    double xs[] = {x1, x2, x1, x2};
    double ys[] = {y1, y1, y2, y2};
    for (int i = 0; i < 4; ++i) {
        cairo_user_to_device(cr_, &xs[i], &ys[i]);
    }
    const int left = static_cast<int>(std::floor(*std::min_element(xs, xs + 4)));
    const int top = static_cast<int>(std::floor(*std::min_element(ys, ys + 4)));
    const int right = static_cast<int>(std::ceil(*std::max_element(xs, xs + 4)));
    const int bottom = static_cast<int>(std::ceil(*std::max_element(ys, ys + 4)));
    return {left, top, right - left, bottom - top};
}

void Canvas::takeTexts(const Surface& picture, PointF at) {
    for (const ShownText& text : picture.texts()) {
        double x = at.x + text.x;
        double y = at.y + text.y;
        cairo_user_to_device(cr_, &x, &y);
        surface_.addText({text.text, x, y});
    }
}

SizeF Canvas::measureString(std::string_view utf8, const Font& font) {
    useFont(font);
    cairo_font_extents_t fontExtents{};
    cairo_font_extents(cr_, &fontExtents);
    cairo_text_extents_t textExtents{};
    cairo_text_extents(cr_, std::string(utf8).c_str(), &textExtents);
    return {textExtents.x_advance + 2.0 * font.size * kTextMarginEm, fontExtents.height};
}

Path Canvas::textOutline(std::string_view utf8, const Font& font, PointF origin) {
    Path outline;
    if (utf8.empty()) {
        return outline;
    }
    useFont(font);
    cairo_font_extents_t extents{};
    cairo_font_extents(cr_, &extents);
    cairo_new_path(cr_);
    cairo_move_to(cr_, origin.x + font.size * kTextMarginEm, origin.y + extents.ascent);
    cairo_text_path(cr_, std::string(utf8).c_str());
    cairo_path_t* flat = cairo_copy_path_flat(cr_);
    cairo_new_path(cr_);
    if (!flat || flat->status != CAIRO_STATUS_SUCCESS) {
        cairo_path_destroy(flat);
        return outline;
    }
    std::vector<PointF> figure;
    const auto closeFigure = [&outline, &figure] {
        if (figure.size() >= 3) {
            outline.addPolygon(std::move(figure));
        }
        figure.clear();
    };
    for (int i = 0; i < flat->num_data; i += flat->data[i].header.length) {
        const cairo_path_data_t& element = flat->data[i];
        if (element.header.type == CAIRO_PATH_MOVE_TO) {
            closeFigure();
        }
        if (element.header.type == CAIRO_PATH_MOVE_TO ||
            element.header.type == CAIRO_PATH_LINE_TO) {
            figure.push_back({flat->data[i + 1].point.x, flat->data[i + 1].point.y});
        } else if (element.header.type == CAIRO_PATH_CLOSE_PATH) {
            closeFigure();
        }
    }
    closeFigure();
    cairo_path_destroy(flat);
    return outline;
}

void Canvas::setColour(Argb colour) {
    cairo_set_source_rgba(cr_, channel(colour, 16), channel(colour, 8), channel(colour, 0),
                          channel(colour, 24));
}

void Canvas::stroke(const Pen& pen) {
    setColour(pen.colour);
    cairo_set_line_width(cr_, pen.width);
    cairo_stroke(cr_);
}

void Canvas::ellipsePath(const RectF& bounds) {
    const RectF box = normalised(bounds);
    cairo_new_path(cr_);
    if (box.width == 0.0 || box.height == 0.0) {
        return;
    }
    cairo_save(cr_);
    cairo_translate(cr_, box.x + box.width / 2.0, box.y + box.height / 2.0);
    cairo_scale(cr_, box.width / 2.0, box.height / 2.0);
    cairo_arc(cr_, 0.0, 0.0, 1.0, 0.0, 2.0 * std::numbers::pi);
    cairo_close_path(cr_);
    cairo_restore(cr_);
}

void Canvas::polygonPath(const std::vector<PointF>& points) {
    cairo_new_path(cr_);
    for (const PointF& point : points) {
        cairo_line_to(cr_, point.x, point.y);
    }
    if (!points.empty()) {
        cairo_close_path(cr_);
    }
}

void Canvas::rectanglePath(const RectF& rect) {
    const RectF box = normalised(rect);
    cairo_new_path(cr_);
    cairo_rectangle(cr_, box.x, box.y, box.width, box.height);
}

void Canvas::shapePath(const Path& path) {
    cairo_new_path(cr_);
    for (const Path::Figure& figure : path.figures()) {
        if (figure.ellipse) {
            const RectF box = normalised(figure.bounds);
            if (box.width == 0.0 || box.height == 0.0) {
                continue;
            }
            cairo_new_sub_path(cr_);
            cairo_save(cr_);
            cairo_translate(cr_, box.x + box.width / 2.0, box.y + box.height / 2.0);
            cairo_scale(cr_, box.width / 2.0, box.height / 2.0);
            cairo_arc(cr_, 0.0, 0.0, 1.0, 0.0, 2.0 * std::numbers::pi);
            cairo_close_path(cr_);
            cairo_restore(cr_);
            continue;
        }
        if (figure.points.empty()) {
            continue;
        }
        cairo_move_to(cr_, figure.points.front().x, figure.points.front().y);
        for (std::size_t i = 1; i < figure.points.size(); ++i) {
            cairo_line_to(cr_, figure.points[i].x, figure.points[i].y);
        }
        if (figure.closed) {
            cairo_close_path(cr_);
        }
    }
}

void Canvas::useFont(const Font& font) {
    if (font.face) {
        cairo_set_font_face(cr_, font.face.get());
    }
    cairo_set_font_size(cr_, font.size);
}

} // namespace tavi::platform::gfx

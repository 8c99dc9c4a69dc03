#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

extern "C" {
typedef struct _cairo_font_face cairo_font_face_t;
}

namespace tavi::platform::gfx {

struct FreeTypeLibrary;

struct FontFace {
    // The name the screens ask for.
    std::string name;
    // The installed family that gives the face, and the file it was loaded from.
    std::string family;
    std::string file;
    bool bold = false;
    // The wanted family is not installed and the sans-serif face stands in for it.
    bool substituted = false;
    std::shared_ptr<cairo_font_face_t> cairoFace;
};

// Faces under the names the screens ask for, each the installed family that stands in for it,
// found through fontconfig and loaded once through FreeType. A name the collection does not
// hold, and a family that is not installed, get the system's sans-serif face.
class FontCollection {
public:
    FontCollection();
    ~FontCollection();
    FontCollection(const FontCollection&) = delete;
    FontCollection& operator=(const FontCollection&) = delete;

    // Adds the family's face under the name; false when the family is not installed, in which
    // case the sans-serif face stands in under the name.
    bool add(std::string_view name, std::string_view family, bool bold);
    // The face added under the name (without regard to case), else the sans-serif face.
    const FontFace& face(std::string_view name) const;
    const std::vector<FontFace>& faces() const { return faces_; }
    const FontFace& sansSerif() const { return sansSerif_; }

private:
    std::shared_ptr<FreeTypeLibrary> freeType_;
    std::vector<FontFace> faces_;
    FontFace sansSerif_;
};

} // namespace tavi::platform::gfx

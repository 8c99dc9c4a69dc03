#include "platform/gfx/FontCollection.h"

#include <algorithm>
#include <cairo-ft.h>
#include <cairo.h>
#include <cctype>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace tavi::platform::gfx {

// The FreeType library lives as long as the last face loaded with it, which may be held by
// Cairo's caches after the collection is gone.
struct FreeTypeLibrary {
    FreeTypeLibrary() {
        if (FT_Init_FreeType(&library) != 0) {
            library = nullptr;
        }
    }
    ~FreeTypeLibrary() {
        if (library) {
            FT_Done_FreeType(library);
        }
    }
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;

    FT_Library library = nullptr;
};

namespace {

bool equalNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

struct FontMatch {
    // The first family name of the font that matched, or the wanted one when it is among them.
    std::string family;
    std::string file;
    int index = 0;
    bool hasWantedFamily = false;
};

FontMatch matchFont(std::string_view family, bool bold) {
    FcPattern* pattern = FcPatternCreate();
    const std::string wanted(family);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(wanted.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* font = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    FontMatch match;
    if (!font) {
        return match;
    }
    FcChar8* text = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &text) == FcResultMatch) {
        match.file = reinterpret_cast<const char*>(text);
    }
    FcPatternGetInteger(font, FC_INDEX, 0, &match.index);
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &text) == FcResultMatch; ++i) {
        const std::string name = reinterpret_cast<const char*>(text);
        if (i == 0 || equalNoCase(name, family)) {
            match.family = name;
        }
        match.hasWantedFamily = match.hasWantedFamily || equalNoCase(name, family);
    }
    FcPatternDestroy(font);
    return match;
}

// What Cairo releases with a face: the FreeType face and the library's share.
struct LoadedFace {
    FT_Face face = nullptr;
    std::shared_ptr<FreeTypeLibrary> library;
};

const cairo_user_data_key_t kLoadedFaceKey{};

void releaseLoadedFace(void* data) {
    auto* loaded = static_cast<LoadedFace*>(data);
    FT_Done_Face(loaded->face);
    delete loaded;
}

std::shared_ptr<cairo_font_face_t> loadFace(const std::shared_ptr<FreeTypeLibrary>& library,
                                            const FontMatch& match) {
    FT_Face face = nullptr;
    if (!library->library || match.file.empty() ||
        FT_New_Face(library->library, match.file.c_str(), match.index, &face) != 0) {
        return nullptr;
    }
    cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_ft_face(face, 0);
    auto* loaded = new LoadedFace{face, library};
    if (cairo_font_face_set_user_data(cairoFace, &kLoadedFaceKey, loaded, releaseLoadedFace) !=
        CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(cairoFace);
        releaseLoadedFace(loaded);
        return nullptr;
    }
    return std::shared_ptr<cairo_font_face_t>(cairoFace, cairo_font_face_destroy);
}

FontFace sansSerifFace(const std::shared_ptr<FreeTypeLibrary>& library) {
    const FontMatch match = matchFont("sans-serif", false);
    FontFace face{"sans-serif", match.family, match.file, false, false, loadFace(library, match)};
    if (!face.cairoFace) {
        // No font file at all: Cairo's own choice still draws text.
        face.cairoFace = std::shared_ptr<cairo_font_face_t>(
            cairo_toy_font_face_create("sans-serif", CAIRO_FONT_SLANT_NORMAL,
                                       CAIRO_FONT_WEIGHT_NORMAL),
            cairo_font_face_destroy);
    }
    return face;
}

} // namespace

FontCollection::FontCollection()
    : freeType_(std::make_shared<FreeTypeLibrary>()), sansSerif_(sansSerifFace(freeType_)) {}

FontCollection::~FontCollection() = default;

bool FontCollection::add(std::string_view name, std::string_view family, bool bold) {
    const FontMatch match = matchFont(family, bold);
    auto cairoFace = match.hasWantedFamily ? loadFace(freeType_, match) : nullptr;
    if (cairoFace) {
        faces_.push_back({std::string(name), match.family, match.file, bold, false, cairoFace});
        return true;
    }
    FontFace standIn = sansSerif_;
    standIn.name = name;
    standIn.bold = bold;
    standIn.substituted = true;
    faces_.push_back(std::move(standIn));
    return false;
}

const FontFace& FontCollection::face(std::string_view name) const {
    const auto found = std::find_if(faces_.begin(), faces_.end(), [&](const FontFace& face) {
        return equalNoCase(face.name, name);
    });
    return found == faces_.end() ? sansSerif_ : *found;
}

} // namespace tavi::platform::gfx

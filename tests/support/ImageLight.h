#pragma once

#include <QImage>

namespace tavi::test {

// Whether any pixel of every third row and column is other than black: a screen drawn with
// content, not one left dark.
inline bool someLight(const QImage& image) {
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            if ((image.pixel(x, y) & 0x00FFFFFF) != 0) {
                return true;
            }
        }
    }
    return false;
}

} // namespace tavi::test

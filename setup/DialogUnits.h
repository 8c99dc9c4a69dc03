#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace tavi::setup {

// A control's place in dialog units.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Dialog units: a quarter of the font's average character width across, an eighth of its
// height down, so that a page laid out in them grows with its font.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    QRect rect(int x, int y, int width, int height) const;
    QRect rect(const DialogRect& area) const {
        return rect(area.x, area.y, area.width, area.height);
    }
    QSize size(int width, int height) const;

private:
    int across(int units) const;
    int down(int units) const;

    int baseWidth;
    int baseHeight;
};

} // namespace tavi::setup

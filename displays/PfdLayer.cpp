#include "displays/PfdLayer.h"

namespace tavi {

bool PfdLayer::fits(const platform::gfx::Surface& screen) const {
    return picture_ && picture_->pixelWidth() == screen.pixelWidth() &&
           picture_->pixelHeight() == screen.pixelHeight() &&
           picture_->scaleX() == screen.scaleX() && picture_->scaleY() == screen.scaleY();
}

bool PfdLayer::stale(const platform::gfx::Surface& screen, const Inputs& inputs) const {
    return !fits(screen) || inputs != inputs_;
}

platform::gfx::Surface& PfdLayer::restart(const platform::gfx::Surface& screen,
                                          const Inputs& inputs) {
    if (fits(screen)) {
        platform::gfx::Canvas(*picture_).clearArea(area_);
    } else {
        picture_ = screen.blankTwin();
    }
    inputs_ = inputs;
    inked_.clear();
    return *picture_;
}

void PfdLayer::finish() {
    inked_ = picture_->inkedTiles(platform::gfx::Canvas(*picture_).pixelsOf(area_));
}

void PfdLayer::drawOn(platform::gfx::Canvas& screen) const {
    if (picture_) {
        screen.drawSurface(*picture_, inked_);
    }
}

} // namespace tavi

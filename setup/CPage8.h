#pragma once

#include "setup/SettingsPage.h"

#include <array>

class QSlider;

namespace tavi::setup {

// "Displays": the percentage of draw calls each screen paints.
class CPage8 : public SettingsPage {
    Q_OBJECT

public:
    static constexpr int kScreens = 6;

    explicit CPage8(CTaviSheet& sheet);

protected:
    void readKeys() override;
    void writeKeys() override;

private:
    std::array<QSlider*, kScreens> sliders{};
};

} // namespace tavi::setup

#pragma once

#include "setup/TwoWayChoicePage.h"

namespace tavi::setup {

// "Flight Director": V-shaped or cross command bars.
class CPage1 : public TwoWayChoicePage {
    Q_OBJECT

public:
    explicit CPage1(CTaviSheet& sheet);
};

} // namespace tavi::setup

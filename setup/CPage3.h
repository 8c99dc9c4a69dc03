#pragma once

#include "setup/TwoWayChoicePage.h"

namespace tavi::setup {

// "Weight": fuel and weights in pounds or kilograms.
class CPage3 : public TwoWayChoicePage {
    Q_OBJECT

public:
    explicit CPage3(CTaviSheet& sheet);
};

} // namespace tavi::setup

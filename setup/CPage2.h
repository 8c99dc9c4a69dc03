#pragma once

#include "setup/TwoWayChoicePage.h"

namespace tavi::setup {

// "Pressure": baro settings in inches of mercury or hectopascals.
class CPage2 : public TwoWayChoicePage {
    Q_OBJECT

public:
    explicit CPage2(CTaviSheet& sheet);
};

} // namespace tavi::setup

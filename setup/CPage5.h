#pragma once

#include "setup/SettingsPage.h"

#include <cstdint>

class QButtonGroup;

namespace tavi::setup {

// "Startup": the state the cockpit starts in.
class CPage5 : public SettingsPage {
    Q_OBJECT

public:
    explicit CPage5(CTaviSheet& sheet);

protected:
    void readKeys() override;
    void writeKeys() override;

private:
    QButtonGroup* modes;
    // A stored value that no button stands for is kept until a button is clicked.
    int32_t startupMode = 0;
};

} // namespace tavi::setup

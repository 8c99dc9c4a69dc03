#pragma once

#include "setup/SettingsPage.h"

#include <cstdint>

class QButtonGroup;
class QCheckBox;

namespace tavi::setup {

// "Graphics": the screens' drawing quality.
class CPage4 : public SettingsPage {
    Q_OBJECT

public:
    explicit CPage4(CTaviSheet& sheet);

protected:
    void readKeys() override;
    void writeKeys() override;

private:
    QCheckBox* lineSmoothing;
    QButtonGroup* textRendering;
    QCheckBox* gammaCorrection;
    QCheckBox* colorBlending;
    // A stored value that no button stands for is kept until a button is clicked.
    int32_t textRenderingHint = 0;
};

} // namespace tavi::setup

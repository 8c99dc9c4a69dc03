#pragma once

#include "setup/SettingsPage.h"

#include <QPixmap>
#include <QSize>
#include <array>

class QButtonGroup;
class QLabel;

namespace tavi::setup {

// A page with a choice between two options kept in one [Preferences] key as 0 or 1, and a
// picture of the chosen option.
class TwoWayChoicePage : public SettingsPage {
    Q_OBJECT

public:
    using Picture = QPixmap (*)(bool option, QSize size);

    struct Option {
        const char* caption;
        DialogRect area;
    };
    struct Layout {
        const char* caption;
        int width;
        int height;
        DialogRect pictureArea;
        Option whenFalse;
        Option whenTrue;
        Picture picture;
        const char* key;
    };

    TwoWayChoicePage(CTaviSheet& sheet, const Layout& layout);

    bool choice() const { return chosen; }

protected:
    void readKeys() override;
    void writeKeys() override;

private:
    void choose(bool option);

    const char* key;
    QLabel* picture;
    QButtonGroup* options;
    std::array<QPixmap, 2> pictures;
    bool chosen = false;
};

} // namespace tavi::setup

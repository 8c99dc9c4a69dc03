#include "setup/CPage4.h"

#include "setup/CTaviSheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <array>

namespace tavi::setup {

namespace {

struct HintButton {
    const char* caption;
    DialogRect area;
};

// In the order of the hints' values, 0 to 5.
constexpr std::array<HintButton, 6> kHintButtons{{
    {"System Default", {10, 33, 65, 10}},
    {"Hinting", {10, 44, 38, 10}},
    {"No Hinting", {10, 55, 49, 10}},
    {"Antialiasing with Hinting", {10, 65, 91, 10}},
    {"Antialiasing", {10, 76, 52, 10}},
    {"ClearType (Win XP and later)", {10, 88, 109, 10}},
}};

constexpr int32_t kDefaultHint = 4;

} // namespace

CPage4::CPage4(CTaviSheet& sheet)
    : SettingsPage(sheet, "Graphics", 235, 156),
      lineSmoothing(place(new QCheckBox("Line Antialiasing"), 7, 7, 67, 10)),
      textRendering(new QButtonGroup(this)),
      gammaCorrection(place(new QCheckBox("Gamma Correction (2.2)"), 7, 110, 93, 10)),
      colorBlending(place(new QCheckBox("Blend Colors"), 7, 126, 55, 10)) {
    place(new QGroupBox("Text Rendering"), 7, 22, 115, 81)->lower();
    for (std::size_t hint = 0; hint < kHintButtons.size(); ++hint) {
        textRendering->addButton(
            place(new QRadioButton(kHintButtons[hint].caption), kHintButtons[hint].area),
            static_cast<int>(hint));
    }
    connect(textRendering, &QButtonGroup::idClicked, this,
            [this](int id) { textRenderingHint = id; });
}

void CPage4::readKeys() {
    lineSmoothing->setChecked(sheet().readBool("GDI+", "lineSmoothing", true));
    textRenderingHint = sheet().readInt("GDI+", "textRenderingHint", kDefaultHint);
    if (QAbstractButton* button = textRendering->button(textRenderingHint)) {
        button->setChecked(true);
    }
    gammaCorrection->setChecked(sheet().readBool("GDI+", "gammaCorrection", true));
    colorBlending->setChecked(sheet().readBool("GDI+", "colorBlending", true));
}

void CPage4::writeKeys() {
    sheet().writeBool("GDI+", "lineSmoothing", lineSmoothing->isChecked());
    sheet().writeInt("GDI+", "textRenderingHint", textRenderingHint);
    sheet().writeBool("GDI+", "gammaCorrection", gammaCorrection->isChecked());
    sheet().writeBool("GDI+", "colorBlending", colorBlending->isChecked());
}

} // namespace tavi::setup

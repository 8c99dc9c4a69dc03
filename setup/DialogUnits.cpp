#include "setup/DialogUnits.h"

#include <QFontMetrics>
#include <QString>

namespace tavi::setup {

namespace {

constexpr int kAlphabetLetters = 52;

// a * b / c rounded to the nearest.
int scaled(int a, int b, int c) {
    return (a * b + c / 2) / c;
}

} // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseWidth = scaled(alphabetWidth, 1, kAlphabetLetters);
    baseHeight = metrics.height();
}

int DialogUnits::across(int units) const {
    return scaled(units, baseWidth, 4);
}

int DialogUnits::down(int units) const {
    return scaled(units, baseHeight, 8);
}

QRect DialogUnits::rect(int x, int y, int width, int height) const {
    return {across(x), down(y), across(width), down(height)};
}

QSize DialogUnits::size(int width, int height) const {
    return {across(width), down(height)};
}

} // namespace tavi::setup

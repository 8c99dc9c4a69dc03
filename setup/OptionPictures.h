#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

// The pictures of the two-way choices and the program's icon, drawn in code.
namespace tavi::setup {

// The attitude indicator with V-shaped command bars (true) or cross bars (false).
QPixmap flightDirectorPicture(bool vShape, QSize size);
// A baro setting in hectopascals (true) or inches of mercury (false).
QPixmap pressurePicture(bool hectopascals, QSize size);
// A fuel quantity in kilograms (true) or pounds (false).
QPixmap weightPicture(bool kilograms, QSize size);
QIcon programIcon();

} // namespace tavi::setup

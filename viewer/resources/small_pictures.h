// The small pictures: the two resolution plates (640.bmp, 1280.bmp) and the program icon.
#pragma once

#include <QImage>
#include <QString>

// A 100 x 20 plate with `text` centred on it.
QImage drawResolutionPicture(const QString& text);
// The 32 x 32 program icon: a camera lens.
QImage drawProgramIcon();

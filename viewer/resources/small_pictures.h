// The small pictures: the two resolution plates (640.bmp, 1280.bmp), the program icon and the drag cursor.
#pragma once

#include <QImage>
#include <QString>

// A 100 x 20 plate with `text` centred on it.
QImage drawResolutionPicture(const QString& text);
// The 32 x 32 program icon: a camera lens.
QImage drawProgramIcon();
// The 32 x 32 drag cursor: four arrows from the middle, white edged in black on a clear ground.
QImage drawDragCursor();

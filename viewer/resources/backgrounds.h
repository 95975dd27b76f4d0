// The two 1024 x 768 background pictures of the main window.
#pragma once

#include <QImage>

// Preview mode: panels behind the controls and a pure black picture area, which the window treats as
// transparent so the live picture shows through.
QImage drawPreviewBackground();
// Edit mode: the same frame with the picture commands' panel and a dark grey view area.
QImage drawEditBackground();

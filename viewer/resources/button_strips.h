// The button strips: three looks (normal, under the mouse, pressed) of each bitmap button.
#pragma once

#include <QImage>

#include <vector>

struct ButtonStrip {
    int id;       // bitmap resource id
    QImage image; // three frames side by side
};

// Every strip the main dialog loads, each frame the size of its buttons.
std::vector<ButtonStrip> drawButtonStrips();

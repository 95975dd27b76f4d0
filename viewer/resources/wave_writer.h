// Writing the snapshot sound as a PCM WAV file.
#pragma once

#include <QString>

// Writes a short two-tone click (16-bit mono PCM, 22050 Hz, about 120 ms). False when it cannot be written.
bool writeClickWave(const QString& path);

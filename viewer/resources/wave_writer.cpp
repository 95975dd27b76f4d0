// PCM WAV writer for folder.wav: a short decaying two-tone click.
#include "wave_writer.h"

#include <QFile>

#include "byte_writer.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr uint32_t kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

void putTag(std::vector<char>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

} // namespace

bool writeClickWave(const QString& path) {
    const uint32_t samples = kRate * 12 / 100;
    std::vector<char> out;
    putTag(out, "RIFF");
    put32(out, 36 + samples * 2);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, kRate);
    put32(out, kRate * 2);
    put16(out, 2);
    put16(out, 16);
    putTag(out, "data");
    put32(out, samples * 2);
    for (uint32_t i = 0; i < samples; ++i) {
        const double t = double(i) / kRate;
        // A shutter-like click: a high tone for the first half, a lower one after, both fading out.
        const double tone = t < 0.05 ? std::sin(2 * kPi * 2200 * t) : std::sin(2 * kPi * 1400 * t);
        const double envelope = std::exp(-t * 40.0);
        put16(out, uint16_t(int16_t(std::lround(tone * envelope * 12000))));
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(out.data(), qint64(out.size())) == qint64(out.size());
}

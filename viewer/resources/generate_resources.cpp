// Build tool: writes the files the program needs beside it and its button bitmaps into a folder.
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

#include "backgrounds.h"
#include "bmp_writer.h"
#include "button_strips.h"
#include "small_pictures.h"
#include "wave_writer.h"

namespace {

const char kReadme[] =
    "Korvi Camera Viewer\r\n"
    "===================\r\n"
    "\r\n"
    "The window shows the live camera picture. The column on the right adjusts the camera:\r\n"
    "  Size       resolution, 640 x 480 or 1280 x 1024\r\n"
    "  Bright, Contrast, Satuation, Sharp, Gamma, Expose\r\n"
    "             click - or +, hold them to repeat, or click or drag on the bar\r\n"
    "\r\n"
    "Buttons below: snapshot, AVI recording, settings. Snapshots fill the strip of seven\r\n"
    "thumbnails and are saved in a folder per day under the save path of the settings.\r\n"
    "Click a thumbnail or the EDIT button to edit a picture.\r\n"
    "\r\n"
    "Keys:\r\n"
    "  F1   this file\r\n"
    "  F5   snapshot\r\n"
    "  F6   start or stop recording\r\n"
    "  F7   English / Chinese\r\n"
    "  F11  full screen on or off (Esc leaves full screen)\r\n"
    "  Esc  quit\r\n";

// Settings written on the first build only, so that later builds keep what the program saved.
const char kSettings[] = "[Orvanel]\r\n"
                         "nBrightness=80\r\n"
                         "nContrast=36\r\n"
                         "nSaturation=36\r\n"
                         "nSharpness=10\r\n"
                         "nGamma=15\r\n"
                         "strSavePath=C:\\\r\n"
                         "nSaveFormat=0\r\n"
                         "nCapFormat=0\r\n"
                         "bQuality=1\r\n"
                         "bShow=0\r\n";

bool writeText(const QString& path, const char* text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const qint64 size = qint64(qstrlen(text));
    return file.write(text, size) == size;
}

bool check(bool ok, const QString& path) {
    if (!ok)
        std::fprintf(stderr, "generate_resources: cannot write %s\n", qPrintable(path));
    return ok;
}

} // namespace

// Usage: generate_resources <program folder>. Writes main.bmp, image.bmp, 640.bmp, 1280.bmp,
// readme.txt, folder.wav, Orvanel.ini (when missing), resources/<id>.bmp for every button strip and
// the icon, and the drag cursor resources/130.png.
int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: generate_resources <program folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath("resources")) {
        std::fprintf(stderr, "generate_resources: cannot create %s/resources\n", argv[1]);
        return 1;
    }
    bool ok = true;
    auto bmp = [&](const QImage& image, const QString& name) {
        ok = check(writeBmp24(image, out.filePath(name)), out.filePath(name)) && ok;
    };
    bmp(drawPreviewBackground(), "main.bmp");
    bmp(drawEditBackground(), "image.bmp");
    bmp(drawResolutionPicture("640 x 480"), "640.bmp");
    bmp(drawResolutionPicture("1280 x 1024"), "1280.bmp");
    for (const ButtonStrip& strip : drawButtonStrips())
        bmp(strip.image, QString("resources/%1.bmp").arg(strip.id));
    bmp(drawProgramIcon(), "resources/128.bmp");
    const QString cursor = out.filePath("resources/130.png");
    ok = check(drawDragCursor().save(cursor, "PNG"), cursor) && ok;

    ok = check(writeText(out.filePath("readme.txt"), kReadme), out.filePath("readme.txt")) && ok;
    ok = check(writeClickWave(out.filePath("folder.wav")), out.filePath("folder.wav")) && ok;
    if (!QFile::exists(out.filePath("Orvanel.ini")))
        ok = check(writeText(out.filePath("Orvanel.ini"), kSettings), out.filePath("Orvanel.ini")) && ok;
    return ok ? 0 : 1;
}

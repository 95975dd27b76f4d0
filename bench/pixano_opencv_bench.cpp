// OpenCV's equivalents of the Pixano kernels, one thread, timed like them against a memcpy of the buffer.
#include "pixel_timing.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <string>

namespace {

using pixelbench::kHeight;
using pixelbench::kWidth;
using pixelbench::Picture;

cv::Mat colourOf(unsigned char* p) { return cv::Mat(kHeight, kWidth, CV_8UC3, p); }
cv::Mat greyOf(unsigned char* p) { return cv::Mat(kHeight, kWidth, CV_8UC1, p); }

// Registers "OpenCV/<name>": `operation(unsigned char*)` on a fresh copy of `picture` each iteration.
template <typename Operation>
void add(const std::string& name, const Picture& picture, Operation operation) {
    benchmark::RegisterBenchmark(("OpenCV/" + name).c_str(),
                                 [&picture, operation](benchmark::State& state) {
                                     pixelbench::timeAgainstMemcpy(state, picture, operation);
                                 })
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
}

// A table mapping every byte through `curve(v)`.
template <typename Curve> cv::Mat lookupTable(Curve curve) {
    cv::Mat table(1, 256, CV_8U);
    for (int v = 0; v < 256; ++v) {
        table.at<unsigned char>(v) = cv::saturate_cast<unsigned char>(curve(v));
    }
    return table;
}

const bool registered = [] {
    cv::setNumThreads(0);
    const Picture& colour = pixelbench::colourScene();
    const Picture& grey = pixelbench::greyScene();
    static Picture yuv = colour;
    cv::Mat yuvMat = colourOf(yuv.data());
    cv::cvtColor(yuvMat.clone(), yuvMat, cv::COLOR_BGR2YUV);
    static Picture hls = colour;
    cv::Mat hlsMat = colourOf(hls.data());
    cv::cvtColor(hlsMat.clone(), hlsMat, cv::COLOR_BGR2HLS_FULL);

    const cv::Mat colourOut(kHeight, kWidth, CV_8UC3);
    const cv::Mat greyOut(kHeight, kWidth, CV_8UC1);
    add("Negative24", colour, [](unsigned char* p) { cv::Mat m = colourOf(p); cv::bitwise_not(m, m); });
    add("Flip24", colour, [](unsigned char* p) { cv::Mat m = colourOf(p); cv::flip(m, m, 0); });
    add("Mirror24", colour, [out = colourOut](unsigned char* p) mutable { cv::flip(colourOf(p), out, 1); });
    add("Color24To8", colour,
        [out = greyOut](unsigned char* p) mutable { cv::cvtColor(colourOf(p), out, cv::COLOR_BGR2GRAY); });
    add("Threshold24", colour, [out = greyOut](unsigned char* p) mutable {
        cv::cvtColor(colourOf(p), out, cv::COLOR_BGR2GRAY);
        cv::threshold(out, out, 128, 255, cv::THRESH_BINARY);
    });
    add("Threshold8", grey, [](unsigned char* p) {
        cv::Mat m = greyOf(p);
        cv::threshold(m, m, 128, 255, cv::THRESH_BINARY);
    });
    add("Contrast24", colour, [](unsigned char* p) {
        cv::Mat m = colourOf(p);
        m.convertTo(m, -1, 1.4, 10 + 128 * (1 - 1.4));
    });
    const cv::Mat gamma = lookupTable([](int v) { return std::pow((v + 1) / 256.0, 0.6) * 255.0; });
    add("Gamma24", colour, [gamma](unsigned char* p) { cv::Mat m = colourOf(p); cv::LUT(m, gamma, m); });
    const cv::Mat stretch = lookupTable([](int v) { return (v - 20) * 255.0 / 210.0; });
    add("Stretch24", colour, [stretch](unsigned char* p) { cv::Mat m = colourOf(p); cv::LUT(m, stretch, m); });
    add("Equalize24", colour, [](unsigned char* p) {
        cv::Mat m = colourOf(p);
        cv::Mat planes[3];
        cv::split(m, planes);
        for (cv::Mat& plane : planes) {
            cv::equalizeHist(plane, plane);
        }
        cv::merge(planes, 3, m);
    });
    add("Equalize8", grey, [](unsigned char* p) { cv::Mat m = greyOf(p); cv::equalizeHist(m, m); });
    add("RGBtoYUV", colour,
        [out = colourOut](unsigned char* p) mutable { cv::cvtColor(colourOf(p), out, cv::COLOR_BGR2YUV); });
    add("YUVtoRGB", yuv,
        [out = colourOut](unsigned char* p) mutable { cv::cvtColor(colourOf(p), out, cv::COLOR_YUV2BGR); });
    add("RGBtoHSL", colour,
        [out = colourOut](unsigned char* p) mutable { cv::cvtColor(colourOf(p), out, cv::COLOR_BGR2HLS_FULL); });
    add("HSLtoRGB", hls,
        [out = colourOut](unsigned char* p) mutable { cv::cvtColor(colourOf(p), out, cv::COLOR_HLS2BGR_FULL); });

    // The 3x3 filter table, weights over divisor plus offset.
    struct Filter {
        const char* name;
        float weights[9];
        float divisor;
        double offset;
    };
    const Filter filters[] = {
        {"Sharpen", {0, -2, 0, -2, 11, -2, 0, -2, 0}, 3, 0},
        {"Highpass", {-1, -1, -1, -1, 9, -1, -1, -1, -1}, 1, 0},
        {"Emboss", {1, 1, 1, 0, 0, 0, -1, -1, -1}, 1, 127},
        {"Edge", {-1, 0, -1, 0, 4, 0, -1, 0, -1}, 1, 127},
        {"Smooth", {1, 2, 1, 2, 4, 2, 1, 2, 1}, 16, 0},
    };
    for (const Filter& f : filters) {
        const cv::Mat weights = cv::Mat(3, 3, CV_32F, const_cast<float*>(f.weights)).clone() / f.divisor;
        const double offset = f.offset;
        add(std::string(f.name) + "24", colour, [weights, offset, out = colourOut](unsigned char* p) mutable {
            cv::filter2D(colourOf(p), out, -1, weights, cv::Point(-1, -1), offset);
        });
        add(std::string(f.name) + "8", grey, [weights, offset, out = greyOut](unsigned char* p) mutable {
            cv::filter2D(greyOf(p), out, -1, weights, cv::Point(-1, -1), offset);
        });
    }
    return true;
}();

} // namespace

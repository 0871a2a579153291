// Helpers shared by the conversion tests: a host that records what a scan tells it and
// can be cancelled, pictures built pixel by pixel, and a per-pixel reference scan.
#pragma once

#include "convert/CharacterTable.h"
#include "convert/ConversionSettings.h"
#include "convert/MakeColorCell.h"
#include "convert/ScanHost.h"
#include "convert/ScanSink.h"
#include "imageops/PictureSurface.h"
#include "imageops/SelectionRect.h"
#include "platform/Rounding.h"

#include <QImage>
#include <QList>
#include <QStringList>
#include <atomic>
#include <functional>
#include <limits>

namespace testsupport {

// Keeps what a streamed scan writes; refuses writes once it holds refuseAfter bytes.
class CollectingSink : public mGlyfora::ScanSink {
public:
    bool Write(const char* data, qsizetype size) override {
        if (refuseAfter >= 0 && bytes.size() + size > refuseAfter)
            return false;
        bytes.append(data, size);
        return true;
    }
    QString ErrorString() const override { return QStringLiteral("No space left on device"); }

    QByteArray bytes;
    qsizetype refuseAfter = -1;
};

class RecordingHost : public mGlyfora::ScanHost {
public:
    void SetProgressRange(int minimum, int maximum) override { ranges.append({minimum, maximum}); }
    void SetProgress(int position) override {
        positions.append(position);
        if (onProgress)
            onProgress(position);
    }
    void ProcessEvents() override {
        if (onEvents)
            onEvents(eventCalls);
        ++eventCalls;
    }
    void ReportError(const QString& message) override { errors.append(message); }
    bool CancelRequested() const override { return cancel || ScanHost::CancelRequested(); }
    qint64 ResultMemoryLimit() const override {
        return memoryLimit ? memoryLimit : std::numeric_limits<qint64>::max();
    }

    QList<QPair<int, int>> ranges;
    QList<int> positions;
    int eventCalls = 0;
    QStringList errors;
    qint64 memoryLimit = 0;
    std::atomic<bool> cancel{false}; // may be set from another thread
    std::function<void(int call)> onEvents;
    std::function<void(int position)> onProgress;
};

inline PictureSurface SurfaceOf(const QImage& image) {
    PictureSurface surface;
    surface.Assign(image);
    return surface;
}

// A picture of one solid colour.
inline PictureSurface SolidSurface(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return SurfaceOf(image);
}

// Grey level of column x chosen so that the ramp "0123456789ABCDEF" gives character x.
inline PictureSurface ColumnIndexSurface(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int grey = 255 - 16 * (x % 16);
            image.setPixel(x, y, qRgb(grey, grey, grey));
        }
    }
    return SurfaceOf(image);
}

// A repeatable pseudo-random picture.
inline PictureSurface NoiseSurface(int width, int height, quint32 seed) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xFF000000u | seed >> 8);
        }
    }
    return SurfaceOf(image);
}

// The scan written straight from its rules, one pixel read at a time, without any file.
inline QString ReferenceScan(const PictureSurface& picture, const mGlyfora::SelectionRect& cut,
                             bool html) {
    using namespace mGlyfora;
    const ConversionSettingsRecord& cs = ConversionSettings;
    if (!html && !(cs.Reverse ? FillCharacterTableReverse() : FillCharacterTable()))
        return QString();
    qint64 left = 0, top = 0, right = picture.ScaleWidth(), bottom = picture.ScaleHeight();
    if (cut.Visible) {
        left = platform::RoundHalfEven(cut.Left);
        top = platform::RoundHalfEven(cut.Top);
        right = platform::RoundHalfEven(float(cut.Left + cut.Width));
        bottom = platform::RoundHalfEven(float(cut.Top + cut.Height));
    }
    QString text;
    for (qint64 y = top; y <= bottom - 1; y += cs.Y) {
        for (qint64 x = left; x <= right - 1; x += cs.X) {
            const Colour colour = picture.Point(int(x), int(y));
            if (colour != platform::InvalidColour)
                text += html ? MakeColorCell(colour) : PickCharacter(colour);
        }
        text += QStringLiteral("\r\n");
    }
    text.chop(2);
    return text;
}

} // namespace testsupport

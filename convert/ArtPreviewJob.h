// One computation of the options dialog's live preview, made off the GUI thread: the art
// of a picture (or its selection) at the cells a view holds, in the dialog's choices.
#pragma once

#include "convert/ArtEngine.h"
#include "convert/ArtLooks.h"

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QStringList>
#include <atomic>
#include <memory>
#include <optional>

namespace mGlyfora {

struct PreviewJob {
    QImage picture; // the whole working picture, shared, never changed meanwhile
    QRectF region;  // of the picture, non-empty
    QSize cells;    // columns x rows
    LookOptions look;
    bool luminance = false; // exact: brightness as luminance
    QString ramp;           // a usable ramp
    bool reverse = false;
    // Kept between jobs: the characters' glyphs (tone, shape) and a reduced copy of the
    // region; a job makes those it lacks and hands them back.
    std::shared_ptr<const GlyphMeasures> glyphs;
    QImage reduced;
};

struct PreviewResult {
    std::optional<QStringList> rows; // nothing when abandoned
    std::shared_ptr<const GlyphMeasures> glyphs;
    QImage reduced;
};

// The cells that show a region of `regionSize` pixels with its shape in a view of
// `viewSize` pixels whose cells are `cell` pixels; at least 1 x 1.
QSize PreviewCells(QSizeF regionSize, QSize viewSize, QSizeF cell);

// The pixels a reduced copy needs for any look at `cells`.
QSize PreviewPixels(QSize cells);

// The exact scan at `cells`: each cell the ramp character of the pixel at its top-left.
std::optional<QStringList> PreviewExact(const PreviewJob& job, const std::atomic<bool>& abandon);

PreviewResult MakePreview(PreviewJob job, const std::atomic<bool>& abandon);

} // namespace mGlyfora

// The preview's computation.
#include "convert/ArtPreviewJob.h"

#include "convert/CharacterTable.h"
#include "convert/Luminance.h"
#include "convert/ProgramLooks.h"

#include <algorithm>
#include <cmath>

namespace mGlyfora {

QSize PreviewCells(QSizeF regionSize, QSize viewSize, QSizeF cell) {
    if (regionSize.isEmpty() || cell.isEmpty())
        return QSize(1, 1);
    const double maxColumns = std::max(1.0, std::floor(viewSize.width() / cell.width()));
    const double maxRows = std::max(1.0, std::floor(viewSize.height() / cell.height()));
    // Columns per row that keep the region's shape on screen.
    const double shape =
        (regionSize.width() / regionSize.height()) * (cell.height() / cell.width());
    double columns = maxColumns;
    double rows = std::round(columns / shape);
    if (rows > maxRows) {
        rows = maxRows;
        columns = std::round(rows * shape);
    }
    return QSize(int(std::clamp(columns, 1.0, maxColumns)), int(std::clamp(rows, 1.0, maxRows)));
}

QSize PreviewPixels(QSize cells) {
    return PixelsNeeded(ArtStyle::Tone, cells).expandedTo(PixelsNeeded(ArtStyle::Shape, cells));
}

std::optional<QStringList> PreviewExact(const PreviewJob& job, const std::atomic<bool>& abandon) {
    const QImage image = job.picture.format() == QImage::Format_RGB32 ||
                                 job.picture.format() == QImage::Format_ARGB32
                             ? job.picture
                             : job.picture.convertToFormat(QImage::Format_RGB32);
    const std::optional<QStringList> table = MakeCharacterTable(job.ramp, job.reverse);
    if (!table)
        return QStringList();
    const int n = int(table->size());
    QStringList rows;
    const QRect inside = job.region.toAlignedRect() & image.rect();
    if (inside.isEmpty())
        return QStringList();
    for (int r = 0; r < job.cells.height(); ++r) {
        if (abandon.load(std::memory_order_relaxed))
            return std::nullopt;
        const int y = std::clamp(
            int(std::floor(job.region.top() + r * job.region.height() / job.cells.height())),
            inside.top(), inside.bottom());
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QString row;
        for (int c = 0; c < job.cells.width(); ++c) {
            const int x = std::clamp(
                int(std::floor(job.region.left() + c * job.region.width() / job.cells.width())),
                inside.left(), inside.right());
            const QRgb pixel = line[x];
            const int m = job.luminance ? int(LuminanceByte(pixel))
                                        : std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)});
            row += table->at(CharacterIndex(m, n));
        }
        rows << row;
    }
    return rows;
}

PreviewResult MakePreview(PreviewJob job, const std::atomic<bool>& abandon) {
    PreviewResult result;
    if (job.look.style == ArtStyle::Exact) {
        result.rows = PreviewExact(job, abandon);
        return result;
    }
    if (!job.glyphs)
        job.glyphs = ProgramGlyphs(job.look, ProgramCharacters(job.look.style, job.ramp));
    result.glyphs = job.glyphs;
    const QSize needed = PreviewPixels(job.cells);
    if (job.reduced.isNull() || job.reduced.width() < needed.width() ||
        job.reduced.height() < needed.height())
        job.reduced = ReduceForArt(job.picture, job.region, needed);
    result.reduced = job.reduced;
    if (!job.glyphs || job.reduced.isNull() || abandon.load())
        return result;
    ArtRequest request;
    request.look = job.look;
    request.glyphs = job.glyphs;
    request.region = QRectF(QPointF(0, 0), QSizeF(job.reduced.size()));
    request.cells = job.cells;
    result.rows = PreviewArt(job.reduced, request, abandon);
    return result;
}

} // namespace mGlyfora

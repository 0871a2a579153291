// The looks beyond the program's scan: each art row's samples taken by area, each cell
// given the character (and colours) that best show them, the rows written as they come.
#include "convert/ArtEngine.h"

#include "convert/AreaSampler.h"
#include "convert/ArtCellChooser.h"
#include "convert/ArtWriter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <new>

namespace mGlyfora {

namespace {

ScanOutcome Failure(ScanStatus status, const QString& reason) {
    return ScanOutcome{QString(), status, reason};
}

QImage Rgb32(const QImage& picture) {
    if (picture.format() == QImage::Format_RGB32)
        return picture;
    if (!picture.hasAlphaChannel())
        return picture.convertToFormat(QImage::Format_RGB32);
    QImage flat(picture.size(), QImage::Format_RGB32);
    if (flat.isNull())
        return flat;
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, picture);
    return flat;
}

// A host that shows nothing and stops when its flag is set.
class AbandonableHost : public NullScanHost {
public:
    explicit AbandonableHost(const std::atomic<bool>& abandon) : abandon_(abandon) {}
    bool CancelRequested() const override { return abandon_.load(std::memory_order_relaxed); }

private:
    const std::atomic<bool>& abandon_;
};

// The art's rows one at a time into `emit(row, cells)`; false from emit stops it.
template <typename Emit>
ScanOutcome MakeArt(const QImage& picture, const ArtRequest& request, ScanHost& host, Emit emit) {
    const QSize cells = request.cells;
    if (cells.width() < 1 || cells.height() < 1 || picture.isNull() ||
        !(request.region.width() > 0) || !(request.region.height() > 0) ||
        request.look.style == ArtStyle::Exact)
        return Failure(ScanStatus::EmptyRegion, QStringLiteral("the region holds no cell"));
    if ((request.look.style == ArtStyle::Tone || request.look.style == ArtStyle::Shape) &&
        (!request.glyphs || request.glyphs->glyphs.empty()))
        return Failure(ScanStatus::BadSettings, QStringLiteral("no characters to choose among"));
    try {
        const QImage rgb = Rgb32(picture);
        if (rgb.isNull())
            return Failure(ScanStatus::OutOfMemory, QString());
        const QSize per = SamplesPerCell(request.look.style);
        const int width = cells.width() * per.width();
        AreaSampler sampler(rgb, request.region, width, cells.height() * per.height());
        ArtPlanes planes;
        const size_t band = size_t(width) * size_t(per.height());
        planes.r.resize(band);
        planes.g.resize(band);
        planes.b.resize(band);
        planes.y.resize(band);
        ArtCellChooser chooser(request);
        std::vector<ArtCell> row(size_t(cells.width()));
        host.SetProgressRange(0, cells.height());
        for (int k = 0; k < cells.height(); ++k) {
            host.ProcessEvents();
            if (host.CancelRequested())
                return Failure(ScanStatus::Cancelled, QStringLiteral("cancelled"));
            for (int j = 0; j < per.height(); ++j) {
                const size_t at = size_t(j) * size_t(width);
                sampler.Row(k * per.height() + j, &planes.r[at], &planes.g[at], &planes.b[at]);
                for (size_t i = at; i < at + size_t(width); ++i)
                    planes.y[i] = Luminance(planes.r[i], planes.g[i], planes.b[i]);
            }
            chooser.Choose(planes, row);
            if (!emit(k, row))
                return Failure(ScanStatus::FileError, QString());
            host.SetProgress(k + 1);
        }
    } catch (const std::bad_alloc&) {
        return Failure(ScanStatus::OutOfMemory, QString());
    }
    return ScanOutcome();
}

} // namespace

QSize SamplesPerCell(ArtStyle style) {
    switch (style) {
    case ArtStyle::Shape:
        return QSize(GlyphZoneColumns, GlyphZoneRows);
    case ArtStyle::Blocks:
        return QSize(8, 8);
    case ArtStyle::Braille:
        return QSize(2, 4);
    default:
        return QSize(1, 1);
    }
}

QSize PixelsNeeded(ArtStyle style, QSize cells) {
    QSize per = SamplesPerCell(style);
    // Blocks' halves and quadrants need 2 x 2 pixels a cell, and 4 x 4 place its eighths
    // by area between pixels near enough: a picture halved again decodes a quarter as
    // many, for art within 0.005 of the full picture's (bench/art_fidelity).
    if (style == ArtStyle::Blocks)
        per /= 2;
    return QSize(cells.width() * per.width(), cells.height() * per.height());
}

ScanOutcome StreamArt(const QImage& picture, const ArtRequest& request, ScanHost& host,
                      ScanSink& sink) {
    ArtWriter writer(request.encoding, request.look.paper);
    QByteArray out;
    const int last = request.cells.height() - 1;
    ScanOutcome outcome =
        MakeArt(picture, request, host, [&](int k, const std::vector<ArtCell>& row) {
            writer.Row(row.data(), int(row.size()), k == 0, k == last, out);
            // Rows go out in writes of a useful size.
            if (out.size() < (64 << 10) && k != last)
                return true;
            const bool ok = sink.Write(out.constData(), out.size());
            out.clear();
            return ok;
        });
    if (outcome.status == ScanStatus::FileError)
        outcome.reason = sink.ErrorString();
    else if (outcome.status == ScanStatus::Cancelled && !out.isEmpty())
        sink.Write(out.constData(), out.size()); // what was made stays written
    return outcome;
}

std::optional<QStringList> PreviewArt(const QImage& picture, const ArtRequest& request,
                                      const std::atomic<bool>& abandon) {
    ArtRequest text = request;
    text.encoding = ArtEncoding::Text;
    ArtWriter writer(ArtEncoding::Text, request.look.paper);
    QStringList rows;
    // The preview's cancel is its abandon flag alone.
    AbandonableHost host(abandon);
    QByteArray out;
    const ScanOutcome outcome =
        MakeArt(picture, text, host, [&](int, const std::vector<ArtCell>& row) {
            out.clear();
            writer.Row(row.data(), int(row.size()), false, false, out);
            out.chop(2);
            rows << QString::fromUtf8(out);
            return true;
        });
    if (outcome.status != ScanStatus::Done)
        return std::nullopt;
    return rows;
}

QImage ReduceForArt(const QImage& picture, const QRectF& region, QSize size) {
    if (picture.isNull() || size.isEmpty() || !(region.width() > 0) || !(region.height() > 0))
        return QImage();
    try {
        const QImage rgb = Rgb32(picture);
        QImage reduced(size, QImage::Format_RGB32);
        if (rgb.isNull() || reduced.isNull())
            return QImage();
        AreaSampler sampler(rgb, region, size.width(), 1 * size.height());
        std::vector<float> r(size_t(size.width())), g(r.size()), b(r.size());
        for (int y = 0; y < size.height(); ++y) {
            sampler.Row(y, r.data(), g.data(), b.data());
            auto* line = reinterpret_cast<QRgb*>(reduced.scanLine(y));
            for (int x = 0; x < size.width(); ++x)
                line[x] = qRgb(SrgbFromLinear(r[size_t(x)]), SrgbFromLinear(g[size_t(x)]),
                               SrgbFromLinear(b[size_t(x)]));
        }
        return reduced;
    } catch (const std::bad_alloc&) {
        return QImage();
    }
}

} // namespace mGlyfora

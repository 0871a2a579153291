// Load, cut, scan and write one picture for glyfora-convert.
#include "cli/PictureConversion.h"

#include "cli/StandardInputPicture.h"
#include "cli/ToolText.h"
#include "convert/CellSampling.h"
#include "convert/ConvertScan.h"
#include "convert/ScanRegion.h"
#include "imageops/PictureLoader.h"
#include "imageops/PictureSurface.h"
#include "platform/ErrorText.h"
#include "platform/OutputFile.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <new>
#include <shared_mutex>
#include <unistd.h>

namespace mGlyfora {

bool FileOutput::Open() {
    return file_.Open();
}
bool FileOutput::Write(const char* data, qsizetype size) {
    return file_.Write(data, size);
}
bool FileOutput::Commit() {
    return file_.Commit();
}
QString FileOutput::ErrorString() const {
    return file_.ErrorString();
}

bool MemoryOutput::Write(const char* data, qsizetype size) {
    try {
        bytes_.append(data, size);
        return true;
    } catch (const std::bad_alloc&) {
        error_ = ToolText::tr("not enough memory to hold the result");
        return false;
    }
}

namespace {

// The scan's rows straight into the output. The opening template goes out just before
// the first byte of the result, so a scan that produces nothing writes nothing.
class OutputSink : public ScanSink {
public:
    OutputSink(ResultOutput& output, const QByteArray& opening, bool escapeLessThan)
        : output_(output), opening_(opening), escapeLessThan_(escapeLessThan) {}
    bool Write(const char* data, qsizetype size) override {
        if (!started_) {
            started_ = true;
            if (!opening_.isEmpty() &&
                !Checked(output_.Write(opening_.constData(), opening_.size())))
                return false;
        }
        if (!escapeLessThan_)
            return Checked(output_.Write(data, size));
        // '<' is one byte in UTF-8 and never part of a longer sequence.
        const char* end = data + size;
        for (const char* at = data; at < end;) {
            const char* lt = std::find(at, end, '<');
            if (lt > at && !Checked(output_.Write(at, lt - at)))
                return false;
            if (lt == end)
                break;
            if (!Checked(output_.Write("&lt;", 4)))
                return false;
            at = lt + 1;
        }
        return true;
    }
    QString ErrorString() const override { return output_.ErrorString(); }
    bool Failed() const { return failed_; }

private:
    bool Checked(bool ok) {
        failed_ = failed_ || !ok;
        return ok;
    }

    ResultOutput& output_;
    const QByteArray& opening_;
    bool escapeLessThan_;
    bool started_ = false;
    bool failed_ = false;
};

// The selection kept inside the picture, as a drag in the window is kept inside
// [0, width] x [0, height]; an edge already inside keeps its exact value. Nothing when no
// cell of the picture is left.
std::optional<SelectionRect> ClampSelection(const SelectionRect& cut, int width, int height) {
    const auto clampAxis = [](float start, float extent, int limit, float& newStart,
                              float& newExtent) {
        const double from = std::clamp(double(start), 0.0, double(limit));
        const double to = std::clamp(double(start) + double(extent), 0.0, double(limit));
        newStart = float(from);
        newExtent = from == double(start) && to == double(start) + double(extent)
                        ? extent
                        : float(std::max(0.0, to - from));
    };
    SelectionRect clamped{true, 0, 0, 0, 0};
    clampAxis(cut.Left, cut.Width, width, clamped.Left, clamped.Width);
    clampAxis(cut.Top, cut.Height, height, clamped.Top, clamped.Height);
    const std::optional<ScanRegion> region = FixRegion(clamped, width, height);
    if (!region || region->Right <= region->Left || region->Bottom <= region->Top)
        return std::nullopt;
    return clamped;
}

// The loader keeps what a decoder printed on standard error (libpng's reason, say) only
// for a reading that had standard error to itself. Readings share this lock and one that
// failed is read again alone, so a picture's message is the same whatever else was being
// read at the time.
std::shared_mutex readingLock;

std::optional<LoadedPicture> LoadPicture(const QString& path, QString* error,
                                         const std::function<QSize(QSize)>& enough) {
    {
        std::shared_lock shared(readingLock);
        if (std::optional<LoadedPicture> loaded = LoadPictureFile(path, nullptr, enough))
            return loaded;
    }
    std::unique_lock alone(readingLock);
    return LoadPictureFile(path, error, enough);
}

QString NoMemoryToLoad() {
    return ToolText::tr("not enough memory to load the picture");
}

// The picture at `path` ("-": standard input) put on `picture`, and its size as shown.
std::optional<QSize> LoadOnto(PictureSurface& picture, const QString& path, QString* error,
                              const std::function<QSize(QSize)>& enough = {}) {
    const bool standardInput = path == QLatin1String("-");
    const std::optional<StandardInputPicture> input =
        standardInput ? StandardInputPicture::Read(STDIN_FILENO, PictureAllocationLimitBytes, error)
                      : std::nullopt;
    if (standardInput && !input)
        return std::nullopt;
    const std::optional<LoadedPicture> loaded =
        LoadPicture(input ? input->Path() : path, error, enough);
    if (!loaded)
        return std::nullopt;
    if (!picture.Assign(loaded->image))
        return platform::Failed(error, NoMemoryToLoad());
    return loaded->shownSize;
}

PictureOutcome PictureFailed(const QString& reason) {
    return PictureOutcome{false, false, reason};
}

PictureOutcome OutputFailed(const ResultOutput& output) {
    return PictureOutcome{false, true, output.ErrorString()};
}

// The result made: the closing template, then the output committed; or the reason it
// was not.
PictureOutcome Finish(const ScanOutcome& outcome, const OutputSink& sink,
                      const PictureOptions& options, ResultOutput& output) {
    if (sink.Failed())
        return OutputFailed(output);
    if (outcome.status == ScanStatus::EmptyRegion)
        return PictureFailed(ToolText::tr("the conversion produced nothing"));
    if (outcome.status == ScanStatus::OutOfMemory)
        return PictureFailed(ToolText::tr("not enough memory to convert the picture"));
    if (outcome.status != ScanStatus::Done)
        return PictureFailed(outcome.reason);
    if (!options.closing.isEmpty() &&
        !output.Write(options.closing.constData(), options.closing.size()))
        return OutputFailed(output);
    if (!output.Commit())
        return OutputFailed(output);
    return PictureOutcome();
}

// The part of a picture of `shown` size the art is made of: the selection kept inside it,
// else the whole picture.
std::optional<QRectF> ArtRegion(const PictureOptions& options, QSize shown) {
    if (!options.select)
        return QRectF(0, 0, shown.width(), shown.height());
    const std::optional<SelectionRect> inside =
        ClampSelection(*options.select, shown.width(), shown.height());
    if (!inside)
        return std::nullopt;
    return QRectF(inside->Left, inside->Top, inside->Width, inside->Height);
}

// The looks beyond the program's scan: the picture decoded no larger than the cells need,
// sampled by area, the rows written as they are made.
PictureOutcome ConvertArt(const QString& path, const PictureOptions& options,
                          ResultOutput& output) {
    const QString nothing = ToolText::tr("the conversion produced nothing");
    const auto cellsFor = [&](const QRectF& region) {
        return ChooseCells(options.cell, region.width(), region.height());
    };
    const auto enough = [&](QSize shown) {
        const std::optional<QRectF> region = ArtRegion(options, shown);
        if (!region || region->isEmpty())
            return QSize();
        // The samples the cells take, over the region's share of the picture.
        const QSize needed = PixelsNeeded(options.look.style, cellsFor(*region));
        return QSize(int(std::min(double(shown.width()),
                                  std::ceil(needed.width() * shown.width() / region->width()))),
                     int(std::min(double(shown.height()),
                                  std::ceil(needed.height() * shown.height() / region->height()))));
    };
    PictureSurface picture;
    QString error;
    const std::optional<QSize> shown = LoadOnto(picture, path, &error, enough);
    if (!shown)
        return PictureFailed(error);
    const std::optional<QRectF> region = ArtRegion(options, *shown);
    if (!region || region->isEmpty())
        return PictureFailed(nothing + QStringLiteral(": ") +
                             ToolText::tr("the selection holds no part of the picture"));
    ArtRequest request;
    request.look = options.look;
    // The picture is in: the glyphs measured meanwhile are waited for only now.
    if (options.glyphs.valid())
        request.glyphs = options.glyphs.get();
    request.cells = cellsFor(*region);
    // The region in the pixels of the picture as decoded.
    const double sx = double(picture.ScaleWidth()) / shown->width();
    const double sy = double(picture.ScaleHeight()) / shown->height();
    request.region = QRectF(region->left() * sx, region->top() * sy, region->width() * sx,
                            region->height() * sy);
    request.encoding = options.html                                ? ArtEncoding::Html
                       : options.colour == ColourDepth::Direct24   ? ArtEncoding::Terminal24
                       : options.colour == ColourDepth::Palette256 ? ArtEncoding::Terminal256
                                                                   : ArtEncoding::Text;
    if (!output.Open())
        return OutputFailed(output);
    OutputSink sink(output, options.opening, options.textOnPage);
    NullScanHost host;
    const ScanOutcome outcome = StreamArt(picture.Image(), request, host, sink);
    return Finish(outcome, sink, options, output);
}

} // namespace

PictureOutcome ConvertPicture(const QString& path, const PictureOptions& options,
                              ResultOutput& output) {
    if (options.look.style != ArtStyle::Exact)
        return ConvertArt(path, options, output);
    const QString nothing = ToolText::tr("the conversion produced nothing");
    PictureSurface picture;
    QString error;
    if (!LoadOnto(picture, path, &error))
        return PictureFailed(error);
    SelectionRect selection;
    if (options.select) {
        const std::optional<SelectionRect> inside =
            ClampSelection(*options.select, picture.ScaleWidth(), picture.ScaleHeight());
        if (!inside)
            return PictureFailed(nothing + QStringLiteral(": ") +
                                 ToolText::tr("the selection holds no part of the picture"));
        selection = *inside;
    }
    // Inside the picture and not empty, once clamped.
    const ScanRegion region = *FixRegion(selection, picture.ScaleWidth(), picture.ScaleHeight());
    const QSize cell =
        ChooseCell(options.cell, region.Right - region.Left, region.Bottom - region.Top);
    PictureSurface cells;
    if (!cells.Assign(SampleCells(picture, region, cell.width(), cell.height(), options.sample)) ||
        cells.IsEmpty())
        return PictureFailed(NoMemoryToLoad());

    if (!output.Open())
        return OutputFailed(output);
    OutputSink sink(output, options.opening, options.textOnPage);
    std::optional<TerminalColourSink> coloured;
    if (options.colour != ColourDepth::None && !options.html)
        coloured.emplace(sink, cells.Image(), options.colour);
    ScanSink& rows = coloured ? static_cast<ScanSink&>(*coloured) : sink;
    NullScanHost host;
    const ScanOutcome outcome =
        Stream(options.html ? ScanKind::HTML : ScanKind::Text, options.scan, cells, {}, host, rows);
    return Finish(outcome, sink, options, output);
}

} // namespace mGlyfora

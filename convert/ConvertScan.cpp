// The scan loop shared by the text and HTML conversions. Pixels are read straight from
// the picture's scanlines, cells are encoded into a byte buffer through lookup tables
// and the buffer goes to the sink in large writes: the intermediate file, read back
// afterwards, or the output of a streamed scan.
#include "convert/ConvertScan.h"

#include "convert/CharacterTable.h"
#include "convert/ConversionSettings.h"
#include "convert/ConversionState.h"
#include "convert/IntermediateFile.h"
#include "convert/Luminance.h"
#include "convert/MakeColorCell.h"
#include "convert/ScanRegion.h"
#include "imageops/PictureSurface.h"
#include "platform/HugePages.h"
#include "platform/Paths.h"

#include <QScopeGuard>
#include <QThread>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

namespace mGlyfora {

namespace {

// One huge page: filled from the first cell on, it costs one page fault instead of 512.
constexpr qsizetype BufferBytes = qsizetype(2) << 20;
constexpr char LineBreak[] = "\r\n";

inline unsigned MaxComponent(QRgb pixel) {
    return std::max({pixel >> 16 & 0xFFu, pixel >> 8 & 0xFFu, pixel & 0xFFu});
}

ScanOutcome Failure(ScanStatus status, const QString& reason) {
    return ScanOutcome{QString(), status, reason};
}

// The one failure a scan shows the person itself.
ScanOutcome OutOfMemory(ScanHost& host) {
    host.ReportError(OutOfStringSpaceMessage);
    return Failure(ScanStatus::OutOfMemory, OutOfStringSpaceMessage);
}

ScanOutcome FileFailure(IntermediateFile::Status status, const IntermediateFile& file) {
    return Failure(status == IntermediateFile::Status::Unsafe ? ScanStatus::UnsafeFile
                                                              : ScanStatus::FileError,
                   file.ErrorString());
}

// Cells collect here and reach the sink in large writes.
class OutputBuffer {
public:
    explicit OutputBuffer(ScanSink& sink) : sink_(sink) {
        void* memory = nullptr;
        if (::posix_memalign(&memory, size_t(BufferBytes), size_t(BufferBytes)) != 0)
            return;
        data_.reset(static_cast<char*>(memory));
        platform::AdviseHugePages(memory, size_t(BufferBytes));
    }
    // False when its memory could not be had.
    bool Ready() const { return data_ != nullptr; }

    // Room for `bytes` more, writing out what is held if needed.
    char* Reserve(qsizetype bytes) {
        if (BufferBytes - used_ < bytes && !Flush())
            return nullptr;
        return data_.get() + used_;
    }
    void Commit(const char* end) { used_ = end - data_.get(); }
    bool Flush() {
        const bool ok = used_ == 0 || sink_.Write(data_.get(), used_);
        used_ = 0;
        return ok;
    }

private:
    struct Free {
        void operator()(char* memory) const { std::free(memory); }
    };
    ScanSink& sink_;
    std::unique_ptr<char, Free> data_;
    qsizetype used_ = 0;
};

// Steps common to both scans up to the open, emptied and locked intermediate file.
// A file held by another scan is waited for, letting events through, until it is free
// or the wait is cancelled.
std::optional<ScanOutcome> BeginScan(IntermediateFile& file, ScanHost& host) {
    TempFileName = IntermediateFilePath();
    bool waiting = false;
    const auto waited = qScopeGuard([&] {
        if (waiting)
            host.WaitingForAnotherCopy(false);
    });
    for (;;) {
        // A request already pending (the program is ending) leaves the file untouched.
        if (host.CancelRequested())
            return Failure(ScanStatus::Cancelled, QStringLiteral("cancelled"));
        IntermediateFile::Status status = file.Open(TempFileName);
        if (status == IntermediateFile::Status::Ok)
            status = file.Lock();
        if (status == IntermediateFile::Status::Ok)
            break;
        if (status != IntermediateFile::Status::Busy)
            return FileFailure(status, file);
        file.Close();
        if (!std::exchange(waiting, true))
            host.WaitingForAnotherCopy(true);
        QThread::msleep(20);
        host.ProcessEvents();
    }
    if (!file.Empty())
        return FileFailure(IntermediateFile::Status::Failed, file);
    return std::nullopt;
}

// UTF-8 bytes and UTF-16 length of one ramp character.
struct CellCode {
    char bytes[4] = {};
    int length = 0;
    int units = 0;
};

// Everything the row loop needs, settled before the first row from the settings the scan
// was given, so that scans on other threads share nothing; `refused` says why the scan
// cannot start.
struct ScanPlan {
    std::optional<ScanOutcome> refused;
    ScanKind kind = ScanKind::Text;
    // Text: the scan's own character table, as brightness (largest component) to the
    // cell's bytes; `bytes` when every character is one byte.
    bool luminance = false; // brightness as luminance instead

    std::array<CellCode, 256> codes;
    std::array<char, 256> bytes;
    bool singleBytes = true;

    QImage image; // 32-bit
    ScanRegion region;
    int X = 1;
    int Y = 1;
    int rows = 0; // the progress bar's estimate
    // Cells of a row are indexed 0..columns-1; those in [firstReadable, endReadable) lie
    // inside the picture, the others are unreadable and write nothing.
    qint64 columns = 0;
    qint64 firstReadable = 0;
    qint64 endReadable = 0;
    int height = 0;

    // The readable cells [lo, hi) of row y.
    std::pair<qint64, qint64> Readable(qint64 y) const {
        const bool rowReadable = y >= 0 && y < height;
        const qint64 lo = rowReadable ? std::min(firstReadable, columns) : columns;
        return std::pair(lo, rowReadable ? std::max(lo, endReadable) : columns);
    }
    // One row without a readable cell: a result that would be the empty text.
    bool ResultEmpty() const {
        if (SampleCount(region.Top, region.Bottom, Y) != 1)
            return false;
        const auto [lo, hi] = Readable(region.Top);
        return hi == lo;
    }
};

ScanOutcome EmptyRegion() {
    return Failure(ScanStatus::EmptyRegion, QStringLiteral("the region holds no row of cells"));
}

// The ramp's cells, from a character table of the scan's own.
std::optional<ScanOutcome> PlanTextCells(const ConversionSettingsRecord& settings, ScanPlan& plan) {
    const std::optional<QStringList> table =
        MakeCharacterTable(settings.Charactor, settings.Reverse);
    if (!table)
        return Failure(ScanStatus::BadSettings,
                       QStringLiteral("the character ramp is empty or longer than %1 characters")
                           .arg(CharacterTableSize));
    plan.luminance = settings.Luminance;
    const int n = int(table->size());
    for (int m = 0; m < 256; ++m) {
        const QString& character = table->at(CharacterIndex(m, n));
        const QByteArray utf8 = character.toUtf8();
        if (utf8.isEmpty() || utf8.size() > 4)
            return Failure(ScanStatus::BadSettings, QStringLiteral("unusable ramp character"));
        CellCode& code = plan.codes[m];
        std::memcpy(code.bytes, utf8.constData(), size_t(utf8.size()));
        code.length = int(utf8.size());
        code.units = int(QString::fromUtf8(utf8).size());
        plan.bytes[m] = code.bytes[0];
        plan.singleBytes = plan.singleBytes && code.length == 1;
    }
    return std::nullopt;
}

// The region and its cells, in the order the checks answer: the kind's cells, the cell
// size, the region; then the progress bar gets its range.
ScanPlan PlanScan(ScanKind kind, const ConversionSettingsRecord& settings,
                  const PictureSurface& picture, const SelectionRect& selection, ScanHost& host) {
    ScanPlan plan;
    plan.kind = kind;
    if (kind == ScanKind::Text) {
        if ((plan.refused = PlanTextCells(settings, plan)))
            return plan;
    }
    plan.X = settings.X;
    plan.Y = settings.Y;
    if (plan.X < 1 || plan.Y < 1) {
        plan.refused = Failure(ScanStatus::BadSettings, QStringLiteral("cell size of 0"));
        return plan;
    }
    // Surfaces hold 32-bit pictures; anything else is read through a converted copy.
    plan.image = picture.Image().format() == QImage::Format_RGB32
                     ? picture.Image()
                     : picture.Image().convertToFormat(QImage::Format_RGB32);
    const int width = picture.ScaleWidth();
    plan.height = picture.ScaleHeight();
    const std::optional<ScanRegion> region = FixRegion(selection, width, plan.height);
    if (!region) {
        plan.refused = Failure(ScanStatus::BadSettings, QStringLiteral("selection out of range"));
        return plan;
    }
    plan.region = *region;
    plan.rows = RowEstimate(plan.region, plan.Y);
    const qint64 left = plan.region.Left;
    plan.columns = SampleCount(left, plan.region.Right, plan.X);
    plan.firstReadable = left >= 0 ? 0 : (-left + plan.X - 1) / plan.X;
    plan.endReadable = SampleCount(left, std::min<qint64>(plan.region.Right, width), plan.X);
    host.SetProgressRange(0, plan.rows);
    return plan;
}

struct RowsWritten {
    ScanOutcome outcome;
    qint64 units = 0; // UTF-16 length of what was written
};

// Walks the plan's region row by row into `sink`. WriteCell(pixel, out, units) appends
// one cell's UTF-8 bytes (at most MaxCellBytes) and adds its UTF-16 length to units.
template <int MaxCellBytes, typename WriteCell>
RowsWritten RowLoop(const ScanPlan& plan, ScanHost& host, ScanSink& sink, WriteCell writeCell) {
    OutputBuffer buffer(sink);
    if (!buffer.Ready())
        return {OutOfMemory(host)};
    RowsWritten written;
    const auto writeFailed = [&] {
        return RowsWritten{Failure(ScanStatus::FileError, sink.ErrorString()), written.units};
    };
    const auto cancelled = [&] {
        buffer.Flush(); // what was written so far stays in the sink
        return RowsWritten{Failure(ScanStatus::Cancelled, QStringLiteral("cancelled")),
                           written.units};
    };
    // Unreadable cells write nothing: one question of the host stands for a run of them,
    // since stopping at any of them leaves the same rows.
    const auto stopAmongUnreadable = [&host](qint64 count) {
        return count > 0 && host.CancelRequested();
    };
    const qint64 blockCells = (BufferBytes / 2) / MaxCellBytes;
    const qint64 left = plan.region.Left;
    qint64 k = 0;
    for (qint64 y = plan.region.Top; y < plan.region.Bottom; y += plan.Y, ++k) {
        host.ProcessEvents();
        const auto [lo, hi] = plan.Readable(y);
        if (stopAmongUnreadable(lo))
            return cancelled();
        if (hi > lo) {
            const auto* line = reinterpret_cast<const QRgb*>(plan.image.constScanLine(int(y)));
            const QRgb* pixel = line + (left + lo * plan.X);
            for (qint64 i = lo; i < hi;) {
                const qint64 end = std::min(hi, i + blockCells);
                char* out = buffer.Reserve((end - i) * MaxCellBytes);
                if (!out)
                    return writeFailed();
                // A request comes to the host in its own calls (the row's events, the
                // sink's writes before a block) or from another thread at no set cell:
                // asked after a block's first cell, it stops the scan where a question
                // after every cell would, without a call for each cell.
                writeCell(*pixel, out, written.units);
                if (host.CancelRequested()) {
                    buffer.Commit(out);
                    return cancelled();
                }
                for (++i, pixel += plan.X; i < end; ++i, pixel += plan.X)
                    writeCell(*pixel, out, written.units);
                buffer.Commit(out);
            }
        }
        if (stopAmongUnreadable(plan.columns - hi))
            return cancelled();
        char* out = buffer.Reserve(2);
        if (!out)
            return writeFailed();
        std::memcpy(out, LineBreak, 2);
        buffer.Commit(out + 2);
        written.units += 2;
        if (k <= plan.rows)
            host.SetProgress(int(k));
    }
    if (k == 0)
        return {EmptyRegion()};
    if (!buffer.Flush())
        return writeFailed();
    return written;
}

// The text rows, each cell the ramp character of its pixel's brightness.
template <typename Brightness>
RowsWritten WriteTextRows(const ScanPlan& plan, ScanHost& host, ScanSink& sink,
                          Brightness brightness) {
    if (plan.singleBytes)
        return RowLoop<1>(plan, host, sink,
                          [&bytes = plan.bytes, brightness](QRgb pixel, char*& out, qint64& units) {
                              *out++ = bytes[brightness(pixel)];
                              ++units;
                          });
    return RowLoop<4>(plan, host, sink,
                      [&codes = plan.codes, brightness](QRgb pixel, char*& out, qint64& units) {
                          const CellCode& code = codes[brightness(pixel)];
                          std::memcpy(out, code.bytes, 4);
                          out += code.length;
                          units += code.units;
                      });
}

// The row loop with the plan's kind of cell.
RowsWritten WriteRows(const ScanPlan& plan, ScanHost& host, ScanSink& sink) {
    if (plan.kind == ScanKind::HTML)
        return RowLoop<ColorCellBytes>(plan, host, sink, [](QRgb pixel, char*& out, qint64& units) {
            std::memcpy(out, ColorCellTemplate, ColorCellBytes);
            char* digits = out + ColorCellDigitsOffset;
            std::memcpy(digits, HexPairs.pairs[pixel >> 16 & 0xFFu], 2);
            std::memcpy(digits + 2, HexPairs.pairs[pixel >> 8 & 0xFFu], 2);
            std::memcpy(digits + 4, HexPairs.pairs[pixel & 0xFFu], 2);
            out += ColorCellBytes;
            units += ColorCellUnits;
        });
    // Lambdas, not function pointers: each loop inlines its own brightness.
    if (plan.luminance)
        return WriteTextRows(plan, host, sink, [](QRgb pixel) { return LuminanceByte(pixel); });
    return WriteTextRows(plan, host, sink, [](QRgb pixel) { return MaxComponent(pixel); });
}

// The program's scan: rows into the intermediate file, left open and locked.
RowsWritten IntoIntermediateFile(ScanKind kind, const ConversionSettingsRecord& settings,
                                 const PictureSurface& picView, const SelectionRect& shpCut,
                                 ScanHost& host, IntermediateFile& file) {
    if (std::optional<ScanOutcome> failed = BeginScan(file, host))
        return {*failed};
    const ScanPlan plan = PlanScan(kind, settings, picView, shpCut, host);
    if (plan.refused)
        return {*plan.refused};
    RowsWritten written = WriteRows(plan, host, file);
    // A request that came with the last row: nothing is read back.
    if (written.outcome.status == ScanStatus::Done && host.CancelRequested())
        written.outcome = Failure(ScanStatus::Cancelled, QStringLiteral("cancelled"));
    return written;
}

} // namespace

namespace {
// The written rows read back as the outcome's text, `units` UTF-16 units long.
ScanOutcome ReadBackInto(IntermediateFile& file, qsizetype units, ScanHost& host,
                         ScanOutcome outcome) {
    const IntermediateFile::Status read =
        file.ReadBack(units, host.ResultMemoryLimit(), host, outcome.text);
    if (read == IntermediateFile::Status::Cancelled)
        return Failure(ScanStatus::Cancelled, QStringLiteral("cancelled"));
    if (read == IntermediateFile::Status::OutOfMemory)
        return OutOfMemory(host);
    if (read != IntermediateFile::Status::Ok)
        return FileFailure(read, file);
    return outcome;
}
} // namespace

ScanOutcome Scan(ScanKind kind, const ConversionSettingsRecord& settings,
                 const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host) {
    IntermediateFile file;
    RowsWritten written = IntoIntermediateFile(kind, settings, picView, shpCut, host, file);
    if (written.outcome.status != ScanStatus::Done)
        return written.outcome;
    return ReadBackInto(file, written.units, host, std::move(written.outcome));
}

namespace {
// Counts the UTF-16 length of the UTF-8 bytes passing through: one unit a character, two
// for one beyond the basic plane (a four-byte sequence).
class CountingSink : public ScanSink {
public:
    explicit CountingSink(ScanSink& sink) : sink_(sink) {}
    bool Write(const char* data, qsizetype size) override {
        for (qsizetype i = 0; i < size; ++i) {
            const auto byte = static_cast<unsigned char>(data[i]);
            units += (byte & 0xC0) != 0x80 ? 1 : 0;
            units += byte >= 0xF0 ? 1 : 0;
        }
        return sink_.Write(data, size);
    }
    QString ErrorString() const override { return sink_.ErrorString(); }
    qint64 units = 0;

private:
    ScanSink& sink_;
};
} // namespace

ScanOutcome ScanThroughFile(ScanHost& host, const std::function<ScanOutcome(ScanSink&)>& rows) {
    IntermediateFile file;
    if (std::optional<ScanOutcome> failed = BeginScan(file, host))
        return *failed;
    CountingSink counted(file);
    ScanOutcome outcome = rows(counted);
    if (outcome.status == ScanStatus::Done && host.CancelRequested())
        return Failure(ScanStatus::Cancelled, QStringLiteral("cancelled"));
    if (outcome.status == ScanStatus::OutOfMemory)
        return OutOfMemory(host);
    if (outcome.status != ScanStatus::Done)
        return outcome;
    return ReadBackInto(file, qsizetype(counted.units), host, std::move(outcome));
}

ScanOutcome ScanToHTMLFile(const ConversionSettingsRecord& settings, const PictureSurface& picView,
                           const SelectionRect& shpCut, ScanHost& host, IntermediateFile& file) {
    const RowsWritten written =
        IntoIntermediateFile(ScanKind::HTML, settings, picView, shpCut, host, file);
    // The rows of an empty result are its CR LF alone.
    if (written.outcome.status == ScanStatus::Done && file.Size() == 2)
        return Failure(ScanStatus::EmptyRegion, QStringLiteral("the result is empty"));
    return written.outcome;
}

ScanOutcome Stream(ScanKind kind, const ConversionSettingsRecord& settings,
                   const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host,
                   ScanSink& sink) {
    const ScanPlan plan = PlanScan(kind, settings, picView, shpCut, host);
    if (plan.refused)
        return *plan.refused;
    if (plan.ResultEmpty())
        return EmptyRegion();
    return WriteRows(plan, host, sink).outcome;
}

} // namespace mGlyfora

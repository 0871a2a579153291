// The scan loop shared by the text and HTML conversions. Pixels are read straight from
// the picture's scanlines, cells are encoded into a byte buffer through lookup tables
// and the buffer goes to the sink in large writes: the intermediate file, read back
// afterwards, or the output of a streamed scan.
#include "convert/ConvertScan.h"

#include "convert/CharacterTable.h"
#include "convert/ConversionSettings.h"
#include "convert/ConversionState.h"
#include "convert/IntermediateFile.h"
#include "convert/MakeColorCell.h"
#include "convert/ScanRegion.h"
#include "imageops/PictureSurface.h"
#include "platform/HugePages.h"
#include "platform/Paths.h"

#include <QThread>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

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
    CancelConversion.store(false);
    TempFileName = IntermediateFilePath();
    for (;;) {
        // The first time round only a request to end can be pending: the program is
        // ending and the file is not touched.
        if (CancelRequested())
            return Failure(ScanStatus::Cancelled, QStringLiteral("cancelled"));
        IntermediateFile::Status status = file.Open(TempFileName);
        if (status == IntermediateFile::Status::Ok)
            status = file.Lock();
        if (status == IntermediateFile::Status::Ok)
            break;
        if (status != IntermediateFile::Status::Busy)
            return FileFailure(status, file);
        file.Close();
        QThread::msleep(20);
        host.ProcessEvents();
    }
    if (!file.Empty())
        return FileFailure(IntermediateFile::Status::Failed, file);
    return std::nullopt;
}

// Walks the region row by row into `sink`; `units` counts the UTF-16 length of what was
// written. WriteCell(pixel, out, units) appends one cell's UTF-8 bytes (at most
// MaxCellBytes) and adds its UTF-16 length to units. A streamed scan whose result would
// be the empty text (one row without a readable cell) writes nothing.
template <int MaxCellBytes, typename WriteCell>
ScanOutcome ScanRows(ScanSink& sink, const PictureSurface& picture, const SelectionRect& selection,
                     ScanHost& host, bool streamed, qint64& units, WriteCell writeCell) {
    const int X = ConversionSettings.X;
    const int Y = ConversionSettings.Y;
    if (X < 1 || Y < 1)
        return Failure(ScanStatus::BadSettings, QStringLiteral("cell size of 0"));
    // Surfaces hold 32-bit pictures; anything else is read through a converted copy.
    const QImage image = picture.Image().format() == QImage::Format_RGB32
                             ? picture.Image()
                             : picture.Image().convertToFormat(QImage::Format_RGB32);
    const int width = picture.ScaleWidth();
    const int height = picture.ScaleHeight();
    const std::optional<ScanRegion> region = FixRegion(selection, width, height);
    if (!region)
        return Failure(ScanStatus::BadSettings, QStringLiteral("selection out of range"));
    const int rows = RowEstimate(*region, Y);
    host.SetProgressRange(0, rows);

    // Cells of a row are indexed 0..columns-1; those in [firstReadable, endReadable) lie
    // inside the picture, the others are unreadable and write nothing.
    const qint64 left = region->Left;
    const qint64 columns = SampleCount(left, region->Right, X);
    const qint64 firstReadable = left >= 0 ? 0 : (-left + X - 1) / X;
    const qint64 endReadable = SampleCount(left, std::min<qint64>(region->Right, width), X);
    const qint64 blockCells = (BufferBytes / 2) / MaxCellBytes;
    // The readable cells [lo, hi) of row y.
    const auto readable = [&](qint64 y) {
        const bool rowReadable = y >= 0 && y < height;
        const qint64 lo = rowReadable ? std::min(firstReadable, columns) : columns;
        return std::pair(lo, rowReadable ? std::max(lo, endReadable) : columns);
    };
    const auto emptyRegion = [] {
        return Failure(ScanStatus::EmptyRegion, QStringLiteral("the region holds no row of cells"));
    };
    if (streamed && SampleCount(region->Top, region->Bottom, Y) == 1) {
        const auto [lo, hi] = readable(region->Top);
        if (hi == lo)
            return emptyRegion();
    }

    OutputBuffer buffer(sink);
    if (!buffer.Ready())
        return OutOfMemory(host);
    const auto writeFailed = [&] { return Failure(ScanStatus::FileError, sink.ErrorString()); };
    units = 0;
    qint64 k = 0;
    const auto cancelled = [&] {
        buffer.Flush(); // what was written so far stays in the sink
        return Failure(ScanStatus::Cancelled, QStringLiteral("cancelled"));
    };
    const auto skipCells = [&](qint64 count) {
        for (qint64 i = 0; i < count; ++i) {
            if (CancelRequested())
                return false;
        }
        return true;
    };
    for (qint64 y = region->Top; y < region->Bottom; y += Y, ++k) {
        host.ProcessEvents();
        const auto [lo, hi] = readable(y);
        if (!skipCells(lo))
            return cancelled();
        if (hi > lo) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(int(y)));
            const QRgb* pixel = line + (left + lo * X);
            for (qint64 i = lo; i < hi;) {
                const qint64 end = std::min(hi, i + blockCells);
                char* out = buffer.Reserve((end - i) * MaxCellBytes);
                if (!out)
                    return writeFailed();
                for (; i < end; ++i, pixel += X) {
                    writeCell(*pixel, out, units);
                    if (CancelRequested()) {
                        buffer.Commit(out);
                        return cancelled();
                    }
                }
                buffer.Commit(out);
            }
        }
        if (!skipCells(columns - hi))
            return cancelled();
        char* out = buffer.Reserve(2);
        if (!out)
            return writeFailed();
        std::memcpy(out, LineBreak, 2);
        buffer.Commit(out + 2);
        units += 2;
        if (k <= rows)
            host.SetProgress(int(k));
    }
    if (k == 0)
        return emptyRegion();
    if (!buffer.Flush())
        return writeFailed();
    return ScanOutcome();
}

// UTF-8 bytes and UTF-16 length of one ramp character.
struct CellCode {
    char bytes[4] = {};
    int length = 0;
    int units = 0;
};

ScanOutcome TextRows(const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host,
                     ScanSink& sink, bool streamed, qint64& units) {
    // The table is one for the whole process: scans running on several threads fill and
    // read it one at a time.
    static std::mutex tableLock;
    std::unique_lock lock(tableLock);
    const bool filled =
        ConversionSettings.Reverse ? FillCharacterTableReverse() : FillCharacterTable();
    if (!filled)
        return Failure(ScanStatus::BadSettings,
                       QStringLiteral("the character ramp is empty or longer than %1 characters")
                           .arg(CharacterTableSize));
    const int n = int(SplitCharacters(ConversionSettings.Charactor).size());

    // Brightness (largest component) to the cell's bytes, as PickCharacter would choose.
    std::array<CellCode, 256> codes;
    bool singleBytes = true;
    for (int m = 0; m < 256; ++m) {
        const QString& character = CharacterTable[CharacterIndex(m, n)];
        const QByteArray utf8 = character.toUtf8();
        if (utf8.isEmpty() || utf8.size() > 4)
            return Failure(ScanStatus::BadSettings, QStringLiteral("unusable ramp character"));
        std::memcpy(codes[m].bytes, utf8.constData(), size_t(utf8.size()));
        codes[m].length = int(utf8.size());
        codes[m].units = int(QString::fromUtf8(utf8).size());
        singleBytes = singleBytes && codes[m].length == 1;
    }
    lock.unlock();
    if (singleBytes) {
        std::array<char, 256> bytes;
        for (int m = 0; m < 256; ++m)
            bytes[m] = codes[m].bytes[0];
        return ScanRows<1>(sink, picView, shpCut, host, streamed, units,
                           [&bytes](QRgb pixel, char*& out, qint64& units) {
                               *out++ = bytes[MaxComponent(pixel)];
                               ++units;
                           });
    }
    return ScanRows<4>(sink, picView, shpCut, host, streamed, units,
                       [&codes](QRgb pixel, char*& out, qint64& units) {
                           const CellCode& code = codes[MaxComponent(pixel)];
                           std::memcpy(out, code.bytes, 4);
                           out += code.length;
                           units += code.units;
                       });
}

ScanOutcome HtmlRows(const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host,
                     ScanSink& sink, bool streamed, qint64& units) {
    return ScanRows<ColorCellBytes>(
        sink, picView, shpCut, host, streamed, units, [](QRgb pixel, char*& out, qint64& units) {
            std::memcpy(out, ColorCellTemplate, ColorCellBytes);
            char* digits = out + ColorCellDigitsOffset;
            std::memcpy(digits, HexPairs.pairs[pixel >> 16 & 0xFFu], 2);
            std::memcpy(digits + 2, HexPairs.pairs[pixel >> 8 & 0xFFu], 2);
            std::memcpy(digits + 4, HexPairs.pairs[pixel & 0xFFu], 2);
            out += ColorCellBytes;
            units += ColorCellUnits;
        });
}

using Rows = ScanOutcome (*)(const PictureSurface&, const SelectionRect&, ScanHost&, ScanSink&,
                             bool streamed, qint64& units);

// The program's scan: rows into the intermediate file, left open and locked.
ScanOutcome IntoIntermediateFile(Rows rows, const PictureSurface& picView,
                                 const SelectionRect& shpCut, ScanHost& host,
                                 IntermediateFile& file, qint64& units) {
    if (std::optional<ScanOutcome> failed = BeginScan(file, host))
        return *failed;
    ScanOutcome outcome = rows(picView, shpCut, host, file, false, units);
    if (outcome.status != ScanStatus::Done)
        return outcome;
    // A request that came with the last row: nothing is read back.
    if (CancelRequested())
        return Failure(ScanStatus::Cancelled, QStringLiteral("cancelled"));
    return outcome;
}

// The rows read back as the text.
ScanOutcome ThroughIntermediateFile(Rows rows, const PictureSurface& picView,
                                    const SelectionRect& shpCut, ScanHost& host) {
    IntermediateFile file;
    qint64 units = 0;
    ScanOutcome outcome = IntoIntermediateFile(rows, picView, shpCut, host, file, units);
    if (outcome.status != ScanStatus::Done)
        return outcome;
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

ScanOutcome Streamed(Rows rows, const PictureSurface& picView, const SelectionRect& shpCut,
                     ScanHost& host, ScanSink& sink) {
    CancelConversion.store(false);
    qint64 units = 0;
    return rows(picView, shpCut, host, sink, true, units);
}

} // namespace

ScanOutcome ScanToText(const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host) {
    return ThroughIntermediateFile(TextRows, picView, shpCut, host);
}

ScanOutcome ScanToHTML(const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host) {
    return ThroughIntermediateFile(HtmlRows, picView, shpCut, host);
}

ScanOutcome ScanToHTMLFile(const PictureSurface& picView, const SelectionRect& shpCut,
                           ScanHost& host, IntermediateFile& file) {
    qint64 units = 0;
    ScanOutcome outcome = IntoIntermediateFile(HtmlRows, picView, shpCut, host, file, units);
    // The rows of an empty result are its CR LF alone.
    if (outcome.status == ScanStatus::Done && file.Size() == 2)
        return Failure(ScanStatus::EmptyRegion, QStringLiteral("the result is empty"));
    return outcome;
}

ScanOutcome StreamText(const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host,
                       ScanSink& sink) {
    return Streamed(TextRows, picView, shpCut, host, sink);
}

ScanOutcome StreamHTML(const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host,
                       ScanSink& sink) {
    return Streamed(HtmlRows, picView, shpCut, host, sink);
}

QString ConvertToText(const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host) {
    return ScanToText(picView, shpCut, host).text;
}

QString ConvertToHTML(const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host) {
    return ScanToHTML(picView, shpCut, host).text;
}

} // namespace mGlyfora

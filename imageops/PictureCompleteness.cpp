// Structure walks of BMP, GIF, PNG and JPEG files, reading through a small buffer.
#include "imageops/PictureCompleteness.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>
#include <unistd.h>
#include <zlib.h>

namespace {

// Sequential reads of a file through one buffer, with pread so the descriptor's offset
// stays where the picture reader expects it. A read error counts as the end of the file.
class ByteSource {
public:
    ByteSource(int fd, qint64 size) : fd_(fd), size_(size) {}

    bool Byte(quint8& out) {
        if (next_ == end_ && !Fill())
            return false;
        out = quint8(buffer_[next_++]);
        return true;
    }

    bool Read(quint8* out, qint64 count) {
        for (qint64 i = 0; i < count; ++i) {
            if (!Byte(out[i]))
                return false;
        }
        return true;
    }

    // Moves count bytes on; false when the file ends first.
    bool Skip(qint64 count) {
        const qint64 buffered = end_ - next_;
        if (count <= buffered) {
            next_ += count;
            return true;
        }
        const qint64 target = Position() + count;
        start_ = target;
        next_ = end_ = 0;
        return target <= size_;
    }

    bool Seek(qint64 position) {
        start_ = position;
        next_ = end_ = 0;
        return position <= size_;
    }

    // Moves just past the next byte equal to value; false when the file ends first.
    bool SkipPast(quint8 value) {
        for (;;) {
            if (next_ == end_ && !Fill())
                return false;
            const void* found = std::memchr(buffer_.data() + next_, value, size_t(end_ - next_));
            if (found) {
                next_ = static_cast<const char*>(found) - buffer_.data() + 1;
                return true;
            }
            next_ = end_;
        }
    }

    // Moves count bytes on, adding them to a CRC-32; false when the file ends first.
    bool Crc(qint64 count, uLong& crc) {
        while (count > 0) {
            if (next_ == end_ && !Fill())
                return false;
            const qint64 n = std::min(count, end_ - next_);
            crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer_.data() + next_), uInt(n));
            next_ += n;
            count -= n;
        }
        return true;
    }

private:
    qint64 Position() const { return start_ + next_; }

    bool Fill() {
        start_ += end_;
        next_ = end_ = 0;
        if (start_ >= size_)
            return false;
        ssize_t got;
        do {
            got = ::pread(fd_, buffer_.data(), buffer_.size(), start_);
        } while (got < 0 && errno == EINTR);
        if (got <= 0)
            return false;
        end_ = got;
        return true;
    }

    int fd_;
    qint64 size_;
    std::array<char, 64 * 1024> buffer_;
    qint64 start_ = 0; // file offset of buffer_[0]
    qint64 next_ = 0;  // index of the next byte in buffer_
    qint64 end_ = 0;   // bytes held in buffer_
};

quint32 Le16(const quint8* p) {
    return quint32(p[0]) | quint32(p[1]) << 8;
}
quint32 Le32(const quint8* p) {
    return Le16(p) | Le16(p + 2) << 16;
}
quint32 Be32(const quint8* p) {
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

// Run-length data ends with the end-of-bitmap code or once every row is finished by an
// end-of-line code; a jump never leaves the last row (the decoder clamps it there).
Completeness WalkBmpRunLengths(ByteSource& in, qint64 rows, bool fourBit) {
    qint64 row = 0;
    while (row < rows) {
        quint8 pair[2];
        if (!in.Read(pair, 2))
            return Completeness::Truncated;
        if (pair[0] != 0)
            continue; // a run of one colour
        switch (pair[1]) {
        case 0:
            ++row;
            break;
        case 1:
            return Completeness::Complete;
        case 2: {
            quint8 delta[2];
            if (!in.Read(delta, 2))
                return Completeness::Truncated;
            row = qMin(row + delta[1], rows - 1);
            break;
        }
        default: {
            // Literal pixels, padded to a 16-bit boundary.
            qint64 bytes = fourBit ? (pair[1] + 1) / 2 : pair[1];
            bytes += bytes & 1;
            if (!in.Skip(bytes))
                return Completeness::Truncated;
        }
        }
    }
    return Completeness::Complete;
}

Completeness CheckBmp(ByteSource& in, qint64 fileSize) {
    quint8 header[14 + 40];
    if (!in.Read(header, 18))
        return Completeness::Truncated;
    const qint64 dataOffset = Le32(header + 10);
    const qint64 infoSize = Le32(header + 14);
    qint64 width = 0;
    qint64 height = 0;
    quint32 bitsPerPixel = 0;
    quint32 compression = 0;
    if (infoSize == 12) {
        if (!in.Read(header + 18, 8))
            return Completeness::Truncated;
        width = Le16(header + 18);
        height = Le16(header + 20);
        bitsPerPixel = Le16(header + 24);
    } else if (infoSize >= 40) {
        if (!in.Read(header + 18, 36))
            return Completeness::Truncated;
        width = qint32(Le32(header + 18));
        height = qint32(Le32(header + 22));
        bitsPerPixel = Le16(header + 28);
        compression = Le32(header + 30);
    } else {
        return Completeness::Unknown;
    }
    const qint64 rows = height < 0 ? -height : height;
    if (width <= 0 || rows == 0 || dataOffset < 14 + infoSize)
        return Completeness::Unknown;

    enum { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6 };
    if (compression == Rgb || compression == BitFields || compression == AlphaBitFields) {
        if (bitsPerPixel == 0 || bitsPerPixel > 32)
            return Completeness::Unknown;
        // Every row is read whole, padded to 32 bits.
        const qint64 stride = (width * bitsPerPixel + 31) / 32 * 4;
        if (rows > (std::numeric_limits<qint64>::max() - dataOffset) / stride)
            return Completeness::Truncated;
        return fileSize >= dataOffset + stride * rows ? Completeness::Complete
                                                      : Completeness::Truncated;
    }
    if (compression == Rle8 || compression == Rle4) {
        if (!in.Seek(dataOffset))
            return Completeness::Truncated;
        return WalkBmpRunLengths(in, rows, compression == Rle4);
    }
    return Completeness::Unknown; // embedded JPEG or PNG: that decoder judges
}

// Data sub-blocks: a length byte and that many bytes, up to a zero length.
bool SkipGifSubBlocks(ByteSource& in) {
    for (;;) {
        quint8 length;
        if (!in.Byte(length))
            return false;
        if (length == 0)
            return true;
        if (!in.Skip(length))
            return false;
    }
}

// Only the first image is shown, so the file must hold that image's data to its end.
Completeness CheckGif(ByteSource& in) {
    quint8 header[13];
    if (!in.Read(header, 13))
        return Completeness::Truncated;
    if (header[10] & 0x80 && !in.Skip(3 << ((header[10] & 7) + 1)))
        return Completeness::Truncated;
    for (;;) {
        quint8 introducer;
        if (!in.Byte(introducer))
            return Completeness::Truncated;
        if (introducer == 0x21) { // extension: label, then sub-blocks
            quint8 label;
            if (!in.Byte(label) || !SkipGifSubBlocks(in))
                return Completeness::Truncated;
        } else if (introducer == 0x2C) { // image descriptor
            quint8 descriptor[9];
            if (!in.Read(descriptor, 9))
                return Completeness::Truncated;
            if (descriptor[8] & 0x80 && !in.Skip(3 << ((descriptor[8] & 7) + 1)))
                return Completeness::Truncated;
            quint8 minimumCodeSize;
            if (!in.Byte(minimumCodeSize) || !SkipGifSubBlocks(in))
                return Completeness::Truncated;
            return Completeness::Complete;
        } else {
            return Completeness::Unknown; // no image at all, or damage: the decoder judges
        }
    }
}

// Chunks of length, type, data and CRC, up to and including IEND; the CRC of every
// critical chunk (an upper-case first letter) checked.
Completeness CheckPng(ByteSource& in) {
    if (!in.Skip(8))
        return Completeness::Truncated;
    for (;;) {
        quint8 chunk[8];
        if (!in.Read(chunk, 8))
            return Completeness::Truncated;
        const quint32 length = Be32(chunk);
        if (length > 0x7FFFFFFFu)
            return Completeness::Unknown;
        // libpng reports a damaged critical chunk by printing to standard error, which
        // no reader can keep to itself: such a file is refused before it gets there.
        if ((chunk[4] & 0x20) == 0) {
            uLong crc = crc32(0, chunk + 4, 4);
            quint8 stored[4];
            if (!in.Crc(length, crc) || !in.Read(stored, 4))
                return Completeness::Truncated;
            if (Be32(stored) != crc)
                return Completeness::Damaged;
        } else if (!in.Skip(qint64(length) + 4)) {
            return Completeness::Truncated;
        }
        if (std::memcmp(chunk + 4, "IEND", 4) == 0)
            return Completeness::Complete;
    }
}

// The code after one or more 0xFF bytes.
bool NextMarkerCode(ByteSource& in, quint8& code) {
    do {
        if (!in.Byte(code))
            return false;
    } while (code == 0xFF);
    return true;
}

// Segments up to EOI; after each start of scan, entropy-coded data runs to the next
// marker that is neither a stuffed zero nor a restart marker.
Completeness CheckJpeg(ByteSource& in) {
    if (!in.Skip(2))
        return Completeness::Truncated;
    quint8 marker = 0;
    bool pending = false;
    for (;;) {
        if (!pending && (!in.SkipPast(0xFF) || !NextMarkerCode(in, marker)))
            return Completeness::Truncated;
        pending = false;
        if (marker == 0xD9)
            return Completeness::Complete;
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue; // no length follows
        quint8 length[2];
        if (!in.Read(length, 2))
            return Completeness::Truncated;
        const qint64 segment = qint64(length[0]) << 8 | length[1];
        if (segment < 2)
            return Completeness::Unknown;
        if (!in.Skip(segment - 2))
            return Completeness::Truncated;
        if (marker != 0xDA)
            continue;
        for (;;) {
            quint8 code;
            if (!in.SkipPast(0xFF) || !NextMarkerCode(in, code))
                return Completeness::Truncated;
            if (code == 0x00 || (code >= 0xD0 && code <= 0xD7))
                continue;
            marker = code;
            pending = true;
            break;
        }
    }
}

} // namespace

Completeness CheckPictureCompleteness(int fd, qint64 fileSize, QByteArray* format) {
    const auto recognised = [format](const char* name) {
        if (format)
            *format = name;
    };
    quint8 magic[8] = {};
    ssize_t got;
    do {
        got = ::pread(fd, magic, sizeof magic, 0);
    } while (got < 0 && errno == EINTR);
    if (got < 2)
        return Completeness::Unknown;
    ByteSource in(fd, fileSize);
    if (magic[0] == 'B' && magic[1] == 'M')
        return recognised("bmp"), CheckBmp(in, fileSize);
    if (got >= 6 && (std::memcmp(magic, "GIF87a", 6) == 0 || std::memcmp(magic, "GIF89a", 6) == 0))
        return recognised("gif"), CheckGif(in);
    if (got == 8 && std::memcmp(magic, "\x89PNG\r\n\x1a\n", 8) == 0)
        return recognised("png"), CheckPng(in);
    if (got >= 3 && magic[0] == 0xFF && magic[1] == 0xD8 && magic[2] == 0xFF)
        return recognised("jpeg"), CheckJpeg(in);
    return Completeness::Unknown;
}

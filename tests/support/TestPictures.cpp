// Test picture generation.
#include "tests/support/TestPictures.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace testsupport {

QImage GradientImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(x % 256, y % 256, (x + y) % 256);
    }
    return image;
}

QString WritePicture(const QImage& image, const QString& path, const char* format) {
    QImageWriter writer(path, format);
    writer.write(image);
    return path;
}

QByteArray EncodePicture(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.write(image);
    return bytes;
}

QByteArray HugeBmpHeader(qint32 width, qint32 height) {
    QByteArray data(54, '\0');
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            data[at + i] = char(v >> (8 * i) & 0xFF);
    };
    data[0] = 'B';
    data[1] = 'M';
    put32(2, 54 + 16);
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(width));
    put32(22, quint32(height));
    data[26] = 1;  // planes
    data[28] = 24; // bits per pixel
    data.append(16, '\0');
    return data;
}

QByteArray RunLengthBmp(int width, int height, int rows, int bits) {
    QByteArray data;
    for (int r = 0; r < rows; ++r) {
        for (int left = width; left > 0; left -= 255) {
            data += char(qMin(left, 255));
            data += char(bits == 4 ? r % 4 * 0x11 : r % 4);
        }
        data += QByteArray("\0\0", 2);
    }
    data += QByteArray("\0\1", 2);

    const int paletteBytes = 4 * 4;
    const quint32 offset = 14 + 40 + paletteBytes;
    QByteArray bmp(int(offset), '\0');
    auto put = [&](int at, quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp[at + i] = char(value >> (8 * i) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, offset + quint32(data.size()), 4);
    put(10, offset, 4);
    put(14, 40, 4);
    put(18, quint32(width), 4);
    put(22, quint32(height), 4);
    put(26, 1, 2);                    // planes
    put(28, quint32(bits), 2);        // bits per pixel
    put(30, bits == 4 ? 2 : 1, 4);    // 4-bit or 8-bit run lengths
    put(34, quint32(data.size()), 4); // image bytes
    put(46, 4, 4);                    // colours used
    const quint32 palette[4] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    for (int i = 0; i < 4; ++i)
        put(54 + 4 * i, palette[i], 4);
    return bmp + data;
}

QByteArray Gzip(const QByteArray& bytes) {
    z_stream stream{};
    QByteArray compressed;
    if (deflateInit2(&stream, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return compressed;
    compressed.resize(qsizetype(deflateBound(&stream, uLong(bytes.size()))));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(compressed.data());
    stream.avail_out = uInt(compressed.size());
    deflate(&stream, Z_FINISH);
    compressed.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return compressed;
}

FifoUnblocker::FifoUnblocker(const QString& fifoPath, int waitLimitSeconds)
    : path_(QFile::encodeName(fifoPath)) {
    thread_ = std::thread([this, waitLimitSeconds] { Run(waitLimitSeconds); });
}

FifoUnblocker::~FifoUnblocker() {
    Finish();
}

bool FifoUnblocker::Finish() {
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    done_.notify_all();
    if (thread_.joinable())
        thread_.join();
    return !helped_;
}

void FifoUnblocker::Run(int waitLimitSeconds) {
    std::unique_lock lock(mutex_);
    if (done_.wait_for(lock, std::chrono::seconds(waitLimitSeconds), [this] { return finished_; }))
        return;
    helped_ = true;
    // A reader may block in open() (no writer yet) or in read() (a writer came and went);
    // each open and close of a writer ends either wait, so repeat until the work is over.
    // A writer blocked in open() is freed by a reader's open.
    while (!finished_) {
        lock.unlock();
        for (const int flags : {O_WRONLY, O_RDONLY}) {
            const int fd = ::open(path_.constData(), flags | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0)
                ::close(fd);
        }
        lock.lock();
        done_.wait_for(lock, std::chrono::milliseconds(50), [this] { return finished_; });
    }
}

} // namespace testsupport

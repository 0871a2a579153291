// Pictures made by the tests themselves: solid or patterned images written to files, picture
// bytes cut or built by hand, and a guard for a reader blocked on a FIFO.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace testsupport {

// A w x h picture whose pixel (x, y) has red x % 256, green y % 256 and blue (x + y) % 256.
QImage GradientImage(int width, int height);
// Writes the image in the given format ("bmp", "gif", "jpg", "png"); returns the path.
QString WritePicture(const QImage& image, const QString& path, const char* format);
// The image encoded in the given format, in memory.
QByteArray EncodePicture(const QImage& image, const char* format);

// A run-length BMP (8 or 4 bits) of width x height pixels, bottom-up, with the palette
// black, red, green, blue: row r (from the bottom) is a run of colour r % 4 over the whole
// width, ended by an end-of-line code; the bitmap ends with the end-of-bitmap code. With
// rows == 0 the data is the end-of-bitmap code alone (every pixel then keeps colour 0).
QByteArray RunLengthBmp(int width, int height, int rows, int bits = 8);

// The 54-byte header of a 24-bit BMP of width x height pixels, followed by only 16 bytes
// of pixel data: a picture that claims far more than it holds.
QByteArray HugeBmpHeader(qint32 width, qint32 height);

// The bytes compressed as a gzip stream (an SVGZ file's form).
QByteArray Gzip(const QByteArray& bytes);

// Guards a test against a reader or writer blocked on a FIFO: if Finish() has not been
// called when the wait limit passes, it opens the FIFO for writing and for reading and
// closes it again, which gives a blocked reader an end of file and lets a blocked writer's
// open return, and remembers that it had to.
class FifoUnblocker {
public:
    explicit FifoUnblocker(const QString& fifoPath, int waitLimitSeconds = 20);
    ~FifoUnblocker();
    FifoUnblocker(const FifoUnblocker&) = delete;
    FifoUnblocker& operator=(const FifoUnblocker&) = delete;

    // The guarded work is over; true when it ended without the unblocker's help.
    bool Finish();

private:
    void Run(int waitLimitSeconds);

    QByteArray path_;
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::atomic<bool> helped_{false};
    std::thread thread_;
};

} // namespace testsupport

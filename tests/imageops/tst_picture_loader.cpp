// Picture surfaces, the whole-picture copy and the picture loader: the formats it reads,
// bad files, and files that are not what they seem: special files, cut-off pictures, names
// that are not UTF-8, decoders that run out of memory or talk.
#include "imageops/PictureLoader.h"
#include "imageops/PictureSurface.h"
#include "platform/FileNames.h"
#include "tests/imageops/PictureLoads.h"
#include "tests/support/FilePermissions.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

const QString OutOfMemoryText = QStringLiteral("メモリが不足しているため、画像を読み込めません。");

// Everything written to standard error (the descriptor, so a library's own fprintf counts
// too) and every Qt message, while one object lives.
class OutputCatcher {
public:
    OutputCatcher() {
        active_ = this;
        previous_ = qInstallMessageHandler(&Handler);
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        file_ = ::memfd_create("stderr", MFD_CLOEXEC);
        ::dup2(file_, STDERR_FILENO);
    }
    ~OutputCatcher() { Stop(); }

    // What reached standard error and the Qt message handler.
    QStringList Stop() {
        if (active_ == this) {
            std::fflush(stderr);
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
            qInstallMessageHandler(previous_);
            active_ = nullptr;
            QByteArray written(4096, '\0');
            const auto got = ::pread(file_, written.data(), size_t(written.size()), 0);
            ::close(file_);
            written.truncate(qMax<qsizetype>(got, 0));
            if (!written.isEmpty())
                caught_ << QStringLiteral("stderr: ") + QString::fromUtf8(written);
        }
        return caught_;
    }

private:
    static void Handler(QtMsgType, const QMessageLogContext&, const QString& message) {
        if (active_)
            active_->caught_ << message;
    }

    static inline OutputCatcher* active_ = nullptr;
    QtMessageHandler previous_ = nullptr;
    int saved_ = -1;
    int file_ = -1;
    QStringList caught_;
};

QByteArray Cut(const QByteArray& bytes, double fraction, int fewer) {
    return bytes.left(qsizetype(bytes.size() * fraction) - fewer);
}

// The second process of outOfMemoryIsReported: loads a picture with little address space
// left and prints the loader's error.
int LoadWithLittleMemory(const QString& path) {
    // Room for the loader's own small allocations, far less than the decoded picture.
    constexpr long long headroomBytes = 48ll << 20;
    long long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%lld", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    if (pages <= 0)
        return 3;
    const rlim_t limit = rlim_t(pages * ::sysconf(_SC_PAGESIZE) + headroomBytes);
    const rlimit address = {limit, limit};
    if (::setrlimit(RLIMIT_AS, &address) != 0)
        return 3;
    const Loaded loaded = Load(path);
    std::fputs(loaded.image.isNull() ? loaded.error.toUtf8().constData() : "loaded", stdout);
    return 0;
}

} // namespace

class TestPictureLoader : public PictureFolderTest {
    Q_OBJECT
private:
    static QByteArray SampleGif() {
        return testsupport::ReadAll(QStringLiteral(GLYFORA_SOURCE_DIR "/resources/sample.gif"));
    }

    // Complete pictures of every checked kind, by name, with their pixel size.
    static QByteArray Picture(const QString& kind, QSize* size = nullptr) {
        // 201 pixels: a BMP row of 603 bytes padded to 604.
        const QImage gradient = testsupport::GradientImage(201, 150);
        QByteArray bytes;
        QSize pixels(201, 150);
        if (kind == QLatin1String("gif")) {
            bytes = SampleGif();
            pixels = QSize(160, 120);
        } else if (kind == QLatin1String("bmp rle")) {
            bytes = testsupport::RunLengthBmp(300, 30, 30);
            pixels = QSize(300, 30);
        } else {
            bytes = testsupport::EncodePicture(gradient, kind.toLatin1().constData());
        }
        if (size)
            *size = pixels;
        return bytes;
    }

private Q_SLOTS:
    void surfaceRequirements() {
        PictureSurface surface(qRgb(10, 20, 30));
        QVERIFY(surface.Assign(testsupport::GradientImage(7, 5)));
        QCOMPARE(surface.ScaleWidth(), 7);
        QCOMPARE(surface.ScaleHeight(), 5);
        QCOMPARE(surface.Point(3, 2), platform::ColourFromRgb(qRgb(3, 2, 5)));
        QCOMPARE(surface.Point(7, 0), platform::InvalidColour);
        QCOMPARE(surface.Point(0, -1), platform::InvalidColour);
        surface.Clear();
        QCOMPARE(surface.ScaleWidth(), 7);
        QCOMPARE(surface.Point(6, 4), platform::ColourFromRgb(qRgb(10, 20, 30)));
    }

    void transparencyLaidOntoBackground() {
        QImage picture(2, 1, QImage::Format_ARGB32);
        picture.setPixel(0, 0, qRgba(0, 0, 0, 0));
        picture.setPixel(1, 0, qRgba(255, 0, 0, 255));
        PictureSurface surface(qRgb(255, 255, 255));
        QVERIFY(surface.Assign(picture));
        QCOMPARE(surface.Point(0, 0), Colour(0x00FFFFFF));
        QCOMPARE(surface.Point(1, 0), Colour(0x000000FF));
    }

    void copyPictureTakesSizeAndPixels() {
        PictureSurface source;
        PictureSurface destination;
        QVERIFY(destination.SetSize(50, 50));
        QVERIFY(source.Assign(testsupport::GradientImage(9, 4)));
        CopyPicture(destination, source);
        QCOMPARE(destination.ScaleWidth(), 9);
        QCOMPARE(destination.ScaleHeight(), 4);
        QCOMPARE(destination.Point(8, 3), source.Point(8, 3));
        // Later edits of the source must not show through the copy.
        source.MutableImage().fill(qRgb(0, 0, 0));
        QCOMPARE(destination.Point(8, 3), platform::ColourFromRgb(qRgb(8, 3, 11)));
    }

    void loadsFormats_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("bmp") << "bmp";
        QTest::newRow("jpg") << "jpg";
        QTest::newRow("png") << "png";
    }
    void loadsFormats() {
        QFETCH(QString, format);
        const QString path = testsupport::WritePicture(testsupport::GradientImage(33, 17),
                                                       dir_.filePath(QStringLiteral("p.") + format),
                                                       format.toLatin1().constData());
        const Loaded loaded = Load(path);
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        QCOMPARE(loaded.image.size(), QSize(33, 17));
    }

    void loadsBundledGif() {
        const Loaded loaded = Load(QStringLiteral(GLYFORA_SOURCE_DIR "/resources/sample.gif"));
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        QCOMPARE(loaded.image.size(), QSize(160, 120));
    }

    void loadsPathWithSpacesAmpersandAndJapanese() {
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("a b & 写真")));
        const QString path = testsupport::WritePicture(
            testsupport::GradientImage(4, 3),
            dir_.filePath(QStringLiteral("a b & 写真/猫 & 犬.bmp")), "bmp");
        QCOMPARE(Load(path).image.size(), QSize(4, 3));
    }

    void badFilesFailWithAReason_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty file") << "empty";
        QTest::newRow("truncated jpeg") << "truncated";
        QTest::newRow("text named .gif") << "text";
        QTest::newRow("directory") << "directory";
        QTest::newRow("missing") << "missing";
        QTest::newRow("100000 x 100000 header") << "huge";
        QTest::newRow("empty path") << "nopath";
    }
    void badFilesFailWithAReason() {
        QFETCH(QString, kind);
        QString path;
        if (kind == QLatin1String("empty")) {
            path = Write(QStringLiteral("empty.gif"), QByteArray());
        } else if (kind == QLatin1String("truncated")) {
            const QString full =
                testsupport::WritePicture(testsupport::GradientImage(300, 200),
                                          dir_.filePath(QStringLiteral("full.jpg")), "jpg");
            QFile file(full);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            path = Write(QStringLiteral("cut.jpg"), bytes.left(bytes.size() / 2));
        } else if (kind == QLatin1String("text")) {
            path = Write(QStringLiteral("notes.gif"), "This is not a picture.\n");
        } else if (kind == QLatin1String("directory")) {
            path = dir_.filePath(QStringLiteral("folder.gif"));
            QVERIFY(QDir().mkpath(path));
        } else if (kind == QLatin1String("missing")) {
            path = dir_.filePath(QStringLiteral("gone.gif"));
        } else if (kind == QLatin1String("huge")) {
            path = Write(QStringLiteral("huge.bmp"), testsupport::HugeBmpHeader(100000, 100000));
        }
        const Loaded loaded = Load(path);
        QVERIFY(loaded.image.isNull());
        QVERIFY(!loaded.error.trimmed().isEmpty());
    }

    void unreadableFileFails() {
        const testsupport::PermissionsBind bind; // root too is refused the file
        QVERIFY(bind.Holds());
        const QString path = testsupport::WritePicture(
            testsupport::GradientImage(4, 4), dir_.filePath(QStringLiteral("locked.bmp")), "bmp");
        QFile::setPermissions(path, QFile::WriteOwner);
        const Loaded loaded = Load(path);
        QVERIFY(loaded.image.isNull());
        QVERIFY(!loaded.error.isEmpty());
    }

    void onlyRegularFilesAreOpened_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("fifo") << "fifo"
                              << "通常のファイルではない";
        QTest::newRow("character device") << "device"
                                          << "通常のファイルではない";
        QTest::newRow("socket") << "socket"
                                << "通常のファイルではない";
        QTest::newRow("folder") << "folder"
                                << "フォルダー";
        QTest::newRow("link to a fifo") << "link"
                                        << "通常のファイルではない";
    }
    void onlyRegularFilesAreOpened() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QString path = dir_.filePath(kind + QStringLiteral(".png"));
        if (kind == QLatin1String("fifo") || kind == QLatin1String("link")) {
            const QString fifo = dir_.filePath(kind + QStringLiteral(".fifo"));
            QVERIFY(testsupport::MakeFifo(fifo));
            if (kind == QLatin1String("link"))
                QVERIFY(QFile::link(fifo, path));
            else
                path = fifo;
        } else if (kind == QLatin1String("device")) {
            path = testsupport::DeviceNode(dir_.path(), "zero", 5);
            if (path.isEmpty())
                QSKIP("only root makes device nodes");
        } else if (kind == QLatin1String("socket")) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            QVERIFY(fd >= 0);
            sockaddr_un address = {};
            address.sun_family = AF_UNIX;
            const QByteArray name = QFile::encodeName(path);
            QVERIFY(size_t(name.size()) < sizeof address.sun_path);
            std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
            const bool bound =
                ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
            ::close(fd);
            QVERIFY(bound);
        } else {
            QVERIFY(QDir().mkpath(path));
        }
        // A loader that blocks on the FIFO is freed after a while, and the test then fails.
        testsupport::FifoUnblocker unblocker(path);
        const Loaded loaded = Load(path);
        QVERIFY2(unblocker.Finish(), "the loader blocked on a special file");
        QVERIFY(loaded.image.isNull());
        QVERIFY2(loaded.error.contains(reason), qPrintable(loaded.error));
    }

    void cutOffPicturesAreRefused_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<int>("fewer");
        for (const char* kind : {"gif", "bmp", "bmp rle", "jpg", "png"}) {
            for (double fraction : {0.3, 0.6, 0.9})
                QTest::addRow("%s, %d%% kept", kind, int(fraction * 100)) << kind << fraction << 0;
        }
        // The very end: GIF without the first image's block terminator and the trailer,
        // an uncompressed BMP without the last row's padding, RLE without the last row's
        // end-of-line (and the end of bitmap), JPEG without the second byte of its end
        // marker, PNG without the last byte of the end chunk's checksum.
        QTest::newRow("gif, end of image data") << "gif" << 1.0 << 2;
        QTest::newRow("bmp, last row's padding") << "bmp" << 1.0 << 1;
        QTest::newRow("bmp rle, last end of line") << "bmp rle" << 1.0 << 3;
        QTest::newRow("jpg, end marker") << "jpg" << 1.0 << 1;
        QTest::newRow("png, end chunk") << "png" << 1.0 << 1;
    }
    void cutOffPicturesAreRefused() {
        QFETCH(QString, kind);
        QFETCH(double, fraction);
        QFETCH(int, fewer);
        const QString path =
            Write(QStringLiteral("cut.") + kind.left(3), Cut(Picture(kind), fraction, fewer));
        QVERIFY(!path.isEmpty());
        const Loaded loaded = Load(path);
        QVERIFY2(loaded.image.isNull(), "a cut-off picture loaded");
        QVERIFY2(loaded.error.contains(QStringLiteral("途中で切れて")), qPrintable(loaded.error));
    }

    void completePicturesLoad_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("trailing");
        for (const char* kind : {"gif", "bmp", "bmp rle", "jpg", "png"}) {
            QTest::addRow("%s", kind) << kind << QByteArray();
            QTest::addRow("%s with bytes after its end", kind) << kind << QByteArray(100, '\xff');
        }
        // Only the trailer missing: the first image is whole.
        QTest::newRow("gif without trailer") << "gif" << QByteArray("cut");
    }
    void completePicturesLoad() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, trailing);
        QSize size;
        QByteArray bytes = Picture(kind, &size);
        if (trailing == "cut")
            bytes.chop(1);
        else
            bytes += trailing;
        const QString path = Write(QStringLiteral("whole.") + kind.left(3), bytes);
        const Loaded loaded = Load(path);
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        QCOMPARE(loaded.image.size(), size);
    }

    // A JPEG is decoded at libjpeg's smallest reduction that still gives what is asked;
    // other formats, or nothing asked, at their size. A side that is not a multiple of the
    // reduction loses its last part-pixel (804 / 8 = 100.5): the red columns past the
    // last whole eight leave no trace in a pixel scaled from them.
    void reducedDecoding_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<QSize>("enough");
        QTest::addColumn<QSize>("decoded");
        const QSize stored(800, 600);
        QTest::newRow("an eighth")
            << QByteArray("jpg") << stored << QSize(90, 70) << QSize(100, 75);
        QTest::newRow("a half") << QByteArray("jpg") << stored << QSize(300, 200)
                                << QSize(400, 300);
        QTest::newRow("one side too small for a quarter")
            << QByteArray("jpg") << stored << QSize(150, 151) << QSize(400, 300);
        QTest::newRow("all of it")
            << QByteArray("jpg") << stored << QSize(800, 600) << QSize(800, 600);
        QTest::newRow("nothing asked") << QByteArray("jpg") << stored << QSize() << QSize(800, 600);
        QTest::newRow("png") << QByteArray("png") << stored << QSize(90, 70) << QSize(800, 600);
        QTest::newRow("an eighth, sides not multiples of eight")
            << QByteArray("jpg") << QSize(804, 603) << QSize(90, 70) << QSize(100, 75);
    }
    void reducedDecoding() {
        QFETCH(QByteArray, format);
        QFETCH(QSize, stored);
        QFETCH(QSize, enough);
        QFETCH(QSize, decoded);
        QImage picture(stored, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QPainter(&picture).fillRect(stored.width() / 8 * 8, 0, 8, stored.height(), Qt::red);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(picture.save(&buffer, format.constData()));
        const QString path = Write(QStringLiteral("reduced.") + QString::fromLatin1(format), bytes);
        QSize shown;
        const Loaded loaded = Load(path, [&](QSize size) {
            shown = size;
            return enough;
        });
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        QCOMPARE(loaded.image.size(), decoded);
        QCOMPARE(loaded.shownSize, stored);
        QCOMPARE(shown, format == "jpg" ? stored : QSize());
        const QColor last = loaded.image.pixelColor(decoded.width() - 1, decoded.height() / 2);
        QVERIFY2(last.red() < 8 && qAbs(last.green() - 128) < 8, qPrintable(last.name()));
    }

    void runLengthBmpEndedEarlyLoads() {
        // The end-of-bitmap code after 10 of 30 rows: the other rows keep colour 0.
        const QString path =
            Write(QStringLiteral("early.bmp"), testsupport::RunLengthBmp(20, 30, 10));
        const Loaded loaded = Load(path);
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        QCOMPARE(loaded.image.size(), QSize(20, 30));
        QCOMPARE(QColor(loaded.image.pixel(0, 28)), QColor(255, 0, 0)); // second row: colour 1
        QCOMPARE(QColor(loaded.image.pixel(0, 19)), QColor(0, 0, 0));   // untouched: colour 0
    }

    void formatComesFromTheContent_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::newRow("png named .gif") << "png"
                                        << "really-png.gif";
        QTest::newRow("bmp without a suffix") << "bmp"
                                              << "README";
        QTest::newRow("jpg named .bmp") << "jpg"
                                        << "photo.bmp";
        QTest::newRow("gif named .jpeg") << "gif"
                                         << "anim.jpeg";
    }
    void formatComesFromTheContent() {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QSize size;
        const QString path = Write(name, Picture(kind, &size));
        const Loaded loaded = Load(path);
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        QCOMPARE(loaded.image.size(), size);
    }

    void nameThatIsNotUtf8Loads() {
        const QByteArray name = QFile::encodeName(dir_.path()) + "/bad\xff\xfe.png";
        QVERIFY(testsupport::WriteFile(
            name, testsupport::EncodePicture(testsupport::GradientImage(5, 4), "png")));
        const Loaded loaded = Load(platform::DecodeFileName(name));
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        QCOMPARE(loaded.image.size(), QSize(5, 4));
        // The same name read as UTF-8 with replacement characters names no file.
        QVERIFY(Load(QString::fromUtf8(name)).image.isNull());
        ::unlink(name.constData()); // QTemporaryDir could not remove it
    }

    void decodersSayNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("loads");
        QTest::newRow("png with a damaged data chunk") << "png" << false;
        // libjpeg decodes what it can and warns.
        QTest::newRow("jpg with damaged data") << "jpg" << true;
        QTest::newRow("jpg cut off") << "jpg cut" << false;
    }
    void decodersSayNothing() {
        QFETCH(QString, kind);
        QFETCH(bool, loads);
        QByteArray bytes = Picture(kind.left(3));
        if (kind == QLatin1String("png")) {
            bytes[bytes.indexOf("IDAT") + 10] = char(bytes[bytes.indexOf("IDAT") + 10] ^ 0x5A);
        } else if (kind == QLatin1String("jpg")) {
            const qsizetype scan = bytes.indexOf("\xff\xda");
            QVERIFY(scan > 0);
            for (qsizetype i = scan + 40; i < scan + 80; ++i)
                bytes[i] = '\x13';
        } else {
            bytes = bytes.left(bytes.size() / 2);
        }
        const QString path = Write(QStringLiteral("damaged.") + kind.left(3), bytes);
        OutputCatcher catcher;
        const Loaded loaded = Load(path);
        const QStringList said = catcher.Stop();
        QVERIFY2(said.isEmpty(), qPrintable(said.join(u'\n')));
        QVERIFY2(loaded.image.isNull() != loads, qPrintable(loaded.error));
        QCOMPARE(loaded.error.isEmpty(), loads);
    }

    // Reading a picture leaves standard error to the rest of the process: another
    // thread's lines written meanwhile all arrive, and a picture's message is the same
    // alone as beside another reading.
    void readingLeavesStandardErrorAlone() {
        QByteArray damaged = Picture(QStringLiteral("png"));
        const qsizetype data = damaged.indexOf("IDAT") + 10;
        damaged[data] = char(damaged[data] ^ 0x5A);
        const QString path = Write(QStringLiteral("beside.png"), damaged);
        const QString good = Write(QStringLiteral("good.png"), Picture(QStringLiteral("png")));
        const QString alone = Load(path).error;
        QVERIFY(!alone.isEmpty());
        OutputCatcher catcher;
        std::atomic<bool> done = false;
        int written = 0;
        std::thread beside([&] {
            // 2 bytes a line: the catcher keeps 4 KiB.
            for (; !done && written < 1000; ++written) {
                Load(good);
                if (::write(STDERR_FILENO, "b\n", 2) != 2)
                    break;
            }
        });
        QStringList messages;
        for (int i = 0; i < 30; ++i)
            messages << Load(path).error;
        done = true;
        beside.join();
        const QStringList said = catcher.Stop();
        QCOMPARE(messages, QStringList(30, alone));
        QCOMPARE(said.join(QString()).count(QLatin1String("b\n")), written);
    }

    void outOfMemoryIsReported() {
        // 12000 x 12000 pixels of 8 bits (137 MiB decoded, well under the size refused
        // outright) from a file of a few bytes.
        const QString path =
            Write(QStringLiteral("wide.bmp"), testsupport::RunLengthBmp(12000, 12000, 0));
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--load-with-little-memory"), path});
        QVERIFY(child.waitForStarted());
        const bool ended = child.waitForFinished(120000); // a hang guard only
        if (!ended)
            child.kill();
        QVERIFY(ended);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()), OutOfMemoryText);
    }
};

int main(int argc, char* argv[]) {
    if (argc == 3 && std::strcmp(argv[1], "--load-with-little-memory") == 0) {
        QCoreApplication app(argc, argv);
        return LoadWithLittleMemory(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    TestPictureLoader test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_picture_loader.moc"

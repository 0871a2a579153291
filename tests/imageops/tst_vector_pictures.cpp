// Drawings as pictures: an SVG or SVGZ is drawn from its own content alone, and its document
// is read only up to the picture size limit.
#include "tests/imageops/PictureLoads.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestVectorPictures : public PictureFolderTest {
    Q_OBJECT
private Q_SLOTS:
    // An SVG is drawn from its own content alone: a reference to anything outside the
    // document is not followed (a FIFO never blocks, a private picture never appears); a
    // data: picture is drawn, and one that is itself an SVG is held to the same rule.
    void svgDrawsOnlyItsOwnContent_data() {
        QTest::addColumn<QString>("reference"); // %1: the test folder
        QTest::addColumn<bool>("compressed");
        QTest::addColumn<QRgb>("drawn"); // where the reference is drawn; 0: nothing
        QTest::newRow("fifo") << "%1/svg.fifo" << false << 0u;
        QTest::newRow("local picture") << "%1/private.png" << false << 0u;
        QTest::newRow("local picture, svgz") << "%1/private.png" << true << 0u;
        QTest::newRow("data: picture") << "%png" << false << qRgb(0, 255, 0);
        // The inner drawing is blue where its own picture is not drawn.
        QTest::newRow("data: svg naming a local picture") << "%svg" << false << qRgb(0, 0, 255);
    }
    void svgDrawsOnlyItsOwnContent() {
        QFETCH(QString, reference);
        QFETCH(bool, compressed);
        QFETCH(QRgb, drawn);
        const QString fifo = dir_.filePath(QStringLiteral("svg.fifo"));
        if (!QFileInfo::exists(fifo))
            QVERIFY(testsupport::MakeFifo(fifo));
        QImage red(4, 4, QImage::Format_RGB32);
        red.fill(qRgb(255, 0, 0));
        testsupport::WritePicture(red, dir_.filePath(QStringLiteral("private.png")), "png");
        QImage green(4, 4, QImage::Format_RGB32);
        green.fill(qRgb(0, 255, 0));
        const auto document = [](const QString& href, int width) {
            return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                  "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"%1\" "
                                  "height=\"4\"><rect width=\"4\" height=\"4\" fill=\"blue\"/>"
                                  "<image x=\"%2\" width=\"4\" height=\"4\" xlink:href=\"%3\"/>"
                                  "</svg>")
                .arg(width)
                .arg(width - 4)
                .arg(href)
                .toUtf8();
        };
        reference.replace(QStringLiteral("%1"), dir_.path());
        if (reference == QLatin1String("%png"))
            reference =
                "data:image/png;base64," + testsupport::EncodePicture(green, "png").toBase64();
        else if (reference == QLatin1String("%svg"))
            reference = "data:image/svg+xml;base64," +
                        document(dir_.filePath(QStringLiteral("private.png")), 4).toBase64();
        QByteArray bytes = document(reference, 8);
        if (compressed)
            bytes = testsupport::Gzip(bytes);
        const QString path = Write(compressed ? "picture.svgz" : "picture.svg", bytes);
        testsupport::FifoUnblocker unblocker(fifo);
        const Loaded loaded = Load(path);
        QVERIFY2(unblocker.Finish(), "the loader blocked on a FIFO the picture names");
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        QCOMPARE(loaded.image.size(), QSize(8, 4));
        QCOMPARE(loaded.image.pixel(1, 1), qRgb(0, 0, 255));
        QCOMPARE(loaded.image.pixel(6, 1), drawn);
    }

    // The picture size limit holds for drawings too: an SVG document, as stored or as
    // inflated from SVGZ, is read up to a limit.
    void vectorPicturesWithinLimits_data() {
        QTest::addColumn<bool>("compressed");
        QTest::newRow("svgz inflating past the limit") << true;
        QTest::newRow("svg file past the limit") << false;
    }
    void vectorPicturesWithinLimits() {
        QFETCH(bool, compressed);
        const QByteArray head = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" "
                                "height=\"4\"><!--";
        const qsizetype size = (qsizetype(64) << 20) + 1;
        QString path;
        if (compressed) {
            const QByteArray document = head + QByteArray(size, ' ') + "--></svg>";
            path = Write(QStringLiteral("bomb.svgz"), testsupport::Gzip(document));
            QVERIFY(QFileInfo(path).size() < 1 << 20);
        } else {
            path = Write(QStringLiteral("large.svg"), head);
            QVERIFY(QFile::resize(path, size));
        }
        const Loaded loaded = Load(path);
        QVERIFY(loaded.image.isNull());
        QCOMPARE(
            loaded.error,
            QStringLiteral("画像が大きすぎて読み込めません (SVG の文書が 64 MB を超えます)。"));
        QFile::remove(path);
    }
};

QTEST_GUILESS_MAIN(TestVectorPictures)
#include "tst_vector_pictures.moc"

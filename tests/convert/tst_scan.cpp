// The text and HTML scans: characters and cells, geometry and progress, selections,
// cancel, failures, scans on two threads at once, and agreement with a per-pixel reference
// scan.
#include "convert/CellSampling.h"
#include "convert/CharacterTable.h"
#include "convert/ConversionSettings.h"
#include "convert/ConversionState.h"
#include "convert/ConvertScan.h"
#include "convert/IntermediateFile.h"
#include "convert/MakeColorCell.h"
#include "platform/Paths.h"
#include "tests/convert/ScanTestSupport.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QTest>
#include <barrier>
#include <thread>

using namespace mGlyfora;
using testsupport::RecordingHost;

Q_DECLARE_METATYPE(mGlyfora::SelectionRect)

namespace {

const QString IndexRamp = QStringLiteral("0123456789ABCDEF");

// The program's scan, its text alone.
QString ConvertTo(ScanKind kind, const PictureSurface& picture, const SelectionRect& cut,
                  ScanHost& host) {
    return Scan(kind, ConversionSettings, picture, cut, host).text;
}

QString Crlf(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n"));
}

using testsupport::CollectingSink;

} // namespace

class TestScan : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::ResetProcessValues(); }

    void pickCharacter_data() {
        QTest::addColumn<QString>("ramp");
        QTest::addColumn<bool>("reverse");
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<QString>("expected");
        const QString def = QStringLiteral(" .,:;!IU0OQRB&%@");
        QTest::newRow("white") << def << false << qRgb(255, 255, 255) << " ";
        QTest::newRow("black") << def << false << qRgb(0, 0, 0) << "@";
        QTest::newRow("240") << def << false << qRgb(240, 0, 0) << " ";
        QTest::newRow("239") << def << false << qRgb(0, 239, 0) << ".";
        QTest::newRow("16") << def << false << qRgb(0, 0, 16) << "%";
        QTest::newRow("15") << def << false << qRgb(15, 15, 15) << "@";
        QTest::newRow("pure red is bright") << def << false << qRgb(255, 0, 0) << " ";
        QTest::newRow("reverse white") << def << true << qRgb(255, 255, 255) << "@";
        QTest::newRow("reverse black") << def << true << qRgb(0, 0, 0) << " ";
        QTest::newRow("one character") << "#" << false << qRgb(0, 0, 0) << "#";
        QTest::newRow("one character, white") << "#" << false << qRgb(255, 255, 255) << "#";
        QTest::newRow("3: 171") << "abc" << false << qRgb(171, 0, 0) << "a";
        QTest::newRow("3: 170") << "abc" << false << qRgb(170, 0, 0) << "b";
        QTest::newRow("3: 86") << "abc" << false << qRgb(0, 86, 0) << "b";
        QTest::newRow("3: 85") << "abc" << false << qRgb(0, 85, 0) << "c";
        // Six characters: thresholds 256, 213, 170, 127, 84, 41.
        const int six[][2] = {{213, 'a'}, {212, 'b'}, {170, 'b'}, {169, 'c'}, {127, 'c'},
                              {126, 'd'}, {84, 'd'},  {83, 'e'},  {41, 'e'},  {40, 'f'}};
        for (const auto& [m, c] : six) {
            QTest::addRow("6: %d", m)
                << "abcdef" << false << qRgb(m, m / 2, 0) << QString(QChar(c));
        }
        const QString thirty = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123");
        QTest::newRow("30: black stops at 28") << thirty << false << qRgb(0, 0, 0) << "2";
        QTest::newRow("30: 3 is 28 too") << thirty << false << qRgb(3, 3, 3) << "2";
        QTest::newRow("30: 4") << thirty << false << qRgb(4, 0, 0) << "1";
        QTest::newRow("japanese white") << "　・：＃" << false << qRgb(255, 255, 255) << "　";
        QTest::newRow("japanese black") << "　・：＃" << false << qRgb(0, 0, 0) << "＃";
        QTest::newRow("japanese reverse") << "　・：＃" << true << qRgb(0, 0, 0) << "　";
        QTest::newRow("beyond the basic plane")
            << QString::fromUtf8("😀😁😂") << false << qRgb(0, 0, 0) << QString::fromUtf8("😂");
        QTest::newRow("beyond the basic plane, middle")
            << QString::fromUtf8("😀😁😂") << false << qRgb(100, 0, 0) << QString::fromUtf8("😁");
    }
    void pickCharacter() {
        QFETCH(QString, ramp);
        QFETCH(bool, reverse);
        QFETCH(QRgb, colour);
        QFETCH(QString, expected);
        ConversionSettings.Charactor = ramp;
        ConversionSettings.Reverse = reverse;
        QVERIFY(reverse ? FillCharacterTableReverse() : FillCharacterTable());
        QCOMPARE(PickCharacter(platform::ColourFromRgb(colour)), expected);
        // The scan of a 1 x 1 picture of that colour: one character, no line break.
        RecordingHost host;
        QCOMPARE(ConvertTo(ScanKind::Text, testsupport::SolidSurface(1, 1, colour), {}, host),
                 expected);
    }

    // Brightness as luminance: greys as with the largest component, colours by their
    // lightness (sRGB decoded, Rec. 709 weights, encoded again).
    void luminance_data() {
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<QString>("expected");
        QTest::newRow("white") << qRgb(255, 255, 255) << " ";
        QTest::newRow("black") << qRgb(0, 0, 0) << "@";
        QTest::newRow("grey 128 as its largest component") << qRgb(128, 128, 128) << "U";
        QTest::newRow("grey 239") << qRgb(239, 239, 239) << ".";
        QTest::newRow("red: 127") << qRgb(255, 0, 0) << "0";
        QTest::newRow("green: 220") << qRgb(0, 255, 0) << ",";
        QTest::newRow("blue: 76") << qRgb(0, 0, 255) << "R";
        QTest::newRow("yellow: 247") << qRgb(255, 255, 0) << " ";
    }
    void luminance() {
        QFETCH(QRgb, colour);
        QFETCH(QString, expected);
        ConversionSettings.Luminance = true;
        RecordingHost host;
        QCOMPARE(ConvertTo(ScanKind::Text, testsupport::SolidSurface(2, 1, colour), {}, host),
                 expected + expected);
    }

    void characterTable() {
        ConversionSettings.Charactor = QStringLiteral("abcdef");
        QVERIFY(FillCharacterTable());
        ConversionSettings.Charactor = QString::fromUtf8("x😀");
        QVERIFY(FillCharacterTableReverse());
        QCOMPARE(CharacterTable[0], QString::fromUtf8("😀"));
        QCOMPARE(CharacterTable[1], QStringLiteral("x"));
        QCOMPARE(CharacterTable[2], QStringLiteral("c")); // left by the longer ramp

        // A lone surrogate cannot go through the UTF-8 file as it is, but it cannot break
        // the scan either.
        ConversionSettings.Charactor = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b");
        RecordingHost lone;
        const ScanOutcome replaced =
            Scan(ScanKind::Text, ConversionSettings, testsupport::SolidSurface(2, 1, 0), {}, lone);
        QCOMPARE(replaced.status, ScanStatus::Done);
        QCOMPARE(replaced.text.size(), 2);

        ConversionSettings.Charactor = QString(65, u'z');
        QVERIFY(FillCharacterTable());
        for (const QString& ramp : {QString(), QString(66, u'z')}) {
            ConversionSettings.Charactor = ramp;
            QVERIFY(!FillCharacterTable());
            RecordingHost host;
            const ScanOutcome outcome = Scan(ScanKind::Text, ConversionSettings,
                                             testsupport::SolidSurface(2, 2, 0), {}, host);
            QCOMPARE(outcome.status, ScanStatus::BadSettings);
            QVERIFY(outcome.text.isEmpty());
            QVERIFY(host.errors.isEmpty());
        }
    }

    void geometry_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("cellX");
        QTest::addColumn<int>("cellY");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("estimate");
        QTest::newRow("1x1") << 1 << 1 << 1 << 1 << "0" << 1;
        QTest::newRow("10 wide, X=3: columns 0,3,6,9") << 10 << 1 << 3 << 1 << "0369" << 1;
        QTest::newRow("11 rows, Y=2: estimate 6")
            << 2 << 11 << 1 << 2 << Crlf(QStringList(6, QStringLiteral("01"))) << 6;
        QTest::newRow("9 rows, Y=2: estimate 4")
            << 2 << 9 << 1 << 2 << Crlf(QStringList(5, QStringLiteral("01"))) << 4;
        QTest::newRow("partial cells count") << 7 << 5 << 4 << 4 << Crlf({"04", "04"}) << 1;
    }
    void geometry() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, cellX);
        QFETCH(int, cellY);
        QFETCH(QString, expected);
        QFETCH(int, estimate);
        ConversionSettings.Charactor = IndexRamp;
        ConversionSettings.X = quint8(cellX);
        ConversionSettings.Y = quint8(cellY);
        RecordingHost host;
        QCOMPARE(
            ConvertTo(ScanKind::Text, testsupport::ColumnIndexSurface(width, height), {}, host),
            expected);
        const int rows = int(expected.count(QStringLiteral("\r\n"))) + 1;
        QCOMPARE(host.ranges, (QList<QPair<int, int>>{{0, estimate}}));
        QCOMPARE(host.eventCalls, rows);
        // The position trails by one row: 0 after the first row, and never past the estimate.
        QList<int> positions;
        for (int k = 0; k < rows && k <= estimate; ++k)
            positions.append(k);
        QCOMPARE(host.positions, positions);
        QCOMPARE(TempFileName, platform::TempFolder() + QStringLiteral("~glyfora.tmp"));
        QCOMPARE(testsupport::ReadAll(IntermediateFilePath()),
                 (expected + QStringLiteral("\r\n")).toUtf8());
    }

    void selection_data() {
        QTest::addColumn<SelectionRect>("cut");
        QTest::addColumn<QString>("expected");
        QTest::newRow("hidden selection: whole picture")
            << SelectionRect{false, 2, 1, 3, 1} << Crlf({"012345", "012345"});
        QTest::newRow("left 2.5 rounds to 2, right 5.5 to 6")
            << SelectionRect{true, 2.5f, 0, 3, 1} << "2345";
        QTest::newRow("left 1.5 rounds to 2, right 4.5 to 4")
            << SelectionRect{true, 1.5f, 0, 3, 1} << "23";
        QTest::newRow("sum before rounding") << SelectionRect{true, 1.4f, 0, 1.2f, 1} << "12";
        QTest::newRow("top 0.5 rounds to 0, bottom 1.5 to 2")
            << SelectionRect{true, 0, 0.5f, 1, 1} << Crlf({"0", "0"});
        QTest::newRow("past every edge")
            << SelectionRect{true, -2, -1, 10, 4} << Crlf({"", "012345", "012345", ""});
        QTest::newRow("beside the picture: one empty row")
            << SelectionRect{true, 50, 0, 5, 1} << "";
        QTest::newRow("no rows") << SelectionRect{true, 0, 0, 6, 0} << "";
    }
    void selection() {
        QFETCH(SelectionRect, cut);
        QFETCH(QString, expected);
        ConversionSettings.Charactor = IndexRamp;
        RecordingHost host;
        const PictureSurface picture = testsupport::ColumnIndexSurface(6, 2);
        QCOMPARE(ConvertTo(ScanKind::Text, picture, cut, host), expected);
        QCOMPARE(testsupport::ReferenceScan(picture, cut, false), expected);
    }

    void emptyRegion() {
        RecordingHost host;
        const ScanOutcome outcome =
            Scan(ScanKind::Text, ConversionSettings, PictureSurface(), {}, host);
        QCOMPARE(outcome.status, ScanStatus::EmptyRegion);
        QVERIFY(outcome.text.isEmpty());
        QCOMPARE(host.ranges, (QList<QPair<int, int>>{{0, 0}}));
        QCOMPARE(host.eventCalls, 0);
        QVERIFY(host.errors.isEmpty());
    }

    void cancel_data() {
        QTest::addColumn<bool>("html");
        QTest::addColumn<bool>("below");
        QTest::newRow("text") << false << false;
        QTest::newRow("html") << true << false;
        QTest::newRow("text, the third row below the picture") << false << true;
    }
    void cancel() {
        QFETCH(bool, html);
        QFETCH(bool, below);
        ConversionSettings.Charactor = IndexRamp;
        CancelConversion = true; // the progress dialog's request: a scan asks only its host
        RecordingHost host;
        host.onEvents = [&host](int call) {
            if (call == 2)
                host.cancel = true;
        };
        const PictureSurface picture = testsupport::ColumnIndexSurface(4, 5);
        const SelectionRect cut = below ? SelectionRect{true, 0, 3, 4, 3} : SelectionRect{};
        const ScanOutcome outcome =
            Scan(html ? ScanKind::HTML : ScanKind::Text, ConversionSettings, picture, cut, host);
        QCOMPARE(outcome.status, ScanStatus::Cancelled);
        QVERIFY(outcome.text.isEmpty());
        QCOMPARE(host.eventCalls, 3);
        QCOMPARE(host.positions, (QList<int>{0, 1}));
        // Two whole rows and the one cell after which the request was seen stay on disk.
        // A row without a readable cell is cut before its line end.
        const QString first = html ? MakeColorCell(0xFFFFFF) : below ? "" : QStringLiteral("0");
        const QString row = html ? testsupport::ReferenceScan(picture, {true, 0, 0, 4, 1}, true)
                                 : QStringLiteral("0123");
        QCOMPARE(testsupport::ReadAll(IntermediateFilePath()),
                 (row + "\r\n" + row + "\r\n" + first).toUtf8());
    }

    void colorCell_data() {
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<QString>("digits");
        QTest::newRow("black") << qRgb(0, 0, 0) << "000000";
        QTest::newRow("white") << qRgb(255, 255, 255) << "FFFFFF";
        QTest::newRow("one-digit red gets its zero") << qRgb(10, 0, 255) << "0A00FF";
        QTest::newRow("bytes reversed") << qRgb(0x56, 0x34, 0x12) << "563412";
    }
    void colorCell() {
        QFETCH(QRgb, colour);
        QFETCH(QString, digits);
        const QString cell = "<FONT COLOR=\"#" + digits + "\">■</FONT>";
        QCOMPARE(cell.size(), 30);
        QCOMPARE(MakeColorCell(platform::ColourFromRgb(colour)), cell);
        RecordingHost host;
        QCOMPARE(ConvertTo(ScanKind::HTML, testsupport::SolidSurface(1, 1, colour), {}, host),
                 cell);
    }

    void htmlTwoByTwo() {
        QImage image(2, 2, QImage::Format_RGB32);
        image.setPixel(0, 0, qRgb(1, 2, 3));
        image.setPixel(1, 0, qRgb(4, 5, 6));
        image.setPixel(0, 1, qRgb(7, 8, 9));
        image.setPixel(1, 1, qRgb(10, 11, 12));
        const auto cell = [](const char* digits) {
            return QStringLiteral("<FONT COLOR=\"#%1\">■</FONT>").arg(QLatin1String(digits));
        };
        RecordingHost host;
        const PictureSurface picture = testsupport::SurfaceOf(image);
        const QString expected =
            cell("010203") + cell("040506") + "\r\n" + cell("070809") + cell("0A0B0C");
        QCOMPARE(ConvertTo(ScanKind::HTML, picture, {}, host), expected);
        // Neither the ramp nor its direction touch an HTML result.
        ConversionSettings.Reverse = true;
        ConversionSettings.Charactor = QStringLiteral("ab");
        QCOMPARE(ConvertTo(ScanKind::HTML, picture, {}, host), expected);
        ConversionSettings.Charactor = QString(); // would fail a text scan
        QCOMPARE(ConvertTo(ScanKind::HTML, picture, {}, host), expected);
    }

    // One pixel per cell: the top-left one, or each channel's mean over the cell's pixels
    // inside the region, halves rounded up; the last cells cut at the region's edge.
    void sampledCells_data() {
        QTest::addColumn<QRect>("region");
        QTest::addColumn<QSize>("cell");
        QTest::addColumn<bool>("mean");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QList<QRgb>>("expected");
        const QRect whole(0, 0, 3, 2);
        QTest::newRow("top-left pixel")
            << whole << QSize(2, 2) << false << 2 << QList<QRgb>{qRgb(10, 20, 30), qRgb(200, 0, 0)};
        QTest::newRow("one-pixel-wide cells, every other line")
            << whole << QSize(1, 2) << false << 3
            << QList<QRgb>{qRgb(10, 20, 30), qRgb(40, 50, 60), qRgb(200, 0, 0)};
        QTest::newRow("mean, last column cut")
            << whole << QSize(2, 2) << true << 2 << QList<QRgb>{qRgb(26, 36, 46), qRgb(100, 0, 50)};
        QTest::newRow("mean inside a region") << QRect(1, 0, 2, 2) << QSize(1, 2) << true << 2
                                              << QList<QRgb>{qRgb(41, 51, 61), qRgb(100, 0, 50)};
        QTest::newRow("mean, one row per cell")
            << QRect(0, 1, 3, 1) << QSize(3, 5) << true << 1 << QList<QRgb>{qRgb(17, 24, 64)};
    }
    void sampledCells() {
        QFETCH(QRect, region);
        QFETCH(QSize, cell);
        QFETCH(bool, mean);
        QFETCH(int, columns);
        QFETCH(QList<QRgb>, expected);
        QImage image(3, 2, QImage::Format_RGB32);
        const QRgb pixels[] = {qRgb(10, 20, 30), qRgb(40, 50, 60), qRgb(200, 0, 0),
                               qRgb(11, 21, 31), qRgb(41, 51, 61), qRgb(0, 0, 100)};
        for (int i = 0; i < 6; ++i)
            image.setPixel(i % 3, i / 3, pixels[i]);
        const QImage cells = SampleCells(
            testsupport::SurfaceOf(image),
            ScanRegion{region.left(), region.top(), region.right() + 1, region.bottom() + 1},
            cell.width(), cell.height(), mean ? CellSample::Mean : CellSample::Pixel);
        QCOMPARE(cells.width(), columns);
        QList<QRgb> got;
        for (int y = 0; y < cells.height(); ++y)
            for (int x = 0; x < cells.width(); ++x)
                got << (cells.pixel(x, y) & 0xFFFFFFu);
        QList<QRgb> wanted;
        for (const QRgb colour : expected)
            wanted << (colour & 0xFFFFFFu);
        QCOMPARE(got, wanted);
    }

    void matchesReference_data() {
        QTest::addColumn<bool>("html");
        QTest::addColumn<int>("cellX");
        QTest::addColumn<int>("cellY");
        QTest::addColumn<QString>("ramp");
        QTest::addColumn<bool>("reverse");
        QTest::addColumn<SelectionRect>("cut");
        const QString def = QStringLiteral(" .,:;!IU0OQRB&%@");
        const SelectionRect whole;
        const SelectionRect inner{true, 3.5f, 2.5f, 20.25f, 13.75f};
        const SelectionRect spill{true, -7, -3, 60, 40};
        for (const bool html : {false, true}) {
            const char* kind = html ? "html" : "text";
            QTest::addRow("%s 1x1", kind) << html << 1 << 1 << def << false << whole;
            QTest::addRow("%s 2x3", kind) << html << 2 << 3 << def << false << whole;
            QTest::addRow("%s 3x2 inner", kind) << html << 3 << 2 << def << true << inner;
            QTest::addRow("%s 10x10", kind) << html << 10 << 10 << def << false << whole;
            QTest::addRow("%s 7x1 spill", kind) << html << 7 << 1 << def << false << spill;
            QTest::addRow("%s 4x4 spill", kind) << html << 4 << 4 << def << true << spill;
        }
        QTest::newRow("japanese ramp 1x1") << false << 1 << 1 << "　・：；＃■" << false << whole;
        QTest::newRow("mixed ramp 2x1 spill")
            << false << 2 << 1 << QString::fromUtf8("a😀éー𠀋") << true << spill;
        QTest::newRow("64 characters")
            << false << 1 << 2 << QString(64, u'q').replace(5, 1, u'w') << false << inner;
    }
    void matchesReference() {
        QFETCH(bool, html);
        QFETCH(int, cellX);
        QFETCH(int, cellY);
        QFETCH(QString, ramp);
        QFETCH(bool, reverse);
        QFETCH(SelectionRect, cut);
        ConversionSettings.X = quint8(cellX);
        ConversionSettings.Y = quint8(cellY);
        ConversionSettings.Charactor = ramp;
        ConversionSettings.Reverse = reverse;
        // Wide enough that a row passes the scan's write buffer in several blocks.
        const int width = html ? 40000 : 600;
        const PictureSurface picture = testsupport::NoiseSurface(width, 37, 0x5eed);
        const PictureSurface narrow = testsupport::NoiseSurface(41, 29, 0xbeef);
        for (const PictureSurface* p : {&picture, &narrow}) {
            RecordingHost host;
            const QString scanned =
                Scan(html ? ScanKind::HTML : ScanKind::Text, ConversionSettings, *p, cut, host)
                    .text;
            QVERIFY(!scanned.isEmpty());
            QVERIFY(scanned == testsupport::ReferenceScan(*p, cut, html));
        }
    }

    // A request that comes after the last row's cells: the program's scans answer
    // Cancelled, nothing read back and no page copied.
    void requestWithTheLastRow_data() {
        QTest::addColumn<bool>("keptInFile");
        QTest::newRow("text read back") << false;
        QTest::newRow("HTML kept in the file") << true;
    }
    void requestWithTheLastRow() {
        QFETCH(bool, keptInFile);
        RecordingHost host;
        host.onProgress = [&host](int position) {
            if (position == 1)
                host.cancel = true;
        };
        const PictureSurface picture = testsupport::ColumnIndexSurface(2, 2);
        IntermediateFile file;
        const ScanOutcome outcome =
            keptInFile ? ScanToHTMLFile(ConversionSettings, picture, {}, host, file)
                       : Scan(ScanKind::Text, ConversionSettings, picture, {}, host);
        QCOMPARE(outcome.status, ScanStatus::Cancelled);
        QVERIFY(outcome.text.isEmpty());
    }

    void outOfMemory_data() {
        QTest::addColumn<bool>("html");
        QTest::newRow("text") << false;
        QTest::newRow("html") << true;
    }
    void outOfMemory() {
        QFETCH(bool, html);
        RecordingHost host;
        host.memoryLimit = 4096;
        const PictureSurface picture = testsupport::NoiseSurface(50, 20, 1);
        const ScanOutcome outcome =
            Scan(html ? ScanKind::HTML : ScanKind::Text, ConversionSettings, picture, {}, host);
        QCOMPARE(outcome.status, ScanStatus::OutOfMemory);
        QVERIFY(outcome.text.isEmpty());
        QCOMPARE(host.errors, QStringList{QStringLiteral("文字列領域が不足しています。\n"
                                                         "変換に失敗しました。")});
    }

    // The streamed scans: the same rows as the program's, each followed by CR LF, written
    // straight to the sink; nothing at all when the result would be the empty text.
    void streamed_data() {
        QTest::addColumn<bool>("html");
        QTest::addColumn<SelectionRect>("cut");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("whole picture")
            << false << SelectionRect{} << QByteArray("0123\r\n0123\r\n");
        QTest::newRow("an empty row first")
            << false << SelectionRect{true, 0, -1, 2, 2} << QByteArray("\r\n01\r\n");
        QTest::newRow("one row, no readable cell")
            << false << SelectionRect{true, 9, 0, 2, 1} << QByteArray();
        QTest::newRow("no rows") << false << SelectionRect{true, 0, 0, 4, 0} << QByteArray();
        QTest::newRow("html, one cell")
            << true << SelectionRect{true, 1, 1, 1, 1}
            << QByteArray("<FONT COLOR=\"#EFEFEF\">\xE2\x96\xA0</FONT>\r\n");
    }
    void streamed() {
        QFETCH(bool, html);
        QFETCH(SelectionRect, cut);
        QFETCH(QByteArray, expected);
        ConversionSettings.Charactor = IndexRamp;
        QFile::remove(IntermediateFilePath());
        CollectingSink sink;
        RecordingHost host;
        const PictureSurface picture = testsupport::ColumnIndexSurface(4, 2);
        const ScanOutcome outcome = Stream(html ? ScanKind::HTML : ScanKind::Text,
                                           ConversionSettings, picture, cut, host, sink);
        QCOMPARE(outcome.status, expected.isEmpty() ? ScanStatus::EmptyRegion : ScanStatus::Done);
        QVERIFY(outcome.text.isEmpty());
        QCOMPARE(sink.bytes, expected);
        QVERIFY(host.errors.isEmpty());
        QVERIFY(!QFile::exists(IntermediateFilePath()));
    }

    // Two streamed scans at once on two threads, kept row by row in step: each takes the
    // ramp and direction it was given, and a cancel stops only the scan whose host asked.
    void twoThreads_data() {
        QTest::addColumn<QString>("rampA");
        QTest::addColumn<bool>("reverseA");
        QTest::addColumn<int>("cancelRowA"); // -1: no cancel
        QTest::addColumn<QByteArray>("expectedA");
        QTest::addColumn<QString>("rampB");
        QTest::addColumn<bool>("reverseB");
        QTest::addColumn<QByteArray>("expectedB");
        // Column x of the picture is grey 255 - 16 x.
        QTest::newRow("one ramp, both directions")
            << IndexRamp << false << -1 << QByteArray("0123456789ABCDEF\r\n0123456789ABCDEF\r\n")
            << IndexRamp << true << QByteArray("FEDCBA9876543210\r\nFEDCBA9876543210\r\n");
        // Two characters: a step of 128, so columns 0-7 and 8-15. Three reversed: a step
        // of 85, columns 0-5, 6-10 and 11-15, the last character first.
        QTest::newRow("two ramps")
            << QStringLiteral("ab") << false << -1
            << QByteArray("aaaaaaaabbbbbbbb\r\naaaaaaaabbbbbbbb\r\n") << QStringLiteral("xyz")
            << true << QByteArray("zzzzzzyyyyyxxxxx\r\nzzzzzzyyyyyxxxxx\r\n");
        // A's request comes before its second row: that row's first cell stays written.
        QTest::newRow("a cancel on one host")
            << IndexRamp << false << 1 << QByteArray("0123456789ABCDEF\r\n0") << IndexRamp << false
            << QByteArray("0123456789ABCDEF\r\n0123456789ABCDEF\r\n");
    }
    void twoThreads() {
        QFETCH(QString, rampA);
        QFETCH(bool, reverseA);
        QFETCH(int, cancelRowA);
        QFETCH(QByteArray, expectedA);
        QFETCH(QString, rampB);
        QFETCH(bool, reverseB);
        QFETCH(QByteArray, expectedB);
        const PictureSurface picture = testsupport::ColumnIndexSurface(16, 2);
        std::barrier inStep(2);
        struct Run {
            ConversionSettingsRecord settings;
            RecordingHost host;
            CollectingSink sink;
            ScanOutcome outcome;
        } a, b;
        a.settings.Charactor = rampA;
        a.settings.Reverse = reverseA;
        b.settings.Charactor = rampB;
        b.settings.Reverse = reverseB;
        for (Run* run : {&a, &b}) {
            run->host.onEvents = [&inStep, &host = run->host,
                                  cancel = run == &a ? cancelRowA : -1](int call) {
                if (call == cancel)
                    host.cancel = true;
                inStep.arrive_and_wait();
            };
        }
        const auto scan = [&](Run& run) {
            run.outcome = Stream(ScanKind::Text, run.settings, picture, {}, run.host, run.sink);
            inStep.arrive_and_drop(); // the other scan no longer waits for this one
        };
        {
            std::jthread first(scan, std::ref(a));
            std::jthread second(scan, std::ref(b));
        }
        QCOMPARE(a.outcome.status, cancelRowA < 0 ? ScanStatus::Done : ScanStatus::Cancelled);
        QCOMPARE(a.sink.bytes, expectedA);
        QCOMPARE(b.outcome.status, ScanStatus::Done);
        QCOMPARE(b.sink.bytes, expectedB);
    }

    void streamedSinkRefuses() {
        CollectingSink sink;
        sink.refuseAfter = 3;
        RecordingHost host;
        ConversionSettings.Charactor = IndexRamp;
        const ScanOutcome outcome = Stream(ScanKind::Text, ConversionSettings,
                                           testsupport::ColumnIndexSurface(4, 2), {}, host, sink);
        QCOMPARE(outcome.status, ScanStatus::FileError);
        QCOMPARE(outcome.reason, QStringLiteral("No space left on device"));
    }

    void zeroCellSize() {
        ConversionSettings.X = 0;
        RecordingHost host;
        const ScanOutcome outcome =
            Scan(ScanKind::Text, ConversionSettings, testsupport::SolidSurface(3, 3, 0), {}, host);
        QCOMPARE(outcome.status, ScanStatus::BadSettings);
        QVERIFY(outcome.text.isEmpty());
    }
};

GLYFORA_TEST_MAIN(TestScan)
#include "tst_scan.moc"

// glyfora-convert's looks: the styles' columns and rows, what their options put into the
// result, tone's dithering, the mosaic's cells.
#include "tests/cli/ConvertToolRun.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"

#include <QImage>
#include <QSet>
#include <QTest>

using namespace mGlyfora;
using namespace tooltest;

class TestConvertToolLooks : public ToolTest {
    Q_OBJECT
private Q_SLOTS:

    // Columns and rows of the art for the 53 x 31 picture. Styles cut cells with fractional
    // edges: exactly the columns asked, the rows from the picture's shape and the cells'
    // (twice as tall as wide unless --aspect says). Exact cuts whole pixels.
    void styleColumns_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        // 31 / (53 / 7 * 2) = 2.05; 31 / (53 / 13 * 2) = 3.80; 31 / (53 / 100 * 2) = 29.2
        QTest::newRow("tone") << QStringList{"--style=tone", "--width", "7"} << 7 << 2;
        QTest::newRow("shape") << QStringList{"--style=shape", "--width", "13"} << 13 << 4;
        QTest::newRow("blocks") << QStringList{"--style=blocks", "--width", "100"} << 100 << 29;
        QTest::newRow("braille") << QStringList{"--style=braille", "--width", "1"} << 1 << 1;
        // 31 / (53 / 10 * 1) = 5.85
        QTest::newRow("width with aspect")
            << QStringList{"--style=braille", "--width", "10", "--aspect", "1"} << 10 << 6;
        // 53 / (31 / 5 / 1) = 8.55
        QTest::newRow("height with aspect")
            << QStringList{"--style=shape", "--height", "5", "--aspect", "1"} << 9 << 5;
        QTest::newRow("width and height")
            << QStringList{"--style=tone", "--width", "3", "--height", "17"} << 3 << 17;
        // Without a size the stored cell (1 x 1) gives one cell a pixel.
        QTest::newRow("no size") << QStringList{"--style=blocks"} << 53 << 31;
        // Exact: rows of ceil(31 / 10) = 4 pixels give 8 lines; the cell's width is
        // 4 / aspect pixels, held within the int range.
        QTest::newRow("exact, height 10, square cells")
            << QStringList{"--height", "10", "--aspect", "1"} << 14 << 8;
        QTest::newRow("exact, height 10, aspect 1e-19: one column")
            << QStringList{"--height", "10", "--aspect", "1e-19"} << 1 << 8;
        QTest::newRow("exact, height 10, aspect 1e-300: one column")
            << QStringList{"--height", "10", "--aspect", "1e-300"} << 1 << 8;
    }
    void styleColumns() {
        QFETCH(QStringList, args);
        QFETCH(int, columns);
        QFETCH(int, rows);
        ToolRun run;
        RunTool(run, args + QStringList{picture_});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        QVERIFY(run.out.endsWith("\r\n"));
        const QStringList lines =
            QString::fromUtf8(run.out.chopped(2)).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), rows);
        for (const QString& line : lines)
            QCOMPARE(line.toUcs4().size(), columns);
    }

    // The looks' options through the tool: what each puts into the result, or keeps out.
    void lookOptions_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("present");
        QTest::addColumn<QByteArray>("absent");
        const QStringList colour{"--color=always", "--color-depth", "24", "--width", "9"};
        QTest::newRow("blocks in colour: both colours")
            << QStringList{"--style=blocks"} + colour << QByteArray("\x1b[48;2;")
            << QByteArray("\x1b[48;5;");
        QTest::newRow("--fg-only: no cell colour")
            << QStringList{"--style=blocks", "--fg-only"} + colour << QByteArray("\x1b[38;2;")
            << QByteArray("\x1b[48;");
        QTest::newRow("palette") << QStringList{"--style=shape", "--color=always", "--color-depth",
                                                "256",           "--width",        "9"}
                                 << QByteArray("\x1b[48;5;") << QByteArray("\x1b[48;2;");
        QTest::newRow("html: runs with both colours")
            << QStringList{"--style=braille", "--html", "--width", "9"}
            << QByteArray("; background-color: #") << QByteArray("<FONT COLOR");
        QTest::newRow("a font that is installed")
            << QStringList{"--style=tone", "--font", "DejaVu Sans Mono", "--width", "9"}
            << QByteArray("\r\n") << QByteArray("\x1b");
    }
    void lookOptions() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, present);
        QFETCH(QByteArray, absent);
        ToolRun run;
        RunTool(run, args + QStringList{picture_});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains(present));
        QVERIFY(!run.out.contains(absent));
    }

    // Diffusion carries a grey's error on: without it a flat grey between two of the
    // ramp's tones takes one character everywhere.
    void toneDither() {
        QImage grey(40, 20, QImage::Format_RGB32);
        grey.fill(qRgb(150, 150, 150));
        const QString path =
            testsupport::WritePicture(grey, pictures_.filePath(QStringLiteral("grey.bmp")), "bmp");
        const auto characters = [&](const QStringList& args) {
            ToolRun run;
            RunTool(run, args + QStringList{"--style=tone", "--ramp", " #", "--width", "10", path});
            QSet<char> seen;
            for (const char c : run.out)
                seen.insert(c);
            return seen - QSet<char>{'\r', '\n'};
        };
        QCOMPARE(characters({}), (QSet<char>{' ', '#'}));
        QCOMPARE(characters({"--dither", "none"}).size(), 1);
    }

    // The mosaic's cells are square unless a shape is given: 53 x 31 pixels in at most 10
    // columns takes cells 6 wide, so 9 columns.
    void mosaicCells_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("rows");
        QTest::newRow("square: 6 tall, 6 rows") << QStringList{"--width", "10"} << 6;
        QTest::newRow("the given cell's shape: 12 tall, 3 rows")
            << QStringList{"--cell", "1x2", "--width", "10"} << 3;
        QTest::newRow("--aspect: 12 tall, 3 rows")
            << QStringList{"--aspect", "2", "--width", "10"} << 3;
    }
    void mosaicCells() {
        QFETCH(QStringList, options);
        QFETCH(int, rows);
        ToolRun run;
        RunTool(run, QStringList{"--html"} + options + QStringList{picture_});
        QCOMPARE(run.exitCode, 0);
        QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.takeLast(), QByteArray());
        QCOMPARE(lines.size(), rows);
        for (const QByteArray& line : lines)
            QCOMPARE(line.count("■"), 9);
    }
};

GLYFORA_TEST_MAIN(TestConvertToolLooks)
#include "tst_convert_tool_looks.moc"

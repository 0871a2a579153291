// glyfora-convert's options as its own process runs them: usage errors, help, the stored
// settings and the options over them, the selection, cells, pages and ramps.
#include "app/Settings.h"
#include "convert/HtmlPage.h"
#include "platform/OutputFile.h"
#include "tests/cli/ConvertToolRun.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTest>
#include <clocale>
#include <wchar.h>

using namespace mGlyfora;
using namespace tooltest;

class TestConvertToolOptions : public ToolTest {
    Q_OBJECT
private Q_SLOTS:
    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        const QString p = QStringLiteral("picture.bmp");
        QTest::newRow("no picture") << QStringList{"--html"};
        QTest::newRow("-o with two pictures") << QStringList{"-o", "out.txt", p, p};
        QTest::newRow("-o and -O") << QStringList{"-o", "out.txt", "-O", ".", p};
        QTest::newRow("standard input twice") << QStringList{"-", p, "-"};
        QTest::newRow("-j 0") << QStringList{"-j", "0", p, p};
        QTest::newRow("-j not a number") << QStringList{"-j", "two", p, p};
        QTest::newRow("-j without value") << QStringList{p, p, "-j"};
        QTest::newRow("-O without value") << QStringList{p, "-O"};
        QTest::newRow("cell 0") << QStringList{"--cell", "0x1", p};
        QTest::newRow("cell beyond a million") << QStringList{"--cell=1x1000001", p};
        QTest::newRow("width 0") << QStringList{"--width", "0", p};
        QTest::newRow("aspect without width or height") << QStringList{"--aspect", "1", p};
        QTest::newRow("unknown sampling") << QStringList{"--sample", "median", p};
        QTest::newRow("unknown brightness") << QStringList{"--brightness", "mean", p};
        QTest::newRow("unknown colour choice") << QStringList{"--color=sometimes", p};
        QTest::newRow("cell without y") << QStringList{"--cell", "3", p};
        QTest::newRow("cell missing value") << QStringList{p, "--cell"};
        QTest::newRow("empty ramp") << QStringList{"--ramp", "", p};
        QTest::newRow("65 characters") << QStringList{"--ramp", QString(65, u'x'), p};
        QTest::newRow("three numbers") << QStringList{"--select", "1,2,3", p};
        QTest::newRow("not numbers") << QStringList{"--select", "a,b,c,d", p};
        QTest::newRow("negative width") << QStringList{"--select", "0,0,-1,2", p};
        QTest::newRow("negative height") << QStringList{"--select", "0,0,2,-1", p};
        QTest::newRow("aspect 0") << QStringList{"--width", "5", "--aspect", "0", p};
        QTest::newRow("unknown background") << QStringList{"--background", "grey", p};
        QTest::newRow("background without value") << QStringList{p, "--background"};
        QTest::newRow("infinite") << QStringList{"--select", "0,0,inf,2", p};
        QTest::newRow("both directions") << QStringList{"--reverse", "--no-reverse", p};
        QTest::newRow("unknown option") << QStringList{"--colour", p};
        QTest::newRow("flag with value") << QStringList{"--html=yes", p};
        QTest::newRow("unknown style") << QStringList{"--style", "ascii", p};
        QTest::newRow("unknown dither") << QStringList{"--dither=ordered", "--style=tone", p};
        QTest::newRow("braille with a ramp")
            << QStringList{"--style", "braille", "--ramp", " .:#", p};
        QTest::newRow("blocks with a ramp") << QStringList{"--ramp", " #", "--style=blocks", p};
        QTest::newRow("font not installed")
            << QStringList{"--style", "shape", "--font", "No Such Family 4711", p};
    }
    void usageErrors() {
        QFETCH(QStringList, args);
        ToolRun run;
        RunTool(run, args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        // The problem and a hint, not the whole help.
        const QList<QByteArray> lines = run.err.split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.at(0).startsWith("glyfora-convert: "));
        QCOMPARE(lines.at(1), QByteArray("Try 'glyfora-convert --help' for more information."));
    }

    void helpAndVersion() {
        ToolRun help;
        RunTool(help, {QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith("Usage: glyfora-convert"));
        QVERIFY(help.err.isEmpty());
        ToolRun version;
        RunTool(version, {QStringLiteral("--version")});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QByteArray("glyfora-convert 2.10\n"));
    }

    // Every line of the help fits an 80-column terminal, a wide (CJK) character taking two
    // columns as the C library counts them.
    void helpWidth_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("opening");
        QTest::newRow("English") << "C.UTF-8"
                                 << "Usage: ";
        QTest::newRow("Japanese") << "ja_JP.UTF-8"
                                  << "使い方: ";
    }
    void helpWidth() {
        QFETCH(QString, locale);
        QFETCH(QString, opening);
        RunSetup setup;
        setup.environment << "LANG=" + locale;
        ToolRun help;
        RunTool(help, {QStringLiteral("--help")}, setup);
        QCOMPARE(help.exitCode, 0);
        const QString text = QString::fromUtf8(help.out);
        QVERIFY(text.startsWith(opening));
        const QByteArray previous = std::setlocale(LC_CTYPE, nullptr);
        QVERIFY(std::setlocale(LC_CTYPE, "C.UTF-8"));
        const auto restore = qScopeGuard([&] { std::setlocale(LC_CTYPE, previous.constData()); });
        for (const QString& line : text.split(u'\n')) {
            int columns = 0;
            for (const char32_t c : line.toUcs4()) {
                const int width = ::wcwidth(wchar_t(c));
                QVERIFY2(width >= 0, qPrintable(line));
                columns += width;
            }
            QVERIFY2(columns <= 80, qPrintable(QString::number(columns) + u' ' + line));
        }
    }

    void matchesProgramScan_data() {
        QTest::addColumn<QStringList>("stored"); // section, key, value triples
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("asStored"); // the same choice made in the store
        QTest::addColumn<bool>("html");
        QTest::newRow("defaults") << QStringList() << QStringList() << QStringList() << false;
        QTest::newRow("stored settings")
            << QStringList{"Conversion", "X",       "3",    "Conversion", "Y",         "2",
                           "Conversion", "Reverse", "True", "Conversion", "Charactor", "　・＃😀"}
            << QStringList() << QStringList() << false;
        QTest::newRow("options over stored")
            << QStringList{"Conversion", "X", "3", "Conversion", "Charactor", "abc"}
            << QStringList{"--cell", "2x4", "--ramp", "xy", "--reverse"}
            << QStringList{"Conversion", "X",         "2",  "Conversion", "Y",       "4",
                           "Conversion", "Charactor", "xy", "Conversion", "Reverse", "True"}
            << false;
        QTest::newRow("no-reverse over stored")
            << QStringList{"Conversion", "Reverse", "True"} << QStringList{"--no-reverse"}
            << QStringList{"Conversion", "Reverse", "False"} << false;
        QTest::newRow("stored luminance") << QStringList{"Conversion", "Luminance", "True"}
                                          << QStringList() << QStringList() << false;
        QTest::newRow("--brightness max over stored")
            << QStringList{"Conversion", "Luminance", "True"} << QStringList{"--brightness", "max"}
            << QStringList{"Conversion", "Luminance", "False"} << false;
        QTest::newRow("--brightness luminance")
            << QStringList() << QStringList{"--brightness", "luminance"}
            << QStringList{"Conversion", "Luminance", "True"} << false;
        QTest::newRow("html") << QStringList{"Conversion", "Y", "5"} << QStringList{"--html"}
                              << QStringList() << true;
    }
    void matchesProgramScan() {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, options);
        QFETCH(QStringList, asStored);
        QFETCH(bool, html);
        for (qsizetype i = 0; i + 2 < stored.size(); i += 3)
            Store(stored[i], stored[i + 1], stored[i + 2]);
        ToolRun run;
        RunTool(run, options + QStringList{picture_});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        for (qsizetype i = 0; i + 2 < asStored.size(); i += 3)
            Store(asStored[i], asStored[i + 1], asStored[i + 2]);
        const QString expected = ProgramScan(picture_, html);
        QVERIFY(!expected.isEmpty());
        QVERIFY(run.out == (expected + QStringLiteral("\r\n")).toUtf8());
    }

    // The exact style without the new options stays what the tool wrote before the looks
    // and the terminal's paper came: results kept from that tool, for the bundled picture.
    void exactAsBefore_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("kept");
        QTest::newRow("cells") << QStringList{"--cell", "4x8"} << "exact-cell.txt";
        QTest::newRow("mean, own ramp, reversed")
            << QStringList{"--cell", "2x4", "--sample", "mean", "--ramp", " .:-=+*#%@", "--reverse"}
            << "exact-mean-reversed.txt";
        QTest::newRow("mosaic") << QStringList{"--html", "--cell", "8x8"} << "exact-mosaic.html";
        QTest::newRow("selection on a page")
            << QStringList{"--select", "10,10,100,80", "--cell", "3x6", "--page"}
            << "exact-page.html";
    }
    void exactAsBefore() {
        QFETCH(QStringList, options);
        QFETCH(QString, kept);
        QFile expected(QFINDTESTDATA("data/" + kept));
        QVERIFY(expected.open(QIODevice::ReadOnly));
        ToolRun run;
        RunTool(run, options + QStringList{QFINDTESTDATA("../../resources/sample.gif")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out == expected.readAll());
    }

    // The selection is kept inside the picture, as a drag in the window is.
    void selection() {
        ToolRun run;
        RunTool(run, {"--select", "5.5,-2,30.25,12", "--html", picture_});
        QCOMPARE(run.exitCode, 0);
        const QString expected = ProgramScan(picture_, true, {true, 5.5f, 0, 30.25f, 10});
        QVERIFY(run.out == (expected + QStringLiteral("\r\n")).toUtf8());
    }

    void selectionClamped_data() {
        QTest::addColumn<QString>("select");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("far beyond every edge") << "-2e9,-2e9,4e9,4e9" << GridText;
        QTest::newRow("one column, far beyond top and bottom")
            << "0,-2e9,1,4e9" << QByteArray("0\r\n0\r\n");
        QTest::newRow("left and top cut at 0") << "-3,-1,5.5,2" << QByteArray("01\r\n");
        QTest::newRow("right and bottom cut at the edge")
            << "2.5,1,1e6,1e6" << QByteArray("2345\r\n");
    }
    void selectionClamped() {
        QFETCH(QString, select);
        QFETCH(QByteArray, expected);
        // Into a file with a size limit, so that a runaway selection fails fast.
        const QString output = dir_.filePath(QStringLiteral("selection.txt"));
        ToolRun run;
        RunTool(run, {"--ramp", GridRamp, "--select", select, "-o", output, grid_},
                RunSetup{QString(), 1 << 20, {}, -1, false, {}});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        QCOMPARE(ReadAll(output), expected);
    }

    // Each cell option wired to the scan. The grid's column x reads as the character x.
    void cellOptions_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("grid"); // else white beside black
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("--width") << QStringList{"--width", "3"} << true << QByteArray("024\r\n");
        // Two rows in one: cells 2 tall, and as wide.
        QTest::newRow("--height and --aspect")
            << QStringList{"--height", "1", "--aspect", "1"} << true << QByteArray("024\r\n");
        QTest::newRow("--cell with a capital X")
            << QStringList{"--cell", "2X1"} << true << QByteArray("024\r\n024\r\n");
        QTest::newRow("--sample pixel: the top-left white")
            << QStringList{"--cell", "2x1", "--sample", "pixel"} << false << QByteArray("0\r\n");
        // (255 + 0) / 2 rounds to 128: index (255 - 128) / 16 = 7.
        QTest::newRow("--sample mean: the mean grey")
            << QStringList{"--cell", "2x1", "--sample", "mean"} << false << QByteArray("7\r\n");
    }
    void cellOptions() {
        QFETCH(QStringList, options);
        QFETCH(bool, grid);
        QFETCH(QByteArray, expected);
        ToolRun run;
        RunTool(run, options + QStringList{"--ramp", GridRamp, grid ? grid_ : whiteBlack_});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, expected);
    }

    void page_data() {
        QTest::addColumn<bool>("html");
        QTest::newRow("text") << false;
        QTest::newRow("html") << true;
    }
    void page() {
        QFETCH(bool, html);
        Store("HTML", html ? "BeforeHTML" : "Before", "<HTML>\r\n<PRE>ü");
        Store("HTML", html ? "AfterHTML" : "After", "");
        const QString output = dir_.filePath(QStringLiteral("page.html"));
        QStringList args{"--page", "-o", output, picture_};
        if (html)
            args.prepend(QStringLiteral("--html"));
        ToolRun run;
        RunTool(run, args);
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.isEmpty());
        const QString result = ProgramScan(picture_, html);
        QFile file(output);
        QVERIFY(file.open(QIODevice::ReadOnly));
        // Templates and result each followed by CR LF; an empty template gives an empty line.
        const QByteArray written = file.readAll();
        QVERIFY(written == ("<HTML>\r\n<PRE>ü\r\n" + result + "\r\n\r\n").toUtf8());
        // The same bytes as the program's own page writer.
        const QString programPage = dir_.filePath(QStringLiteral("program.html"));
        platform::OutputFile page(programPage, platform::OutputFile::Durability::Unsynced);
        QVERIFY(page.Open());
        QVERIFY(
            mGlyfora::WriteHtmlPage(page, QStringLiteral("<HTML>\r\n<PRE>ü"), result, QString()));
        QVERIFY(page.Commit());
        QVERIFY(ReadAll(programPage) == written);
        QFile::remove(programPage);
    }

    // Art on a page shows "<" as the program's HTML save writes it: "&lt;".
    void textPageShowsLessThan() {
        Store("HTML", "Before", "B");
        Store("HTML", "After", "A");
        const QString output = dir_.filePath(QStringLiteral("art.html"));
        ToolRun page, plain;
        RunTool(page, {"--page", "--ramp", "<#", "-o", output, picture_});
        RunTool(plain, {"--ramp", "<#", picture_});
        QCOMPARE(page.exitCode, 0);
        QVERIFY(plain.out.contains('<'));
        const QByteArray written = ReadAll(output);
        QVERIFY(written.startsWith("B\r\n") && written.endsWith("A\r\n"));
        QCOMPARE(written.mid(3, written.size() - 6), plain.out.replace("<", "&lt;"));
    }

    void ramp_data() {
        QTest::addColumn<QString>("ramp");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("expected");
        // 64 characters: step 4, white is the first, black (index 255 / 4 = 63) the last.
        const QString ramp64 =
            QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+/");
        QTest::newRow("64 characters") << ramp64 << 0 << QByteArray("a/\r\n");
        QTest::newRow("65 characters") << ramp64 + u'-' << 2 << QByteArray();
        QTest::newRow("line feed") << "ab\ncd" << 2 << QByteArray();
        QTest::newRow("carriage return") << "ab\rcd" << 2 << QByteArray();
        QTest::newRow("tab") << "\tab" << 2 << QByteArray();
        QTest::newRow("escape") << "ab\x1b" << 2 << QByteArray();
        QTest::newRow("delete") << "ab\x7f" << 2 << QByteArray();
        QTest::newRow("line separator") << " \u2028#" << 2 << QByteArray();
        QTest::newRow("paragraph separator") << " \u2029#" << 2 << QByteArray();
        QTest::newRow("next line (C1)") << " \u0085#" << 2 << QByteArray();
        // One-byte and multi-byte characters mixed, either one last.
        QTest::newRow("one-byte first") << "a・" << 0 << QByteArray("a・\r\n");
        QTest::newRow("one-byte last") << "・a" << 0 << QByteArray("・a\r\n");
    }
    void ramp() {
        QFETCH(QString, ramp);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, expected);
        ToolRun run;
        RunTool(run, {"--ramp", ramp, whiteBlack_});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.out, expected);
        if (exitCode == 2)
            QVERIFY(run.err.startsWith("glyfora-convert: the ramp must hold 1 to 64 characters"));
    }

    // A settings file that is not a regular file could block the reading: glyfora's
    // defaults apply instead.
    void settingsFileNotRegular() {
        const QString file = testsupport::SettingsFilePath();
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        QFile::remove(file);
        QVERIFY(testsupport::MakeFifo(file));
        const auto removeFifo = qScopeGuard([&] { QFile::remove(file); });
        ToolRun run;
        RunTool(run, {"--cell", "1x1", whiteBlack_});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray(" @\r\n"));
    }
};

GLYFORA_TEST_MAIN(TestConvertToolOptions)
#include "tst_convert_tool_options.moc"

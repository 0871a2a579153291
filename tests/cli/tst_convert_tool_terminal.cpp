// glyfora-convert for a terminal, played by the test on a pseudo-terminal: colours, the
// progress line, the background question and the art fitted to the terminal's size.
#include "tests/cli/ConvertToolRun.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"

#include <QImage>
#include <QSize>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/wait.h>

using namespace mGlyfora;
using namespace tooltest;

class TestConvertToolTerminal : public ToolTest {
    Q_OBJECT
private Q_SLOTS:

    // On a terminal, the progress line is rewritten in place and ends with the counts;
    // --quiet, a single picture and results written to that same terminal show none.
    void progressOnTerminal_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("pictures");
        QTest::addColumn<bool>("resultsOnTerminal");
        QTest::addColumn<bool>("shown");
        QTest::newRow("batch") << QStringList() << 3 << false << true;
        QTest::newRow("quiet") << QStringList{"--quiet"} << 3 << false << false;
        QTest::newRow("one picture into a folder") << QStringList() << 1 << false << false;
        QTest::newRow("results on the terminal") << QStringList() << 3 << true << false;
    }
    void progressOnTerminal() {
        QFETCH(QStringList, options);
        QFETCH(int, pictures);
        QFETCH(bool, resultsOnTerminal);
        QFETCH(bool, shown);
        Terminal terminal;
        QVERIFY(terminal.terminal >= 0);
        QTemporaryDir out;
        QStringList list = BatchPictures().mid(0, pictures - 1);
        list << dir_.filePath(QStringLiteral("no-such.bmp"));
        RunSetup setup;
        setup.stderrTerminal = terminal.terminal;
        setup.stdoutTerminal = resultsOnTerminal;
        if (!resultsOnTerminal)
            options << QStringList{"-O", out.path()};
        ToolRun run;
        // Big cells keep the results within what the terminal holds unread.
        RunTool(run, options + QStringList{"--cell", "10x10"} + list, setup);
        const QByteArray said = terminal.Said();
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(said.contains("no-such.bmp: "), said.constData());
        // The line the batch leaves is its summary.
        const QByteArray last =
            "\r\x1b[K" + QByteArray::number(pictures - 1) + " converted, 1 failed in ";
        QCOMPARE(said.contains(last), shown);
        // Rewritten in place: back to the line's start and the rest of it cleared.
        QCOMPARE(said.contains("\r\x1b[K"), shown);
    }

    // Each character in its pixel's colour and every line ended by a reset; on a pipe or
    // under NO_COLOR only when asked for.
    void colours_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<bool>("onTerminal");
        QTest::addColumn<QList<QRgb>>("pixels"); // row by row
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("ramp");
        QTest::addColumn<QByteArray>("expected"); // on a terminal: a part of it, or none
        const QByteArray reset = "\x1b[0m\r\n";
        const QList<QRgb> four{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                               qRgb(128, 128, 128)};
        const QStringList palette{"--color", "--color-depth", "256"};
        const QByteArray direct = "\x1b[38;2;255;0;0m#\x1b[38;2;0;255;0m#" + reset +
                                  "\x1b[38;2;0;0;255m#\x1b[38;2;128;128;128m#" + reset;
        QTest::newRow("24 bits") << QStringList{"--color=always"} << "COLORTERM=truecolor" << false
                                 << four << 2 << "#" << direct;
        QTest::newRow("24 bits announced as 24bit")
            << QStringList{"--color"} << "COLORTERM=24bit" << false << four << 2 << "#" << direct;
        QTest::newRow("palette asked for")
            << palette << "COLORTERM=24bit" << false << four << 2 << "#"
            << "\x1b[38;5;196m#\x1b[38;5;46m#" + reset + "\x1b[38;5;21m#\x1b[38;5;244m#" + reset;
        // Cube levels 0, 95, 135, 175, 215, 255: red 50 is nearer 95 than 0.
        QTest::newRow("(50, 255, 0) in the cube: 16 + 36 + 30 = 82")
            << palette << "COLORTERM=" << false << QList<QRgb>{qRgb(50, 255, 0)} << 1 << "#"
            << "\x1b[38;5;82m#" + reset;
        // The first cube level is 95: 48 and above are nearer to it than to 0.
        QTest::newRow("components 47, 48 and 57")
            << palette << "COLORTERM=" << false
            << QList<QRgb>{qRgb(47, 255, 0), qRgb(48, 255, 0), qRgb(57, 255, 0)} << 3 << "#"
            << "\x1b[38;5;46m#\x1b[38;5;82m##" + reset;
        // Greys 8, 18, ..., 238 at 232 to 255: 240 is 2 from 238, 15 from the cube's 255.
        QTest::newRow("(240, 240, 240) the last grey, 255")
            << palette << "COLORTERM=" << false << QList<QRgb>{qRgb(240, 240, 240)} << 1 << "#"
            << "\x1b[38;5;255m#" + reset;
        QTest::newRow("(244, 244, 244) the last grey, never beyond 255")
            << palette << "COLORTERM=" << false << QList<QRgb>{qRgb(244, 244, 244)} << 1 << "#"
            << "\x1b[38;5;255m#" + reset;
        QTest::newRow("a colour repeated on a line sent once")
            << QStringList{"--color", "--color-depth", "24"} << "COLORTERM=" << false
            << QList<QRgb>{qRgb(255, 0, 0), qRgb(255, 0, 0)} << 2 << "#"
            << "\x1b[38;2;255;0;0m##" + reset;
        QTest::newRow("each line starts with its colour")
            << palette << "COLORTERM=" << false << QList<QRgb>{qRgb(255, 0, 0), qRgb(255, 0, 0)}
            << 1 << "#" << ("\x1b[38;5;196m#" + reset).repeated(2);
        QTest::newRow("a character of three bytes takes one cell")
            << palette << "COLORTERM=" << false << four << 2 << "あ"
            << "\x1b[38;5;196mあ\x1b[38;5;46mあ" + reset + "\x1b[38;5;21mあ\x1b[38;5;244mあ" +
                   reset;
        QTest::newRow("auto on a pipe") << QStringList() << "COLORTERM=truecolor" << false << four
                                        << 2 << "#" << QByteArray("##\r\n##\r\n");
        QTest::newRow("auto on a terminal") << QStringList() << "NO_COLOR=" << true << four << 2
                                            << "#" << QByteArray("\x1b[38;5;196m#");
        QTest::newRow("auto on a terminal, NO_COLOR")
            << QStringList() << "NO_COLOR=1" << true << four << 2 << "#" << QByteArray();
    }
    void colours() {
        QFETCH(QStringList, options);
        QFETCH(QString, environment);
        QFETCH(bool, onTerminal);
        QFETCH(QList<QRgb>, pixels);
        QFETCH(int, width);
        QFETCH(QString, ramp);
        QFETCH(QByteArray, expected);
        QImage cells(width, int(pixels.size()) / width, QImage::Format_RGB32);
        for (int i = 0; i < pixels.size(); ++i)
            cells.setPixel(i % width, i / width, pixels.at(i));
        const QString path = testsupport::WritePicture(
            cells, pictures_.filePath(QStringLiteral("cells.bmp")), "bmp");
        Terminal terminal;
        RunSetup setup;
        setup.environment << environment;
        if (onTerminal) {
            QVERIFY(terminal.terminal >= 0);
            setup.stderrTerminal = terminal.terminal;
            setup.stdoutTerminal = true;
        }
        ToolRun run;
        RunTool(run, options + QStringList{"--cell", "1x1", "--ramp", ramp, path}, setup);
        QCOMPARE(run.exitCode, 0);
        if (!onTerminal) {
            QCOMPARE(run.out, expected);
            return;
        }
        const QByteArray said = terminal.Said();
        QVERIFY(said.contains("#"));
        QCOMPARE(said.contains("\x1b["), !expected.isEmpty());
        QVERIFY(said.contains(expected));
    }

    // On a terminal the art is drawn for the terminal's own background, asked of it, and
    // fits it when no size is given; a file or a pipe keeps the program's cell size.
    void onTerminal_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("wide");          // the 200 x 100 picture, else white beside black
        QTest::addColumn<bool>("standardInput"); // the picture given as - on a pipe
        QTest::addColumn<QSize>("terminal");     // columns and rows
        QTest::addColumn<QSize>("pixels");       // the terminal's size in pixels, when it says
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<bool>("storedReverse");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QByteArray>("art");
        const QSize size(80, 24), noPixels;
        const QStringList plain{"NO_COLOR=1"};
        const QStringList ramp{"--ramp", " @"};
        const QByteArray attributes = "\x1b[?62;22c";
        const QByteArray black = "\x1b]11;rgb:0000/0000/0000\a" + attributes;
        // White (L* 100) on the left, black on the right. Light paper: " @", dark: "@ ".
        QTest::newRow("black answered, ended by BEL")
            << ramp << false << false << size << noPixels << black << plain << false << true
            << QByteArray("@ \r\n");
        QTest::newRow("cream answered in two digits, ended by ST")
            << ramp << false << false << size << noPixels
            << "\x1b]11;rgb:fd/f6/e3\x1b\\" + attributes << plain << false << true
            << QByteArray(" @\r\n");
        // Full blue is bright in one component but dark to the eye: L* 32.
        QTest::newRow("blue is dark") << ramp << false << false << size << noPixels
                                      << "\x1b]11;rgba:0000/0000/ffff/ffff\a" + attributes << plain
                                      << false << true << QByteArray("@ \r\n");
        QTest::newRow("no colour known, only the attributes")
            << ramp << false << false << size << noPixels << attributes << plain << false << true
            << QByteArray("@ \r\n");
        QTest::newRow("no answer at all")
            << ramp << false << false << size << noPixels << QByteArray() << plain << false << true
            << QByteArray("@ \r\n");
        QTest::newRow("picture on standard input")
            << ramp << false << true << size << noPixels << black << plain << false << true
            << QByteArray("@ \r\n");
        QTest::newRow("--no-reverse on dark")
            << ramp + QStringList{"--no-reverse"} << false << false << size << noPixels << black
            << plain << false << true << QByteArray(" @\r\n");
        QTest::newRow("stored reverse runs the other way on dark")
            << ramp << false << false << size << noPixels << black << plain << true << true
            << QByteArray(" @\r\n");
        // Tone's paper follows the background, the stored direction flips it, a given one
        // names it.
        const QStringList tone =
            ramp + QStringList{"--style", "tone", "--width", "2", "--dither", "none"};
        QTest::newRow("tone on dark") << tone << false << false << size << noPixels << black
                                      << plain << false << true << QByteArray("@ \r\n");
        QTest::newRow("tone, stored reverse on dark")
            << tone << false << false << size << noPixels << black << plain << true << true
            << QByteArray(" @\r\n");
        QTest::newRow("tone, --reverse on dark")
            << tone + QStringList{"--reverse"} << false << false << size << noPixels << black
            << plain << true << true << QByteArray("@ \r\n");
        QTest::newRow("--background light, not asked")
            << ramp + QStringList{"--background", "light"} << false << false << size << noPixels
            << black << plain << false << false << QByteArray(" @\r\n");
        QTest::newRow("--background=dark, not asked")
            << ramp + QStringList{"--background=dark"} << false << false << size << noPixels
            << QByteArray() << plain << false << false << QByteArray("@ \r\n");
        QTest::newRow("coloured on dark")
            << ramp << false << false << size << noPixels << black << QStringList() << false << true
            << QByteArray("\x1b[38;5;231m@\x1b[38;5;16m \x1b[0m\r\n");
        // 200 x 100 into 80 columns and 5 rows: 5 rows of 20 pixels, cells 10 x 20, 20 columns.
        const auto grid = [](int columns, int rows) {
            return (QByteArray(columns, '#') + "\r\n").repeated(rows);
        };
        const QStringList wideArt{"--ramp", "#", "--background", "dark"};
        QTest::newRow("fits, a line left")
            << wideArt << true << false << QSize(80, 6) << noPixels << QByteArray() << plain
            << false << false << grid(20, 5);
        // Cells of 640 / 80 x 120 / 6 = 8 x 20 pixels: rows of 20, cells 8 x 20, 25 columns.
        QTest::newRow("cell shape from the terminal's pixels")
            << wideArt << true << false << QSize(80, 6) << QSize(640, 120) << QByteArray() << plain
            << false << false << grid(25, 5);
        // Columns decide: 200 / 40 = 5 wide, 10 tall, 10 rows in 24 - 1.
        QTest::newRow("fits the columns")
            << wideArt << true << false << QSize(40, 24) << noPixels << QByteArray() << plain
            << false << false << grid(40, 10);
        // Fractional cells keep the picture's shape in the box too: 5 rows of 20 x 10.
        QTest::newRow("a style fits, a line left")
            << wideArt + QStringList{"--style", "tone"} << true << false << QSize(80, 6) << noPixels
            << QByteArray() << plain << false << false << grid(20, 5);
        QTest::newRow("a style fits the columns")
            << wideArt + QStringList{"--style", "tone"} << true << false << QSize(40, 24)
            << noPixels << QByteArray() << plain << false << false << grid(40, 10);
        QTest::newRow("--width as given")
            << wideArt + QStringList{"--width", "10"} << true << false << QSize(80, 6) << noPixels
            << QByteArray() << plain << false << false << grid(10, 3);
        QTest::newRow("--cell as given")
            << wideArt + QStringList{"--cell", "50x50"} << true << false << QSize(80, 6) << noPixels
            << QByteArray() << plain << false << false << grid(4, 2);
    }
    void onTerminal() {
        QFETCH(QStringList, options);
        QFETCH(bool, wide);
        QFETCH(bool, standardInput);
        QFETCH(QSize, terminal);
        QFETCH(QSize, pixels);
        QFETCH(QByteArray, answer);
        QFETCH(QStringList, environment);
        QFETCH(bool, storedReverse);
        QFETCH(bool, asked);
        QFETCH(QByteArray, art);
        if (storedReverse)
            Store("Conversion", "Reverse", "True");
        const winsize size{ushort(terminal.height()), ushort(terminal.width()),
                           ushort(pixels.isValid() ? pixels.width() : 0),
                           ushort(pixels.isValid() ? pixels.height() : 0)};
        TerminalSession session;
        const QString picture = wide ? wide_ : whiteBlack_;
        RunOnTerminal(session, options + QStringList{standardInput ? "-" : picture}, size, answer,
                      environment, standardInput ? ReadAll(picture) : QByteArray());
        QVERIFY(WIFEXITED(session.status));
        QCOMPARE(WEXITSTATUS(session.status), 0);
        QCOMPARE(session.asked, asked);
        QVERIFY(session.modeKept);
        // The question goes first, through the same terminal, the art after it.
        const QByteArray question = "\x1b]11;?\x1b\\\x1b[c";
        QCOMPARE(session.said, (asked ? question : QByteArray()) + art);
    }

    // Ended while the terminal is being asked: the terminal's mode is restored first, also
    // while another thread measures the glyphs.
    void terminatedWhileAsking_data() {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("exact") << QStringList();
        QTest::newRow("tone, glyphs measured meanwhile") << QStringList{"--style", "tone"};
    }
    void terminatedWhileAsking() {
        QFETCH(QStringList, options);
        TerminalSession session;
        RunOnTerminal(session, options + QStringList{whiteBlack_}, winsize{24, 80, 0, 0},
                      QByteArray(), {}, {}, true);
        QVERIFY(session.asked);
        QVERIFY(WIFSIGNALED(session.status));
        QCOMPARE(WTERMSIG(session.status), SIGTERM);
        QVERIFY(session.modeKept);
    }
};

GLYFORA_TEST_MAIN(TestConvertToolTerminal)
#include "tst_convert_tool_terminal.moc"

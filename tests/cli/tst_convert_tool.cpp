// glyfora-convert run as its own process with no display: exit codes, usage errors,
// output that matches the scans the program runs on the same picture and settings, and
// where that output goes: pipes, devices, links, names that are not UTF-8, full disks.
#include "app/Settings.h"
#include "convert/ConversionSettings.h"
#include "convert/ConversionState.h"
#include "convert/ConvertScan.h"
#include "convert/HtmlPage.h"
#include "imageops/PictureLoader.h"
#include "platform/FileNames.h"
#include "platform/OutputFile.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "tests/convert/ScanTestSupport.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>

using namespace mGlyfora;

namespace {

const QString ToolPath = QStringLiteral(GLYFORA_CONVERT_PATH);

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

struct RunSetup {
    QString stdoutFile;          // standard output goes there instead of a pipe
    rlim_t fileSizeLimit = 0;    // writes past this many bytes fail as on a full disk
    QByteArray input;            // standard input's bytes
    int stderrTerminal = -1;     // a terminal's descriptor to put in place of standard error
    bool stdoutTerminal = false; // standard output on that terminal too
    QStringList environment;     // NAME=VALUE added to the tool's environment
};

// A pseudo-terminal: the tool writes to `terminal`, the test reads what it said.
struct Terminal {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    int terminal = master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0
                       ? ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC)
                       : -1;
    ~Terminal() {
        if (terminal >= 0)
            ::close(terminal);
        if (master >= 0)
            ::close(master);
    }
    // Everything written so far, once the tool has ended.
    QByteArray Said() {
        ::close(std::exchange(terminal, -1));
        QByteArray said;
        char chunk[4096];
        ::fcntl(master, F_SETFL, O_NONBLOCK);
        for (ssize_t n; (n = ::read(master, chunk, sizeof chunk)) > 0;)
            said.append(chunk, n);
        return said;
    }
};

// No display, no platform choice: only the folders the tool needs.
void RunProgram(ToolRun& run, const QString& program, const QStringList& args,
                const RunSetup& setup = {}) {
    QProcessEnvironment env;
    for (const char* name : {"HOME", "PATH", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"})
        env.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
    for (const QString& variable : setup.environment)
        env.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    QProcess process;
    process.setProcessEnvironment(env);
    if (!setup.stdoutFile.isEmpty())
        process.setStandardOutputFile(setup.stdoutFile);
    const rlim_t limit = setup.fileSizeLimit;
    const int terminal = setup.stderrTerminal;
    const bool bothOnTerminal = setup.stdoutTerminal;
    process.setChildProcessModifier([limit, terminal, bothOnTerminal] {
        if (limit) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit lower{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &lower);
        }
        if (terminal >= 0)
            ::dup2(terminal, STDERR_FILENO);
        if (terminal >= 0 && bothOnTerminal)
            ::dup2(terminal, STDOUT_FILENO);
    });
    process.start(program, args);
    if (!setup.input.isEmpty())
        process.write(setup.input);
    process.closeWriteChannel();
    // A run takes well under a second; the limit only keeps a hang from stalling the suite.
    const bool finished = process.waitForFinished(120000);
    if (!finished) {
        process.kill();
        process.waitForFinished(10000);
    }
    QVERIFY2(finished, "glyfora-convert did not finish");
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
}

void RunTool(ToolRun& run, const QStringList& args, const RunSetup& setup = {}) {
    RunProgram(run, ToolPath, args, setup);
}

// Through the shell, for names that are not UTF-8: `script` runs with $1 the tool and $2
// the folder, and writes such names with printf escapes.
void RunInShell(ToolRun& run, const QString& script, const QString& folder) {
    RunProgram(run, QStringLiteral("/bin/sh"),
               {QStringLiteral("-c"), script, QStringLiteral("sh"), ToolPath, folder});
}

QByteArray Bytes(const QString& path) {
    return platform::EncodeFileName(path);
}

using testsupport::DeviceNode;
using testsupport::Names;
using testsupport::ReadAll;
using testsupport::Store;
using testsupport::TypeOf;
using testsupport::WriteFile;

QString IntermediatePath() {
    return IntermediateFilePath();
}

// The grid picture with the ramp "0123456789ABCDEF": column x of the 6 x 2 picture reads
// as the character x, so the text is two rows of "012345".
const QString GridRamp = QStringLiteral("0123456789ABCDEF");
const QByteArray GridText = "012345\r\n012345\r\n";

// What the program itself would produce for the picture with the stored settings.
QString ProgramScan(const QString& path, bool html, const SelectionRect& cut = {}) {
    platform::SettingsStore store;
    LoadSettings(store);
    PictureSurface surface;
    surface.Assign(LoadPictureFile(path).image);
    testsupport::RecordingHost host;
    return Scan(html ? ScanKind::HTML : ScanKind::Text, surface, cut, host).text;
}

} // namespace

class TestConvertTool : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(pictures_.isValid());
        picture_ =
            testsupport::WritePicture(testsupport::NoiseSurface(53, 31, 7).Image(),
                                      pictures_.filePath(QStringLiteral("noise.bmp")), "bmp");
        grid_ = testsupport::WritePicture(testsupport::ColumnIndexSurface(6, 2).Image(),
                                          pictures_.filePath(QStringLiteral("grid.bmp")), "bmp");
        QImage whiteBlack(2, 1, QImage::Format_RGB32);
        whiteBlack.setPixel(0, 0, qRgb(255, 255, 255));
        whiteBlack.setPixel(1, 0, qRgb(0, 0, 0));
        whiteBlack_ = testsupport::WritePicture(
            whiteBlack, pictures_.filePath(QStringLiteral("white-black.bmp")), "bmp");
    }
    void init() { testsupport::ResetProcessValues(); }

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
        QTest::newRow("unknown colour choice") << QStringList{"--color=sometimes", p};
        QTest::newRow("cell without y") << QStringList{"--cell", "3", p};
        QTest::newRow("cell missing value") << QStringList{p, "--cell"};
        QTest::newRow("empty ramp") << QStringList{"--ramp", "", p};
        QTest::newRow("65 characters") << QStringList{"--ramp", QString(65, u'x'), p};
        QTest::newRow("three numbers") << QStringList{"--select", "1,2,3", p};
        QTest::newRow("not numbers") << QStringList{"--select", "a,b,c,d", p};
        QTest::newRow("negative width") << QStringList{"--select", "0,0,-1,2", p};
        QTest::newRow("infinite") << QStringList{"--select", "0,0,inf,2", p};
        QTest::newRow("both directions") << QStringList{"--reverse", "--no-reverse", p};
        QTest::newRow("unknown option") << QStringList{"--colour", p};
        QTest::newRow("flag with value") << QStringList{"--html=yes", p};
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

    void pictureFailures_data() {
        QTest::addColumn<QByteArray>("contents"); // empty: no file at all
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QByteArray() << "C.UTF-8"
                                 << "file not found";
        QTest::newRow("missing, Japanese") << QByteArray() << "ja_JP.UTF-8"
                                           << "ファイルが見つかりません。";
        QTest::newRow("not a picture") << QByteArray("hello") << ""
                                       << "unknown picture format";
    }
    void pictureFailures() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, locale);
        QFETCH(QString, reason);
        const QString path = dir_.filePath(QStringLiteral("bad.jpg"));
        QFile::remove(path);
        if (!contents.isEmpty())
            QVERIFY(WriteFile(path, contents));
        RunSetup setup;
        setup.environment << "LANG=" + locale;
        ToolRun run;
        RunTool(run, {path}, setup);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        const QString err = QString::fromUtf8(run.err);
        QCOMPARE(err, path + ": " + reason + "\n");
    }

    void nothingProduced_data() {
        QTest::addColumn<QString>("select");
        QTest::addColumn<bool>("toFile");
        QTest::newRow("no rows") << "0,0,10,0" << false;
        QTest::newRow("one row, no readable pixel") << "5000,0,10,1" << false;
        QTest::newRow("one row, no readable pixel, page to file") << "5000,0,10,1" << true;
    }
    void nothingProduced() {
        QFETCH(QString, select);
        QFETCH(bool, toFile);
        const QString output = dir_.filePath(QStringLiteral("nothing.html"));
        QFile::remove(output);
        QStringList args{"--select", select, picture_};
        if (toFile)
            args << QStringList{"--page", "-o", output};
        ToolRun run;
        RunTool(run, args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err, picture_.toUtf8() + ": the conversion produced nothing: the selection "
                                              "holds no part of the picture\n");
        QVERIFY(!QFile::exists(output));
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

    // Columns and lines of the art for the 53 x 31 picture: rows of ceil(31 / 10) = 4 pixels
    // give 8 lines; the cell's width is 4 / aspect pixels, held within the int range.
    void artShape_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("lines");
        QTest::newRow("height 10, square cells")
            << QStringList{"--height", "10", "--aspect", "1"} << 14 << 8;
        QTest::newRow("height 10, aspect 1e-19: one column")
            << QStringList{"--height", "10", "--aspect", "1e-19"} << 1 << 8;
        QTest::newRow("height 10, aspect 1e-300: one column")
            << QStringList{"--height", "10", "--aspect", "1e-300"} << 1 << 8;
    }
    void artShape() {
        QFETCH(QStringList, options);
        QFETCH(int, columns);
        QFETCH(int, lines);
        ToolRun run;
        RunTool(run, options + QStringList{picture_});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        QVERIFY(run.out.endsWith("\r\n"));
        const QList<QByteArray> art = run.out.chopped(2).split('\n');
        QCOMPARE(art.size(), lines);
        for (const QByteArray& line : art)
            QCOMPARE(line.chopped(line.endsWith('\r') ? 1 : 0).size(), columns);
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

    // The output's own rules (pipes, devices, links, full disks) are OutputFile's and tested
    // there; here one case per way the tool connects it. -o through a link to a named pipe:
    // the link followed, the pipe written in place, neither replaced.
    void namedOutputNotRegular() {
        const QString fifo = dir_.filePath(QStringLiteral("pipe"));
        const QString link = dir_.filePath(QStringLiteral("link"));
        QVERIFY(testsupport::MakeFifo(fifo));
        QCOMPARE(::symlink("pipe", Bytes(link).constData()), 0);
        const int reader = ::open(Bytes(fifo).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        QVERIFY(reader >= 0);
        ToolRun run;
        RunTool(run, {"--ramp", GridRamp, "-o", link, grid_});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        QCOMPARE(TypeOf(fifo), mode_t(S_IFIFO));
        QCOMPARE(TypeOf(link), mode_t(S_IFLNK));
        char received[64] = {};
        QCOMPARE(::read(reader, received, sizeof received), ssize_t(GridText.size()));
        ::close(reader);
        QCOMPARE(QByteArray(received), GridText);
        QFile::remove(link);
        QFile::remove(fifo);
    }

    // A write the system refuses fails the run, naming the output and the reason.
    void writeFailures_data() {
        QTest::addColumn<QString>("output"); // empty: standard output
        QTest::addColumn<QString>("stdoutFile");
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<QString>("message"); // %1: the test folder, %full: a full device
        QTest::newRow("standard output full")
            << ""
            << "%full" << false << "standard output: No space left on device\n";
        QTest::newRow("disk full under -o") << "%1/out.html"
                                            << "" << true << "%1/out.html: File too large\n";
    }
    void writeFailures() {
        QFETCH(QString, output);
        QFETCH(QString, stdoutFile);
        QFETCH(bool, fullDisk);
        QFETCH(QString, message);
        const QString full = DeviceNode(devices_.path(), "full", 7);
        if (full.isEmpty() && (output + stdoutFile).contains(QStringLiteral("%full")))
            QSKIP("only root makes device nodes");
        for (QString* text : {&output, &stdoutFile, &message})
            text->replace(QStringLiteral("%1"), dir_.path()).replace(QStringLiteral("%full"), full);
        const QString earlier = dir_.filePath(QStringLiteral("out.html"));
        QVERIFY(WriteFile(earlier, "earlier"));
        const QStringList before = Names(dir_.path());
        RunSetup setup{stdoutFile, rlim_t(fullDisk ? 4096 : 0), {}, -1, false, {}};
        QStringList args{"--html", picture_};
        if (!output.isEmpty())
            args = QStringList{"-o", output} + args;
        ToolRun run;
        RunTool(run, args, setup);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(QString::fromUtf8(run.err), message);
        // An earlier file stays as it was; no temporary file is left beside it.
        QCOMPARE(ReadAll(earlier), QByteArray("earlier"));
        QCOMPARE(Names(dir_.path()), before);
        QFile::remove(earlier);
    }

    // A closed standard output is not taken for a file opened later.
    void closedStandardOutput_data() {
        QTest::addColumn<QString>("options");
        QTest::newRow("result") << QStringLiteral("--ramp %1 \"$3\"").arg(GridRamp);
        QTest::newRow("version") << QStringLiteral("--version");
    }
    void closedStandardOutput() {
        QFETCH(QString, options);
        ToolRun run;
        RunProgram(run, QStringLiteral("/bin/sh"),
                   {QStringLiteral("-c"),
                    QStringLiteral("exec \"$1\" ") + options + QStringLiteral(" >&-"),
                    QStringLiteral("sh"), ToolPath, dir_.path(), grid_});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, QByteArray("standard output: Bad file descriptor\n"));
    }

    // Names are bytes: one that is not UTF-8 is opened and created exactly as given.
    void namesThatAreNotUtf8() {
        QTemporaryDir folder;
        const QByteArray grid = ReadAll(grid_);
        QVERIFY(WriteFile(Bytes(folder.path()) + "/bad\xff\xfe.bmp", grid));
        ToolRun run;
        RunInShell(
            run,
            QStringLiteral("cd \"$2\" && exec \"$1\" --ramp %1 -o \"$(printf 'o\\377.txt')\" "
                           "\"$(printf 'bad\\377\\376.bmp')\"")
                .arg(GridRamp),
            folder.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        QCOMPARE(ReadAll(Bytes(folder.path()) + "/o\xff.txt"), GridText);
        QCOMPARE(Names(folder.path()).size(), 2);

        RunInShell(run, QStringLiteral("cd \"$2\" && exec \"$1\" \"$(printf 'miss\\377.bmp')\""),
                   folder.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.startsWith("miss\xff.bmp: "));
        for (const char* name : {"/bad\xff\xfe.bmp", "/o\xff.txt"})
            ::unlink((Bytes(folder.path()) + name).constData());
    }

    // Standard error carries the tool's own line, never a library's complaint.
    void brokenPictureOneLine_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("png") << "png";
        QTest::newRow("jpeg") << "jpg";
    }
    void brokenPictureOneLine() {
        QFETCH(QString, format);
        const QString path = dir_.filePath(QStringLiteral("broken.") + format);
        testsupport::WritePicture(testsupport::NoiseSurface(64, 64, 3).Image(), path,
                                  qPrintable(format));
        QByteArray bytes = ReadAll(path);
        // Scramble the compressed data in the middle, leaving the headers intact.
        for (qsizetype i = bytes.size() / 3; i < bytes.size() / 3 + 48; ++i)
            bytes[i] = char(bytes[i] ^ 0x5A);
        QVERIFY(WriteFile(path, bytes));
        ToolRun run;
        RunTool(run, {path});
        QVERIFY(run.exitCode == 0 || run.exitCode == 1);
        if (run.exitCode == 1) {
            QCOMPARE(run.err.count('\n'), 1);
            QVERIFY2(run.err.startsWith(Bytes(path) + ": "), run.err.constData());
        } else {
            QVERIFY2(run.err.isEmpty(), run.err.constData());
        }
        if (format == "png")
            QCOMPARE(run.exitCode, 1);
    }

    // The tool writes its output directly: no intermediate file is made, and one held
    // by the program is no reason to wait.
    void noIntermediateFile_data() {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("text to standard output") << QStringList();
        QTest::newRow("html page to a file") << QStringList{"--html", "--page", "-o", "%1/p.html"};
    }
    void noIntermediateFile() {
        QFETCH(QStringList, options);
        options.replaceInStrings(QStringLiteral("%1"), dir_.path());
        ::unlink(Bytes(IntermediatePath()).constData());
        ToolRun run;
        RunTool(run, options + QStringList{picture_});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(!QFileInfo::exists(IntermediatePath()));

        // The program is converting: its file is locked. The tool does not wait for it.
        QVERIFY(WriteFile(IntermediatePath(), "the program's"));
        const int held = ::open(Bytes(IntermediatePath()).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(held >= 0);
        QCOMPARE(::flock(held, LOCK_EX), 0);
        RunTool(run, options + QStringList{picture_});
        ::close(held);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(ReadAll(IntermediatePath()), QByteArray("the program's"));
        ::unlink(Bytes(IntermediatePath()).constData());
    }

    void unwritableOutput() {
        const QString output = dir_.filePath(QStringLiteral("no/such/folder/out.txt"));
        ToolRun run;
        RunTool(run, {"-o", output, picture_});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, output.toUtf8() + ": No such file or directory\n");
    }

    // Several pictures: the results one after another on standard output, or one file
    // each in a folder, the same bytes whatever the number of conversions at once.
    void batchIndependentOfJobs_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("toFolder");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<int>("count"); // pictures converted; 0: the whole batch
        QTest::newRow("text to standard output")
            << QStringList{"--cell", "1x2"} << false << ".txt" << 0;
        QTest::newRow("html pages to standard output")
            << QStringList{"--html", "--page"} << false << ".html" << 0;
        QTest::newRow("text into a folder") << QStringList{"--cell", "1x2"} << true << ".txt" << 0;
        QTest::newRow("html into a folder") << QStringList{"--html"} << true << ".html" << 0;
        QTest::newRow("one picture into a folder") << QStringList{} << true << ".txt" << 1;
    }
    void batchIndependentOfJobs() {
        QFETCH(QStringList, options);
        QFETCH(bool, toFolder);
        QFETCH(QString, suffix);
        QFETCH(int, count);
        const QStringList pictures = count ? BatchPictures().mid(0, count) : BatchPictures();
        QByteArray expected;
        QList<QByteArray> each;
        for (const QString& picture : pictures) {
            ToolRun single;
            RunTool(single, options + QStringList{picture});
            QCOMPARE(single.exitCode, 0);
            each << single.out;
            expected += single.out;
        }
        QVERIFY(each.size() < 2 || each.at(0) != each.at(1));
        for (const char* jobs : {"1", "2", "3", "16"}) {
            QTemporaryDir folder;
            QStringList args = options + QStringList{"-j", jobs};
            if (toFolder)
                args << QStringList{"-O", folder.path()};
            ToolRun run;
            RunTool(run, args + pictures);
            QCOMPARE(run.exitCode, 0);
            QVERIFY2(run.err.isEmpty(), run.err.constData()); // no progress off a terminal
            if (!toFolder) {
                QVERIFY2(run.out == expected, jobs);
                continue;
            }
            QVERIFY(run.out.isEmpty());
            QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(),
                     pictures.size());
            for (qsizetype i = 0; i < pictures.size(); ++i) {
                const QString name = QStringLiteral("p%1").arg(i) + suffix;
                QVERIFY2(ReadAll(folder.filePath(name)) == each.at(i), qPrintable(name));
            }
        }
    }

    // A picture that cannot be read is named on standard error; the others are converted.
    void badPictureInBatch_data() {
        QTest::addColumn<bool>("toFolder");
        QTest::newRow("standard output") << false;
        QTest::newRow("folder") << true;
    }
    void badPictureInBatch() {
        QFETCH(bool, toFolder);
        const QStringList good = BatchPictures().mid(0, 2);
        QTemporaryDir bad;
        const QString notPicture = bad.filePath(QStringLiteral("not-a-picture.jpg"));
        QVERIFY(WriteFile(notPicture, "hello"));
        const QString missing = bad.filePath(QStringLiteral("missing.png"));
        const QString folderPicture = bad.filePath(QStringLiteral("folder.png"));
        QVERIFY(QDir().mkdir(folderPicture));
        const QString fifo = bad.filePath(QStringLiteral("fifo.bmp"));
        QVERIFY(testsupport::MakeFifo(fifo));
        testsupport::FifoUnblocker unblocker(fifo);
        const QStringList pictures{good.at(0),    notPicture, missing,
                                   folderPicture, fifo,       good.at(1)};
        QTemporaryDir out;
        QStringList args{"-j", "2"};
        if (toFolder)
            args << QStringList{"-O", out.path()};
        ToolRun run;
        RunTool(run, args + pictures);
        QVERIFY(unblocker.Finish());
        QCOMPARE(run.exitCode, 1);
        const QList<QByteArray> lines = run.err.split('\n');
        QCOMPARE(lines.size(), 5); // four messages and the end of the last
        const QStringList failed{notPicture, missing, folderPicture, fifo};
        for (int i = 0; i < 4; ++i)
            QVERIFY2(lines.at(i).startsWith(Bytes(failed.at(i)) + ": "), lines.at(i).constData());
        QVERIFY(lines.at(0).contains("unknown picture format"));
        QVERIFY(lines.at(1).contains("file not found"));
        QByteArray expected;
        for (const QString& picture : good) {
            ToolRun single;
            RunTool(single, {picture});
            expected += single.out;
        }
        if (toFolder) {
            QVERIFY(run.out.isEmpty());
            QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden),
                     QStringList({"p0.txt", "p1.txt"}));
            QCOMPARE(ReadAll(out.filePath("p0.txt")) + ReadAll(out.filePath("p1.txt")), expected);
        } else {
            QCOMPARE(run.out, expected);
        }
    }

    // A decoder's own complaint (libpng's) is part of a picture's message even while
    // other pictures are being read: the messages do not depend on -j.
    void messagesIndependentOfJobs() {
        QStringList pictures;
        for (int i = 0; i < 3; ++i) {
            const QString path = dir_.filePath(QStringLiteral("scrambled%1.png").arg(i));
            testsupport::WritePicture(testsupport::NoiseSurface(64, 64, 3 + i).Image(), path,
                                      "png");
            QByteArray bytes = ReadAll(path);
            for (qsizetype k = bytes.size() / 3; k < bytes.size() / 3 + 48; ++k)
                bytes[k] = char(bytes[k] ^ 0x5A);
            QVERIFY(WriteFile(path, bytes));
            pictures << BatchPictures().at(i) << path;
        }
        QByteArray expected;
        for (qsizetype i = 1; i < pictures.size(); i += 2) {
            ToolRun alone;
            RunTool(alone, {pictures.at(i)});
            QCOMPARE(alone.exitCode, 1);
            expected += alone.err;
        }
        for (const char* jobs : {"1", "4", "4", "4"}) {
            ToolRun run;
            RunTool(run, QStringList{"-j", jobs} + pictures);
            QCOMPARE(run.exitCode, 1);
            QCOMPARE(run.err, expected);
        }
    }

    // Pictures of the same base name get distinct files; none overwrites another.
    void sameBaseNames() {
        QTemporaryDir in;
        const QString names[] = {"a/x.bmp", "b/x.bmp", "x-2.bmp", "c/x.png"};
        QStringList pictures;
        for (int i = 0; i < 4; ++i) {
            const QString path = in.filePath(names[i]);
            QDir().mkpath(QFileInfo(path).path());
            const QString format = QFileInfo(path).suffix();
            pictures << testsupport::WritePicture(testsupport::NoiseSurface(5 + i, 4, i).Image(),
                                                  path, qPrintable(format));
        }
        QTemporaryDir out;
        QVERIFY(WriteFile(out.filePath("x.txt"), "an earlier result"));
        ToolRun run;
        RunTool(run, QStringList{"-O", out.path() + "/"} + pictures);
        QCOMPARE(run.exitCode, 0);
        // Worked out by hand: the second x takes x-2, so the picture named x-2 takes x-2-2.
        const QStringList expectedNames{"x.txt", "x-2.txt", "x-2-2.txt", "x-3.txt"};
        QStringList found = QDir(out.path()).entryList(QDir::Files | QDir::Hidden);
        found.sort();
        QStringList sorted = expectedNames;
        sorted.sort();
        QCOMPARE(found, sorted);
        for (int i = 0; i < 4; ++i) {
            ToolRun single;
            RunTool(single, {pictures.at(i)});
            QVERIFY2(ReadAll(out.filePath(expectedNames.at(i))) == single.out,
                     qPrintable(expectedNames.at(i)));
        }
    }

    // "-" reads the picture from standard input, in any format the loader reads.
    void standardInput_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("inBatch");
        QTest::newRow("bmp") << "bmp" << false;
        QTest::newRow("png") << "png" << false;
        QTest::newRow("jpeg in a batch") << "jpg" << true;
    }
    void standardInput() {
        QFETCH(QString, format);
        QFETCH(bool, inBatch);
        const QString path = testsupport::WritePicture(
            testsupport::NoiseSurface(23, 17, 5).Image(),
            dir_.filePath(QStringLiteral("stdin.") + format), qPrintable(format));
        ToolRun fromFile;
        RunTool(fromFile, {"--html", path});
        QCOMPARE(fromFile.exitCode, 0);
        RunSetup setup;
        setup.input = ReadAll(path);
        ToolRun fromInput;
        if (!inBatch) {
            RunTool(fromInput, {"--html", "-"}, setup);
            QCOMPARE(fromInput.exitCode, 0);
            QCOMPARE(fromInput.out, fromFile.out);
            return;
        }
        QTemporaryDir out;
        RunTool(fromInput, {"--html", "-O", out.path(), picture_, "-"}, setup);
        QCOMPARE(fromInput.exitCode, 0);
        QCOMPARE(ReadAll(out.filePath("stdin.html")), fromFile.out);
    }

    void standardInputNotAPicture() {
        RunSetup setup;
        setup.input = "hello";
        ToolRun run;
        RunTool(run, {picture_, "-"}, setup);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, "standard input: unknown picture format\n");
        ToolRun single;
        RunTool(single, {picture_});
        QCOMPARE(run.out, single.out);
    }

    // An output folder that cannot take files: said once, nothing converted or left.
    void unwritableFolder_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a file") << "%1/file"
                                << "Not a directory";
        QTest::newRow("missing") << "%1/no/such"
                                 << "No such file or directory";
        // No file can be made in /proc, whoever asks.
        QTest::newRow("system folder")
            << "/proc" << (::geteuid() == 0 ? "No such file or directory" : "Permission denied");
    }
    void unwritableFolder() {
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        QTemporaryDir base;
        QVERIFY(WriteFile(base.filePath("file"), "x"));
        folder.replace(QStringLiteral("%1"), base.path());
        ToolRun run;
        RunTool(run, QStringList{"-O", folder} + BatchPictures());
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(QString::fromUtf8(run.err),
                 folder + ": cannot write into this folder: " + reason + "\n");
        QCOMPARE(
            QDir(base.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"file"});
    }

    // One output that cannot be replaced (a folder stands at its name) fails alone: the
    // message names it, the other files are written, no temporary file is left.
    void unreplaceableOutputInFolder() {
        QTemporaryDir out;
        QVERIFY(QDir().mkdir(out.filePath("p1.txt")));
        const QStringList pictures = BatchPictures().mid(0, 3);
        ToolRun run;
        RunTool(run, QStringList{"-O", out.path()} + pictures);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(QString::fromUtf8(run.err), out.filePath("p1.txt") + ": Is a directory\n");
        QStringList found =
            QDir(out.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        QCOMPARE(found, QStringList({"p0.txt", "p1.txt", "p2.txt"}));
        QVERIFY(QFileInfo(out.filePath("p1.txt")).isDir());
        ToolRun single;
        RunTool(single, {pictures.at(2)});
        QCOMPARE(ReadAll(out.filePath("p2.txt")), single.out);
    }

    // A picture whose name is that of its own result is not replaced by it.
    void resultWouldReplacePicture() {
        QTemporaryDir folder;
        const QString picture = folder.filePath(QStringLiteral("p.txt"));
        QVERIFY(QFile::copy(BatchPictures().at(0), picture));
        const QByteArray before = ReadAll(picture);
        ToolRun run;
        RunTool(run, {"-O", folder.path(), picture, BatchPictures().at(1)});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(QString::fromUtf8(run.err),
                 picture + QStringLiteral(": the result would replace the picture itself\n"));
        QCOMPARE(ReadAll(picture), before);
        QVERIFY(QFileInfo::exists(folder.filePath(QStringLiteral("p1.txt"))));
    }

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
        QTest::addColumn<QByteArray>("expected"); // on a terminal: a part of it, or none
        const QByteArray reset = "\x1b[0m\r\n";
        QTest::newRow("24 bits") << QStringList{"--color=always"} << "COLORTERM=truecolor" << false
                                 << "\x1b[38;2;255;0;0m#\x1b[38;2;0;255;0m#" + reset +
                                        "\x1b[38;2;0;0;255m#\x1b[38;2;128;128;128m#" + reset;
        QTest::newRow("palette asked for")
            << QStringList{"--color", "--color-depth", "256"} << "COLORTERM=24bit" << false
            << "\x1b[38;5;196m#\x1b[38;5;46m#" + reset + "\x1b[38;5;21m#\x1b[38;5;244m#" + reset;
        QTest::newRow("auto on a pipe")
            << QStringList() << "COLORTERM=truecolor" << false << QByteArray("##\r\n##\r\n");
        QTest::newRow("auto on a terminal")
            << QStringList() << "NO_COLOR=" << true << QByteArray("\x1b[38;5;196m#");
        QTest::newRow("auto on a terminal, NO_COLOR")
            << QStringList() << "NO_COLOR=1" << true << QByteArray();
    }
    void colours() {
        QFETCH(QStringList, options);
        QFETCH(QString, environment);
        QFETCH(bool, onTerminal);
        QFETCH(QByteArray, expected);
        QImage four(2, 2, QImage::Format_RGB32);
        four.setPixel(0, 0, qRgb(255, 0, 0));
        four.setPixel(1, 0, qRgb(0, 255, 0));
        four.setPixel(0, 1, qRgb(0, 0, 255));
        four.setPixel(1, 1, qRgb(128, 128, 128));
        const QString path =
            testsupport::WritePicture(four, pictures_.filePath(QStringLiteral("four.bmp")), "bmp");
        Terminal terminal;
        RunSetup setup;
        setup.environment << environment;
        if (onTerminal) {
            QVERIFY(terminal.terminal >= 0);
            setup.stderrTerminal = terminal.terminal;
            setup.stdoutTerminal = true;
        }
        ToolRun run;
        RunTool(run, options + QStringList{"--cell", "1x1", "--ramp", "#", path}, setup);
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

private:
    QTemporaryDir dir_;      // outputs
    QTemporaryDir pictures_; // inputs
    QTemporaryDir devices_;  // device nodes of the test's own
    // Five noise pictures p0.bmp ... p4.bmp of different sizes, made once.
    QStringList BatchPictures() {
        if (batch_.isEmpty()) {
            QDir().mkpath(pictures_.filePath(QStringLiteral("batch")));
            for (int i = 0; i < 5; ++i)
                batch_ << testsupport::WritePicture(
                    testsupport::NoiseSurface(40 + 13 * i, 25 + 7 * i, 100 + i).Image(),
                    pictures_.filePath(QStringLiteral("batch/p%1.bmp").arg(i)), "bmp");
        }
        return batch_;
    }

    QString picture_;
    QStringList batch_;
    QString grid_;
    QString whiteBlack_;
};

GLYFORA_TEST_MAIN(TestConvertTool)
#include "tst_convert_tool.moc"

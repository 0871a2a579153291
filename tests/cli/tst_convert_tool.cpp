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
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utility>
#include <vector>
#include <wchar.h>

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

// The tool on a terminal of its own, as a person runs it: a pseudo-terminal of the given
// size is its controlling terminal and its standard output and error, and the test plays
// the terminal. It answers the background question with `answer`, or ends the tool with
// SIGTERM instead. Standard input is the terminal too, or a pipe holding `input`.
struct TerminalSession {
    QByteArray said;       // what the tool wrote on the terminal, line ends as written
    bool asked = false;    // the background colour was asked for
    int status = -1;       // as waitpid gives it
    bool modeKept = false; // echo and line mode at the end as at the start
};

const QByteArray BackgroundQuestion = "\x1b]11;?";

void RunOnTerminal(TerminalSession& session, const QStringList& args, const winsize& size,
                   const QByteArray& answer, const QStringList& environment,
                   const QByteArray& input = {}, bool terminateWhenAsked = false) {
    // Everything exec needs is made before the fork.
    QList<QByteArray> argBytes{Bytes(ToolPath)};
    for (const QString& arg : args)
        argBytes << Bytes(arg);
    QList<QByteArray> envBytes;
    for (const char* name : {"HOME", "PATH", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"})
        envBytes << QByteArray(name) + '=' + qgetenv(name);
    for (const QString& variable : environment)
        envBytes << variable.toUtf8();
    std::vector<char*> argv, envp;
    for (QByteArray& arg : argBytes)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    for (QByteArray& variable : envBytes)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    int pipeEnds[2] = {-1, -1};
    if (!input.isEmpty())
        QCOMPARE(::pipe2(pipeEnds, O_CLOEXEC), 0);
    winsize window = size;
    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, &window);
    if (pid == 0) {
        if (pipeEnds[0] >= 0)
            ::dup2(pipeEnds[0], STDIN_FILENO);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    QVERIFY(pid > 0);
    if (pipeEnds[0] >= 0) {
        // Less than a pipe holds: written at once.
        ::close(pipeEnds[0]);
        QCOMPARE(::write(pipeEnds[1], input.constData(), size_t(input.size())),
                 ssize_t(input.size()));
        ::close(pipeEnds[1]);
    }
    termios before{}, after{};
    QCOMPARE(::tcgetattr(master, &before), 0);
    // Reading waits for the tool's next bytes; it ends once the tool has closed the terminal.
    for (char chunk[4096];;) {
        const ssize_t n = ::read(master, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        session.said.append(chunk, n);
        if (!session.asked && session.said.contains(BackgroundQuestion)) {
            session.asked = true;
            if (terminateWhenAsked)
                ::kill(pid, SIGTERM);
            else if (!answer.isEmpty())
                QCOMPARE(::write(master, answer.constData(), size_t(answer.size())),
                         ssize_t(answer.size()));
        }
    }
    QCOMPARE(::tcgetattr(master, &after), 0);
    ::close(master);
    QCOMPARE(::waitpid(pid, &session.status, 0), pid);
    const tcflag_t mode = ICANON | ECHO;
    session.modeKept = (before.c_lflag & mode) == (after.c_lflag & mode);
    // The terminal's own output processing turns each line feed into CR LF.
    session.said.replace("\r\r\n", "\r\n");
}

using testsupport::DeviceNode;
using testsupport::ModeOf;
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
        wide_ = testsupport::WritePicture(testsupport::NoiseSurface(200, 100, 9).Image(),
                                          pictures_.filePath(QStringLiteral("wide.bmp")), "bmp");
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

    // Cells with fractional edges: exactly the columns asked, the rows from the picture's
    // shape (53 x 31) and the cells' (twice as tall as wide unless --aspect says).
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
    }
    void styleColumns() {
        QFETCH(QStringList, args);
        QFETCH(int, columns);
        QFETCH(int, rows);
        ToolRun run;
        RunTool(run, args + QStringList{picture_});
        QCOMPARE(run.exitCode, 0);
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
        QTest::newRow("named pipe nobody reads")
            << "%1/pipe"
            << "" << false << "%1/pipe: no program is reading from the named pipe\n";
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
        const QString pipe = dir_.filePath(QStringLiteral("pipe"));
        QVERIFY(!output.endsWith(QStringLiteral("/pipe")) || testsupport::MakeFifo(pipe));
        const auto removePipe = qScopeGuard([&] { QFile::remove(pipe); });
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

    // -o replaces a file only where a shell's redirection could write it, and the new file
    // keeps the old one's permission bits. Run as an ordinary user in a folder anyone may
    // write (no sticky bit); as root that user is nobody, through setpriv.
    void targetsThatMayNotBeWritten_data() {
        QTest::addColumn<bool>("ownFile");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("read-only file of one's own") << true << 0444 << false;
        QTest::newRow("another user's file") << false << 0644 << false;
        QTest::newRow("private file of one's own") << true << 0600 << true;
    }
    void targetsThatMayNotBeWritten() {
        QFETCH(bool, ownFile);
        QFETCH(int, mode);
        QFETCH(bool, replaced);
        const bool root = ::geteuid() == 0;
        if (!ownFile && !root)
            QSKIP("a file of another user needs root to make");
        const uid_t nobody = 65534;
        QTemporaryDir folder;
        QVERIFY(::chmod(Bytes(folder.path()).constData(), 0777) == 0);
        const QString picture = folder.filePath(QStringLiteral("grid.bmp"));
        QVERIFY(WriteFile(picture, ReadAll(grid_)));
        const QString target = folder.filePath(QStringLiteral("target.txt"));
        QVERIFY(WriteFile(target, "earlier", mode_t(mode)));
        if (root && ownFile)
            QCOMPARE(::chown(Bytes(target).constData(), nobody, nobody), 0);
        const QStringList asNobody{"--reuid=65534", "--regid=65534", "--clear-groups", ToolPath};
        ToolRun run;
        if (root) {
            // A build folder only root may enter (a clone under /root) keeps nobody out.
            RunProgram(run, QStringLiteral("setpriv"), asNobody + QStringList{"--version"});
            if (run.exitCode != 0)
                QSKIP("setpriv cannot run the tool as nobody here");
        }
        const QStringList args{"--ramp", GridRamp, "-o", target, picture};
        if (root)
            RunProgram(run, QStringLiteral("setpriv"), asNobody + args);
        else
            RunTool(run, args);
        QCOMPARE(QString::fromUtf8(run.err),
                 replaced ? QString() : target + QStringLiteral(": Permission denied\n"));
        QCOMPARE(run.exitCode, replaced ? 0 : 1);
        QCOMPARE(ReadAll(target), replaced ? GridText : QByteArray("earlier"));
        QCOMPARE(ModeOf(target) & 07777, mode_t(mode));
        QCOMPARE(Names(folder.path()), QStringList({"grid.bmp", "target.txt"}));
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

    // Pixels a picture leaves unset (a run-length bitmap holding only its end) take colour
    // 0 of its palette, black here, whatever picture was read before and however many at once.
    void unsetPixelsTakeOneColour_data() {
        QTest::addColumn<QString>("jobs");
        QTest::newRow("one at a time") << "1";
        QTest::newRow("eight at once") << "8";
    }
    void unsetPixelsTakeOneColour() {
        QFETCH(QString, jobs);
        // Its bytes, were they left in memory, would read as palette colours 1 to 3.
        QImage earlier(64, 48, QImage::Format_RGB32);
        earlier.fill(qRgb(1, 2, 3));
        const QString first = testsupport::WritePicture(
            earlier, pictures_.filePath(QStringLiteral("earlier.bmp")), "bmp");
        const QString empty = pictures_.filePath(QStringLiteral("empty.bmp"));
        QVERIFY(WriteFile(empty, testsupport::RunLengthBmp(64, 48, 0, 4)));
        ToolRun run;
        RunTool(run, {"--cell", "4x4", "--ramp", " #", "-j", jobs, first, empty});
        QCOMPARE(run.exitCode, 0);
        QByteArray blackRows;
        for (int row = 0; row < 12; ++row)
            blackRows += QByteArray(16, '#') + "\r\n";
        QCOMPARE(run.out.size(), 2 * blackRows.size());
        QCOMPARE(run.out.mid(blackRows.size()), blackRows);
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
    // A picture of the run is never replaced by a result, its own or another's, before it
    // is read. %1: the results' folder, holding the picture p.txt; %p: a picture elsewhere.
    void resultWouldReplacePicture_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("own result in the folder")
            << QStringList{"-O", "%1", "%1/p.txt", "%p"}
            << "%1/p.txt: the result would replace the picture itself\n";
        QTest::newRow("-o onto the picture")
            << QStringList{"-o", "%1/p.txt", "%1/p.txt"}
            << "%1/p.txt: the result would replace the picture itself\n";
        QTest::newRow("another picture of the batch")
            << QStringList{"-O", "%1", "%p", "%1/p.txt"}
            << "%1/p.txt: the result would replace the picture %1/p.txt\n";
    }
    void resultWouldReplacePicture() {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QTemporaryDir folder;
        // Named p like the picture elsewhere, so that its result is p.txt too.
        const QString elsewhere = pictures_.filePath(QStringLiteral("elsewhere/p.bmp"));
        QVERIFY(QDir().mkpath(QFileInfo(elsewhere).path()));
        QVERIFY(WriteFile(elsewhere, ReadAll(grid_)));
        const QString picture = folder.filePath(QStringLiteral("p.txt"));
        QVERIFY(QFile::copy(BatchPictures().at(0), picture));
        const QByteArray before = ReadAll(picture);
        args.replaceInStrings(QStringLiteral("%1"), folder.path())
            .replaceInStrings(QStringLiteral("%p"), elsewhere);
        ToolRun run;
        RunTool(run, args);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(QString::fromUtf8(run.err), message.replace(QStringLiteral("%1"), folder.path()));
        QCOMPARE(ReadAll(picture), before);
    }

    // A name holding a control or separator character is shown escaped: one message, one line.
    void namesShownEscaped_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("line feed") << "a\nb.bmp"
                                   << "a\\nb.bmp";
        QTest::newRow("line separator") << QStringLiteral("a\u2028b.bmp") << "a\\u2028b.bmp";
        QTest::newRow("escape") << "a\x1b[2Jb.bmp"
                                << "a\\x1b[2Jb.bmp";
    }
    void namesShownEscaped() {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        ToolRun run;
        RunTool(run, {dir_.filePath(name), picture_});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(QString::fromUtf8(run.err), dir_.filePath(shown) + ": file not found\n");
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

    // Ended while the terminal is being asked: the terminal's mode is restored first.
    void terminatedWhileAsking() {
        TerminalSession session;
        RunOnTerminal(session, {whiteBlack_}, winsize{24, 80, 0, 0}, QByteArray(), {}, {}, true);
        QVERIFY(session.asked);
        QVERIFY(WIFSIGNALED(session.status));
        QCOMPARE(WTERMSIG(session.status), SIGTERM);
        QVERIFY(session.modeKept);
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
    QString wide_;
};

GLYFORA_TEST_MAIN(TestConvertTool)
#include "tst_convert_tool.moc"

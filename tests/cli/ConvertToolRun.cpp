// Running glyfora-convert in the tool's tests: see ConvertToolRun.h.
#include "tests/cli/ConvertToolRun.h"

#include "app/Settings.h"
#include "convert/ConversionState.h"
#include "convert/ConvertScan.h"
#include "imageops/PictureLoader.h"
#include "platform/FileNames.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "tests/convert/ScanTestSupport.h"
#include "tests/support/TestPictures.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace mGlyfora;

namespace tooltest {

const QString ToolPath = QStringLiteral(GLYFORA_CONVERT_PATH);

Terminal::Terminal()
    : master(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)),
      terminal(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0
                   ? ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC)
                   : -1) {}

Terminal::~Terminal() {
    if (terminal >= 0)
        ::close(terminal);
    if (master >= 0)
        ::close(master);
}

QByteArray Terminal::Said() {
    ::close(std::exchange(terminal, -1));
    QByteArray said;
    char chunk[4096];
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    for (ssize_t n; (n = ::read(master, chunk, sizeof chunk)) > 0;)
        said.append(chunk, n);
    return said;
}

void RunProgram(ToolRun& run, const QString& program, const QStringList& args,
                const RunSetup& setup) {
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

void RunTool(ToolRun& run, const QStringList& args, const RunSetup& setup) {
    RunProgram(run, ToolPath, args, setup);
}

void RunInShell(ToolRun& run, const QString& script, const QString& folder) {
    RunProgram(run, QStringLiteral("/bin/sh"),
               {QStringLiteral("-c"), script, QStringLiteral("sh"), ToolPath, folder});
}

QByteArray Bytes(const QString& path) {
    return platform::EncodeFileName(path);
}

const QByteArray BackgroundQuestion = "\x1b]11;?";

void RunOnTerminal(TerminalSession& session, const QStringList& args, const winsize& size,
                   const QByteArray& answer, const QStringList& environment,
                   const QByteArray& input, bool terminateWhenAsked) {
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
    termios after{};
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
    // A new terminal echoes and waits for lines; read before the fork returns here, the tool
    // could already have turned both off.
    const tcflag_t mode = ICANON | ECHO;
    session.modeKept = (after.c_lflag & mode) == mode;
    // The terminal's own output processing turns each line feed into CR LF.
    session.said.replace("\r\r\n", "\r\n");
}

QString IntermediatePath() {
    return IntermediateFilePath();
}

QString ProgramScan(const QString& path, bool html, const SelectionRect& cut) {
    platform::SettingsStore store;
    LoadSettings(store);
    PictureSurface surface;
    surface.Assign(LoadPictureFile(path, nullptr).value_or(LoadedPicture()).image);
    testsupport::RecordingHost host;
    return Scan(html ? ScanKind::HTML : ScanKind::Text, ConversionSettings, surface, cut, host)
        .text;
}

void ToolTest::MakePictures() {
    QVERIFY(dir_.isValid());
    QVERIFY(pictures_.isValid());
    picture_ = testsupport::WritePicture(testsupport::NoiseSurface(53, 31, 7).Image(),
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

QStringList ToolTest::BatchPictures() {
    if (batch_.isEmpty()) {
        QDir().mkpath(pictures_.filePath(QStringLiteral("batch")));
        for (int i = 0; i < 5; ++i)
            batch_ << testsupport::WritePicture(
                testsupport::NoiseSurface(40 + 13 * i, 25 + 7 * i, 100 + i).Image(),
                pictures_.filePath(QStringLiteral("batch/p%1.bmp").arg(i)), "bmp");
    }
    return batch_;
}

} // namespace tooltest

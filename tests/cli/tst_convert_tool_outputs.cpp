// Where glyfora-convert's output goes and how a failing write ends the run: named pipes,
// full disks, files that may not be replaced, a closed standard output, names that are not
// UTF-8, no intermediate file, a conversion that produces nothing.
#include "tests/cli/ConvertToolRun.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace mGlyfora;
using namespace tooltest;

class TestConvertToolOutputs : public ToolTest {
    Q_OBJECT
private Q_SLOTS:

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
};

GLYFORA_TEST_MAIN(TestConvertToolOutputs)
#include "tst_convert_tool_outputs.moc"

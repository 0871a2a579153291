// glyfora-convert's pictures in: pictures it cannot read, batches of several pictures into
// standard output or a folder whatever the number of conversions at once, standard input,
// output folders and names that cannot be used.
#include "tests/cli/ConvertToolRun.h"
#include "tests/convert/ScanTestSupport.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace mGlyfora;
using namespace tooltest;

class TestConvertToolBatches : public ToolTest {
    Q_OBJECT
private Q_SLOTS:

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
        // The glyphs are measured once, beside the first picture's decoding, for them all.
        QTest::newRow("shape: glyphs shared")
            << QStringList{"--style", "shape", "--width", "20"} << false << ".txt" << 0;
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
};

GLYFORA_TEST_MAIN(TestConvertToolBatches)
#include "tst_convert_tool_batches.moc"

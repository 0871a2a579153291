// The parts of glyfora-convert that need no process: cell sizes from columns and rows,
// output names in a folder, the progress line's text, work on several threads delivered
// in order, and standard input taken in whole up to a limit.
#include "cli/BatchNames.h"
#include "cli/CellSize.h"
#include "cli/OrderedWork.h"
#include "cli/Progress.h"
#include "cli/StandardInputPicture.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QScopeGuard>
#include <QTest>
#include <atomic>
#include <csignal>
#include <thread>
#include <unistd.h>

using namespace mGlyfora;
using namespace std::chrono;

class TestBatchParts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::ResetProcessValues(); }
    void baseNames_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("folder and extension") << "photos/cat.jpg"
                                              << "cat";
        QTest::newRow("only the last extension") << "/x/archive.tar.gif"
                                                 << "archive.tar";
        QTest::newRow("no folder") << "cat.jpg"
                                   << "cat";
        QTest::newRow("dot in the folder only") << "/x.y/README"
                                                << "README";
        QTest::newRow("nothing before the dot") << "/x/.png"
                                                << ".png";
        QTest::newRow("hidden with extension") << ".cat.png"
                                               << ".cat";
        QTest::newRow("standard input") << "-"
                                        << "stdin";
        QTest::newRow("file named -") << "./-"
                                      << "-";
        QTest::newRow("not UTF-8 byte kept")
            << (QStringLiteral("a") + QChar(0xDCFF) + QStringLiteral(".bmp"))
            << (QStringLiteral("a") + QChar(0xDCFF));
    }
    void baseNames() {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(PictureBaseName(path), expected);
    }

    void outputNames_data() {
        QTest::addColumn<QStringList>("pictures");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("distinct") << QStringList{"a/x.jpg", "a/y.jpg"}
                                  << QStringList{"x.txt", "y.txt"};
        QTest::newRow("same base, other folders and extensions")
            << QStringList{"a/x.jpg", "b/x.png", "c/x.gif"}
            << QStringList{"x.txt", "x-2.txt", "x-3.txt"};
        QTest::newRow("same picture twice")
            << QStringList{"x.jpg", "x.jpg"} << QStringList{"x.txt", "x-2.txt"};
        // x-2 is taken by the second x by the time the picture named x-2 comes.
        QTest::newRow("a later name already taken") << QStringList{"a/x.jpg", "b/x.jpg", "x-2.jpg"}
                                                    << QStringList{"x.txt", "x-2.txt", "x-2-2.txt"};
        QTest::newRow("case differs")
            << QStringList{"X.jpg", "x.jpg"} << QStringList{"X.txt", "x.txt"};
        QTest::newRow("standard input beside a file named stdin")
            << QStringList{"stdin.png", "-"} << QStringList{"stdin.txt", "stdin-2.txt"};
    }
    void outputNames() {
        QFETCH(QStringList, pictures);
        QFETCH(QStringList, expected);
        QCOMPARE(OutputFileNames(pictures, QStringLiteral(".txt")), expected);
    }

    // Cells for the columns or rows wanted: the fewest pixels that fit, the other side
    // from the cells' shape.
    void cellSizes_data() {
        QTest::addColumn<QSize>("region");
        QTest::addColumn<QSize>("given"); // --cell; empty: the stored 3 x 5
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<double>("aspect");
        QTest::addColumn<QSize>("expected");
        const QSize photo(1920, 1080);
        QTest::newRow("neither: the stored cell")
            << photo << QSize() << 0 << 0 << 0.0 << QSize(3, 5);
        // 80 columns, 1080 / 48 = 22.5: 23 rows.
        QTest::newRow("80 columns") << photo << QSize() << 80 << 0 << 0.0 << QSize(24, 48);
        // 30 rows, 1920 / 18 = 106.7: 107 columns.
        QTest::newRow("30 rows") << photo << QSize() << 0 << 30 << 0.0 << QSize(18, 36);
        // 640 / 100 = 6.4: 7 pixels, 92 columns.
        QTest::newRow("columns not dividing")
            << QSize(640, 480) << QSize() << 100 << 0 << 0.0 << QSize(7, 14);
        QTest::newRow("both: rows decide") << photo << QSize() << 80 << 10 << 0.0 << QSize(54, 108);
        QTest::newRow("both: columns decide")
            << photo << QSize() << 80 << 100 << 0.0 << QSize(24, 48);
        QTest::newRow("shape of the given cell")
            << photo << QSize(1, 1) << 80 << 0 << 0.0 << QSize(24, 24);
        QTest::newRow("aspect over the given cell")
            << photo << QSize(1, 1) << 80 << 0 << 1.5 << QSize(24, 36);
        // 3 / 2 = 1.5 rounds to the even 2.
        QTest::newRow("half rounds to even")
            << QSize(30, 30) << QSize() << 0 << 10 << 2.0 << QSize(2, 3);
        QTest::newRow("more columns than pixels")
            << QSize(50, 20) << QSize() << 80 << 0 << 0.0 << QSize(1, 2);
    }
    void cellSizes() {
        QFETCH(QSize, region);
        QFETCH(QSize, given);
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(double, aspect);
        QFETCH(QSize, expected);
        const CellRequest request{given.isEmpty() ? QSize(3, 5) : given, !given.isEmpty(), columns,
                                  rows, aspect};
        QCOMPARE(ChooseCell(request, region.width(), region.height()), expected);
    }

    // Later items finish first, so answers come out of order; they must be delivered in
    // order, and no more than `window` may be started and not yet delivered.
    void inOrder_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("threads");
        QTest::addColumn<int>("window");
        QTest::newRow("4 threads, window 4") << 24 << 4 << 4;
        QTest::newRow("4 threads, window 2") << 24 << 4 << 2;
        QTest::newRow("one thread") << 6 << 1 << 1;
        QTest::newRow("more threads than items") << 3 << 8 << 8;
        QTest::newRow("no items") << 0 << 2 << 2;
    }
    void inOrder() {
        QFETCH(int, count);
        QFETCH(int, threads);
        QFETCH(int, window);
        std::atomic<int> held = 0, mostHeld = 0;
        QList<int> delivered;
        const auto work = [&](int i) {
            const int now = ++held;
            for (int seen = mostHeld; now > seen && !mostHeld.compare_exchange_weak(seen, now);) {
            }
            std::this_thread::sleep_for(std::chrono::milliseconds((count - i) % 4));
            return i * 10;
        };
        const auto deliver = [&](int i, int& answer) {
            delivered << i;
            if (answer != i * 10)
                delivered << -1;
            --held;
            return true;
        };
        int lastTick = -1;
        const bool all = RunInOrder<int>(count, threads, window, work, deliver,
                                         [&](int done) { lastTick = done; });
        QVERIFY(all);
        QList<int> expected;
        for (int i = 0; i < count; ++i)
            expected << i;
        QCOMPARE(delivered, expected);
        QVERIFY2(mostHeld <= window, qPrintable(QString::number(mostHeld)));
        if (count > 0)
            QCOMPARE(lastTick, count);
    }

    // A refused delivery stops the run: nothing else is delivered or started.
    void stopsWhenRefused() {
        std::atomic<int> started = 0;
        QList<int> delivered;
        const bool all = RunInOrder<int>(
            50, 3, 3,
            [&](int i) {
                ++started;
                return i;
            },
            [&](int i, int&) {
                delivered << i;
                return i < 4;
            },
            [](int) {});
        QVERIFY(!all);
        QCOMPARE(delivered, QList<int>({0, 1, 2, 3, 4}));
        // When 4 was refused, items 0..4 had been delivered or started and at most two more.
        QVERIFY2(started <= 4 + 3, qPrintable(QString::number(started)));
    }

    void standardInput_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("taken");
        QTest::newRow("empty") << 0 << true; // the loader then says the file is empty
        QTest::newRow("at the limit") << 1000 << true;
        QTest::newRow("one byte over") << 1001 << false;
        QTest::newRow("far over, more than a pipe holds") << 300000 << false;
    }
    void standardInput() {
        QFETCH(int, size);
        QFETCH(bool, taken);
        QByteArray bytes(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i)
            bytes[i] = char(i * 7);
        // The writer learns of the reader's end by EPIPE, not by the signal.
        const auto previous = std::signal(SIGPIPE, SIG_IGN);
        const auto restore = qScopeGuard([previous] { std::signal(SIGPIPE, previous); });
        int fds[2];
        QCOMPARE(::pipe(fds), 0);
        std::thread writer([&] {
            for (qsizetype at = 0; at < bytes.size();) {
                const ssize_t n =
                    ::write(fds[1], bytes.constData() + at, size_t(bytes.size() - at));
                if (n <= 0)
                    break; // the reader stopped at its limit
                at += n;
            }
            ::close(fds[1]);
        });
        {
            QString error;
            const std::optional<StandardInputPicture> input =
                StandardInputPicture::Read(fds[0], 1000, &error);
            ::close(fds[0]); // a writer still blocked on a full pipe is let go
            writer.join();
            QCOMPARE(bool(input), taken);
            if (taken) {
                QFile file(input->Path());
                QVERIFY(file.open(QIODevice::ReadOnly));
                QCOMPARE(file.readAll(), bytes);
            } else {
                QVERIFY2(error.contains(QStringLiteral("larger than")), qPrintable(error));
            }
        }
    }

    void durations_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << 0 << "0:00";
        QTest::newRow("seconds") << 59 << "0:59";
        QTest::newRow("minute") << 65 << "1:05";
        QTest::newRow("just under an hour") << 3599 << "59:59";
        QTest::newRow("hours") << 3725 << "1:02:05";
    }
    void durations() {
        QFETCH(int, seconds);
        QFETCH(QString, expected);
        QCOMPARE(DurationText(std::chrono::seconds(seconds)), expected);
    }

    void progressText_data() {
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("failed");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("elapsedMs");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing done yet")
            << 0 << 0 << 200 << 1500 << "0/200 done, 0 failed, 0:01 elapsed, about --:-- left";
        // 10 s for 20 pictures: 0.5 s each, 180 to go.
        QTest::newRow("a tenth") << 20 << 1 << 200 << 10000
                                 << "20/200 done, 1 failed, 0:10 elapsed, about 1:30 left";
        // 2 s for 3: 4/3 s for the one left, shown rounded up.
        QTest::newRow("part of a second left")
            << 3 << 0 << 4 << 2000 << "3/4 done, 0 failed, 0:02 elapsed, about 0:01 left";
        QTest::newRow("all done") << 4 << 2 << 4 << 61000
                                  << "4/4 done, 2 failed, 1:01 elapsed, about 0:00 left";
    }
    void progressText() {
        QFETCH(int, done);
        QFETCH(int, failed);
        QFETCH(int, total);
        QFETCH(int, elapsedMs);
        QFETCH(QString, expected);
        QCOMPARE(ProgressText(done, failed, total, milliseconds(elapsedMs)), expected);
    }
};

GLYFORA_TEST_MAIN(TestBatchParts)
#include "tst_batch_parts.moc"

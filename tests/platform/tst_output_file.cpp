// Saving through OutputFile: whole or nothing for regular files, link chains followed to
// their end, pipes, devices, sockets and standard output written in place, every system
// failure reported with its reason, and no temporary file left behind.
#include "platform/FileNames.h"
#include "platform/OutputFile.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <utility>

using platform::OutputFile;

namespace {

QByteArray Bytes(const QString& path) {
    return platform::EncodeFileName(path);
}

using testsupport::DeviceNode;
using testsupport::ModeOf;
using testsupport::Names;
using testsupport::ReadAll;
using testsupport::WriteFile;

// Letters in a cycle of 23, which no part a pipe takes is a multiple of: a part written
// twice or left out shows.
QByteArray Cycling(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char('a' + i % 23);
    return bytes;
}

// Lowers the file-size limit so that a write fails as on a full disk, for one scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = saved_;
        lower.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

} // namespace

class TestOutputFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(dir_.isValid() && devices_.isValid()); }
    void init() { testsupport::ResetProcessValues(); }
    // Each case starts from an empty folder.
    void cleanup() {
        for (const QString& name : Names(dir_.path())) {
            const QString path = dir_.filePath(name);
            QVERIFY(::unlink(Bytes(path).constData()) == 0 || QDir(path).removeRecursively());
        }
    }

    void regularFileWholeOrNothing_data() {
        QTest::addColumn<bool>("synced");
        QTest::addColumn<QString>("ending"); // commit, abandon, full disk
        QTest::newRow("synced, committed") << true << "commit";
        QTest::newRow("unsynced, committed") << false << "commit";
        QTest::newRow("abandoned before commit") << false << "abandon";
        QTest::newRow("disk full while writing") << true << "full";
    }
    void regularFileWholeOrNothing() {
        QFETCH(bool, synced);
        QFETCH(QString, ending);
        const QByteArray path = Bytes(dir_.filePath(QStringLiteral("out.html")));
        QVERIFY(WriteFile(path, "earlier", 0640));
        const QByteArray contents(64 * 1024, 'n');
        {
            OutputFile file(platform::DecodeFileName(path), synced
                                                                ? OutputFile::Durability::Synced
                                                                : OutputFile::Durability::Unsynced);
            QVERIFY(file.Open());
            QVERIFY(!file.WritesDirectly());
            if (ending == "full") {
                const FileSizeLimit limit(1000);
                QVERIFY(!file.Write(contents));
                QCOMPARE(file.ErrorString(), QStringLiteral("File too large"));
            } else {
                QVERIFY(file.Write(contents));
                if (ending == "commit")
                    QVERIFY(file.Commit());
            }
        }
        QCOMPARE(ReadAll(path), ending == "commit" ? contents : QByteArray("earlier"));
        QCOMPARE(ModeOf(path) & 07777, mode_t(0640));
        QCOMPARE(Names(dir_.path()), QStringList{"out.html"});
    }

    void newFileTakesTheUmask() {
        const mode_t saved = ::umask(027);
        // A name that is not UTF-8 keeps its bytes.
        const QByteArray path = Bytes(dir_.path()) + "/new\xff\xfe.txt";
        OutputFile file(platform::DecodeFileName(path), OutputFile::Durability::Unsynced);
        const bool written = file.Open() && file.Write("x", 1) && file.Commit();
        ::umask(saved);
        QVERIFY2(written, qPrintable(file.ErrorString()));
        QCOMPARE(ModeOf(path), mode_t(S_IFREG | 0640));
        QCOMPARE(ReadAll(path), QByteArray("x"));
        QCOMPARE(Names(dir_.path()).size(), 1);
    }

    void linkChains_data() {
        QTest::addColumn<QStringList>("links"); // name, target pairs, in the test folder
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("written");
        QTest::newRow("one link") << QStringList{"link", "real.txt"} << "link"
                                  << "real.txt";
        QTest::newRow("chain of two")
            << QStringList{"link1", "real.txt", "link2", "link1"} << "link2"
            << "real.txt";
        QTest::newRow("relative to the link's own folder")
            << QStringList{"top", "sub/link1", "sub/link1", "real.txt"} << "top"
            << "sub/real.txt";
        QTest::newRow("up and across")
            << QStringList{"sub/link1", "../other/real.txt", "link2", "sub/link1"} << "link2"
            << "other/real.txt";
        QTest::newRow("dangling chain creates its end")
            << QStringList{"link1", "sub/new.txt", "link2", "link1"} << "link2"
            << "sub/new.txt";
    }
    void linkChains() {
        QFETCH(QStringList, links);
        QFETCH(QString, open);
        QFETCH(QString, written);
        QDir folder(dir_.path());
        QVERIFY(folder.mkdir(QStringLiteral("sub")) && folder.mkdir(QStringLiteral("other")));
        for (const char* real : {"real.txt", "sub/real.txt", "other/real.txt"})
            QVERIFY(WriteFile(folder.filePath(QString::fromLatin1(real)), "earlier", 0604));
        for (qsizetype i = 0; i + 1 < links.size(); i += 2)
            QCOMPARE(::symlink(Bytes(links[i + 1]).constData(),
                               Bytes(folder.filePath(links[i])).constData()),
                     0);

        OutputFile file(folder.filePath(open), OutputFile::Durability::Unsynced);
        QVERIFY(file.Open());
        QVERIFY(file.Write("new", 3));
        QVERIFY2(file.Commit(), qPrintable(file.ErrorString()));

        const QByteArray target = Bytes(folder.filePath(written));
        QCOMPARE(ReadAll(target), QByteArray("new"));
        // A replaced file keeps its mode; a new one gets the umask's.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        const bool created = written.endsWith(QStringLiteral("new.txt"));
        QCOMPARE(ModeOf(target), mode_t(S_IFREG | (created ? 0666 & ~mask : 0604)));
        for (qsizetype i = 0; i + 1 < links.size(); i += 2)
            QVERIFY(S_ISLNK(ModeOf(folder.filePath(links[i]))));
        for (const char* real : {"real.txt", "sub/real.txt", "other/real.txt"}) {
            if (QString::fromLatin1(real) != written)
                QCOMPARE(ReadAll(folder.filePath(QString::fromLatin1(real))),
                         QByteArray("earlier"));
        }
    }

    void linkLoops_data() {
        QTest::addColumn<QStringList>("links");
        QTest::newRow("link to itself") << QStringList{"a", "a"};
        QTest::newRow("two links") << QStringList{"a", "b", "b", "a"};
        QTest::newRow("loop through a folder") << QStringList{"a", "sub/b", "sub/b", "../a"};
    }
    void linkLoops() {
        QFETCH(QStringList, links);
        QDir folder(dir_.path());
        QVERIFY(folder.mkdir(QStringLiteral("sub")));
        for (qsizetype i = 0; i + 1 < links.size(); i += 2)
            QCOMPARE(::symlink(Bytes(links[i + 1]).constData(),
                               Bytes(folder.filePath(links[i])).constData()),
                     0);
        OutputFile file(folder.filePath(QStringLiteral("a")), OutputFile::Durability::Unsynced);
        QVERIFY(!file.Open());
        QCOMPARE(file.ErrorString(), QStringLiteral("Too many levels of symbolic links"));
        QVERIFY(S_ISLNK(ModeOf(folder.filePath(QStringLiteral("a")))));
    }

    void notRegularWrittenInPlace_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("named pipe") << "fifo";
        QTest::newRow("socket") << "socket";
        QTest::newRow("character device") << "device";
        QTest::newRow("link to a named pipe") << "fifo link";
    }
    void notRegularWrittenInPlace() {
        QFETCH(QString, kind);
        QByteArray path = Bytes(dir_.filePath(QStringLiteral("node")));
        int reader = -1;
        if (kind.startsWith(QStringLiteral("fifo"))) {
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
            reader = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        } else if (kind == "socket") {
            reader = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            QVERIFY(size_t(path.size()) < sizeof address.sun_path);
            std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
            QCOMPARE(::bind(reader, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
            QCOMPARE(::listen(reader, 1), 0);
        } else {
            path = Bytes(DeviceNode(devices_.path(), "null", 3));
            if (path.isEmpty())
                QSKIP("only root makes device nodes");
        }
        const mode_t type = ModeOf(path) & S_IFMT;
        QString opened = platform::DecodeFileName(path);
        if (kind == "fifo link") {
            opened = dir_.filePath(QStringLiteral("link"));
            QCOMPARE(::symlink("node", Bytes(opened).constData()), 0);
        }
        OutputFile file(opened, OutputFile::Durability::Synced);
        QVERIFY2(file.Open(), qPrintable(file.ErrorString()));
        QVERIFY(file.WritesDirectly());
        QVERIFY(file.Write("direct", 6));
        QVERIFY2(file.Commit(), qPrintable(file.ErrorString()));
        QCOMPARE(ModeOf(path) & S_IFMT, type);
        if (kind == "socket") {
            const int connection = ::accept(reader, nullptr, nullptr);
            QVERIFY(connection >= 0);
            ::close(reader);
            reader = connection;
        }
        if (reader >= 0) {
            char received[16] = {};
            QCOMPARE(::read(reader, received, sizeof received), ssize_t(6));
            QCOMPARE(QByteArray(received), QByteArray("direct"));
            ::close(reader);
        }
        if (kind != "device")
            QCOMPARE(Names(dir_.path()).size(), kind == "fifo link" ? 2 : 1);
    }

    // /dev/stdout and its kin name a descriptor of this process: that descriptor is
    // written, a file through it at its own offset, never reopened or replaced.
    void ownDescriptors_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("pipe through /dev/fd") << "pipe"
                                              << "/dev/fd/";
        QTest::newRow("pipe through /proc/self/fd") << "pipe"
                                                    << "/proc/self/fd/";
        QTest::newRow("appending file through /dev/fd") << "file"
                                                        << "/dev/fd/";
        // Taken a part at a time, waiting for room between the parts.
        QTest::newRow("non-blocking pipe, more than it holds") << "full pipe"
                                                               << "/dev/fd/";
    }
    void ownDescriptors() {
        QFETCH(QString, kind);
        QFETCH(QString, prefix);
        int ends[2] = {-1, -1};
        const QByteArray path = Bytes(dir_.filePath(QStringLiteral("log.txt")));
        const bool pipe = kind.endsWith(QStringLiteral("pipe"));
        // Four times what a pipe holds by default.
        const QByteArray written = kind == "full pipe" ? Cycling(256 * 1024) : "through\n";
        QByteArray received;
        std::thread reader;
        if (pipe) {
            QCOMPARE(::pipe2(ends, O_CLOEXEC), 0);
            if (kind == "full pipe")
                QCOMPARE(::fcntl(ends[1], F_SETFL, O_NONBLOCK), 0);
            reader = std::thread([&] {
                char part[4096];
                for (ssize_t n; (n = ::read(ends[0], part, sizeof part)) > 0;)
                    received.append(part, n);
            });
        } else {
            QVERIFY(WriteFile(path, "first line\n", 0600));
            ends[1] = ::open(path.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
            QVERIFY(ends[1] >= 0);
        }
        // A failed check still lets the reader go: the write end closed, the thread joined.
        const auto finish = qScopeGuard([&] {
            for (int& end : ends)
                if (end >= 0)
                    ::close(std::exchange(end, -1));
            if (reader.joinable())
                reader.join();
        });
        {
            OutputFile file(prefix + QString::number(ends[1]), OutputFile::Durability::Unsynced);
            QVERIFY2(file.Open(), qPrintable(file.ErrorString()));
            QVERIFY(file.WritesDirectly());
            QVERIFY2(file.Write(written), qPrintable(file.ErrorString()));
            QVERIFY(file.Commit());
        }
        // The descriptor itself stays open and usable.
        if (pipe)
            QCOMPARE(::fcntl(ends[1], F_SETFL, 0), 0);
        QCOMPARE(::write(ends[1], "after\n", 6), ssize_t(6));
        ::close(std::exchange(ends[1], -1));
        if (pipe) {
            reader.join();
            QCOMPARE(received, written + "after\n");
        } else {
            QCOMPARE(ReadAll(path), QByteArray("first line\nthrough\nafter\n"));
        }
    }

    void failuresCarryTheReason_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("stage"); // where it fails: open, write or commit
        QTest::addColumn<QString>("reason");
        QTest::newRow("full device") << "%full"
                                     << "write"
                                     << "No space left on device";
        QTest::newRow("folder") << "."
                                << "open"
                                << "Is a directory";
        QTest::newRow("missing folder") << "no/such/out.txt"
                                        << "open"
                                        << "No such file or directory";
        QTest::newRow("a file taken for a folder") << "plain/out.txt"
                                                   << "open"
                                                   << "Not a directory";
        QTest::newRow("named pipe nobody reads")
            << "%fifo"
            << "open"
            << "名前付きパイプを読み出しているプログラムがありません。";
    }
    void failuresCarryTheReason() {
        QFETCH(QString, path);
        QFETCH(QString, stage);
        QFETCH(QString, reason);
        QVERIFY(WriteFile(dir_.filePath(QStringLiteral("plain")), "", 0600));
        QString full =
            path == "%full" ? DeviceNode(devices_.path(), "full", 7) : dir_.filePath(path);
        if (full.isEmpty())
            QSKIP("only root makes device nodes");
        if (path == "%fifo") {
            full = devices_.filePath(QStringLiteral("pipe"));
            QVERIFY(QFile::exists(full) || testsupport::MakeFifo(full));
        }
        // An open that waits for a reader is freed after a while, and the case fails.
        testsupport::FifoUnblocker unblocker(path == "%fifo" ? full : QString());
        OutputFile file(full, OutputFile::Durability::Unsynced);
        const bool opened = file.Open();
        QVERIFY2(unblocker.Finish(), "the open waited for a reader");
        QCOMPARE(opened, stage != "open");
        if (opened)
            QCOMPARE(file.Write("x", 1), stage != "write");
        if (opened && stage != "write")
            QVERIFY(!file.Commit());
        QCOMPARE(file.ErrorString(), reason);
        QCOMPARE(Names(dir_.path()), QStringList{"plain"});
    }

    void closedDescriptor() {
        const int fd = 987; // far above anything this test opens
        QCOMPARE(::fcntl(fd, F_GETFD), -1);
        OutputFile file(fd);
        QVERIFY(!file.Open());
        QCOMPARE(file.ErrorString(), QStringLiteral("Bad file descriptor"));
    }

private:
    QTemporaryDir dir_;
    QTemporaryDir devices_; // device nodes of the test's own
};

GLYFORA_TEST_MAIN(TestOutputFile)
#include "tst_output_file.moc"

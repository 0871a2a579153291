// The intermediate file: what may stand at its path, its mode, the lock between two
// scans, and the UTF-8 read-back.
#include "convert/ConversionSettings.h"
#include "convert/ConversionState.h"
#include "convert/ConvertScan.h"
#include "convert/IntermediateFile.h"
#include "platform/Paths.h"
#include "tests/convert/ScanTestSupport.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace mGlyfora;
using testsupport::ModeOf;
using testsupport::ReadAll;
using testsupport::RecordingHost;
using testsupport::WriteFile;

namespace {

QString FilePath() {
    return IntermediateFilePath();
}

ScanOutcome ScanSmallPicture(RecordingHost& host) {
    return Scan(ScanKind::Text, ConversionSettings, testsupport::SolidSurface(3, 2, qRgb(0, 0, 0)),
                {}, host);
}

} // namespace

class TestIntermediateFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        testsupport::ResetProcessValues();
        ::unlink(QFile::encodeName(FilePath()).constData());
        ::rmdir(QFile::encodeName(FilePath()).constData());
    }

    void createdPrivate() {
        ::umask(022);
        RecordingHost host;
        QCOMPARE(ScanSmallPicture(host).text, QStringLiteral("@@@\r\n@@@"));
        QCOMPARE(ModeOf(FilePath()), mode_t(S_IFREG | 0600));
        // An earlier file of ours with wider permissions is emptied and made private.
        QVERIFY(WriteFile(FilePath(), QByteArray(100, 'x')));
        QFile::setPermissions(FilePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::ReadOther);
        QCOMPARE(ScanSmallPicture(host).text, QStringLiteral("@@@\r\n@@@"));
        QCOMPARE(ModeOf(FilePath()), mode_t(S_IFREG | 0600));
        QCOMPARE(ReadAll(FilePath()), QByteArray("@@@\r\n@@@\r\n"));
    }

    void refusedAtPath_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason"); // after the path, in the Japanese message
        const QString link = QStringLiteral("シンボリック リンクです。");
        QTest::newRow("symbolic link to a file") << "symlink" << link;
        QTest::newRow("dangling symbolic link") << "dangling" << link;
        QTest::newRow("second name of a file")
            << "hardlink" << QStringLiteral("ほかの名前でもリンクされています。");
        // The C library's own texts, in the locale's language: a pipe without a reader
        // cannot be opened for writing without blocking.
        QTest::newRow("named pipe") << "fifo" << QString::fromLocal8Bit(std::strerror(ENXIO));
        QTest::newRow("folder") << "folder" << QString::fromLocal8Bit(std::strerror(EISDIR));
    }
    void refusedAtPath() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QByteArray path = QFile::encodeName(FilePath());
        const QString target = platform::TempFolder() + QStringLiteral("precious.txt");
        const QByteArray targetPath = QFile::encodeName(target);
        QFile::remove(target);
        if (kind != "dangling" && kind != "fifo" && kind != "folder")
            QVERIFY(WriteFile(target, "keep me"));
        if (kind == "symlink" || kind == "dangling")
            QCOMPARE(::symlink(targetPath.constData(), path.constData()), 0);
        else if (kind == "hardlink")
            QCOMPARE(::link(targetPath.constData(), path.constData()), 0);
        else if (kind == "fifo")
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        else
            QVERIFY(QDir().mkdir(FilePath()));

        RecordingHost host;
        const ScanOutcome outcome = ScanSmallPicture(host);
        QVERIFY(outcome.text.isEmpty());
        QVERIFY(outcome.status == ScanStatus::UnsafeFile ||
                outcome.status == ScanStatus::FileError);
        QCOMPARE(outcome.reason, FilePath() + QStringLiteral(": ") + reason);
        QVERIFY(host.errors.isEmpty());
        if (kind == "dangling")
            QVERIFY(!QFile::exists(target));
        else if (kind == "symlink" || kind == "hardlink")
            QCOMPARE(ReadAll(target), QByteArray("keep me"));
        if (kind == "symlink" || kind == "dangling")
            QVERIFY(QFileInfo(FilePath()).isSymLink());
        ::unlink(path.constData());
        QFile::remove(target);
    }

    void otherOwnerRefused() {
        if (::geteuid() != 0)
            QSKIP("only root can give a file to another user");
        QVERIFY(WriteFile(FilePath(), "someone else's"));
        QCOMPARE(::chown(QFile::encodeName(FilePath()).constData(), 65534, 65534), 0);
        RecordingHost host;
        const ScanOutcome outcome = ScanSmallPicture(host);
        QCOMPARE(outcome.status, ScanStatus::UnsafeFile);
        QVERIFY(outcome.text.isEmpty());
        QCOMPARE(ReadAll(FilePath()), QByteArray("someone else's"));
    }

    void waitsForAnotherScan() {
        RecordingHost host;
        QCOMPARE(ScanSmallPicture(host).status, ScanStatus::Done);
        const int other = ::open(QFile::encodeName(FilePath()).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(other >= 0);
        QCOMPARE(::flock(other, LOCK_EX), 0);

        // Cancelled while waiting: nothing is written.
        RecordingHost cancelling;
        cancelling.onEvents = [&cancelling](int) { cancelling.cancel = true; };
        QCOMPARE(ScanSmallPicture(cancelling).status, ScanStatus::Cancelled);
        QCOMPARE(cancelling.eventCalls, 1);
        QCOMPARE(ReadAll(FilePath()), QByteArray("@@@\r\n@@@\r\n"));

        // Freed while waiting: the scan goes on, one event call per row after the wait.
        RecordingHost waiting;
        waiting.onEvents = [other](int call) {
            if (call == 1)
                ::close(other);
        };
        ConversionSettings.Charactor = QStringLiteral("ab");
        QCOMPARE(ScanSmallPicture(waiting).text, QStringLiteral("bbb\r\nbbb"));
        QCOMPARE(waiting.eventCalls, 2 + 2);
    }

    // The text comes back exactly, whatever the width of its characters' UTF-8 forms.
    void readBack_data() {
        QTest::addColumn<QString>("ramp");
        QTest::addColumn<QByteArray>("bytes"); // one character's bytes in the file
        QTest::newRow("last of two bytes") << QString(QChar(0x7FF)) << QByteArray("\xDF\xBF");
        QTest::newRow("first of three bytes")
            << QString(QChar(0x800)) << QByteArray("\xE0\xA0\x80");
        QTest::newRow("last of the basic plane")
            << QString(QChar(0xFFFD)) << QByteArray("\xEF\xBF\xBD");
        QTest::newRow("U+10000, first beyond the basic plane")
            << QString::fromUcs4(U"\U00010000") << QByteArray("\xF0\x90\x80\x80");
        QTest::newRow("U+10FFFF, the last")
            << QString::fromUcs4(U"\U0010FFFF") << QByteArray("\xF4\x8F\xBF\xBF");
    }
    void readBack() {
        QFETCH(QString, ramp);
        QFETCH(QByteArray, bytes);
        ConversionSettings.Charactor = ramp;
        RecordingHost host;
        const ScanOutcome outcome = ScanSmallPicture(host);
        QCOMPARE(outcome.status, ScanStatus::Done);
        QCOMPARE(outcome.text, ramp.repeated(3) + QStringLiteral("\r\n") + ramp.repeated(3));
        QCOMPARE(ReadAll(FilePath()), bytes.repeated(3) + "\r\n" + bytes.repeated(3) + "\r\n");
    }

    // Another file renamed over the intermediate file while the scan writes: the scan
    // does not read the stranger's contents back.
    void replacedDuringScan() {
        RecordingHost host;
        host.onEvents = [](int call) {
            if (call != 1)
                return;
            const QString other = platform::TempFolder() + QStringLiteral("other.txt");
            QVERIFY(WriteFile(other, "@@@\r\n@@@\r\n"));
            QFile::setPermissions(other, QFile::ReadOwner | QFile::WriteOwner);
            QVERIFY(::rename(QFile::encodeName(other).constData(),
                             QFile::encodeName(FilePath()).constData()) == 0);
        };
        const ScanOutcome outcome = ScanSmallPicture(host);
        QCOMPARE(host.eventCalls, 2);
        QCOMPARE(outcome.status, ScanStatus::UnsafeFile);
        QVERIFY(outcome.text.isEmpty());
        QVERIFY(host.errors.isEmpty());
    }

    // The lock is had only on the file still at its path; another copy of the program
    // removes an unused one.
    void lockAfterRemoval() {
        IntermediateFile file;
        QCOMPARE(file.Open(FilePath()), IntermediateFile::Status::Ok);
        QCOMPARE(::unlink(QFile::encodeName(FilePath()).constData()), 0);
        QCOMPARE(file.Lock(), IntermediateFile::Status::Busy);
        QCOMPARE(file.ErrorString(),
                 FilePath() + QStringLiteral(": ほかのプログラムに削除されました。"));
    }

    // What is read back is exactly what was written, ending in CR LF, and nothing more:
    // bytes added by anyone else before or during the reading refuse the result.
    void readBackChecked_data() {
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<int>("units");        // the length the scan counted; 0: copied
        QTest::addColumn<int>("appendAtCall"); // -1 none, 0 before reading, 1 between chunks
        QTest::addColumn<bool>("ok");
        const QByteArray big = QByteArray(1536 * 1024 - 2, 'x') + "\r\n"; // two chunks
        QTest::newRow("read back whole") << QByteArray("ab\r\n") << 4 << -1 << true;
        QTest::newRow("final CR missing") << QByteArray("abc\n") << 4 << -1 << false;
        QTest::newRow("final LF missing") << QByteArray("abc\r") << 4 << -1 << false;
        QTest::newRow("shorter than counted") << QByteArray("ab\r\n") << 6 << -1 << false;
        QTest::newRow("copied whole") << big << 0 << -1 << true;
        QTest::newRow("grown before the copy") << big << 0 << 0 << false;
        QTest::newRow("grown between chunks of the copy") << big << 0 << 1 << false;
    }
    void readBackChecked() {
        QFETCH(QByteArray, written);
        QFETCH(int, units);
        QFETCH(int, appendAtCall);
        QFETCH(bool, ok);
        IntermediateFile file;
        QCOMPARE(file.Open(FilePath()), IntermediateFile::Status::Ok);
        QCOMPARE(file.Lock(), IntermediateFile::Status::Ok);
        QVERIFY(file.Empty());
        QVERIFY(file.Write(written.constData(), written.size()));
        const auto append = [] {
            QFile other(FilePath());
            QVERIFY(other.open(QIODevice::Append));
            QCOMPARE(other.write("EXTRA"), qint64(5));
        };
        if (appendAtCall == 0)
            append();
        RecordingHost host;
        host.onEvents = [&](int call) {
            if (call + 1 == appendAtCall)
                append();
        };
        QByteArray copied;
        QString text;
        const IntermediateFile::Status status =
            units == 0 ? file.CopyTo(
                             [&copied](const char* data, qsizetype size) {
                                 copied.append(data, size);
                                 return true;
                             },
                             host)
                       : file.ReadBack(units, std::numeric_limits<qint64>::max(), host, text);
        QCOMPARE(status, ok ? IntermediateFile::Status::Ok : IntermediateFile::Status::Failed);
        if (units == 0 && ok)
            QVERIFY(copied == written);
        if (units > 0)
            QCOMPARE(text, ok ? QString::fromUtf8(written.chopped(2)) : QString());
    }
};

GLYFORA_TEST_MAIN(TestIntermediateFile)
#include "tst_intermediate_file.moc"

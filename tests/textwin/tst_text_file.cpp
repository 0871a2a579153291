// Plain text files of the conversion window: decoding and encoding, whole-file reads that
// refuse what is not a regular file, and saves that never harm an earlier file.
#include "tests/support/FilePermissions.h"
#include "tests/support/TestFiles.h"
#include "textwin/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace mGlyfora;

using testsupport::ReadAll;
using testsupport::WriteFile;

class TextFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decode_data();
    void decode();
    void encode_data();
    void encode();
    void readFile();
    void readRefusesWhatIsNotAFile();
    void readUnreadable();
    void save();
    void saveFailureKeepsEarlierFile();
    void saveIntoReadOnlyFolder();

private:
    QTemporaryDir dir_;
};

void TextFileTest::decode_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("only a byte-order mark") << QByteArray("\xEF\xBB\xBF") << QString();
    QTest::newRow("byte-order mark dropped")
        << QByteArray("\xEF\xBB\xBF\xE3\x81\x82\r\nb") << QStringLiteral("あ\nb");
    QTest::newRow("second byte-order mark kept")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << QStringLiteral("\uFEFFx");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\nb\n");
    QTest::newRow("LF") << QByteArray("a\nb\n\n") << QStringLiteral("a\nb\n\n");
    QTest::newRow("lone CR and mixed")
        << QByteArray("a\rb\r\r\nc\n\rd\r") << QStringLiteral("a\nb\n\nc\n\nd\n");
    QTest::newRow("invalid bytes") << QByteArray("a\xFF"
                                                 "b\xC3(\xE3\x81")
                                   << QStringLiteral("a\uFFFDb\uFFFD(\uFFFD\uFFFD");
    QTest::newRow("surrogate encoded")
        << QByteArray("\xED\xA0\x80z") << QStringLiteral("\uFFFD\uFFFD\uFFFDz");
    QTest::newRow("beyond 16 bits") << QByteArray("\xF0\xA0\xAE\xB7") << QStringLiteral("𠮷");
}

void TextFileTest::decode() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(DecodeTextFile(bytes), text);
}

void TextFileTest::encode_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("lines") << QStringLiteral("あ\r\n .:-=+*#%@\r\n")
                           << QByteArray("\xE3\x81\x82\r\n .:-=+*#%@\r\n");
    QTest::newRow("starts with U+FEFF") << QStringLiteral("\uFEFFa")
                                        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                                      "a");
}

void TextFileTest::encode() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(EncodeTextFile(text), bytes);
    // Read back, the same text with '\n' for CR LF.
    QString expected = text;
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCOMPARE(DecodeTextFile(EncodeTextFile(text)), expected);
}

void TextFileTest::readFile() {
    const QString path = dir_.filePath(QStringLiteral("read.txt"));
    QVERIFY(WriteFile(path, QByteArray()));
    QString error;
    std::optional<QByteArray> bytes = ReadWholeFile(path, &error);
    QVERIFY(bytes);
    QVERIFY(bytes->isEmpty());

    // Larger than any first guess of the buffer.
    QByteArray big(3 * 1024 * 1024 + 7, 'x');
    big[big.size() - 1] = 'y';
    QVERIFY(WriteFile(path, big));
    bytes = ReadWholeFile(path, &error);
    QVERIFY(bytes);
    QCOMPARE(*bytes, big);

    bytes = ReadWholeFile(dir_.filePath(QStringLiteral("missing.txt")), &error);
    QVERIFY(!bytes);
    QVERIFY(!error.isEmpty());
}

void TextFileTest::readRefusesWhatIsNotAFile() {
    QString error;
    QVERIFY(!ReadWholeFile(dir_.path(), &error));
    QVERIFY(!error.isEmpty());
    error.clear();
    const QString device = testsupport::DeviceNode(dir_.path(), "null", 3);
    if (!device.isEmpty()) {
        QVERIFY(!ReadWholeFile(device, &error));
        QVERIFY(!error.isEmpty());
    }
    // A pipe with no writer would block an ordinary open for ever.
    const QString fifo = dir_.filePath(QStringLiteral("pipe.txt"));
    QVERIFY(testsupport::MakeFifo(fifo));
    error.clear();
    QVERIFY(!ReadWholeFile(fifo, &error));
    QVERIFY(!error.isEmpty());
}

void TextFileTest::readUnreadable() {
    const testsupport::PermissionsBind bind; // root too is refused the file
    QVERIFY(bind.Holds());
    const QString path = dir_.filePath(QStringLiteral("secret.txt"));
    QVERIFY(WriteFile(path, "secret"));
    QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    QString error;
    QVERIFY(!ReadWholeFile(path, &error));
    QVERIFY(!error.isEmpty());
}

void TextFileTest::save() {
    const QString path = dir_.filePath(QStringLiteral("saved.rtf"));
    QString error;
    QVERIFY(SaveFileBytes(path, "first", &error));
    QCOMPARE(ReadAll(path), QByteArray("first"));
    QVERIFY(SaveFileBytes(path, "second, longer", &error));
    QCOMPARE(ReadAll(path), QByteArray("second, longer"));
    QVERIFY(SaveFileBytes(path, QByteArray(), &error));
    QCOMPARE(ReadAll(path), QByteArray());

    // A folder that is a file.
    QVERIFY(!SaveFileBytes(path + QStringLiteral("/child.txt"), "x", &error));
    QVERIFY(!error.isEmpty());
}

void TextFileTest::saveFailureKeepsEarlierFile() {
    // A file size limit makes the write fail part-way, for root as for anyone.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("earlier.txt"));
    QVERIFY(WriteFile(path, "earlier text"));
    struct rlimit old {};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool saved = SaveFileBytes(path, QByteArray(100000, 'n'), &error);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(ReadAll(path), QByteArray("earlier text"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("earlier.txt")});
}

void TextFileTest::saveIntoReadOnlyFolder() {
    const testsupport::PermissionsBind bind; // root too is refused the folder
    QVERIFY(bind.Holds());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("earlier.txt"));
    QVERIFY(WriteFile(path, "earlier text"));
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QString error;
    const bool saved = SaveFileBytes(path, "new", &error);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(ReadAll(path), QByteArray("earlier text"));
}

QTEST_GUILESS_MAIN(TextFileTest)

#include "tst_text_file.moc"

// Platform helpers: rounding, setting texts, colours, paths, file-dialog filters, the
// settings store, whole-file reads, a dialog centred over its owner, the UTF-8 decoder, the
// numeric boxes' key filter and stored window geometry fitted to the screen.
#include "platform/BoundedRead.h"
#include "platform/Colour.h"
#include "platform/DialogPlacement.h"
#include "platform/FileNames.h"
#include "platform/Paths.h"
#include "platform/QtDialogs.h"
#include "platform/RegularFile.h"
#include "platform/Rounding.h"
#include "platform/SettingsStore.h"
#include "platform/SettingsValues.h"
#include "platform/TextBoxInput.h"
#include "platform/Twips.h"
#include "platform/Utf8Decoder.h"
#include "platform/WindowGeometry.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

class TestPlatform : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::ResetProcessValues(); }
    void roundHalfEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("0.5") << 0.5 << qint64(0);
        QTest::newRow("1.5") << 1.5 << qint64(2);
        QTest::newRow("2.5") << 2.5 << qint64(2);
        QTest::newRow("-2.5") << -2.5 << qint64(-2);
        QTest::newRow("5.5 rows") << 5.5 << qint64(6);
        QTest::newRow("4.5 rows") << 4.5 << qint64(4);
        QTest::newRow("2.4999") << 2.4999 << qint64(2);
        // Held at the limits before the conversion, which has no meaning past them.
        QTest::newRow("1e19 past the top") << 1e19 << std::numeric_limits<qint64>::max();
        QTest::newRow("2^63 exactly") << 0x1p63 << std::numeric_limits<qint64>::max();
        QTest::newRow("-1e30 past the bottom") << -1e30 << std::numeric_limits<qint64>::min();
        QTest::newRow("not a number") << std::nan("") << qint64(0);
    }
    void roundHalfEven() {
        QFETCH(double, value);
        QFETCH(qint64, expected);
        QCOMPARE(RoundHalfEven(value), expected);
    }

    // Twips to pixels: halves to even, held within the limits given.
    void pixelsFromTwips_data() {
        QTest::addColumn<double>("twips");
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<int>("pixels");
        QTest::newRow("half a pixel down to even") << 7.5 << 15.0 << 0;
        QTest::newRow("one and a half up to even") << 22.5 << 15.0 << 2;
        QTest::newRow("stored 1e30") << 1e30 << 15.0 << 32767;
        QTest::newRow("stored -1e30") << -1e30 << 15.0 << -32767;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 15.0 << 32767;
        QTest::newRow("not a number") << std::nan("") << 15.0 << 0;
    }
    void pixelsFromTwips() {
        QFETCH(double, twips);
        QFETCH(double, twipsPerPixel);
        QFETCH(int, pixels);
        QCOMPARE(PixelsFromTwips(twips, twipsPerPixel, -32767, 32767), pixels);
    }

    // A window centred on the screen: its edge in twips, and back in pixels, at 96, 120 and
    // 144 DPI; 1920 - 801 leaves an odd 1119 pixels, half of it 559.5.
    void centredTwips_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("outer");
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<double>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("96 DPI, even") << 1920 << 800 << 15.0 << 8400.0 << 560;
        QTest::newRow("96 DPI, odd") << 1920 << 801 << 15.0 << 8392.0 << 559;
        QTest::newRow("120 DPI, odd") << 1920 << 801 << 12.0 << 6714.0 << 560;
        QTest::newRow("144 DPI, odd") << 1920 << 801 << 10.0 << 5595.0 << 560;
        QTest::newRow("larger than the screen") << 800 << 1001 << 15.0 << -1508.0 << -101;
    }
    void centredTwips() {
        QFETCH(int, screen);
        QFETCH(int, outer);
        QFETCH(double, twipsPerPixel);
        QFETCH(double, twips);
        QFETCH(int, pixels);
        QCOMPARE(double(CentredEdge(0, screen * twipsPerPixel, outer * twipsPerPixel)), twips);
        QCOMPARE(CentredPixels(0, screen, outer, twipsPerPixel), pixels);
    }

    void singleTexts() {
        QCOMPARE(SingleToText(4320.0f), QStringLiteral("4320"));
        QCOMPARE(SingleToText(-15.0f), QStringLiteral("-15"));
        QCOMPARE(SingleToText(0.5f), QStringLiteral("0.5"));
        QCOMPARE(SingleToText(10000000.0f), QStringLiteral("10000000"));
    }

    void colours() {
        QCOMPARE(ColourFromRgb(qRgb(0x56, 0x34, 0x12)), Colour(0x00123456));
        QCOMPARE(RgbFromColour(0x00123456), qRgb(0x56, 0x34, 0x12));
        QVERIFY(IsValidColourValue(0x80000005u));
        QVERIFY(IsValidColourValue(0x00FFFFFFu));
        QVERIFY(!IsValidColourValue(0x80000063u));
        QVERIFY(!IsValidColourValue(0x01000000u));
        QCOMPARE(ToQColor(0x80000005u), QGuiApplication::palette().color(QPalette::Base));
        QCOMPARE(ToQColor(0x80000008u), QGuiApplication::palette().color(QPalette::Text));
        QCOMPARE(ToQColor(0x00123456u), QColor(0x56, 0x34, 0x12));
    }

    void paths_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("title");
        QTest::newRow("nested") << "/home/a/pics/cat.gif"
                                << "/home/a/pics"
                                << "cat.gif";
        QTest::newRow("root") << "/cat.gif"
                              << "/"
                              << "cat.gif";
    }
    void paths() {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(QString, title);
        QCOMPARE(FolderOfPath(path), folder);
        QCOMPARE(FileTitleOfPath(path), title);
    }

    void tempFolderIsPerUser() {
        const QString folder = TempFolder();
        QVERIFY(folder.endsWith(u'/'));
        QCOMPARE(folder, qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/');
    }

    void tempFolderWithoutRuntimeFolder_data() {
        QTest::addColumn<QByteArray>("runtime");
        QTest::newRow("missing folder") << QByteArray("/nonexistent/glyfora-runtime");
        QTest::newRow("a file") << QByteArray("/etc/hostname");
        QTest::newRow("empty") << QByteArray();
    }
    void tempFolderWithoutRuntimeFolder() {
        QFETCH(QByteArray, runtime);
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtime);
        const QString folder = TempFolder();
        qputenv("XDG_RUNTIME_DIR", saved);
        QCOMPARE(folder, QDir::tempPath() + u'/');
    }

    void nameFilters() {
        const QStringList filters =
            QtNameFilters(QStringLiteral("JPEG - JFIF Compliant (*.jpg;*.jif;*.jpeg)|*.jpg;*.jif;"
                                         "*.jpeg|All Files|*.*"));
        QCOMPARE(filters, QStringList({QStringLiteral("JPEG - JFIF Compliant (*.jpg *.jif *.jpeg)"),
                                       QStringLiteral("All Files (*)")}));
    }

    void storeRoundTripsTexts() {
        {
            SettingsStore store;
            store.Write(QStringLiteral("HTML"), QStringLiteral("Before"),
                        QStringLiteral("<A>\r\n<B, C=\"1\">"));
            store.Write(QStringLiteral("Text\\Window"), QStringLiteral("Left"),
                        QStringLiteral("120"));
            store.Write(QStringLiteral("Recent Files"), QStringLiteral("File1"),
                        QStringLiteral("/tmp/a & b/日本.gif"));
            QVERIFY(store.Sync());
        }
        SettingsStore store;
        QCOMPARE(store.Read(QStringLiteral("HTML"), QStringLiteral("Before"), QString()),
                 QStringLiteral("<A>\r\n<B, C=\"1\">"));
        QCOMPARE(store.Read(QStringLiteral("Text\\Window"), QStringLiteral("Left"), QString()),
                 QStringLiteral("120"));
        QCOMPARE(store.Read(QStringLiteral("Recent Files"), QStringLiteral("File1"), QString()),
                 QStringLiteral("/tmp/a & b/日本.gif"));
        QCOMPARE(store.Read(QStringLiteral("Window"), QStringLiteral("Left"), QStringLiteral("d")),
                 QStringLiteral("d"));
        store.Delete(QStringLiteral("Window"), QStringLiteral("NotThere"));
    }

    void fileNamesRoundTrip_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown"); // what the person sees; U+FFFD where bytes stand
        QTest::newRow("ascii") << QByteArray("pic.png") << QStringLiteral("pic.png");
        QTest::newRow("japanese") << QByteArray("\xe7\x8c\xab.gif") << QStringLiteral("猫.gif");
        QTest::newRow("beyond BMP") << QByteArray("\xf0\x9f\x90\x88") << QStringLiteral("🐈");
        QTest::newRow("latin-1 bytes")
            << QByteArray("bad\xff\xfe.png") << QStringLiteral("bad\uFFFD\uFFFD.png");
        QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf"
                                                      "b")
                                        << QStringLiteral("a\uFFFD\uFFFDb");
        QTest::newRow("encoded surrogate")
            << QByteArray("\xed\xa0\x80") << QStringLiteral("\uFFFD\uFFFD\uFFFD");
        QTest::newRow("cut sequence") << QByteArray("x\xe3\x81") << QStringLiteral("x\uFFFD\uFFFD");
    }
    void fileNamesRoundTrip() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const QString name = DecodeFileName(bytes);
        QCOMPARE(EncodeFileName(name), bytes);
        QString visible = name;
        for (QChar& c : visible) {
            if (c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF)
                c = QChar(0xFFFD);
        }
        QCOMPARE(visible, shown);
        // A lone surrogate below the escapes is no byte of a name: never a separator.
        QVERIFY(!EncodeFileName(name + QChar(0xDC2F)).contains('/'));
    }

    // The settings file is read and written only as a regular file (links followed) or
    // when nothing stands at its path; anything else blocks nothing and is never replaced.
    void settingsFileOnlyWhenRegular_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("usable");
        QTest::newRow("regular file") << "file" << true;
        QTest::newRow("link to a regular file") << "link" << true;
        QTest::newRow("nothing yet") << "missing" << true;
        QTest::newRow("named pipe") << "fifo" << false;
        QTest::newRow("named pipe put there after the store was made") << "later fifo" << false;
        QTest::newRow("link to a device") << "device" << false;
        QTest::newRow("dangling link") << "dangling" << false;
        QTest::newRow("folder") << "folder" << false;
    }
    void settingsFileOnlyWhenRegular() {
        QFETCH(QString, kind);
        QFETCH(bool, usable);
        const QString path = testsupport::SettingsFilePath();
        const QByteArray name = QFile::encodeName(path);
        QTemporaryDir elsewhere;
        const QByteArray target = QFile::encodeName(elsewhere.filePath(QStringLiteral("target")));
        const QByteArray stored = "[Conversion]\nX=3\n";
        QFile::remove(path);
        if (kind == "file" || kind == "link") {
            QVERIFY(testsupport::WriteFile(kind == "file" ? name : target, stored));
        }
        if (kind == "link" || kind == "device" || kind == "dangling")
            QCOMPARE(::symlink(target.constData(), name.constData()), 0);
        if (kind == "fifo")
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        if (kind == "device" && testsupport::DeviceNode(elsewhere.path(), "target", 5).isEmpty())
            QSKIP("only root makes device nodes");
        if (kind == "folder")
            QVERIFY(QDir().mkdir(path));
        struct stat before {};
        ::lstat(name.constData(), &before);

        {
            SettingsStore store;
            QCOMPARE(store.Read(QStringLiteral("Conversion"), QStringLiteral("X"), "1"),
                     QLatin1String(kind == "file" || kind == "link" ? "3" : "1"));
            store.Write(QStringLiteral("Conversion"), QStringLiteral("Y"), QStringLiteral("7"));
            QCOMPARE(store.Read(QStringLiteral("Conversion"), QStringLiteral("Y"), "1"), "7");
            if (kind == "later fifo")
                QCOMPARE(::mkfifo(name.constData(), 0600), 0);
            QCOMPARE(store.Sync(), usable);
        }
        struct stat after {};
        ::lstat(name.constData(), &after);
        if (kind == "later fifo")
            QVERIFY(S_ISFIFO(after.st_mode));
        else if (kind != "missing")
            QCOMPARE(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
        if (usable) {
            QCOMPARE(SettingsStore().Read(QStringLiteral("Conversion"), QStringLiteral("Y"), "1"),
                     "7");
        } else {
            struct stat targetInfo {};
            const int found = ::stat(target.constData(), &targetInfo);
            QCOMPARE(found == 0 && S_ISCHR(targetInfo.st_mode), kind == "device");
        }
        ::unlink(name.constData());
        ::rmdir(name.constData());
    }

    // Files read whole are opened only as regular files, links followed; a pipe is
    // refused without blocking, and what is opened reads without O_NONBLOCK. Read whole
    // with a limit of 5 bytes, a file gives its bytes or the reason it gave none.
    void regularFileOpener_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("expected"); // FileKind
        QTest::addColumn<int>("error");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("read"); // the bytes, or the reason
        QTest::newRow("regular file")
            << "file" << int(FileKind::Regular) << 0 << qint64(5) << QString() << "12345";
        QTest::newRow("link to a regular file")
            << "link" << int(FileKind::Regular) << 0 << qint64(5) << QString() << "12345";
        QTest::newRow("folder") << "folder" << int(FileKind::Folder) << 0 << qint64(0)
                                << QStringLiteral("folder") << "folder";
        QTest::newRow("named pipe") << "fifo" << int(FileKind::Other) << 0 << qint64(0)
                                    << QStringLiteral("other") << "other";
        QTest::newRow("nothing") << "missing" << int(FileKind::Failed) << ENOENT << qint64(0)
                                 << QStringLiteral("not found") << "not found";
        QTest::newRow("dangling link") << "dangling" << int(FileKind::Failed) << ENOENT << qint64(0)
                                       << QStringLiteral("not found") << "not found";
        QTest::newRow("below a file") << "below" << int(FileKind::Failed) << ENOTDIR << qint64(0)
                                      << QStringLiteral("not found") << "not found";
        QTest::newRow("one byte past the limit")
            << "big" << int(FileKind::Regular) << 0 << qint64(6) << QString() << "too large";
        // Files of /proc say they hold nothing: the limit is found while reading.
        QTest::newRow("past the limit by what it holds")
            << "proc" << int(FileKind::Regular) << 0 << qint64(0) << QString() << "too large";
    }
    void regularFileOpener() {
        QFETCH(QString, kind);
        QFETCH(int, expected);
        QFETCH(int, error);
        QFETCH(qint64, size);
        QFETCH(QString, refusal);
        QFETCH(QString, read);
        QTemporaryDir dir;
        const QByteArray file = QFile::encodeName(dir.filePath(QStringLiteral("file")));
        const QByteArray name = QFile::encodeName(dir.filePath(QStringLiteral("name")));
        QVERIFY(testsupport::WriteFile(file, kind == "big" ? "123456" : "12345"));
        const QByteArray opened = kind == "file" || kind == "big" ? file
                                  : kind == "below"               ? file + "/x"
                                  : kind == "proc"                ? "/proc/self/stat"
                                                                  : name;
        if (kind == "link")
            QCOMPARE(::symlink(file.constData(), name.constData()), 0);
        if (kind == "dangling")
            QCOMPARE(::symlink("nowhere", name.constData()), 0);
        if (kind == "folder")
            QCOMPARE(::mkdir(name.constData(), 0700), 0);
        if (kind == "fifo")
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);

        QCOMPARE(int(CheckFile(opened).kind), expected);
        RegularFile regular = RegularFile::Open(opened);
        QCOMPARE(int(regular.Check().kind), expected);
        QCOMPARE(regular.Check().error, error);
        QCOMPARE(regular.Check().size, size);
        QCOMPARE(regular.IsOpen(), expected == int(FileKind::Regular));
        const RefusalTexts texts{"not found", "folder", "other", "cannot open"};
        QCOMPARE(RefusalText(regular.Check(), texts), refusal);
        if (regular.IsOpen())
            QCOMPARE(::fcntl(regular.Descriptor(), F_GETFL) & (O_NONBLOCK | O_ACCMODE), O_RDONLY);
        QString why;
        const std::optional<QByteArray> bytes =
            ReadBounded(opened, 5, {texts, "too large", "cannot read", "no memory"}, &why);
        QCOMPARE(bytes ? QString::fromLatin1(*bytes) : why, read);
    }

    void handEditedListReadsAsText() {
        QVERIFY(testsupport::WriteFile(testsupport::SettingsFilePath(),
                                       "[Conversion]\nCharactor=a,b,c\n"));
        SettingsStore store;
        QCOMPARE(store.Read(QStringLiteral("Conversion"), QStringLiteral("Charactor"), QString()),
                 QStringLiteral("a,b,c"));
    }

    // Twips in, twips out: left = main left + (main width - box width) / 2, halves to even.
    void centredOver_data() {
        QTest::addColumn<QList<double>>("mainAndBox"); // left, top, width, height, box w, h
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::newRow("whole") << QList<double>{1500, 900, 9000, 6000, 3000, 2000} << 4500 << 2900;
        QTest::newRow("half down to even") << QList<double>{0, 0, 1001, 1001, 0, 0} << 500 << 500;
        QTest::newRow("half up to even") << QList<double>{0, 0, 1003, 1005, 0, 0} << 502 << 502;
        QTest::newRow("negative half")
            << QList<double>{-1000, -1000, 999, 997, 0, 0} << -500 << -502;
        QTest::newRow("box larger than window")
            << QList<double>{0, 0, 1000, 1000, 3000, 1500} << -1000 << -250;
        QTest::newRow("second monitor past 16 bits")
            << QList<double>{600000, 45000, 9000, 6000, 3000, 2000} << 603000 << 47000;
    }
    void centredOver() {
        QFETCH(QList<double>, mainAndBox);
        QFETCH(int, left);
        QFETCH(int, top);
        const auto& v = mainAndBox;
        const platform::TwipsPosition at =
            platform::CentredOver(v[0], v[1], v[2], v[3], v[4], v[5]);
        QCOMPARE(at.left, left);
        QCOMPARE(at.top, top);
    }

    void decoder_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QByteArray("plain text that is longer than sixteen bytes\r\n");
        QTest::newRow("html cells")
            << QString::fromUtf8("<FONT COLOR=\"#0A00FF\">■</FONT>").repeated(5).toUtf8();
        QTest::newRow("two, three and four bytes")
            << QString::fromUtf8("é・😀ー𠀋 mixed with ascii 0123456789 é😀").toUtf8();
        QTest::newRow("byte-order mark kept") << QByteArray("\xEF\xBB\xBFx");
        QTest::newRow("highest code point") << QByteArray("\xF4\x8F\xBF\xBF");
        QTest::newRow("lowest four-byte code point") << QByteArray("\xF0\x90\x80\x80");
    }
    void decoder() {
        QFETCH(QByteArray, bytes);
        QStringDecoder reference(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        const QString expected = reference.decode(bytes);
        // Split at every place, as chunked reads may split it.
        for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
            std::u16string out(size_t(bytes.size()), u'\0');
            qsizetype used = 0;
            const qsizetype first = DecodeUtf8(bytes.constData(), cut, out.data(), used);
            QVERIFY(first >= 0);
            QVERIFY(cut - used < 4);
            const QByteArray rest = bytes.mid(used);
            qsizetype usedRest = 0;
            const qsizetype second =
                DecodeUtf8(rest.constData(), rest.size(), out.data() + first, usedRest);
            QVERIFY(second >= 0);
            QCOMPARE(usedRest, rest.size());
            QCOMPARE(QStringView(out.data(), first + second).toString(), expected);
        }
    }

    void decoderRejects_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("overlong two bytes") << QByteArray("\xC0\x80", 2);
        QTest::newRow("overlong three bytes") << QByteArray("\xE0\x80\xAF");
        QTest::newRow("overlong four bytes") << QByteArray("\xF0\x8F\xBF\xBF");
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80");
        QTest::newRow("past U+10FFFF") << QByteArray("\xF4\x90\x80\x80");
        QTest::newRow("stray continuation") << QByteArray("abc\x80");
        QTest::newRow("bad continuation") << QByteArray("\xE2\x41\x41");
        QTest::newRow("cut and broken") << QByteArray("\xE2\x41");
        QTest::newRow("not UTF-8 at all") << QByteArray("\xFF");
    }
    void decoderRejects() {
        QFETCH(QByteArray, bytes);
        std::u16string out(size_t(bytes.size()) + 16, u'\0');
        qsizetype used = 0;
        QCOMPARE(DecodeUtf8(bytes.constData(), bytes.size(), out.data(), used), qsizetype(-1));
    }

    // Typing into a numeric box: digits, Backspace and the clipboard keys only.
    void numericBoxKeys() {
        QWidget window;
        QLineEdit box(&window);
        QPushButton ok(&window);
        platform::FilterNumericKeys(box);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box.setFocus();
        QTest::keyClicks(&box, QStringLiteral("12a-3. 4"));
        QCOMPARE(box.text(), QStringLiteral("1234"));
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.text(), QStringLiteral("123"));
        QTest::keyClick(&box, Qt::Key_Home);
        QTest::keyClick(&box, Qt::Key_Delete);
        QCOMPARE(box.text(), QStringLiteral("23"));
        // Pasted text is not filtered.
        QGuiApplication::clipboard()->setText(QStringLiteral("-5x"));
        QTest::keyClick(&box, Qt::Key_End);
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box.text(), QStringLiteral("23-5x"));
        // Copy and cut get through; Ctrl+A does not.
        box.setSelection(0, 2);
        QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(box.text(), QStringLiteral("-5x"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("23"));
        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(!box.hasSelectedText());
        QVERIFY(!box.testAttribute(Qt::WA_InputMethodEnabled));
    }

    void fitWindowGeometry_data() {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("expected");
        const QRect screen(0, 0, 1280, 800);
        // Design size 592 x 450 throughout.
        QTest::newRow("fits") << QRect(100, 50, 600, 400) << screen << QRect(100, 50, 600, 400);
        QTest::newRow("exactly the area") << screen << screen << screen;
        QTest::newRow("huge: design size centred")
            << QRect(0, 0, 32767, 32767) << screen << QRect(344, 175, 592, 450);
        QTest::newRow("one pixel too wide")
            << QRect(0, 0, 1281, 300) << screen << QRect(344, 175, 592, 450);
        QTest::newRow("too high only")
            << QRect(10, 10, 300, 801) << screen << QRect(344, 175, 592, 450);
        QTest::newRow("design larger than the area")
            << QRect(0, 0, 1000, 1000) << QRect(0, 0, 500, 400) << QRect(0, 0, 500, 400);
        QTest::newRow("past the right edge")
            << QRect(1200, 100, 600, 400) << screen << QRect(680, 100, 600, 400);
        QTest::newRow("past the bottom edge")
            << QRect(100, 700, 600, 400) << screen << QRect(100, 400, 600, 400);
        QTest::newRow("above and left of the area")
            << QRect(-500, -300, 600, 400) << screen << QRect(0, 0, 600, 400);
        QTest::newRow("far away") << QRect(32767, -32767, 600, 400) << screen
                                  << QRect(680, 0, 600, 400);
        const QRect second(1280, 24, 1920, 1056); // a second monitor below a panel
        QTest::newRow("second monitor, corner off it")
            << QRect(1000, 0, 600, 400) << second << QRect(1280, 24, 600, 400);
        QTest::newRow("second monitor, huge")
            << QRect(1280, 24, 5000, 500) << second << QRect(1944, 327, 592, 450);
    }
    void fitWindowGeometry() {
        QFETCH(QRect, stored);
        QFETCH(QRect, area);
        QFETCH(QRect, expected);
        QCOMPARE(platform::FitWindowGeometry(stored, area, QSize(592, 450), 15, 15), expected);
    }
};

GLYFORA_TEST_MAIN(TestPlatform)
#include "tst_platform.moc"

// glyfora-convert run as its own process with no display: exit codes, usage errors,
// and output that matches the scans the program runs on the same picture and settings.
#include "app/Settings.h"
#include "convert/ConversionSettings.h"
#include "convert/ConvertScan.h"
#include "convert/HtmlPage.h"
#include "imageops/PictureLoader.h"
#include "platform/SettingsStore.h"
#include "tests/convert/ScanTestSupport.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPictures.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace mGlyfora;

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// No display, no platform choice: only the folders the tool needs.
ToolRun RunTool(const QStringList& args) {
    QProcessEnvironment env;
    for (const char* name : {"HOME", "PATH", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"})
        env.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(GLYFORA_CONVERT_PATH), args);
    process.waitForFinished(-1);
    ToolRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

void Store(const QString& section, const QString& key, const QString& value) {
    platform::SettingsStore store;
    store.Write(section, key, value);
    QVERIFY(store.Sync());
}

// What the program itself would produce for the picture with the stored settings.
QString ProgramScan(const QString& path, bool html, const SelectionRect& cut = {}) {
    platform::SettingsStore store;
    LoadSettings(store);
    PictureSurface surface;
    surface.Assign(LoadPictureFile(path).image);
    testsupport::RecordingHost host;
    return html ? ConvertToHTML(surface, cut, host) : ConvertToText(surface, cut, host);
}

} // namespace

class TestConvertTool : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        picture_ = testsupport::WritePicture(testsupport::NoiseSurface(53, 31, 7).Image(),
                                             dir_.filePath(QStringLiteral("noise.bmp")), "bmp");
    }
    void init() { testsupport::ClearSettings(); }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        const QString p = QStringLiteral("picture.bmp");
        QTest::newRow("no picture") << QStringList{"--html"};
        QTest::newRow("two pictures") << QStringList{p, p};
        QTest::newRow("cell 0") << QStringList{"--cell", "0x1", p};
        QTest::newRow("cell 11") << QStringList{"--cell=1x11", p};
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
        const ToolRun run = RunTool(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.startsWith("glyfora-convert: "));
        QVERIFY(run.err.contains("Usage: glyfora-convert"));
    }

    void helpAndVersion() {
        const ToolRun help = RunTool({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith("Usage: glyfora-convert"));
        QVERIFY(help.err.isEmpty());
        const ToolRun version = RunTool({QStringLiteral("--version")});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QByteArray("2.10\n"));
    }

    void pictureFailures_data() {
        QTest::addColumn<QByteArray>("contents"); // empty: no file at all
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QByteArray() << "ファイルが見つかりません。";
        QTest::newRow("not a picture") << QByteArray("hello") << "画像の形式が認識できません";
    }
    void pictureFailures() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, reason);
        const QString path = dir_.filePath(QStringLiteral("bad.jpg"));
        QFile::remove(path);
        if (!contents.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(contents);
        }
        const ToolRun run = RunTool({path});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        const QString err = QString::fromUtf8(run.err);
        QVERIFY2(err.startsWith(path + ": " + reason), qPrintable(err));
        QCOMPARE(err.count(u'\n'), 1);
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
        const ToolRun run = RunTool(args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.startsWith(picture_.toUtf8() + ": "));
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
        const ToolRun run = RunTool(options + QStringList{picture_});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        for (qsizetype i = 0; i + 2 < asStored.size(); i += 3)
            Store(asStored[i], asStored[i + 1], asStored[i + 2]);
        const QString expected = ProgramScan(picture_, html);
        QVERIFY(!expected.isEmpty());
        QVERIFY(run.out == (expected + QStringLiteral("\r\n")).toUtf8());
    }

    void selection() {
        const ToolRun run = RunTool({"--select", "5.5,-2,30.25,12", "--html", picture_});
        QCOMPARE(run.exitCode, 0);
        const QString expected = ProgramScan(picture_, true, {true, 5.5f, -2, 30.25f, 12});
        QVERIFY(run.out == (expected + QStringLiteral("\r\n")).toUtf8());
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
        const ToolRun run = RunTool(args);
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
        QBuffer page;
        page.open(QIODevice::WriteOnly);
        QVERIFY(
            mGlyfora::WriteHtmlPage(page, QStringLiteral("<HTML>\r\n<PRE>ü"), result, QString()));
        QVERIFY(page.data() == written);
    }

    void unwritableOutput() {
        const QString output = dir_.filePath(QStringLiteral("no/such/folder/out.txt"));
        const ToolRun run = RunTool({"-o", output, picture_});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(output.toUtf8()));
    }

private:
    QTemporaryDir dir_;
    QString picture_;
};

GLYFORA_TEST_MAIN(TestConvertTool)
#include "tst_convert_tool.moc"

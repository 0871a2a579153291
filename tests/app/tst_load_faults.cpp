// The main window given awkward paths: command-line paths that must not count (hidden
// files, a path through a missing folder), names that are not UTF-8, and a FIFO dropped
// onto the window.
#include "app/CommandLine.h"
#include "app/Settings.h"
#include "app/frmMain.h"
#include "app/mGlyfora.h"
#include "convert/ConversionSettings.h"
#include "platform/FileNames.h"
#include "platform/SettingsStore.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StartedWindow.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <unistd.h>

using testsupport::ScriptedDialogs;

namespace {
const QString NotFoundTail =
    QStringLiteral("\nこのファイルが見つかりません。\n\nパスとファイル名を確認してください。");
} // namespace

class TestLoadFaults : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    QByteArray folder_; // dir_ as bytes

    struct Started : testsupport::StartedWindow {
        using StartedWindow::StartedWindow;
        void VerifyNoPicture() const {
            QVERIFY(!Shown());
            QVERIFY(!form->mnuImage->menuAction()->isVisible());
            QVERIFY(!form->mnuRun->menuAction()->isVisible());
            QCOMPARE(form->windowTitle(), QStringLiteral("glyfora"));
            QCOMPARE(form->StatusText(), QString());
        }
    };

    bool WritePicture(const QByteArray& name, int w, int h) {
        return testsupport::WriteFile(
            folder_ + '/' + name,
            testsupport::EncodePicture(testsupport::GradientImage(w, h), "bmp"));
    }

private Q_SLOTS:
    void initTestCase() { folder_ = QFile::encodeName(dir_.path()); }

    void init() { testsupport::ResetProcessValues(); }

    void cleanupTestCase() {
        // QTemporaryDir cannot remove a name that is not UTF-8.
        ::unlink((folder_ + "/bad\xff\xfe.bmp").constData());
    }

    void argumentsKeepEveryByte() {
        const char* argv[] = {"glyfora", "bad\xff\xfe.bmp", "\xc3\xa9t\xc3\xa9.gif"};
        const QStringList arguments = platform::DecodeArguments(3, argv);
        QCOMPARE(arguments.size(), 3);
        QCOMPARE(platform::EncodeFileName(arguments[1]), QByteArray("bad\xff\xfe.bmp"));
        QCOMPARE(arguments[2], QStringLiteral("été.gif"));
    }

    void commandLinePathKeepsItsForm_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("path");
        QTest::newRow("dot-dot through a folder")
            << QStringList{"glyfora", "./sub/../p.bmp"} << "/w"
            << "/w/./sub/../p.bmp";
        QTest::newRow("doubled slashes") << QStringList{"glyfora", "a//b.gif"} << "/w"
                                         << "/w/a//b.gif";
        QTest::newRow("absolute, untidy") << QStringList{"glyfora", "/x/./y/../z.gif"} << "/w"
                                          << "/x/./y/../z.gif";
        QTest::newRow("in the root folder") << QStringList{"glyfora", "p.bmp"} << "/"
                                            << "/p.bmp";
    }
    void commandLinePathKeepsItsForm() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, folder);
        QFETCH(QString, path);
        QCOMPARE(mGlyfora::CommandLinePath(arguments, folder), path);
    }

    // Form_Load with the command-line tail built from argument bytes, as the program does.
    void commandLineFiles_data() {
        QTest::addColumn<QByteArray>("argument");
        QTest::addColumn<bool>("loads");
        QTest::newRow("regular file") << QByteArray("plain.bmp") << true;
        QTest::newRow("name not UTF-8") << QByteArray("bad\xff\xfe.bmp") << true;
        QTest::newRow("link to a file") << QByteArray("link.bmp") << true;
        QTest::newRow("hidden file") << QByteArray(".hidden.bmp") << false;
        QTest::newRow("through a missing folder") << QByteArray("./missing/../plain.bmp") << false;
        QTest::newRow("folder") << QByteArray("folder.bmp") << false;
        QTest::newRow("fifo") << QByteArray("pipe.bmp") << false;
    }
    void commandLineFiles() {
        QFETCH(QByteArray, argument);
        QFETCH(bool, loads);
        QVERIFY(WritePicture("plain.bmp", 6, 5));
        QVERIFY(WritePicture("bad\xff\xfe.bmp", 6, 5));
        QVERIFY(WritePicture(".hidden.bmp", 6, 5));
        QFile::link(dir_.filePath(QStringLiteral("plain.bmp")),
                    dir_.filePath(QStringLiteral("link.bmp")));
        QDir(dir_.path()).mkpath(QStringLiteral("folder.bmp"));
        testsupport::MakeFifo(dir_.filePath(QStringLiteral("pipe.bmp")));

        const char* argv[] = {"glyfora", argument.constData()};
        const QString path = mGlyfora::CommandLinePath(platform::DecodeArguments(2, argv),
                                                       platform::DecodeFileName(folder_));
        QCOMPARE(platform::EncodeFileName(path), folder_ + '/' + argument);
        Started run(path);
        if (loads) {
            QVERIFY2(run.dialogs.messages.isEmpty(),
                     qPrintable(run.dialogs.messages.value(0).text));
            QVERIFY(run.Shown());
            QCOMPARE(run.form->picView->size(), QSize(6, 5));
            QCOMPARE(run.form->windowTitle(), path + QStringLiteral(" - glyfora"));
        } else {
            QCOMPARE(run.dialogs.messages.size(), 1);
            QCOMPARE(run.dialogs.messages[0].text, path + NotFoundTail);
            QCOMPARE(run.dialogs.messages[0].icon, platform::MsgIcon::Exclamation);
            run.VerifyNoPicture();
        }
    }

    void droppedNameThatIsNotUtf8Loads() {
        QVERIFY(WritePicture("bad\xff\xfe.bmp", 7, 3));
        // As a file manager sends it: the name's bytes percent-encoded.
        QMimeData data;
        data.setUrls(
            {QUrl::fromEncoded("file://" + (folder_ + "/bad\xff\xfe.bmp").toPercentEncoding("/"))});
        Started run;
        run.form->Form_OLEDragDrop(&data);
        QVERIFY2(run.dialogs.messages.isEmpty(), qPrintable(run.dialogs.messages.value(0).text));
        QCOMPARE(run.form->picView->size(), QSize(7, 3));
        QCOMPARE(platform::EncodeFileName(mGlyfora::RecentFilesList[0]),
                 folder_ + "/bad\xff\xfe.bmp");
    }

    void droppedFifoIsRefused() {
        const QString fifo = dir_.filePath(QStringLiteral("dropped.gif"));
        QVERIFY(testsupport::MakeFifo(fifo));
        Started run;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(fifo)});
        {
            // A loader that blocks on the FIFO is freed after a while, and the test fails.
            testsupport::FifoUnblocker unblocker(fifo);
            run.form->Form_OLEDragDrop(&data);
            QVERIFY2(unblocker.Finish(), "the drop blocked on a FIFO");
        }
        QCOMPARE(run.dialogs.messages.size(), 1);
        QCOMPARE(run.dialogs.messages[0].icon, platform::MsgIcon::Critical);
        QCOMPARE(run.dialogs.messages[0].text,
                 QStringLiteral(
                     "通常のファイルではない (パイプ、デバイスなど) ため、画像として開けません。"));
        run.VerifyNoPicture();
        QCOMPARE(mGlyfora::RecentFilesList[0], QString());
    }
};

GLYFORA_TEST_MAIN(TestLoadFaults)
#include "tst_load_faults.moc"

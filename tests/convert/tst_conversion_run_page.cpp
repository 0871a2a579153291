// The HTML page save of a conversion run: its dialog and folder, the page's bytes past the
// buffers, empty templates, a cancelled or failed save, and the browser launch.
#include "convert/ConversionRun.h"
#include "convert/ConversionSettings.h"
#include "platform/mGlyfora.h"
#include "tests/convert/ConversionRunFixture.h"
#include "tests/support/FilePermissions.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using platform::MsgAnswer;
using platform::MsgIcon;
using testsupport::ScriptedDialogs;
using namespace runtest;

namespace {

const QString BrowserFailed = QStringLiteral("ブラウザの起動に失敗しました。");

} // namespace

class TestConversionRunPage : public ConversionRunFixture {
    Q_OBJECT

private Q_SLOTS:

    // --- The HTML page ---

    void textPageIsSavedAndOpened_data() {
        QTest::addColumn<bool>("html");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text result between Before and After")
            << false
            << QByteArray("<HTML><BODY BGCOLOR=\"#FFFFFF\">\r\n<FONT STYLE=\"font-size: 6px; "
                          "line-height: 0.6\"><PRE>\r\n&lt;#\r\n#&lt;\r\n</PRE></FONT>\r\n"
                          "</BODY></HTML>\r\n");
        QTest::newRow("HTML result between BeforeHTML and AfterHTML") << true << QByteArray();
    }
    void textPageIsSavedAndOpened() {
        QFETCH(bool, html);
        QFETCH(QByteArray, bytes);
        QTemporaryDir web;
        const QString path = web.path() + QStringLiteral("/page.html");
        dialogs.messageAnswers = {MsgAnswer::Yes};
        dialogs.fileAnswers = {ScriptedDialogs::Chosen(path)};
        const QString startFolder = mGlyfora::SaveDirectory;
        html ? mGlyfora::RunHTMLConversion(Target()) : mGlyfora::RunTextConversion(Target());

        QCOMPARE(dialogs.saveRequests.size(), 1);
        const platform::FileDialogRequest& request = dialogs.saveRequests.constFirst();
        QCOMPARE(request.DialogTitle, QStringLiteral("名前をつけて保存"));
        QCOMPARE(request.FileName, QStringLiteral("cat.html"));
        QCOMPARE(request.InitDir, startFolder);
        QCOMPARE(request.Flags, 0x806u);
        QCOMPARE(request.Filter, QStringLiteral("HTML Files|*.html;*.htm|All Files|*.*"));
        QCOMPARE(request.FilterIndex, 1);
        QVERIFY(request.DefaultExt.isEmpty());
        // An HTML result is never asked about.
        QCOMPARE(dialogs.messages.size(), html ? 0 : 1);

        QCOMPARE(mGlyfora::SaveDirectory, web.path());
        QCOMPARE(dialogs.openedFiles, QStringList{path});
        QCOMPARE(dialogs.openFolders, QStringList{web.path()});
        const QByteArray written = testsupport::ReadAll(path);
        if (!html) {
            QCOMPARE(written, bytes);
        } else {
            QVERIFY(written.startsWith(BeforeHTML + "\r\n<FONT COLOR="));
            QVERIFY(written.endsWith("\r\n</PRE></FONT>\r\n</BODY></HTML>\r\n"));
        }
    }

    // Results past the scan's 2 MB buffer and the 1 MB chunks of the read-back and the
    // copy: every cell in its place, a three-byte character split between two chunks
    // decoded whole. The text run is answered Yes; its ramp "あん" gives あ for the
    // brighter half (largest component 128 or more), ん for the darker.
    void pageBytesPastTheBuffers_data() {
        QTest::addColumn<bool>("html");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("mosaic of 2.7 MB") << true << 300 << 300;
        QTest::newRow("text of 1.3 MB in three-byte characters") << false << 700 << 600;
    }
    void pageBytesPastTheBuffers() {
        QFETCH(bool, html);
        QFETCH(int, width);
        QFETCH(int, height);
        const QImage image = CrossingPicture(width, height);
        QVERIFY(picture.Assign(image));
        mGlyfora::ConversionSettings.Charactor = QStringLiteral("あん");
        QByteArray expected = (html ? BeforeHTML : Before) + "\r\n";
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const QRgb p = image.pixel(x, y);
                if (html)
                    expected +=
                        QByteArray("<FONT COLOR=\"#") +
                        QString::asprintf("%02X%02X%02X", qRed(p), qGreen(p), qBlue(p)).toLatin1() +
                        "\">■</FONT>";
                else
                    expected += std::max({qRed(p), qGreen(p), qBlue(p)}) >= 128 ? "あ" : "ん";
            }
            expected += "\r\n";
        }
        expected += After + "\r\n";
        QTemporaryDir web;
        const QString path = web.path() + QStringLiteral("/page.html");
        dialogs.messageAnswers = {MsgAnswer::Yes};
        dialogs.fileAnswers = {ScriptedDialogs::Chosen(path)};
        html ? mGlyfora::RunHTMLConversion(Target()) : mGlyfora::RunTextConversion(Target());
        QCOMPARE(dialogs.openedFiles, QStringList{path});
        QVERIFY(testsupport::ReadAll(path) == expected);
    }

    // Exactly three line breaks are added, whatever the templates hold.
    void emptyTemplatesWriteEmptyLines() {
        mGlyfora::ConversionSettings.Before.clear();
        mGlyfora::ConversionSettings.After.clear();
        QTemporaryDir web;
        const QString path = web.path() + QStringLiteral("/art.htm");
        dialogs.messageAnswers = {MsgAnswer::Yes};
        dialogs.fileAnswers = {ScriptedDialogs::Chosen(path)};
        mGlyfora::RunTextConversion(Target());
        QCOMPARE(testsupport::ReadAll(path), QByteArray("\r\n&lt;#\r\n#&lt;\r\n\r\n"));
    }

    void cancelledSaveWritesNothing() {
        const QString before = mGlyfora::SaveDirectory;
        dialogs.fileAnswers = {std::nullopt};
        mGlyfora::RunHTMLConversion(Target());
        QCOMPARE(mGlyfora::SaveDirectory, before);
        QVERIFY(dialogs.openedFiles.isEmpty());
        QVERIFY(dialogs.messages.isEmpty());
    }

    // A save that fails: the message naming the file, nothing reported as saved, and an
    // earlier page intact.
    void failedSaveKeepsTheEarlierPage_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder without write permission") << "read-only"
                                                         << "Permission denied";
        QTest::newRow("a full disk") << "full"
                                     << "No space left on device";
    }
    void failedSaveKeepsTheEarlierPage() {
        QFETCH(QString, how);
        QFETCH(QString, reason);
        QTemporaryDir web;
        QString path = web.path() + QStringLiteral("/cat.html");
        const testsupport::PermissionsBind bind; // root too is refused the folder
        QVERIFY(bind.Holds());
        if (how == QLatin1String("read-only")) {
            QVERIFY(testsupport::WriteFile(QFile::encodeName(path), "earlier page"));
            QFile::setPermissions(web.path(), QFile::ReadOwner | QFile::ExeOwner);
        } else {
            path = testsupport::DeviceNode(web.path(), "full", 7);
            if (path.isEmpty())
                QSKIP("no full device to write to");
        }
        dialogs.fileAnswers = {ScriptedDialogs::Chosen(path)};
        mGlyfora::RunHTMLConversion(Target());
        QFile::setPermissions(web.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.constFirst().icon, MsgIcon::Critical);
        QCOMPARE(dialogs.messages.constFirst().text,
                 QStringLiteral("ファイルを保存できませんでした。\n") + path +
                     QStringLiteral(": ") + reason);
        QVERIFY(dialogs.openedFiles.isEmpty());
        if (how == QLatin1String("read-only")) {
            QCOMPARE(testsupport::ReadAll(path), QByteArray("earlier page"));
            QCOMPARE(testsupport::Names(web.path()), QStringList{QStringLiteral("cat.html")});
        }
        QCOMPARE(mGlyfora::SaveDirectory, web.path());
    }

    // No application for the page: it stays written and the person is told, whether the
    // launcher could not start or gave up later.
    void browserFailure_data() {
        QTest::addColumn<bool>("starts");
        QTest::newRow("launcher does not start") << false;
        QTest::newRow("launcher gives up") << true;
    }
    void browserFailure() {
        QFETCH(bool, starts);
        dialogs.openSucceeds = starts;
        dialogs.openFailsLater = starts;
        QTemporaryDir web;
        const QString path = web.path() + QStringLiteral("/cat.html");
        dialogs.fileAnswers = {ScriptedDialogs::Chosen(path)};
        mGlyfora::RunHTMLConversion(Target());
        QVERIFY(QFileInfo(path).size() > 0);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.constFirst().text, BrowserFailed);
        QCOMPARE(dialogs.messages.constFirst().icon, MsgIcon::Critical);
    }
};

GLYFORA_TEST_MAIN(TestConversionRunPage)
#include "tst_conversion_run_page.moc"

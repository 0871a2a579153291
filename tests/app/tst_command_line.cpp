// The command line: its tail made a path, and a picture named on it that is missing or
// cannot be read.
#include "app/CommandLine.h"
#include "app/Main.h"
#include "app/frmMain.h"
#include "app/mGlyfora.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QTest>

using testsupport::ScriptedDialogs;
using namespace apptest;

class TestCommandLine : public MainWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void commandLineTail() {
        QCOMPARE(mGlyfora::CommandLinePath({QStringLiteral("glyfora")}, QStringLiteral("/w")),
                 QString());
        QCOMPARE(mGlyfora::CommandLinePath(
                     {QStringLiteral("glyfora"), QStringLiteral("my"), QStringLiteral("cat.gif")},
                     QStringLiteral("/w")),
                 QStringLiteral("/w/my cat.gif"));
        QCOMPARE(mGlyfora::CommandLinePath({QStringLiteral("glyfora"), QStringLiteral("/a/b.bmp")},
                                           QStringLiteral("/w")),
                 QStringLiteral("/a/b.bmp"));
        QCOMPARE(mGlyfora::CommandLinePath({QStringLiteral("glyfora"), QStringLiteral("\"x.gif\"")},
                                           QStringLiteral("/w")),
                 QStringLiteral("/w/\"x.gif\""));
    }

    void commandLineMissingFile_data() {
        QTest::addColumn<QString>("name"); // empty: the test folder itself
        QTest::addColumn<QString>("shown");
        QTest::newRow("missing") << "none.gif"
                                 << "none.gif";
        QTest::newRow("directory") << ""
                                   << "";
        // A control character in the name is shown escaped: the message keeps its lines.
        QTest::newRow("line feed in the name") << "a\nb.gif"
                                               << "a\\nb.gif";
    }
    void commandLineMissingFile() {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        const QString path = name.isEmpty() ? dir_.path() : dir_.filePath(name);
        Started run(path);
        QCOMPARE(run.dialogs.messages.size(), 1);
        QCOMPARE(run.dialogs.messages[0].text,
                 (name.isEmpty() ? path : dir_.filePath(shown)) +
                     QStringLiteral("\nこのファイルが見つかりません。\n\nパスとファイル名を確"
                                    "認してください。"));
        QCOMPARE(run.dialogs.messages[0].icon, platform::MsgIcon::Exclamation);
        VerifyNoPictureState(*run.form);
    }
};

GLYFORA_TEST_MAIN(TestCommandLine)
#include "tst_command_line.moc"

// The program's start and end: the stored font names drawn with Japanese glyphs, and the
// intermediate file removed at start and at exit unless another copy holds it.
#include "app/Main.h"
#include "app/frmMain.h"
#include "app/mGlyfora.h"
#include "convert/ConversionSettings.h"
#include "convert/ConversionState.h"
#include "platform/SettingsStore.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StartedWindow.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QTest>
#include <sys/file.h>

using testsupport::ScriptedDialogs;
using namespace apptest;

class TestMain : public MainWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void storedFontNamesHaveJapaneseGlyphs() {
        for (const QString& family :
             {QStringLiteral("Terminal"), QStringLiteral("ＭＳ ゴシック")}) {
            const QFont font(family, 12);
            const QFontMetrics metrics(font);
            QVERIFY2(metrics.inFont(QChar(0x3042)), qPrintable(family));
            // Fixed pitch: narrow and wide Latin letters take the same room.
            QCOMPARE(metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'M'));
        }
    }

    // The intermediate file goes at exit, and a stale one at start, unless another copy
    // of the program holds it for its scan.
    void intermediateFileRemovedWhenNobodyHoldsIt_data() {
        QTest::addColumn<bool>("atStart");
        QTest::addColumn<bool>("held");
        QTest::newRow("at exit") << false << false;
        QTest::newRow("at exit, another copy converting") << false << true;
        QTest::newRow("stale at start") << true << false;
        QTest::newRow("at start, another copy converting") << true << true;
    }
    void intermediateFileRemovedWhenNobodyHoldsIt() {
        QFETCH(bool, atStart);
        QFETCH(bool, held);
        QFile temp(mGlyfora::IntermediateFilePath());
        QVERIFY(temp.open(QIODevice::WriteOnly));
        if (held)
            QCOMPARE(::flock(temp.handle(), LOCK_EX | LOCK_NB), 0);
        if (atStart) {
            ScriptedDialogs dialogs;
            platform::SettingsStore store;
            const auto form = mGlyfora::Main(dialogs, store, QString());
            QCOMPARE(temp.exists(), held);
            form->Form_Unload();
        } else {
            Started run;
            mGlyfora::TempFileName = temp.fileName();
            run.Unload();
            QCOMPARE(temp.exists(), held);
        }
        temp.remove();
    }
};

GLYFORA_TEST_MAIN(TestMain)
#include "tst_main.moc"

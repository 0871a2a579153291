// The program's settings at start and at exit: first-run defaults, the keys written, the
// stored geometry and bars, the folders and the recent list, and stored settings that are
// garbage, binary or cannot be written.
#include "app/Main.h"
#include "app/Settings.h"
#include "app/frmMain.h"
#include "app/frmMainTexts.h"
#include "app/mGlyfora.h"
#include "convert/ConversionSettings.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "platform/SettingsTable.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/StartedWindow.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <cmath>

using testsupport::Stored;
using namespace apptest;

namespace {
QStringList VisibleTexts(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* a : actions) {
        if (a->isVisible())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return texts;
}
} // namespace

class TestSettings : public MainWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void firstRunDefaults() {
        Started run;
        frmMain& form = *run.form;
        const auto& cs = mGlyfora::ConversionSettings;
        QCOMPARE(cs.X, quint8(1));
        QCOMPARE(cs.Y, quint8(1));
        QCOMPARE(cs.Charactor, QStringLiteral(" .,:;!IU0OQRB&%@"));
        QCOMPARE(mGlyfora::OpenDirectory, platform::ProgramFolder());
        QCOMPARE(mGlyfora::SaveDirectory, platform::ProgramFolder());
        QCOMPARE(mGlyfora::RecentFilesMax, qint16(4));
        VerifyNoPictureState(form);
        QCOMPARE(VisibleTexts(form.mnuFile->actions()),
                 QStringList({frmMainTexts::FileOpen, QStringLiteral("-"), frmMainTexts::Exit}));
        QVERIFY(form.mnuToolBar->isChecked());
        QVERIFY(form.mnuStatusBar->isChecked());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect outer = form.frameGeometry();
        QVERIFY(qAbs(outer.center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(outer.center().y() - screen.center().y()) <= 1);
    }

    void keysWrittenAtExit() {
        Started run;
        mGlyfora::ConversionSettings.X = 3;
        mGlyfora::ConversionSettings.Reverse = true;
        mGlyfora::ConversionSettings.Style = 2;
        mGlyfora::ConversionSettings.Dither = false;
        mGlyfora::OpenDirectory = QStringLiteral("/srv/pics");
        run.form->move(30, 45);
        run.Unload();
        QCOMPARE(Stored("Conversion", QStringLiteral("X")), QStringLiteral("3"));
        QCOMPARE(Stored("Conversion", QStringLiteral("Y")), QStringLiteral("1"));
        QCOMPARE(Stored("Conversion", QStringLiteral("Reverse")), QStringLiteral("True"));
        QCOMPARE(Stored("Conversion", QStringLiteral("Style")), QStringLiteral("2"));
        QCOMPARE(Stored("Conversion", QStringLiteral("Luminance")), QStringLiteral("False"));
        QCOMPARE(Stored("Conversion", QStringLiteral("Dither")), QStringLiteral("False"));
        QCOMPARE(Stored("Conversion", QStringLiteral("Charactor")),
                 QStringLiteral(" .,:;!IU0OQRB&%@"));
        QCOMPARE(Stored("HTML", QStringLiteral("After")),
                 QStringLiteral("</PRE></FONT>\r\n</BODY></HTML>"));
        QCOMPARE(Stored("Open", QStringLiteral("Directory")), QStringLiteral("/srv/pics"));
        QCOMPARE(Stored("Recent Files", QStringLiteral("Max")), QStringLiteral("4"));
        QCOMPARE(Stored("Window", QStringLiteral("Left")), QStringLiteral("450"));
        QCOMPARE(Stored("Window", QStringLiteral("Top")), QStringLiteral("675"));
        QCOMPARE(Stored("Window", QStringLiteral("ToolBar")), QStringLiteral("True"));
        QCOMPARE(Stored("Window", QStringLiteral("StatusBar")), QStringLiteral("True"));
    }

    void storedGeometryAndBarsRestored() {
        platform::SettingsStore store;
        store.Write(QStringLiteral("Window"), QStringLiteral("Left"), QStringLiteral("1500"));
        store.Write(QStringLiteral("Window"), QStringLiteral("Top"), QStringLiteral("300"));
        store.Write(QStringLiteral("Window"), QStringLiteral("Width"), QStringLiteral("9000"));
        store.Write(QStringLiteral("Window"), QStringLiteral("Height"), QStringLiteral("7500"));
        store.Write(QStringLiteral("Window"), QStringLiteral("ToolBar"), QStringLiteral("False"));
        store.Sync();
        Started run;
        QCOMPARE(run.form->frameGeometry(), QRect(100, 20, 600, 500));
        QVERIFY(!run.form->mnuToolBar->isChecked());
        QVERIFY(!run.form->tbrToolbar->isVisibleTo(run.form.get()));
    }

    void maximisedExitKeepsStoredGeometry() {
        platform::SettingsStore store;
        const QStringList keys = {"Left", "Top", "Width", "Height"};
        const QStringList values = {"1500", "300", "9000", "7500"};
        for (int i = 0; i < keys.size(); ++i)
            store.Write(QStringLiteral("Window"), keys[i], values[i]);
        store.Sync();
        Started run;
        // Wherever the window stands now, a maximised window writes none of the four keys.
        run.form->setGeometry(200, 100, 400, 300);
        run.form->showMaximized();
        QVERIFY(run.form->isMaximized());
        run.Unload();
        for (int i = 0; i < keys.size(); ++i)
            QCOMPARE(Stored("Window", keys[i]), values[i]);
        QCOMPARE(Stored("Window", QStringLiteral("ToolBar")), QStringLiteral("True"));
    }

    void normalExitWritesCurrentGeometry() {
        Started run;
        run.form->setGeometry(200, 100, 400, 300);
        run.Unload();
        QCOMPARE(Stored("Window", QStringLiteral("Left")), QStringLiteral("3000"));
        QCOMPARE(Stored("Window", QStringLiteral("Top")), QStringLiteral("1500"));
        QCOMPARE(Stored("Window", QStringLiteral("Width")), QStringLiteral("6000"));
        QCOMPARE(Stored("Window", QStringLiteral("Height")), QStringLiteral("4500"));
    }

    void foldersWrittenFromTheirOwnValues() {
        Started run;
        mGlyfora::OpenDirectory = QStringLiteral("/srv/opened");
        mGlyfora::SaveDirectory = QStringLiteral("/srv/saved");
        run.Unload();
        QCOMPARE(Stored("Open", QStringLiteral("Directory")), QStringLiteral("/srv/opened"));
        QCOMPARE(Stored("Save", QStringLiteral("Directory")), QStringLiteral("/srv/saved"));
    }

    // A size the screen cannot hold, or no size at all (the window would shrink to a
    // sliver), opens at the design size.
    void unusableStoredSizeOpensAtDesignSize_data() {
        QTest::addColumn<QString>("extent");
        QTest::addColumn<bool>("fitted"); // centred on the available area, not by default
        QTest::newRow("huge") << "99999999" << true;
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("negative") << "-300" << false;
    }
    void unusableStoredSizeOpensAtDesignSize() {
        QFETCH(QString, extent);
        QFETCH(bool, fitted);
        QRect firstRun;
        {
            Started first; // empty store: the design size, placed by default
            firstRun = first.form->frameGeometry();
        }
        const QSize design = firstRun.size();
        platform::SettingsStore store;
        store.Write(QStringLiteral("Window"), QStringLiteral("Width"), extent);
        store.Write(QStringLiteral("Window"), QStringLiteral("Height"), extent);
        store.Sync();
        Started run;
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect outer = run.form->frameGeometry();
        QCOMPARE(outer.size(), design);
        if (fitted) {
            // Centred in whole twips (15 a pixel), halves to even, then back to pixels.
            const auto centred = [](int start, int room) {
                return int(std::nearbyint(start + std::nearbyint(room * 15 / 2.0) / 15));
            };
            QCOMPARE(outer.left(), centred(area.left(), area.width() - design.width()));
            QCOMPARE(outer.top(), centred(area.top(), area.height() - design.height()));
        } else {
            QCOMPARE(outer, firstRun);
        }
        run.Unload();
        QCOMPARE(Stored("Window", QStringLiteral("Width")), QString::number(design.width() * 15));
        QCOMPARE(Stored("Window", QStringLiteral("Height")), QString::number(design.height() * 15));
    }

    void recentKeysWrittenOrDeleted_data() {
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("kept");
        QTest::newRow("max 0 deletes all twenty") << 0 << 0;
        QTest::newRow("max 2 keeps two") << 2 << 2;
        QTest::newRow("max 20 keeps all") << 20 << 20;
    }
    void recentKeysWrittenOrDeleted() {
        QFETCH(int, max);
        QFETCH(int, kept);
        {
            platform::SettingsStore store;
            for (int i = 1; i <= 20; ++i)
                store.Write(QStringLiteral("Recent Files"), QStringLiteral("File%1").arg(i),
                            QStringLiteral("/p/%1.gif").arg(i));
            store.Write(QStringLiteral("Recent Files"), QStringLiteral("Max"),
                        QString::number(max));
            store.Sync();
        }
        Started run;
        QCOMPARE(VisibleTexts(run.form->mnuFile->actions()).size(), 3 + kept + (kept ? 1 : 0));
        run.Unload();
        for (int i = 1; i <= 20; ++i) {
            const QString value = Stored("Recent Files", QStringLiteral("File%1").arg(i));
            QCOMPARE(value,
                     i <= kept ? QStringLiteral("/p/%1.gif").arg(i) : QStringLiteral("<absent>"));
        }
    }

    void garbageSettingsStartWithDefaults() {
        {
            platform::SettingsStore store;
            for (const char* key : {"X", "Y", "Reverse", "Style", "Luminance", "Dither"})
                store.Write(QStringLiteral("Conversion"), QLatin1String(key),
                            QStringLiteral("abc"));
            store.Write(QStringLiteral("Conversion"), QStringLiteral("Charactor"), QString());
            store.Write(QStringLiteral("Recent Files"), QStringLiteral("Max"),
                        QStringLiteral("99"));
            for (const char* key : {"Left", "Top", "Width", "Height", "ToolBar", "StatusBar"})
                store.Write(QStringLiteral("Window"), QLatin1String(key), QStringLiteral("1e999"));
            store.Sync();
        }
        Started run;
        const auto& cs = mGlyfora::ConversionSettings;
        QCOMPARE(cs.X, quint8(1));
        QCOMPARE(cs.Y, quint8(1));
        QCOMPARE(cs.Reverse, false);
        QCOMPARE(cs.Style, quint8(0));
        QCOMPARE(cs.Luminance, false);
        QCOMPARE(cs.Dither, true);
        QCOMPARE(cs.Charactor, QStringLiteral(" .,:;!IU0OQRB&%@"));
        QCOMPARE(mGlyfora::RecentFilesMax, qint16(4));
        QVERIFY(run.form->mnuToolBar->isChecked());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY(screen.contains(run.form->frameGeometry().center()));
    }

    void binaryGarbageSettingsFileStarts() {
        const QString path = testsupport::SettingsFilePath();
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk.append(char((i * 7919) & 0xFF));
        QVERIFY(testsupport::WriteFile(path, junk));
        Started run(picture640_);
        QVERIFY(run.form->picView->isVisibleTo(run.form.get()));
        QCOMPARE(mGlyfora::ConversionSettings.X, quint8(1));
        run.Unload();
        QCOMPARE(Stored("Recent Files", QStringLiteral("File1")), picture640_);
    }

    void unwritableSettingsReported() {
        const QString path = testsupport::SettingsFilePath();
        QFile::remove(path);
        QVERIFY(QDir().mkpath(path)); // a folder where the file should be
        Started run;
        run.Unload();
        QVERIFY(QDir().rmdir(path));
        QCOMPARE(run.dialogs.messages.size(), 1);
        QCOMPARE(run.dialogs.messages[0].text,
                 QStringLiteral("設定を保存できませんでした。\n") + path);
    }
};

GLYFORA_TEST_MAIN(TestSettings)
#include "tst_settings.moc"

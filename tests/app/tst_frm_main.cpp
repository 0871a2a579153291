// The main window's picture states: a picture loaded and shown, a failed load after a good
// one, the open dialog's request and folder, drops, and the toolbar and status bar toggles.
#include "app/Main.h"
#include "app/frmMain.h"
#include "app/mGlyfora.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StartedWindow.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"

#include <QMimeData>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QUrl>

using testsupport::ScriptedDialogs;
using testsupport::Stored;
using namespace apptest;

class TestFrmMain : public MainWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void loadShowsPicture() {
        Started run(picture640_);
        frmMain& form = *run.form;
        QVERIFY(run.dialogs.messages.isEmpty());
        QVERIFY(form.picView->isVisibleTo(&form));
        QCOMPARE(form.picView->size(), QSize(640, 480));
        QCOMPARE(form.picSave.ScaleWidth(), 640);
        QCOMPARE(form.picSave.Point(639, 479), form.picView->Surface().Point(639, 479));
        QCOMPARE(form.windowTitle(), picture640_ + QStringLiteral(" - glyfora"));
        VerifyPictureCommands(form, true);
        QCOMPARE(mGlyfora::ImageBaseName, QStringLiteral("p640"));
        QCOMPARE(mGlyfora::RecentFilesList[0], picture640_);
        QCOMPARE(form.mnuRecent[0]->text(), QStringLiteral("&1 ") + picture640_);
        QVERIFY(form.mnuRecent[0]->isVisible());
    }

    void failedLoadAfterGoodReturnsToNoPicture() {
        Started run(picture640_);
        const QString junk = dir_.filePath(QStringLiteral("junk.gif"));
        QVERIFY(testsupport::WriteFile(junk, "GIF89a but not really"));
        run.form->LoadImageFile(junk);
        QCOMPARE(run.dialogs.messages.size(), 1);
        QCOMPARE(run.dialogs.messages[0].icon, platform::MsgIcon::Critical);
        QVERIFY(!run.dialogs.messages[0].text.isEmpty());
        VerifyNoPictureState(*run.form);
        QCOMPARE(mGlyfora::RecentFilesList[0], picture640_);
        QCOMPARE(mGlyfora::RecentFilesList[1], QString());
        // The window stays usable: a good picture loads again.
        run.form->LoadImageFile(picture640_);
        QVERIFY(run.form->picView->isVisibleTo(run.form.get()));
    }

    void openDialogRequestAndFolder() {
        Started run;
        const QString chosen = Picture(QStringLiteral("chosen.bmp"), 3, 2);
        mGlyfora::OpenDirectory = QStringLiteral("/start");
        run.dialogs.fileAnswers << std::nullopt << ScriptedDialogs::Chosen(chosen, 4);
        run.form->mnuFileOpen_Click(); // cancelled
        QCOMPARE(mGlyfora::OpenDirectory, QStringLiteral("/start"));
        QVERIFY(!run.form->picView->isVisibleTo(run.form.get()));
        run.form->mnuFileOpen_Click();
        const platform::FileDialogRequest& request = run.dialogs.openRequests.at(0);
        QCOMPARE(request.DialogTitle, QStringLiteral("ファイルを開く"));
        QCOMPARE(request.InitDir, QStringLiteral("/start"));
        QCOMPARE(request.FilterIndex, 4);
        QCOMPARE(request.Flags, 0x1004u);
        QVERIFY(request.Filter.endsWith(QStringLiteral("|All Files|*.*")));
        QCOMPARE(mGlyfora::OpenDirectory, dir_.path());
        QCOMPARE(run.form->picView->size(), QSize(3, 2));
        QVERIFY(run.dialogs.messages.isEmpty());
    }

    void drops_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("loads");
        QTest::newRow("three files load the first") << "files" << true;
        QTest::newRow("text") << "text" << false;
        QTest::newRow("picture without a file list") << "image" << false;
        QTest::newRow("remote address") << "remote" << false;
    }
    void drops() {
        QFETCH(QString, kind);
        QFETCH(bool, loads);
        const QString first = Picture(QStringLiteral("first.bmp"), 5, 5);
        const QString second = Picture(QStringLiteral("second.bmp"), 6, 6);
        QMimeData data;
        if (kind == QLatin1String("files"))
            data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second),
                          QUrl::fromLocalFile(second)});
        else if (kind == QLatin1String("text"))
            data.setText(first);
        else if (kind == QLatin1String("image"))
            data.setImageData(testsupport::GradientImage(4, 4));
        else
            data.setUrls({QUrl(QStringLiteral("https://example.invalid/a.gif"))});
        Started run;
        run.form->Form_OLEDragDrop(&data);
        QCOMPARE(run.form->picView->isVisibleTo(run.form.get()), loads);
        if (loads)
            QCOMPARE(run.form->picView->size(), QSize(5, 5));
        QVERIFY(run.dialogs.messages.isEmpty());
    }

    void toolbarAndStatusBarToggles_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("otherKey");
        QTest::newRow("toolbar") << "mnuToolBar"
                                 << "ToolBar"
                                 << "StatusBar";
        QTest::newRow("status bar") << "mnuStatusBar"
                                    << "StatusBar"
                                    << "ToolBar";
    }
    void toolbarAndStatusBarToggles() {
        QFETCH(QString, item);
        QFETCH(QString, key);
        QFETCH(QString, otherKey);
        Started run(picture640_);
        frmMain& form = *run.form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QAction* toggle = Control(form, item);
        QWidget* bar = item == QLatin1String("mnuToolBar") ? static_cast<QWidget*>(form.tbrToolbar)
                                                           : form.sbrUnder;
        QWidget* other =
            bar == form.tbrToolbar ? static_cast<QWidget*>(form.sbrUnder) : form.tbrToolbar;
        const QRect viewport = form.picBase->geometry();
        toggle->trigger();
        QVERIFY(!toggle->isChecked());
        QVERIFY(!bar->isVisible());
        QVERIFY(other->isVisible());
        // The viewport takes the bar's room at once, and its scroll bars follow.
        QCOMPARE(form.picBase->height(), viewport.height() + bar->height());
        QVERIFY(form.hsbView->isVisible());
        QCOMPARE(form.vsbView->height(),
                 form.picBase->contentsRect().height() - form.hsbView->height());
        toggle->trigger();
        QVERIFY(toggle->isChecked());
        QVERIFY(bar->isVisible());
        QCOMPARE(form.picBase->geometry(), viewport);
        toggle->trigger();
        run.Unload();
        QCOMPARE(Stored("Window", key), QStringLiteral("False"));
        QCOMPARE(Stored("Window", otherKey), QStringLiteral("True"));
    }
};

GLYFORA_TEST_MAIN(TestFrmMain)
#include "tst_frm_main.moc"

// The main window as the app tests start it: a folder of test pictures, a 640 x 480 one
// among them, and the checks of the picture-loaded and no-picture states.
#pragma once

#include "app/Main.h"
#include "app/frmMain.h"
#include "tests/support/StartedWindow.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPictures.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QStatusBar>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace apptest {

inline QAction* Control(const QObject& form, const QString& name) {
    return form.findChild<QAction*>(name);
}

// Each test class of the app derives from it: the application prepared and the pictures
// made once, the process values reset before each test.
class MainWindowFixture : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        mGlyfora::PrepareApplication(*qApp);
        picture640_ = Picture(QStringLiteral("p640.bmp"), 640, 480);
    }
    void init() { testsupport::ResetProcessValues(); }

protected:
    QTemporaryDir dir_;
    QString picture640_;

    using Started = testsupport::StartedWindow;

    QString Picture(const QString& name, int w, int h) {
        return testsupport::WritePicture(testsupport::GradientImage(w, h), dir_.filePath(name),
                                         "bmp");
    }

    // The menus, items and toolbar buttons of the picture-loaded or no-picture state,
    // reached by their names.
    static void VerifyPictureCommands(const frmMain& form, bool loaded) {
        for (const char* menu : {"mnuImage", "mnuRun"})
            QVERIFY2(Control(form, QLatin1String(menu))->isVisible() == loaded, menu);
        for (const char* item :
             {"mnuCopy", "mnuResize", "mnuRevolving", "mnuTextConversion", "mnuHTMLConversion"})
            QVERIFY2(Control(form, QLatin1String(item))->isEnabled() == loaded, item);
        QVERIFY(!Control(form, QStringLiteral("mnuNormalView"))->isEnabled());
        for (const char* item : {"mnuFileOpen", "mnuExit", "mnuToolBar", "mnuStatusBar"})
            QVERIFY2(Control(form, QLatin1String(item))->isEnabled(), item);
        for (int button : {4, 7, 9, 10}) {
            const QAction* b = Control(form, QStringLiteral("tbrButtons(%1)").arg(button));
            QVERIFY2(b && b->isEnabled() == loaded, qPrintable(QString::number(button)));
        }
        QVERIFY(Control(form, QStringLiteral("tbrButtons(2)"))->isEnabled());
        QStringList bar;
        for (const QAction* menu : form.menuBar()->actions()) {
            if (menu->isVisible())
                bar << menu->text();
        }
        QCOMPARE(bar, loaded ? QStringList({"ファイル(&F)", "編集(&E)", "イメージ(&I)", "実行(&R)",
                                            "オプション(&O)", "ウィンドウ(&W)", "ヘルプ(&H)"})
                             : QStringList({"ファイル(&F)", "編集(&E)", "オプション(&O)",
                                            "ウィンドウ(&W)", "ヘルプ(&H)"}));
    }

    static void VerifyNoPictureState(frmMain& form) {
        QVERIFY(!form.picView->isVisibleTo(&form));
        VerifyPictureCommands(form, false);
        QCOMPARE(form.windowTitle(), QStringLiteral("glyfora"));
        QCOMPARE(form.StatusText(), QString());
    }
};

} // namespace apptest

// Start-up, shutdown, settings, picture loading and the main window's picture states.
#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "app/ImageInfo.h"
#include "app/Main.h"
#include "app/Settings.h"
#include "app/frmMain.h"
#include "app/frmMainTexts.h"
#include "app/mGlyfora.h"
#include "convert/ConversionSettings.h"
#include "convert/ConversionState.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "platform/SettingsTable.h"
#include "platform/WindowGeometry.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StartedWindow.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <cmath>
#include <cstring>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using testsupport::ScriptedDialogs;
using testsupport::Stored;

namespace {
QStringList VisibleTexts(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* a : actions) {
        if (a->isVisible())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return texts;
}

QAction* Control(const QObject& form, const QString& name) {
    return form.findChild<QAction*>(name);
}

// A Unix socket listening at this address (a leading NUL: abstract); -1 on failure.
int Listen(const QByteArray& address) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, address.constData(), address.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const socklen_t length = offsetof(sockaddr_un, sun_path) + address.size();
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), length) != 0 || ::listen(fd, 1) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

class TestApp : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    QString picture640_;
    // Listening till the process ends: "wayland-0" in dir_, an X display's abstract socket.
    int wayland_ = -1;
    int x11_ = -1;

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

private Q_SLOTS:
    void initTestCase() {
        mGlyfora::PrepareApplication(*qApp);
        picture640_ = Picture(QStringLiteral("p640.bmp"), 640, 480);
        wayland_ = Listen(QFile::encodeName(dir_.filePath(QStringLiteral("wayland-0"))));
        ::close(Listen(QFile::encodeName(dir_.filePath(QStringLiteral("stale")))));
        x11_ = Listen(QByteArray(1, '\0') + "/tmp/.X11-unix/X" +
                      QByteArray::number(1000000 + ::getpid()));
    }

    void init() { testsupport::ResetProcessValues(); }

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

    void statusTexts_data() {
        QTest::addColumn<double>("w");
        QTest::addColumn<double>("h");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QString>("text");
        QTest::newRow("640x480 cell 1")
            << 640.0 << 480.0 << 1 << 1 << "Image: 640 x 480 -> 300 KByte";
        QTest::newRow("640x480 cell 2")
            << 640.0 << 480.0 << 2 << 2 << "Image: 640 x 480 -> 75 KByte";
        QTest::newRow("100x100") << 100.0 << 100.0 << 1 << 1 << "Image: 100 x 100 -> 10 KByte";
        QTest::newRow("50x20 selection") << 50.0 << 20.0 << 1 << 1 << "Image: 50 x 20 -> 1 KByte";
        // (1000 div 1) x (3000 div 3) = 1000000 cells; swapped cells would give 999000.
        QTest::newRow("wide cells")
            << 3000.0 << 1000.0 << 3 << 1 << "Image: 3000 x 1000 -> 977 KByte";
        // (1000 div 3) x (3000 div 1) = 999000 cells.
        QTest::newRow("tall cells")
            << 3000.0 << 1000.0 << 1 << 3 << "Image: 3000 x 1000 -> 976 KByte";
        QTest::newRow("beyond 16 bits")
            << 70000.0 << 70000.0 << 1 << 1 << "Image: 70000 x 70000 -> 4785156 KByte";
        QTest::newRow("half rounds to even") << 2.5 << 3.5 << 1 << 1 << "Image: 2 x 4 -> 0 KByte";
    }
    void statusTexts() {
        QFETCH(double, w);
        QFETCH(double, h);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QString, text);
        QCOMPARE(mGlyfora::ImageInfoText(w, h, x, y), text);
    }

    void statusTextWithWideCells() {
        const QString wide = testsupport::WritePicture(
            testsupport::GradientImage(3000, 1000), dir_.filePath(QStringLiteral("w.png")), "png");
        Started run;
        mGlyfora::ConversionSettings.X = 3; // as the options dialog would leave them
        mGlyfora::ConversionSettings.Y = 1;
        run.form->LoadImageFile(wide);
        QCOMPARE(run.form->StatusText(), QStringLiteral("Image: 3000 x 1000 -> 977 KByte"));
    }

    void statusTextOfLoadedPictureAndSelection() {
        Started run(picture640_);
        QCOMPARE(run.form->StatusText(), QStringLiteral("Image: 640 x 480 -> 300 KByte"));
        run.form->shpCut->SetRect(10, 10, 50, 20);
        run.form->shpCut->show();
        run.form->ShowImageInfo();
        QCOMPARE(run.form->StatusText(), QStringLiteral("Image: 50 x 20 -> 1 KByte"));
    }

    void baseNames_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two dots") << "/x/archive.tar.gif"
                                  << "archive.tar";
        QTest::newRow("no dot keeps previous") << "/x/README"
                                               << "previous";
        QTest::newRow("no folder keeps previous") << "cat.gif"
                                                  << "previous";
        QTest::newRow("dot in folder only") << "/x.y/README"
                                            << "previous";
    }
    void baseNames() {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(mGlyfora::NextImageBaseName(path, QStringLiteral("previous")), expected);
    }

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

    // NAME=VALUE pairs and arguments; $R is a folder with a listening "wayland-0" and a
    // "stale" socket nobody listens on, $X a local X display that listens, $N one that does not.
    void displayAvailable_data() {
        QTest::addColumn<QString>("env");
        QTest::addColumn<QString>("args");
        QTest::addColumn<bool>("available");
        QTest::newRow("nothing") << ""
                                 << "" << false;
        QTest::newRow("platform chosen") << "QT_QPA_PLATFORM=offscreen"
                                         << "" << true;
        QTest::newRow("--platform") << ""
                                    << "--platform offscreen" << true;
        QTest::newRow("Wayland") << "XDG_RUNTIME_DIR=$R WAYLAND_DISPLAY=wayland-0"
                                 << "" << true;
        QTest::newRow("Wayland stale") << "XDG_RUNTIME_DIR=$R WAYLAND_DISPLAY=stale"
                                       << "" << false;
        QTest::newRow("Wayland, absolute path") << "WAYLAND_DISPLAY=$R/wayland-0"
                                                << "" << true;
        QTest::newRow("Wayland, absolute path, stale") << "WAYLAND_DISPLAY=$R/stale"
                                                       << "" << false;
        QTest::newRow("Wayland connection inherited") << "WAYLAND_SOCKET=3"
                                                      << "" << true;
        QTest::newRow("X") << "DISPLAY=:$X.0"
                           << "" << true;
        QTest::newRow("X, no server") << "DISPLAY=unix:$N"
                                      << "" << false;
        QTest::newRow("X elsewhere") << "DISPLAY=otherhost:0"
                                     << "" << true;
        QTest::newRow("-display") << "DISPLAY=otherhost:0"
                                  << "-display :$N" << false;
    }

    void displayAvailable() {
        QFETCH(QString, env);
        QFETCH(QString, args);
        QFETCH(bool, available);
        QVERIFY(wayland_ >= 0 && x11_ >= 0);
        const auto words = [&](QString text) {
            text.replace("$R", dir_.path()).replace("$X", QString::number(1000000 + ::getpid()));
            return text.replace("$N", QString::number(5000000 + ::getpid())).split(u' ');
        };
        QHash<QByteArray, QByteArray> variables;
        for (const QString& pair : words(env))
            variables.insert(pair.section(u'=', 0, 0).toUtf8(), pair.section(u'=', 1).toUtf8());
        QList<QByteArray> argv{"glyfora"};
        for (const QString& word : words(args))
            argv << word.toUtf8();
        std::vector<const char*> pointers;
        for (const QByteArray& word : argv)
            pointers.push_back(word.constData());
        const auto read = [&](const char* name) { return variables.value(name); };
        QCOMPARE(mGlyfora::DisplayAvailable(read, int(pointers.size()), pointers.data()),
                 available);
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

GLYFORA_TEST_MAIN(TestApp)
#include "tst_app.moc"

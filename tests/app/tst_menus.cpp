// The main window's command surface: menu tree, captions and shortcuts, toolbar, the
// enabling of items and buttons, the clipboard's paste states, the right-click File menu
// and the recent-files list and its menu.
#include "app/Main.h"
#include "app/RecentFiles.h"
#include "app/frmMain.h"
#include "app/mGlyfora.h"
#include "convert/ConversionSettings.h"
#include "platform/SettingsStore.h"
#include "tests/support/ControlList.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StartedWindow.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPictures.h"

#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

namespace {
using Started = testsupport::StartedWindow;

QAction* Control(const QObject& form, const QString& name) {
    return form.findChild<QAction*>(name);
}

QAction* Button(const QObject& form, int index) {
    return Control(form, QStringLiteral("tbrButtons(%1)").arg(index));
}

QStringList VisibleBar(const frmMain& form) {
    QStringList bar;
    for (const QAction* menu : form.menuBar()->actions()) {
        if (menu->isVisible())
            bar << menu->text();
    }
    return bar;
}

QString Stored(const QString& key) {
    return testsupport::Stored(QStringLiteral("Recent Files"), key);
}

void SetClipboard(const QString& kind) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (kind == QLatin1String("image")) {
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(Qt::red);
        clipboard->setImage(image);
    } else if (kind == QLatin1String("text")) {
        clipboard->setText(QStringLiteral("not a picture"));
    } else {
        clipboard->clear();
    }
}
} // namespace

class TestMenus : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;

    QString Picture(const QString& name) {
        return testsupport::WritePicture(testsupport::GradientImage(40, 30),
                                         dir_.filePath(name + QStringLiteral(".bmp")), "bmp");
    }
    QString BadPicture() {
        QFile file(dir_.filePath(QStringLiteral("bad.bmp")));
        if (file.open(QIODevice::WriteOnly))
            file.write("not a picture");
        return file.fileName();
    }
    // Stores the recent list a previous run would have left, File1 onwards.
    static void StoreRecent(const QStringList& paths, int max) {
        platform::SettingsStore store;
        store.Write(QStringLiteral("Recent Files"), QStringLiteral("Max"), QString::number(max));
        for (int i = 0; i < paths.size(); ++i)
            store.Write(QStringLiteral("Recent Files"), QStringLiteral("File%1").arg(i + 1),
                        paths[i]);
        store.Sync();
    }
    // The recent items shown, as their captions.
    static QStringList RecentCaptions(const frmMain& form) {
        QStringList captions;
        for (const QAction* item : form.mnuFile->actions()) {
            if (item->isVisible() && item->objectName().startsWith(QLatin1String("mnuRecent(")))
                captions << item->text();
        }
        return captions;
    }
    static bool RecentSeparatorShown(const frmMain& form) {
        return Control(form, QStringLiteral("mnuBarRecent"))->isVisible();
    }

private Q_SLOTS:
    void initTestCase() { mGlyfora::PrepareApplication(*qApp); }

    void init() {
        testsupport::ResetProcessValues();
        SetClipboard(QStringLiteral("none"));
    }

    void menuBarBeforeAndAfterLoads() {
        const QStringList without = {"ファイル(&F)", "編集(&E)", "オプション(&O)", "ウィンドウ(&W)",
                                     "ヘルプ(&H)"};
        const QStringList with = {"ファイル(&F)",   "編集(&E)",       "イメージ(&I)", "実行(&R)",
                                  "オプション(&O)", "ウィンドウ(&W)", "ヘルプ(&H)"};
        Started run;
        QCOMPARE(VisibleBar(*run.form), without);
        run.form->LoadImageFile(Picture(QStringLiteral("p")));
        QCOMPARE(VisibleBar(*run.form), with);
        run.form->LoadImageFile(BadPicture());
        QCOMPARE(VisibleBar(*run.form), without);
    }

    // The window's controls at start: no picture, nothing on the clipboard.
    void controls() {
        Started run;
        COMPARE_CONTROLS(*run.form, R"list(
frmMain "glyfora"
  picBase
    picView hidden
      shpCut hidden
    hsbView hidden
    vsbView hidden
    picBaseBorder
    picScollBar hidden
  mnuFile "ファイル(&F)"
    mnuFileOpen "ファイルを開く(&O)..." key=Ctrl+O
    mnuBar1 separator
    mnuRecent(0) index=0 hidden
    mnuRecent(1) index=1 hidden
    mnuRecent(2) index=2 hidden
    mnuRecent(3) index=3 hidden
    mnuRecent(4) index=4 hidden
    mnuRecent(5) index=5 hidden
    mnuRecent(6) index=6 hidden
    mnuRecent(7) index=7 hidden
    mnuRecent(8) index=8 hidden
    mnuRecent(9) index=9 hidden
    mnuRecent(10) index=10 hidden
    mnuRecent(11) index=11 hidden
    mnuRecent(12) index=12 hidden
    mnuRecent(13) index=13 hidden
    mnuRecent(14) index=14 hidden
    mnuRecent(15) index=15 hidden
    mnuRecent(16) index=16 hidden
    mnuRecent(17) index=17 hidden
    mnuRecent(18) index=18 hidden
    mnuRecent(19) index=19 hidden
    mnuBarRecent separator hidden
    mnuExit "終了(&X)"
  mnuEdit "編集(&E)"
    mnuCopy "コピー(&C)" key=Ctrl+C disabled
    mnuPaste "貼り付け(&P)" key=Ctrl+V
  mnuImage "イメージ(&I)" hidden
    mnuNormalView "元に戻す(&N)" disabled
    mnuResize "サイズ変更(&S)..." key=Ctrl+S disabled
    mnuBar2 separator
    mnuRevolving "画像回転(&E)" disabled
      mnuAngle(0) "180°(&1)" index=0
      mnuAngle(1) "90°（時計回り）(&9)" index=1
      mnuAngle(2) "90°（反時計回り）(&0)" index=2
      mnuAngleIn "角度入力(&A)..."
      mnuBar3 separator
      mnuMirrorH "水平方向に反転(&H)"
      mnuMirrorV "垂直方向に反転(&V)"
    mnuBar separator
    mnuColor "色調補正(&C)..."
  mnuRun "実行(&R)" hidden
    mnuTextConversion "テキスト変換(&T)..." key=Ctrl+T disabled
    mnuBar4 separator
    mnuHTMLConversion "HTML 変換(&H)..." key=Ctrl+H disabled
  mnuOptions "オプション(&O)"
    mnuToolBar "ツール バー(&B)" checkable checked
    mnuStatusBar "ステータス バー(&S)" checkable checked
    mnuBar5 separator
    mnuOption "オプション(&O)..."
  mnuWindow "ウィンドウ(&W)"
    mnuShowText "変換ウィンドウ(&C)..." key=Ctrl+W
  mnuHelp "ヘルプ(&H)"
    mnuHelpTopics "トピック(&T)..."
    mnuBar6 separator
    mnuAbout "バージョン情報(&A)..."
  tbrToolbar icons=16x16
    tbrButtons(1) index=1
    tbrButtons(2) tip="ファイルを開く" index=2 icon
    tbrButtons(3) index=3 separator
    tbrButtons(4) tip="コピー" index=4 icon disabled
    tbrButtons(5) tip="貼り付け" index=5 icon disabled
    tbrButtons(6) index=6 separator
    tbrButtons(7) tip="サイズ変更" index=7 icon disabled
    tbrButtons(8) index=8 separator
    tbrButtons(9) tip="テキスト変換" index=9 icon disabled
    tbrButtons(10) tip="HTML変換" index=10 icon disabled
    tbrButtons(11) index=11 separator
    tbrButtons(12) tip="オプション" index=12 icon
)list");
        // The control arrays hold those items; with no picture the angle items say nothing.
        for (int i = 0; i < 20; ++i)
            QCOMPARE(run.form->mnuRecent[i]->objectName(), QStringLiteral("mnuRecent(%1)").arg(i));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(run.form->mnuAngle[i]->objectName(), QStringLiteral("mnuAngle(%1)").arg(i));
            run.form->mnuAngle[i]->trigger();
        }
        QVERIFY(run.dialogs.messages.isEmpty());
    }

    // Each button's picture is drawn, not blank, at the toolbar's size and at twice it.
    void toolbarPictures() {
        Started run;
        for (const QAction* button : run.form->tbrToolbar->actions()) {
            for (int size : {16, 32}) {
                if (button->icon().isNull())
                    continue;
                const QImage picture = button->icon().pixmap(size, size).toImage();
                QCOMPARE(picture.size(), QSize(size, size));
                int opaque = 0;
                for (int y = 0; y < size; ++y) {
                    for (int x = 0; x < size; ++x)
                        opaque += qAlpha(picture.pixel(x, y)) > 128;
                }
                QVERIFY2(opaque >= size * size / 8, qPrintable(button->objectName()));
            }
        }
    }

    void toolbarGapsDoNothing_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("openDialogs");
        QTest::newRow("gap 1") << 1 << 0;
        QTest::newRow("open 2") << 2 << 1;
        for (int index : {3, 6, 8, 11})
            QTest::addRow("separator %d", index) << index << 0;
    }
    void toolbarGapsDoNothing() {
        QFETCH(int, index);
        QFETCH(int, openDialogs);
        Started run;
        run.form->tbrToolbar_ButtonClick(index);
        QCOMPARE(run.dialogs.openRequests.size(), openDialogs);
        QVERIFY(run.dialogs.messages.isEmpty());
    }

    // Item and button states at start, after a good load and after a failed one, with an
    // image on the clipboard (button 5 follows it) or text (it does not).
    void enablingTable_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("loads"); // "", "good", "good,bad"
        QTest::addColumn<bool>("picture");
        QTest::newRow("start, image") << "image"
                                      << "" << false;
        QTest::newRow("start, text") << "text"
                                     << "" << false;
        QTest::newRow("loaded, text") << "text"
                                      << "good" << true;
        QTest::newRow("loaded, image") << "image"
                                       << "good" << true;
        QTest::newRow("failed after good, image") << "image"
                                                  << "good,bad" << false;
    }
    void enablingTable() {
        QFETCH(QString, clipboard);
        QFETCH(QString, loads);
        QFETCH(bool, picture);
        SetClipboard(clipboard);
        Started run;
        frmMain& form = *run.form;
        for (const QString& load : loads.split(u',', Qt::SkipEmptyParts))
            form.LoadImageFile(load == QLatin1String("good") ? Picture(QStringLiteral("p"))
                                                             : BadPicture());
        const auto enabled = [&](const char* name) {
            return Control(form, QLatin1String(name))->isEnabled();
        };
        for (const char* item :
             {"mnuCopy", "mnuResize", "mnuRevolving", "mnuTextConversion", "mnuHTMLConversion"})
            QVERIFY2(enabled(item) == picture, item);
        QVERIFY(!enabled("mnuNormalView"));
        // The paste item keeps its start state whatever the clipboard holds, until the
        // Edit menu is opened.
        QVERIFY(enabled("mnuPaste"));
        for (int index : {4, 7, 9, 10})
            QVERIFY2(Button(form, index)->isEnabled() == picture,
                     qPrintable(QString::number(index)));
        QCOMPARE(Button(form, 5)->isEnabled(), clipboard == QLatin1String("image"));
        QVERIFY(Button(form, 2)->isEnabled());
        QVERIFY(Button(form, 12)->isEnabled());
    }

    void editMenuOpening_data() {
        QTest::addColumn<bool>("picture");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("no picture, empty clipboard") << false << "none";
        QTest::newRow("no picture, image") << false << "image";
        QTest::newRow("picture, text") << true << "text";
        QTest::newRow("picture, image") << true << "image";
    }
    void editMenuOpening() {
        QFETCH(bool, picture);
        QFETCH(QString, clipboard);
        Started run(picture ? Picture(QStringLiteral("p")) : QString());
        frmMain& form = *run.form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        SetClipboard(clipboard);
        form.mnuEdit->popup(form.mapToGlobal(QPoint(10, 10)));
        QCOMPARE(form.mnuCopy->isEnabled(), picture);
        QCOMPARE(form.mnuPaste->isEnabled(), clipboard == QLatin1String("image"));
        form.mnuEdit->hide();
    }

    void pasteButtonFollowsClipboard() {
        Started run;
        QAction* paste = Button(*run.form, 5);
        const QStringList sequence = {"image", "text", "image", "none"};
        for (const QString& kind : sequence) {
            SetClipboard(kind);
            QCOMPARE(paste->isEnabled(), kind == QLatin1String("image"));
        }
        // The menu item only follows when the Edit menu opens.
        QVERIFY(run.form->mnuPaste->isEnabled());
    }

    void rightClickPopsUpFileMenu_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("pops");
        QTest::newRow("grey viewport, right") << "viewport" << int(Qt::RightButton) << true;
        QTest::newRow("grey viewport, left") << "viewport" << int(Qt::LeftButton) << false;
        QTest::newRow("toolbar gap, right") << "toolbar" << int(Qt::RightButton) << true;
        QTest::newRow("toolbar button, right") << "button" << int(Qt::RightButton) << true;
        QTest::newRow("toolbar, middle") << "toolbar" << int(Qt::MiddleButton) << false;
        QTest::newRow("picture, right") << "picture" << int(Qt::RightButton) << false;
    }
    void rightClickPopsUpFileMenu() {
        QFETCH(QString, where);
        QFETCH(int, button);
        QFETCH(bool, pops);
        Started run(Picture(QStringLiteral("p")));
        frmMain& form = *run.form;
        form.resize(500, 400);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QWidget* target = form.picBase;
        QPoint pos = form.picBase->rect().bottomRight() - QPoint(20, 20); // right of the picture
        if (where == QLatin1String("toolbar")) {
            target = form.tbrToolbar;
            pos = QPoint(form.tbrToolbar->width() - 5, form.tbrToolbar->height() / 2);
        } else if (where == QLatin1String("button")) {
            target = form.tbrToolbar->widgetForAction(Button(form, 2));
            pos = target->rect().center();
        } else if (where == QLatin1String("picture")) {
            target = form.picView;
            pos = QPoint(5, 5);
        }
        if (where == QLatin1String("viewport"))
            QVERIFY(!form.picBase->childAt(pos));
        QTest::mouseClick(target, Qt::MouseButton(button), {}, pos);
        QCOMPARE(form.mnuFile->isVisible(), pops);
        // At the mouse: its top edge there, moved sideways only to stay on the screen.
        if (pops) {
            QCOMPARE(form.mnuFile->geometry().top(), target->mapToGlobal(pos).y());
            QVERIFY(form.mnuFile->geometry().contains(target->mapToGlobal(pos)));
        }
        form.mnuFile->hide();
        QVERIFY(run.dialogs.openRequests.isEmpty());
    }

    // The list after one more opening, with room for four and A, B, C, D in the list.
    void recentOrder_data() {
        QTest::addColumn<int>("max");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QStringList>("expected"); // entries 0 to 4
        QTest::newRow("new") << 4 << "E" << QStringList({"E", "A", "B", "C", "D"});
        QTest::newRow("duplicate moves up") << 4 << "C" << QStringList({"C", "A", "B", "D", ""});
        QTest::newRow("first stays") << 4 << "A" << QStringList({"A", "B", "C", "D", ""});
        QTest::newRow("last shown") << 4 << "D" << QStringList({"D", "A", "B", "C", ""});
        QTest::newRow("case differs") << 4 << "a" << QStringList({"a", "A", "B", "C", "D"});
        // D lies beyond a maximum of 3: not a duplicate, and pushed over by C.
        QTest::newRow("beyond the maximum") << 3 << "D" << QStringList({"D", "A", "B", "C", ""});
        QTest::newRow("max 0") << 0 << "E" << QStringList({"E", "B", "C", "D", ""});
    }
    void recentOrder() {
        QFETCH(int, max);
        QFETCH(QString, opened);
        QFETCH(QStringList, expected);
        std::array<QString, 21> list{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                     QStringLiteral("D")};
        mGlyfora::AddRecentPath(list, max, opened);
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(list[i], expected[i]);
    }

    void recentOverflowGoesToSlot20() {
        std::array<QString, 21> list;
        for (int i = 0; i < 20; ++i)
            list[i] = QString::number(i);
        mGlyfora::AddRecentPath(list, 20, QStringLiteral("new"));
        QCOMPARE(list[0], QStringLiteral("new"));
        QCOMPARE(list[19], QStringLiteral("18"));
        QCOMPARE(list[20], QStringLiteral("19"));
    }

    // Real openings through the window: menu captions, separator and stored keys.
    void recentMenuAfterOpening_data() {
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QStringList>("menu");
        QTest::newRow("E") << "E" << QStringList({"E", "A", "B", "C"});
        QTest::newRow("C from the menu") << "C" << QStringList({"C", "A", "B", "D"});
        QTest::newRow("A") << "A" << QStringList({"A", "B", "C", "D"});
    }
    void recentMenuAfterOpening() {
        QFETCH(QString, opened);
        QFETCH(QStringList, menu);
        QStringList paths;
        for (const char* name : {"A", "B", "C", "D"})
            paths << Picture(QLatin1String(name));
        const QString e = Picture(QStringLiteral("E"));
        StoreRecent(paths, 4);
        Started run;
        frmMain& form = *run.form;
        if (opened == QLatin1String("C"))
            form.mnuRecent[2]->trigger();
        else
            form.LoadImageFile(opened == QLatin1String("E") ? e : paths[0]);
        QVERIFY(run.Shown());
        QStringList expected;
        for (int i = 0; i < menu.size(); ++i)
            expected << QStringLiteral("&%1 ").arg(i + 1) + dir_.filePath(menu[i] + ".bmp");
        QCOMPARE(RecentCaptions(form), expected);
        QVERIFY(RecentSeparatorShown(form));
        run.Unload();
        for (int i = 0; i < 4; ++i)
            QCOMPARE(Stored(QStringLiteral("File%1").arg(i + 1)), dir_.filePath(menu[i] + ".bmp"));
        QCOMPARE(Stored(QStringLiteral("File5")), QStringLiteral("<absent>"));
    }

    void recentMaximumLoweredAndRaised() {
        QStringList paths;
        for (int i = 1; i <= 6; ++i)
            paths << QStringLiteral("/pics/%1.gif").arg(i);
        StoreRecent(paths, 6);
        {
            Started run;
            QCOMPARE(RecentCaptions(*run.form).size(), 6);
            mGlyfora::RecentFilesMax = 2; // as the options dialog leaves it
            run.form->lblOption_Change();
            QCOMPARE(RecentCaptions(*run.form), QStringList({"&1 /pics/1.gif", "&2 /pics/2.gif"}));
            mGlyfora::RecentFilesMax = 6;
            run.form->lblOption_Change();
            QCOMPARE(RecentCaptions(*run.form).size(), 6);
            QCOMPARE(RecentCaptions(*run.form).last(), QStringLiteral("&6 /pics/6.gif"));
            mGlyfora::RecentFilesMax = 2;
            run.form->lblOption_Change();
            run.Unload();
        }
        QCOMPARE(Stored(QStringLiteral("File2")), QStringLiteral("/pics/2.gif"));
        QCOMPARE(Stored(QStringLiteral("File3")), QStringLiteral("<absent>"));
        Started again;
        mGlyfora::RecentFilesMax = 6;
        again.form->lblOption_Change();
        QCOMPARE(RecentCaptions(*again.form), QStringList({"&1 /pics/1.gif", "&2 /pics/2.gif"}));
    }

    void recentMaximumZero() {
        const QString a = Picture(QStringLiteral("A"));
        StoreRecent({a}, 0);
        Started run;
        QVERIFY(RecentCaptions(*run.form).isEmpty());
        run.form->LoadImageFile(Picture(QStringLiteral("B")));
        run.form->LoadImageFile(a);
        QVERIFY(run.Shown());
        QVERIFY(RecentCaptions(*run.form).isEmpty());
        QVERIFY(!RecentSeparatorShown(*run.form));
        run.Unload();
        QCOMPARE(Stored(QStringLiteral("File1")), QStringLiteral("<absent>"));
    }

    void recentPathsAreCaseSensitive() {
        const QString lower = Picture(QStringLiteral("case"));
        const QString upper = Picture(QStringLiteral("CASE"));
        Started run;
        run.form->LoadImageFile(lower);
        run.form->LoadImageFile(upper);
        QCOMPARE(RecentCaptions(*run.form), QStringList({"&1 " + upper, "&2 " + lower}));
    }

    // Captions "&", the number, a space and the path as it is; the access key is the
    // first character after "&".
    void recentCaptions_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::newRow("first") << 0 << "/pics/cat.gif"
                               << "&1 /pics/cat.gif"
                               << "Alt+1";
        QTest::newRow("tenth") << 9 << "/pics/ten.gif"
                               << "&10 /pics/ten.gif"
                               << "Alt+1";
        QTest::newRow("twelfth") << 11 << "/d/b.bmp"
                                 << "&12 /d/b.bmp"
                                 << "Alt+1";
        QTest::newRow("ampersand kept single") << 1 << "/R&D/x.gif"
                                               << "&2 /R&D/x.gif"
                                               << "Alt+2";
    }
    void recentCaptions() {
        QFETCH(int, entry);
        QFETCH(QString, path);
        QFETCH(QString, caption);
        QFETCH(QString, key);
        QStringList stored(entry + 1, QStringLiteral("/pics/other.gif"));
        stored[entry] = path;
        StoreRecent(stored, 20);
        Started run;
        const QAction* item = run.form->mnuRecent[entry];
        QVERIFY(item->isVisible());
        QCOMPARE(item->text(), caption);
        QCOMPARE(QKeySequence::mnemonic(item->text()), QKeySequence(key));
    }

    void recentItemOpensItsEntry() {
        const QString a = Picture(QStringLiteral("A"));
        StoreRecent({a, dir_.filePath(QStringLiteral("gone.bmp"))}, 4);
        Started run;
        // A file that has gone: the loader's message, and the list stays as it was.
        run.form->mnuRecent[1]->trigger();
        QCOMPARE(run.dialogs.messages.size(), 1);
        QCOMPARE(mGlyfora::RecentFilesList[1], dir_.filePath(QStringLiteral("gone.bmp")));
        run.form->mnuRecent[0]->trigger();
        QVERIFY(run.Shown());
        // An entry emptied by the options dialog before the menu was rebuilt names nothing.
        mGlyfora::RecentFilesList.fill(QString());
        run.form->mnuRecent[0]->trigger();
        QVERIFY(run.Shown());
        QCOMPARE(run.dialogs.messages.size(), 1);
    }

    void optionChangeRefreshesStatusText() {
        Started run;
        mGlyfora::ConversionSettings.X = 2;
        run.form->lblOption_Change();
        QCOMPARE(run.form->StatusText(), QString()); // no picture, no text
        mGlyfora::ConversionSettings.X = 1;
        run.form->LoadImageFile(Picture(QStringLiteral("p"))); // 40 x 30
        // 40 x 30 cells of one pixel: 1200 characters, 1 KByte.
        QCOMPARE(run.form->StatusText(), QStringLiteral("Image: 40 x 30 -> 1 KByte"));
        mGlyfora::ConversionSettings.X = 10;
        mGlyfora::ConversionSettings.Y = 10;
        run.form->lblOption_Change();
        // 4 x 3 cells of ten pixels: 12 characters, 0 KByte.
        QCOMPARE(run.form->StatusText(), QStringLiteral("Image: 40 x 30 -> 0 KByte"));
    }
};

GLYFORA_TEST_MAIN(TestMenus)
#include "tst_menus.moc"

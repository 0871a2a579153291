// Start-up, shutdown, settings, picture loading and the main window's picture states.
#include "app/CommandLine.h"
#include "app/ImageInfo.h"
#include "app/Main.h"
#include "app/RecentFiles.h"
#include "app/Settings.h"
#include "platform/SettingsTable.h"
#include "app/frmMain.h"
#include "app/frmMainTexts.h"
#include "app/mGlyfora.h"
#include "convert/ConversionSettings.h"
#include "convert/ConversionState.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnvironment.h"
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
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>

using testsupport::ScriptedDialogs;

namespace {
void ResetProcessValues() {
    mGlyfora::ConversionSettings = {};
    mGlyfora::OpenDirectory.clear();
    mGlyfora::SaveDirectory.clear();
    mGlyfora::RecentFilesMax = 4;
    mGlyfora::RecentFilesList.fill(QString());
    mGlyfora::ImageBaseName.clear();
    mGlyfora::TempFileName.clear();
}

QStringList VisibleTexts(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* a : actions) {
        if (a->isVisible())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return texts;
}

QString Stored(const char* section, const QString& key) {
    return platform::SettingsStore().Read(QLatin1String(section), key, QStringLiteral("<absent>"));
}
} // namespace

class TestApp : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    QString picture640_;

    // A started main window with scripted dialogs, as the program would have it.
    struct Started {
        ScriptedDialogs dialogs;
        platform::SettingsStore store;
        std::unique_ptr<frmMain> form;
        explicit Started(const QString& commandLine = QString()) {
            mGlyfora::LoadSettings(store);
            form = std::make_unique<frmMain>(dialogs, store);
            form->Form_Load(commandLine);
        }
        void Unload() {
            form->Form_Unload();
            form.reset();
        }
    };

    QString Picture(const QString& name, int w, int h) {
        return testsupport::WritePicture(testsupport::GradientImage(w, h), dir_.filePath(name),
                                         "bmp");
    }

    static void VerifyNoPictureState(frmMain& form) {
        QVERIFY(!form.picView->isVisibleTo(&form));
        QVERIFY(!form.mnuImage->menuAction()->isVisible());
        QVERIFY(!form.mnuRun->menuAction()->isVisible());
        QVERIFY(!form.mnuTextConversion->isEnabled());
        QVERIFY(!form.mnuHTMLConversion->isEnabled());
        QVERIFY(!form.mnuCopy->isEnabled());
        QVERIFY(!form.mnuNormalView->isEnabled());
        QCOMPARE(form.windowTitle(), QStringLiteral("glyfora"));
        QCOMPARE(form.StatusText(), QString());
    }

private Q_SLOTS:
    void initTestCase() {
        mGlyfora::PrepareApplication(*qApp);
        picture640_ = Picture(QStringLiteral("p640.bmp"), 640, 480);
    }

    void init() {
        testsupport::ClearSettings();
        ResetProcessValues();
    }

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
        mGlyfora::OpenDirectory = QStringLiteral("/srv/pics");
        run.form->move(30, 45);
        run.Unload();
        QCOMPARE(Stored("Conversion", QStringLiteral("X")), QStringLiteral("3"));
        QCOMPARE(Stored("Conversion", QStringLiteral("Y")), QStringLiteral("1"));
        QCOMPARE(Stored("Conversion", QStringLiteral("Reverse")), QStringLiteral("True"));
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
        store.Write(QStringLiteral("Window"), QStringLiteral("Left"), QStringLiteral("1500"));
        store.Sync();
        Started run;
        run.form->showMaximized();
        QVERIFY(run.form->isMaximized());
        run.Unload();
        QCOMPARE(Stored("Window", QStringLiteral("Left")), QStringLiteral("1500"));
        QCOMPARE(Stored("Window", QStringLiteral("ToolBar")), QStringLiteral("True"));
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
            for (const char* key : {"X", "Y", "Reverse"})
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
        QCOMPARE(cs.Charactor, QStringLiteral(" .,:;!IU0OQRB&%@"));
        QCOMPARE(mGlyfora::RecentFilesMax, qint16(4));
        QVERIFY(run.form->mnuToolBar->isChecked());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY(screen.contains(run.form->frameGeometry().center()));
    }

    void binaryGarbageSettingsFileStarts() {
        QFile file(testsupport::SettingsFilePath());
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk.append(char((i * 7919) & 0xFF));
        file.write(junk);
        file.close();
        Started run(picture640_);
        QVERIFY(run.form->picView->isVisibleTo(run.form.get()));
        QCOMPARE(mGlyfora::ConversionSettings.X, quint8(1));
        run.Unload();
        QCOMPARE(Stored("Recent Files", QStringLiteral("File1")), picture640_);
    }

    void unwritableSettingsReported() {
        testsupport::ClearSettings();
        const QString path = testsupport::SettingsFilePath();
        QFile::remove(path);
        QVERIFY(QDir().mkpath(path)); // a folder where the file should be
        Started run;
        run.Unload();
        QVERIFY(QDir().rmdir(path));
        QCOMPARE(run.dialogs.messages.size(), 1);
        QVERIFY(run.dialogs.messages[0].text.startsWith(frmMainTexts::SettingsNotSaved));
    }

    void everyKeyFallsBackToItsDefault_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        for (const mGlyfora::SettingDefinition& s : mGlyfora::SettingsTable()) {
            if (s.kind == mGlyfora::SettingKind::Text)
                continue; // any text is a valid value
            const QByteArray name = (s.section + u'/' + s.key).toUtf8();
            for (const char* junk : {"abc", "", "1e999", "-99999999999"})
                QTest::newRow((name + " " + junk).constData()) << s.section << s.key << junk;
        }
    }
    void everyKeyFallsBackToItsDefault() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, stored);
        const mGlyfora::SettingDefinition& setting = mGlyfora::Setting(section, key);
        platform::SettingsStore store;
        store.Write(section, key, stored);
        switch (setting.kind) {
        case mGlyfora::SettingKind::Integer:
            QCOMPARE(mGlyfora::ReadInteger(store, setting), setting.defaultText.toLongLong());
            break;
        case mGlyfora::SettingKind::Boolean:
            if (stored.isEmpty() || stored == QLatin1String("abc"))
                QCOMPARE(mGlyfora::ReadBoolean(store, setting),
                         setting.defaultText == QLatin1String("True"));
            break;
        case mGlyfora::SettingKind::Single:
            if (setting.computed && stored.startsWith(u'-'))
                break; // any finite position is kept; the window clamps it to the screen system
            QCOMPARE(mGlyfora::ReadSingle(store, setting, 123.0f),
                     setting.computed ? 123.0f : setting.defaultText.toFloat());
            break;
        case mGlyfora::SettingKind::Ramp:
            if (stored.isEmpty())
                QCOMPARE(mGlyfora::ReadText(store, setting), setting.defaultText);
            break;
        case mGlyfora::SettingKind::Colour:
            QCOMPARE(mGlyfora::ReadColour(store, setting),
                     quint32(qint32(setting.defaultText.toLongLong())));
            break;
        case mGlyfora::SettingKind::Text:
            break;
        }
    }

    void rampLimitsCountCharactersNotBytes_data() {
        QTest::addColumn<QString>("ramp");
        QTest::addColumn<bool>("kept");
        QTest::newRow("64 Japanese") << QString(64, QChar(0x3042)) << true;
        QTest::newRow("65 characters") << QString(65, u'a') << false;
        QTest::newRow("64 outside the basic plane")
            << QString::fromUcs4(std::u32string(64, U'\U0001F600').c_str()) << true;
        QTest::newRow("one") << "@" << true;
    }
    void rampLimitsCountCharactersNotBytes() {
        QFETCH(QString, ramp);
        QFETCH(bool, kept);
        platform::SettingsStore store;
        store.Write(QStringLiteral("Conversion"), QStringLiteral("Charactor"), ramp);
        const auto& setting =
            mGlyfora::Setting(QStringLiteral("Conversion"), QStringLiteral("Charactor"));
        QCOMPARE(mGlyfora::ReadText(store, setting) == ramp, kept);
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
        QTest::addColumn<int>("cell");
        QTest::addColumn<QString>("text");
        QTest::newRow("640x480 cell 1") << 640.0 << 480.0 << 1 << "Image: 640 x 480 -> 300 KByte";
        QTest::newRow("640x480 cell 2") << 640.0 << 480.0 << 2 << "Image: 640 x 480 -> 75 KByte";
        QTest::newRow("100x100") << 100.0 << 100.0 << 1 << "Image: 100 x 100 -> 10 KByte";
        QTest::newRow("50x20 selection") << 50.0 << 20.0 << 1 << "Image: 50 x 20 -> 1 KByte";
        QTest::newRow("beyond 16 bits")
            << 70000.0 << 70000.0 << 1 << "Image: 70000 x 70000 -> 4785156 KByte";
        QTest::newRow("half rounds to even") << 2.5 << 3.5 << 1 << "Image: 2 x 4 -> 0 KByte";
    }
    void statusTexts() {
        QFETCH(double, w);
        QFETCH(double, h);
        QFETCH(int, cell);
        QFETCH(QString, text);
        QCOMPARE(mGlyfora::ImageInfoText(w, h, cell, cell), text);
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

    void recentOrder_data() {
        QTest::addColumn<int>("max");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QStringList>("expected");
        const QStringList abcd = {"A", "B", "C", "D"};
        QTest::newRow("new") << 4 << "E" << QStringList({"E", "A", "B", "C", "D"});
        QTest::newRow("duplicate moves up") << 4 << "C" << QStringList({"C", "A", "B", "D", ""});
        QTest::newRow("first stays") << 4 << "A" << QStringList({"A", "B", "C", "D", ""});
        QTest::newRow("case differs") << 4 << "a" << QStringList({"a", "A", "B", "C", "D"});
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
        QCOMPARE(mGlyfora::RecentCaption(9, QStringLiteral("/R&D/x.gif")),
                 QStringLiteral("&10 /R&D/x.gif"));
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
        QTest::addColumn<bool>("directory");
        QTest::newRow("missing") << false;
        QTest::newRow("directory") << true;
    }
    void commandLineMissingFile() {
        QFETCH(bool, directory);
        const QString path = directory ? dir_.path() : dir_.filePath(QStringLiteral("none.gif"));
        Started run(path);
        QCOMPARE(run.dialogs.messages.size(), 1);
        QCOMPARE(run.dialogs.messages[0].text,
                 path + QStringLiteral("\nこのファイルが見つかりません。\n\nパスとファイル名を確"
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
        QVERIFY(form.mnuImage->menuAction()->isVisible());
        QVERIFY(form.mnuRun->menuAction()->isVisible());
        QVERIFY(form.mnuTextConversion->isEnabled());
        QVERIFY(!form.mnuNormalView->isEnabled());
        QCOMPARE(mGlyfora::ImageBaseName, QStringLiteral("p640"));
        QCOMPARE(mGlyfora::RecentFilesList[0], picture640_);
        QCOMPARE(form.mnuRecent[0]->text(), QStringLiteral("&1 ") + picture640_);
        QVERIFY(form.mnuRecent[0]->isVisible());
    }

    void failedLoadAfterGoodReturnsToNoPicture() {
        Started run(picture640_);
        QFile junk(dir_.filePath(QStringLiteral("junk.gif")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("GIF89a but not really");
        junk.close();
        run.form->LoadImageFile(junk.fileName());
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
        QCOMPARE(request.title, QStringLiteral("ファイルを開く"));
        QCOMPARE(request.initDir, QStringLiteral("/start"));
        QCOMPARE(request.filterIndex, 4);
        QCOMPARE(request.flags, 0x1004u);
        QVERIFY(request.filter.endsWith(QStringLiteral("|All Files|*.*")));
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

    void toolbarAndStatusBarToggles() {
        Started run;
        run.form->mnuStatusBar->trigger();
        QVERIFY(!run.form->sbrUnder->isVisibleTo(run.form.get()));
        run.Unload();
        QCOMPARE(Stored("Window", QStringLiteral("StatusBar")), QStringLiteral("False"));
    }

    void temporaryFileDeletedAtExit() {
        QFile temp(platform::TempFolder() + QStringLiteral("~glyfora.tmp"));
        QVERIFY(temp.open(QIODevice::WriteOnly));
        temp.close();
        Started run;
        mGlyfora::TempFileName = temp.fileName();
        run.Unload();
        QVERIFY(!QFile::exists(temp.fileName()));
    }
};

GLYFORA_TEST_MAIN(TestApp)
#include "tst_app.moc"

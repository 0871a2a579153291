// The conversion window's life beside the main window (its close box, File Close, the
// main window's unload, a result too large for it) and its settings.
#include "platform/SettingsStore.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StartedWindow.h"
#include "tests/support/TestEnvironment.h"
#include "tests/textwin/TextWindowRun.h"
#include "textwin/ConversionView.h"
#include "textwin/TextWindowSettings.h"
#include "textwin/frmText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using testsupport::Store;
using testsupport::Stored;
using namespace textwintest;

namespace {
const QString Window = QStringLiteral("Text\\Window");
const QString Font = QStringLiteral("Text\\Font");
const QString Color = QStringLiteral("Text\\Color");
} // namespace

class TestTextWindowLife : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::ResetProcessValues(); }

    void closeBoxHidesAndKeepsText();
    void fileCloseUnloadsAndNewWindowStartsEmpty();
    void mainUnloadSavesTextSettings();
    void showTextShowsSameWindow();
    void resultPastTheLimitGoesToClipboard();

    void firstRunDefaults();
    void settingsRoundTrip();
    void redBackgroundStoredAs255();
    void maximisedKeepsStoredGeometry();
    void garbageFallsBack();
    void fontSizeText_data();
    void fontSizeText();
    void mixedSelectionStoresValidColour();
};

void TestTextWindowLife::closeBoxHidesAndKeepsText() {
    testsupport::StartedWindow main;
    frmText& window = main.form->TextWindow();
    QCOMPARE(window.rtfView->SetText(QStringLiteral("result")), ViewStatus::Shown);
    window.show();
    QVERIFY(!window.close());
    QVERIFY(window.isHidden());
    QCOMPARE(main.form->LoadedTextWindow(), &window);
    main.form->mnuShowText_Click();
    QVERIFY(window.isVisible());
    QCOMPARE(window.rtfView->Text(), QStringLiteral("result"));
    // Hiding wrote nothing.
    QCOMPARE(Stored(Font, QStringLiteral("Name")), QStringLiteral("<absent>"));
    main.Unload();
}

void TestTextWindowLife::fileCloseUnloadsAndNewWindowStartsEmpty() {
    testsupport::StartedWindow main;
    frmText& window = main.form->TextWindow();
    QCOMPARE(window.rtfView->SetText(QStringLiteral("result")), ViewStatus::Shown);
    QFont font(QStringLiteral("Courier"));
    font.setPointSize(11);
    window.rtfView->SetBaseFont(font);
    window.rtfView->SetBackColor(Blue);
    window.show();
    window.mnuClose->trigger();
    // Unloaded once the command is over.
    QCOMPARE(main.form->LoadedTextWindow(), &window);
    QCoreApplication::processEvents();
    QVERIFY(!main.form->LoadedTextWindow());
    QCOMPARE(Stored(Font, QStringLiteral("Name")), QStringLiteral("Courier"));
    QCOMPARE(Stored(Font, QStringLiteral("Size")), QStringLiteral("11"));
    QCOMPARE(Stored(Color, QStringLiteral("BackColor")), QStringLiteral("16711680"));
    frmText& fresh = main.form->TextWindow();
    QCOMPARE(fresh.rtfView->Text(), QString());
    QCOMPARE(fresh.rtfView->BaseFont().family(), QStringLiteral("Courier"));
    QCOMPARE(fresh.rtfView->BackColor(), Blue);
    QCOMPARE(fresh.rtfView->SetText(QStringLiteral("new")), ViewStatus::Shown);
    QCOMPARE(fresh.rtfView->Text(), QStringLiteral("new"));
    main.Unload();
}

void TestTextWindowLife::mainUnloadSavesTextSettings() {
    testsupport::StartedWindow main;
    main.form->TextWindow().rtfView->SetBackColor(Red);
    main.Unload();
    QCOMPARE(Stored(Color, QStringLiteral("BackColor")), QStringLiteral("255"));
    // Unloading when it was never loaded writes nothing of it.
    testsupport::ClearSettings();
    testsupport::StartedWindow second;
    second.form->UnloadTextWindow();
    second.Unload();
    QCOMPARE(Stored(Color, QStringLiteral("BackColor")), QStringLiteral("<absent>"));
}

void TestTextWindowLife::showTextShowsSameWindow() {
    testsupport::StartedWindow main;
    QVERIFY(!main.form->LoadedTextWindow());
    main.form->mnuShowText_Click();
    frmText* window = main.form->LoadedTextWindow();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->rtfView->Text(), QString());
    window->hide();
    main.form->mnuShowText->trigger();
    QCOMPARE(main.form->LoadedTextWindow(), window);
    QVERIFY(window->isVisible());
    main.Unload();
}

// A conversion of one line more than the view takes: the main window's hand-over
// refuses it and the run puts it on the clipboard instead.
void TestTextWindowLife::resultPastTheLimitGoesToClipboard() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tall.png"));
    QImage tall(1, int(MaxViewLines) + 1, QImage::Format_RGB32);
    tall.fill(Qt::white);
    QVERIFY(tall.save(path));
    testsupport::StartedWindow main;
    main.form->LoadImageFile(path);
    main.dialogs.messageAnswers = {platform::MsgAnswer::No, platform::MsgAnswer::OK};
    main.form->mnuTextConversion_Click();
    QCOMPARE(main.dialogs.messages.size(), 2);
    QCOMPARE(main.dialogs.messages[1].text,
             QStringLiteral("画像のサイズが大きすぎるためクリップボードにコピーします。"));
    QVERIFY(!main.form->LoadedTextWindow() || main.form->LoadedTextWindow()->isHidden());
    main.Unload();
}

void TestTextWindowLife::firstRunDefaults() {
    Loaded w;
    const QFont font = w.view().BaseFont();
    QCOMPARE(font.family(), QStringLiteral("Terminal"));
    QCOMPARE(font.pointSizeF(), 4.0);
    QVERIFY(!font.bold() && !font.italic() && !font.underline() && !font.strikeOut());
    QCOMPARE(w.view().BackColor(), Colour(0x80000005u));
    // Centred at the design size: client 8280 x 4830 twips below the menu bar.
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const double tx = 1440.0 / QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    QCOMPARE(w.form->width(), qRound(8280 / tx));
    QCOMPARE(w.form->frameGeometry().center().x(), QRect(QPoint(), screen).center().x());
    w.form->Form_Unload();
    QCOMPARE(Stored(Font, QStringLiteral("Name")), QStringLiteral("Terminal"));
    for (const char* key : {"Bold", "Itaric", "Strikethrough", "Underline"})
        QCOMPARE(Stored(Font, QLatin1String(key)), QStringLiteral("False"));
    QCOMPARE(Stored(Font, QStringLiteral("Size")), QStringLiteral("4"));
    QCOMPARE(Stored(Color, QStringLiteral("BackColor")), QStringLiteral("-2147483643"));
    QCOMPARE(Stored(Window, QStringLiteral("Width")), QString::number(qRound(8280 / tx) * tx));
}

void TestTextWindowLife::settingsRoundTrip() {
    {
        Loaded w;
        w.dialogs.fontAnswers << platform::FontChoice{
            {QStringLiteral("Courier"), 9, true, true, false, false}, Green};
        w.form->mnuFont_Click();
        w.form->move(300, 120);
        w.form->resize(400, 250);
        w.form->Form_Unload();
        w.form->Form_Unload(); // once only
    }
    QCOMPARE(Stored(Font, QStringLiteral("Bold")), QStringLiteral("True"));
    QCOMPARE(Stored(Font, QStringLiteral("Itaric")), QStringLiteral("True"));
    QCOMPARE(Stored(Font, QStringLiteral("Size")), QStringLiteral("9"));
    QCOMPARE(Stored(Font, QStringLiteral("Name")), QStringLiteral("Courier"));
    QCOMPARE(Stored(Color, QStringLiteral("ForeColor")), QStringLiteral("65280"));
    const double tx = 1440.0 / QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    QCOMPARE(Stored(Window, QStringLiteral("Left")), QString::number(300 * tx));
    Loaded again;
    const QFont font = again.view().BaseFont();
    QCOMPARE(font.family(), QStringLiteral("Courier"));
    QVERIFY(font.bold() && font.italic() && !font.underline() && !font.strikeOut());
    QCOMPARE(font.pointSizeF(), 9.0);
    QCOMPARE(again.form->pos(), QPoint(300, 120));
    QCOMPARE(again.form->size(), QSize(400, 250));
    QCOMPARE(again.view().SetText(QStringLiteral("x")), ViewStatus::Shown);
    QCOMPARE(ColourAt(again.view(), 0), Green);
}

void TestTextWindowLife::redBackgroundStoredAs255() {
    {
        Loaded w;
        w.dialogs.colorAnswers << Colour(0x0000FF);
        w.form->mnuBackColor_Click();
        w.form->Form_Unload();
    }
    QCOMPARE(Stored(Color, QStringLiteral("BackColor")), QStringLiteral("255"));
    Loaded again;
    QCOMPARE(again.view().BackColor(), Red);
    QCOMPARE(again.view().palette().color(QPalette::Base), QColor(Qt::red));
}

void TestTextWindowLife::maximisedKeepsStoredGeometry() {
    Store(Window, QStringLiteral("Left"), QStringLiteral("1500"));
    Store(Window, QStringLiteral("Width"), QStringLiteral("6000"));
    Loaded w;
    w.form->showMaximized();
    w.form->Form_Unload();
    QCOMPARE(Stored(Window, QStringLiteral("Left")), QStringLiteral("1500"));
    QCOMPARE(Stored(Window, QStringLiteral("Width")), QStringLiteral("6000"));
    QCOMPARE(Stored(Font, QStringLiteral("Size")), QStringLiteral("4"));
}

// Every key unusable at once; the kinds' fallbacks are the settings table's, the window
// adds its own: no face name and no size of its own read as not stored.
void TestTextWindowLife::garbageFallsBack() {
    const QStringList stored = {
        Window, "Left",   "abc", Window, "Top",           "inf",   Window, "Height",    "-300",
        Window, "Width",  "0",   Font,   "Name",          "",      Font,   "Bold",      "maybe",
        Font,   "Itaric", "ja",  Font,   "Strikethrough", "1e999", Font,   "Underline", "",
        Font,   "Size",   "big", Color,  "BackColor",     "red",   Color,  "ForeColor", "1.5.2"};
    for (qsizetype i = 0; i + 2 < stored.size(); i += 3)
        Store(stored[i], stored[i + 1], stored[i + 2]);
    const mGlyfora::TextWindowSettings s =
        mGlyfora::LoadTextWindowSettings(platform::SettingsStore());
    QVERIFY(!s.Geometry.Left && !s.Geometry.Top && !s.Geometry.Height && !s.Geometry.Width);
    QCOMPARE(s.Font.Name, QStringLiteral("Terminal"));
    QVERIFY(!s.Font.Bold && !s.Font.Italic && !s.Font.Strikethrough && !s.Font.Underline);
    QCOMPARE(s.Font.Size, 4.0f);
    QCOMPARE(s.BackColor, Colour(0x80000005u));
    QCOMPARE(s.ForeColor, Colour(0x80000008u));
    // The window opens all the same, on screen.
    Loaded w;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.contains(w.form->frameGeometry().topLeft()));
    QVERIFY(w.form->width() > 0 && w.form->height() > 0);
}

void TestTextWindowLife::fontSizeText_data() {
    QTest::addColumn<float>("size");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 9.0f << QStringLiteral("9");
    QTest::newRow("design size") << 3.75f << QStringLiteral("3.75");
    QTest::newRow("five decimals") << 10.123456f << QStringLiteral("10.1235");
    QTest::newRow("half") << 10.5f << QStringLiteral("10.5");
}

void TestTextWindowLife::fontSizeText() {
    QFETCH(float, size);
    QFETCH(QString, text);
    QCOMPARE(mGlyfora::FontSizeText(size), text);
}

void TestTextWindowLife::mixedSelectionStoresValidColour() {
    {
        Loaded w;
        ConversionView& v = w.view();
        QCOMPARE(v.SetText(QStringLiteral("abcd")), ViewStatus::Shown);
        Select(v, 0, 2);
        v.SetSelColor(Blue);
        Select(v, 2, 2);
        v.SetSelColor(Red);
        Select(v, 1, 2);
        QVERIFY(!v.SelColor());
        w.form->Form_Unload();
    }
    QCOMPARE(Stored(Color, QStringLiteral("ForeColor")), QString::number(Blue));
}

GLYFORA_TEST_MAIN(TestTextWindowLife)
#include "tst_text_window_life.moc"

// The conversion window itself: menus, toolbar, the view's text interface, the edit
// commands and their enabling. Its life beside the main window and its settings have their
// own test (tst_text_window_life).
#include "platform/SettingsStore.h"
#include "tests/support/ControlList.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StartedWindow.h"
#include "tests/support/TestEnvironment.h"
#include "tests/textwin/TextWindowRun.h"
#include "textwin/ConversionView.h"
#include "textwin/TextWindowSettings.h"
#include "textwin/frmText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QToolBar>
#include <memory>

using testsupport::Store;
using testsupport::Stored;
using namespace textwintest;
class TestTextWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::ResetProcessValues(); }

    void controls();
    void toolbarDispatch();

    void textUsesCrLf_data();
    void textUsesCrLf();
    void handOverKeepsFontAndColours();
    void tooLargeTextLeavesViewAlone();
    void selectionProperties();
    void selColorMixed();
    void systemColourResolvedForText();
    void linesNeverWrap();

    void editMenuStates_data();
    void editMenuStates();
    void toolbarFollowsSelectionAndClipboard();
    void cutCopyPasteDelete();
    void selectAllOnEmptyView();
    void shortcutsRunCommands();
    void pasteTakesPlainTextOnly();
};

// The window's controls when loaded: nothing selected, nothing on the clipboard.
void TestTextWindow::controls() {
    QGuiApplication::clipboard()->clear();
    Loaded w;
    COMPARE_CONTROLS(*w.form, R"list(
frmText "変換ウィンドウ"
  rtfView
  mnuFile "ファイル(&F)"
    mnuFileOpen "ファイルを開く(&O)..." key=Ctrl+O
    mnuBar1 separator
    mnuSaveAs "名前を付けて保存(&A)..." key=F12
    mnuBar2 separator
    mnuPrint "印刷(&P)..." key=Ctrl+P
    mnuBar3 separator
    mnuClose "閉じる(&C)"
  mnuEdit "編集(&E)"
    mnuCut "切り取り(&T)" key=Ctrl+X
    mnuCopy "コピー(&C)" key=Ctrl+C
    mnuPaste "貼り付け(&P)" key=Ctrl+V
    mnuDelete "削除(&D)" key=Del
    mnuBar4 separator
    mnuAllSelect "すべて選択(&A)" key=Ctrl+A
  mnuView "表示(&V)"
    mnuFont "フォントの変更(&F)..."
    mnuBackColor "背景色の変更(&B)..."
  tbrToolbar icons=16x16
    tbrButtons(1) index=1
    tbrButtons(2) tip="ファイルを開く" index=2 icon
    tbrButtons(3) tip="名前を付けて保存" index=3 icon
    tbrButtons(4) index=4 separator
    tbrButtons(5) tip="切り取り" index=5 icon disabled
    tbrButtons(6) tip="コピー" index=6 icon disabled
    tbrButtons(7) tip="貼り付け" index=7 icon disabled
    tbrButtons(8) index=8 separator
    tbrButtons(9) tip="印刷" index=9 icon
    tbrButtons(10) index=10 separator
    tbrButtons(11) tip="フォントの変更" index=11 icon
)list");
    QVERIFY(!w.form->parent()); // a window of its own
    for (const QAction* button : w.form->tbrToolbar->actions())
        QVERIFY(button->icon().isNull() || !button->icon().pixmap(16, 16).isNull());
}

void TestTextWindow::toolbarDispatch() {
    Loaded w;
    QCOMPARE(w.view().SetText(QStringLiteral("abc")), ViewStatus::Shown);
    for (int index : {1, 4, 8, 10, 12, 0})
        w.form->tbrToolbar_ButtonClick(index);
    QVERIFY(w.dialogs.openRequests.isEmpty() && w.dialogs.saveRequests.isEmpty() &&
            w.dialogs.printRequests.isEmpty() && w.dialogs.fontRequests.isEmpty());
    w.form->tbrToolbar_ButtonClick(2);
    w.form->tbrToolbar_ButtonClick(3);
    w.form->tbrToolbar_ButtonClick(9);
    w.form->tbrToolbar_ButtonClick(11);
    QCOMPARE(w.dialogs.openRequests.size(), 1);
    QCOMPARE(w.dialogs.saveRequests.size(), 1);
    QCOMPARE(w.dialogs.printRequests.size(), 1);
    QCOMPARE(w.dialogs.fontRequests.size(), 1);
    Select(w.view(), 1, 1);
    w.form->tbrToolbar_ButtonClick(6);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("b"));
    w.form->tbrToolbar_ButtonClick(5);
    QCOMPARE(w.view().Text(), QStringLiteral("ac"));
    w.form->tbrToolbar_ButtonClick(7);
    QCOMPARE(w.view().Text(), QStringLiteral("abc"));
}

void TestTextWindow::textUsesCrLf_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");
    QTest::newRow("CR LF") << QStringLiteral("ab\r\ncd\r\n") << QStringLiteral("ab\r\ncd\r\n") << 3;
    QTest::newRow("LF") << QStringLiteral("ab\ncd") << QStringLiteral("ab\r\ncd") << 2;
    QTest::newRow("lone CR") << QStringLiteral("ab\rcd") << QStringLiteral("ab\r\ncd") << 2;
    QTest::newRow("empty lines") << QStringLiteral("\r\n\r\n") << QStringLiteral("\r\n\r\n") << 3;
    QTest::newRow("empty") << QString() << QString() << 1;
    QTest::newRow("spaces kept") << QStringLiteral("  .,\u00a0@ ") << QStringLiteral("  .,\u00a0@ ")
                                 << 1;
}

void TestTextWindow::textUsesCrLf() {
    QFETCH(QString, given);
    QFETCH(QString, text);
    QFETCH(int, lines);
    Loaded w;
    QCOMPARE(w.view().SetText(given), ViewStatus::Shown);
    QCOMPARE(w.view().Text(), text);
    QCOMPARE(w.view().document()->blockCount(), lines);
}

void TestTextWindow::handOverKeepsFontAndColours() {
    Loaded w;
    QFont font(QStringLiteral("Courier"));
    font.setPointSizeF(7.5);
    font.setBold(true);
    w.view().SetBaseFont(font);
    w.view().SetBackColor(Green);
    w.view().SetSelColor(Red);
    w.form->move(40, 50);
    QCOMPARE(w.view().SetText(QStringLiteral("first\r\nresult")), ViewStatus::Shown);
    QCOMPARE(w.view().SetText(QStringLiteral("second")), ViewStatus::Shown);
    QCOMPARE(w.view().Text(), QStringLiteral("second"));
    QCOMPARE(w.view().BaseFont().family(), QStringLiteral("Courier"));
    QCOMPARE(w.view().BaseFont().pointSizeF(), 7.5);
    QVERIFY(w.view().BaseFont().bold());
    QCOMPARE(w.view().BackColor(), Green);
    QCOMPARE(ColourAt(w.view(), 0), Red);
    QCOMPARE(ColourAt(w.view(), 5), Red);
    QCOMPARE(w.form->pos(), QPoint(40, 50));
    // Nothing of the old text is left to undo back to.
    QVERIFY(!w.view().document()->isUndoAvailable());
}

void TestTextWindow::tooLargeTextLeavesViewAlone() {
    Loaded w;
    QCOMPARE(w.view().SetText(QStringLiteral("kept")), ViewStatus::Shown);
    const QString huge(MaxViewText + 1, u'@');
    QCOMPARE(w.view().SetText(huge), ViewStatus::TooLong);
    QCOMPARE(w.view().Text(), QStringLiteral("kept"));
    // The limit itself is taken: a 1920 x 1080 result at one pixel per character.
    QVERIFY(MaxViewText >= 540 * 1920 + 539 * 2);
    QVERIFY(MaxViewText >= 1500 * 4000 + 1499 * 2);
}

void TestTextWindow::selectionProperties() {
    Loaded w;
    ConversionView& v = w.view();
    QCOMPARE(v.SetText(QStringLiteral("abc\r\ndef")), ViewStatus::Shown);
    Select(v, 2, 3); // "c", the line end, "d"
    QCOMPARE(v.SelStart(), 2);
    QCOMPARE(v.SelLength(), 3);
    QCOMPARE(v.SelText(), QStringLiteral("c\r\nd"));
    QCOMPARE(v.SetSelText(QStringLiteral("X\r\nY")), ViewStatus::Shown);
    QCOMPARE(v.Text(), QStringLiteral("abX\r\nYef"));
    QCOMPARE(v.SelLength(), 0);
    QCOMPARE(v.SelStart(), 5);
    // Past the end: clamped.
    Select(v, 5, 100);
    QCOMPARE(v.SelText(), QStringLiteral("ef"));
    v.SetSelStart(1000);
    QCOMPARE(v.SelStart(), 7);
    v.SetSelStart(-4);
    QCOMPARE(v.SelStart(), 0);
    v.SetSelLength(-2);
    QCOMPARE(v.SelLength(), 0);
}

void TestTextWindow::selColorMixed() {
    Loaded w;
    ConversionView& v = w.view();
    QCOMPARE(v.SetText(QStringLiteral("aaaa\r\nbbbb")), ViewStatus::Shown);
    Select(v, 0, 2);
    v.SetSelColor(Blue);
    Select(v, 0, 2);
    QCOMPARE(v.SelColor(), std::optional<Colour>(Blue));
    Select(v, 1, 2);
    QCOMPARE(v.SelColor(), std::nullopt);
    QCOMPARE(v.LeadColor(), Blue);
    Select(v, 3, 4); // across the line end, one colour
    QVERIFY(v.SelColor().has_value());
    Select(v, 2, 2); // starts just where the blue ends
    QVERIFY(v.SelColor().has_value());
    Select(v, 1, 0);
    QCOMPARE(v.SelColor(), std::optional<Colour>(Blue));
}

void TestTextWindow::systemColourResolvedForText() {
    Loaded w;
    ConversionView& v = w.view();
    const Colour windowText =
        platform::ColourFromRgb(QGuiApplication::palette().color(QPalette::Text).rgb());
    v.SetSelColor(0x80000008u);
    QCOMPARE(v.SetText(QStringLiteral("x")), ViewStatus::Shown);
    QCOMPARE(ColourAt(v, 0), windowText);
    // The background keeps the number and shows what it stands for.
    v.SetBackColor(0x80000005u);
    QCOMPARE(v.BackColor(), Colour(0x80000005u));
    QCOMPARE(v.palette().color(QPalette::Base), QGuiApplication::palette().color(QPalette::Base));
    v.SetBackColor(Red);
    QCOMPARE(v.palette().color(QPalette::Base), QColor(255, 0, 0));
}

void TestTextWindow::linesNeverWrap() {
    Loaded w;
    w.form->resize(200, 150);
    w.form->show();
    QCOMPARE(w.view().SetText(QString(3000, u'@') + QStringLiteral("\r\n") + QString(10, u'.')),
             ViewStatus::Shown);
    QCOMPARE(w.view().lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(w.view().document()->begin().layout()->lineCount(), 1);
    QVERIFY(w.view().horizontalScrollBar()->maximum() > 0);
}

void TestTextWindow::editMenuStates_data() {
    QTest::addColumn<bool>("selection");
    QTest::addColumn<bool>("clipboardText");
    QTest::newRow("nothing selected, text on clipboard") << false << true;
    QTest::newRow("nothing selected, clipboard empty") << false << false;
    QTest::newRow("selection, picture on clipboard") << true << false;
    QTest::newRow("selection, text on clipboard") << true << true;
}

void TestTextWindow::editMenuStates() {
    QFETCH(bool, selection);
    QFETCH(bool, clipboardText);
    Loaded w;
    QCOMPARE(w.view().SetText(QStringLiteral("abc")), ViewStatus::Shown);
    if (clipboardText) {
        QGuiApplication::clipboard()->setText(QStringLiteral("t"));
    } else {
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QGuiApplication::clipboard()->setImage(image);
    }
    Select(w.view(), 0, selection ? 2 : 0);
    // Until the menu opens, every item stays enabled.
    for (QAction* a : w.form->mnuEdit->actions())
        QVERIFY(a->isEnabled());
    Q_EMIT w.form->mnuEdit->aboutToShow();
    QCOMPARE(w.form->mnuCut->isEnabled(), selection);
    QCOMPARE(w.form->mnuCopy->isEnabled(), selection);
    QCOMPARE(w.form->mnuDelete->isEnabled(), selection);
    QCOMPARE(w.form->mnuPaste->isEnabled(), clipboardText);
    QVERIFY(w.form->mnuAllSelect->isEnabled());
}

void TestTextWindow::toolbarFollowsSelectionAndClipboard() {
    Loaded w;
    QAction* cut = w.form->tbrButtons[5];
    QAction* copy = w.form->tbrButtons[6];
    QAction* paste = w.form->tbrButtons[7];
    QCOMPARE(w.view().SetText(QStringLiteral("abc")), ViewStatus::Shown);
    QGuiApplication::clipboard()->clear();
    QVERIFY(!cut->isEnabled() && !copy->isEnabled() && !paste->isEnabled());
    // Signals, not a timer: the states change at once, hidden window or not.
    Select(w.view(), 0, 1);
    QVERIFY(cut->isEnabled() && copy->isEnabled());
    QGuiApplication::clipboard()->setText(QStringLiteral("z"));
    QVERIFY(paste->isEnabled());
    w.view().SetSelStart(2);
    QVERIFY(!cut->isEnabled() && !copy->isEnabled());
    QGuiApplication::clipboard()->clear();
    QVERIFY(!paste->isEnabled());
    for (int index : {2, 3, 9, 11})
        QVERIFY(w.form->tbrButtons[index]->isEnabled());
}

void TestTextWindow::cutCopyPasteDelete() {
    Loaded w;
    ConversionView& v = w.view();
    QCOMPARE(v.SetText(QStringLiteral("one\r\ntwo")), ViewStatus::Shown);
    Select(v, 2, 3);
    w.form->mnuCopy_Click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("e\r\nt"));
    QCOMPARE(v.Text(), QStringLiteral("one\r\ntwo"));
    w.form->mnuCut_Click();
    QCOMPARE(v.Text(), QStringLiteral("onwo"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("e\r\nt"));
    w.form->mnuPaste_Click();
    QCOMPARE(v.Text(), QStringLiteral("one\r\ntwo"));
    Select(v, 0, 3);
    w.form->mnuDelete_Click();
    QCOMPARE(v.Text(), QStringLiteral("\r\ntwo"));
    // Delete without a selection removes nothing.
    v.SetSelStart(0);
    w.form->mnuDelete_Click();
    QCOMPARE(v.Text(), QStringLiteral("\r\ntwo"));
    // Paste with a picture on the clipboard does nothing.
    QImage image(2, 2, QImage::Format_RGB32);
    QGuiApplication::clipboard()->setImage(image);
    w.form->mnuPaste_Click();
    QCOMPARE(v.Text(), QStringLiteral("\r\ntwo"));
    QVERIFY(w.dialogs.messages.isEmpty());
    // A paste past the line limit is refused with a message.
    QGuiApplication::clipboard()->setText(QString(MaxViewLines, u'\n'));
    w.form->mnuPaste_Click();
    QCOMPARE(v.Text(), QStringLiteral("\r\ntwo"));
    QCOMPARE(w.dialogs.messages.size(), 1);
    QCOMPARE(w.dialogs.messages[0].text, QStringLiteral("テキストが大きすぎて表示できません。"));
    // A text typed past the limit can still be cut down.
    v.document()->setPlainText(QString(MaxViewLines, u'\n'));
    Select(v, 0, 1);
    w.form->mnuDelete_Click();
    QCOMPARE(v.document()->blockCount(), MaxViewLines);
}

void TestTextWindow::selectAllOnEmptyView() {
    Loaded w;
    w.form->mnuAllSelect_Click();
    QCOMPARE(w.view().SelStart(), 0);
    QCOMPARE(w.view().SelLength(), 0);
    QCOMPARE(w.view().SetText(QStringLiteral("ab\r\nc")), ViewStatus::Shown);
    w.form->mnuAllSelect_Click();
    QCOMPARE(w.view().SelText(), QStringLiteral("ab\r\nc"));
}

void TestTextWindow::shortcutsRunCommands() {
    Loaded w;
    w.form->show();
    w.form->activateWindow();
    w.view().setFocus();
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    QCOMPARE(w.view().SetText(QStringLiteral("abc")), ViewStatus::Shown);
    w.view().SetSelStart(1);
    // Del with the command enabled and nothing selected: the command, which removes nothing.
    QTest::keyClick(&w.view(), Qt::Key_Delete);
    QCOMPARE(w.view().Text(), QStringLiteral("abc"));
    QTest::keyClick(&w.view(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(w.view().SelLength(), 3);
    QTest::keyClick(&w.view(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("abc"));
    // After the menu found nothing selected, Del is the view's own key again.
    w.view().SetSelStart(1);
    Q_EMIT w.form->mnuEdit->aboutToShow();
    QTest::keyClick(&w.view(), Qt::Key_Delete);
    QCOMPARE(w.view().Text(), QStringLiteral("ac"));
}

void TestTextWindow::pasteTakesPlainTextOnly() {
    Loaded w;
    auto* data = new QMimeData;
    data->setHtml(QStringLiteral("<b>bold</b>"));
    data->setText(QStringLiteral("bold"));
    QGuiApplication::clipboard()->setMimeData(data);
    w.view().SetSelColor(Red);
    w.form->mnuPaste_Click();
    QCOMPARE(w.view().Text(), QStringLiteral("bold"));
    QTextCursor cursor(w.view().document());
    cursor.setPosition(1);
    QVERIFY(cursor.charFormat().fontWeight() != QFont::Bold);
    QCOMPARE(ColourAt(w.view(), 0), Red);
    // What the view itself puts on the clipboard is plain text alone.
    w.view().selectAll();
    w.view().copy();
    QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasHtml());
}

GLYFORA_TEST_MAIN(TestTextWindow)
#include "tst_text_window.moc"

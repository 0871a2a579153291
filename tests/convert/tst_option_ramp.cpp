// The options dialog's ramp box: its limits (characters counted as code points), what
// typing, pasting and an input method put into it, control characters, Enter in it and
// elsewhere, and OK's checks of the ramp.
#include "app/Main.h"
#include "convert/frmOption.h"
#include "tests/convert/OptionDialogRun.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using platform::MsgButtons;
using platform::MsgIcon;

using namespace optiontest;

namespace {

const QString EmptyMessage = QStringLiteral("変換キャラクタを入力してください。");
const QString TooLongMessage = QStringLiteral("変換キャラクタを64 文字以内で入力してください。");

QString Repeated(const QString& piece, int times) {
    QString text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

const QString Emoji = QStringLiteral("\U0001F600"); // one character, two UTF-16 units

} // namespace

class TestOptionRamp : public OptionDialogTest {
    Q_OBJECT

private Q_SLOTS:
    // OK refuses an empty or too long ramp: the message, the characters tab with the ramp
    // selected in its box, the dialog still open and nothing applied.
    void okRefusesRamp_data() {
        QTest::addColumn<QString>("ramp");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("fromBox"); // OK pressed while the box has the focus
        QTest::newRow("empty") << QString() << EmptyMessage << false;
        QTest::newRow("emptied in the box") << QString() << EmptyMessage << true;
        QTest::newRow("65 ASCII") << Repeated("a", 65) << TooLongMessage << false;
        QTest::newRow("65 emoji") << Repeated(Emoji, 65) << TooLongMessage << false;
        QTest::newRow("65 kana") << Repeated("ア", 65) << TooLongMessage << true;
    }
    void okRefusesRamp() {
        QFETCH(QString, ramp);
        QFETCH(QString, message);
        QFETCH(bool, fromBox);
        Opened run;
        run.dialog->cmbX->setCurrentIndex(9);
        run.dialog->txtCharactor->setText(ramp); // as a stored ramp would arrive
        if (fromBox) {
            run.ShowTab(1);
            run.dialog->txtCharactor->setFocus();
            run.dialog->txtCharactor->end(false);
        }
        run.dialog->cmdOk->click();
        QCOMPARE(run.dialogs.messages.size(), 1);
        QCOMPARE(run.dialogs.messages[0].text, message);
        QCOMPARE(run.dialogs.messages[0].icon, MsgIcon::Critical);
        QCOMPARE(run.dialogs.messages[0].buttons, MsgButtons::OK);
        QVERIFY(run.StillOpen());
        QCOMPARE(run.dialog->tabProp->currentIndex(), 1);
        QVERIFY(run.dialog->picPanel[1]->isVisible());
        QVERIFY(run.dialog->txtCharactor->hasFocus());
        QCOMPARE(run.dialog->txtCharactor->selectedText(), ramp);
        QCOMPARE(mGlyfora::ConversionSettings, Unusual());
        QCOMPARE(run.changed->count(), 0);
    }

    // Up to 64 characters, each counted once however many UTF-16 units it takes.
    void okAcceptsRamp_data() {
        QTest::addColumn<QString>("ramp");
        QTest::newRow("one") << "#";
        QTest::newRow("64 ASCII") << Repeated("x", 64);
        QTest::newRow("64 emoji") << Repeated(Emoji, 64);
        QTest::newRow("Japanese") << "　・：；ヰ図黒■";
        QTest::newRow("64 kanji") << Repeated("漢", 64);
    }
    void okAcceptsRamp() {
        QFETCH(QString, ramp);
        Opened run;
        run.dialog->txtCharactor->setText(ramp);
        run.dialog->cmdOk->click();
        QVERIFY(run.dialogs.messages.isEmpty());
        QVERIFY(run.Accepted());
        QCOMPARE(mGlyfora::ConversionSettings.Charactor, ramp);
    }

    // What a person types, pastes or commits through an input method: 64 characters at
    // most (the excess of the insertion dropped), no control characters, the caret after
    // what went in.
    void rampInput_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("how"); // "type", "paste" or "commit"
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("caretAfter");
        QTest::newRow("typed past the limit")
            << "" << 0 << "type" << Repeated("k", 70) << Repeated("k", 64) << 64;
        QTest::newRow("typed into a full box, middle") << Repeated("a", 64) << 10 << "type"
                                                       << "z" << Repeated("a", 64) << 10;
        QTest::newRow("64 emoji pasted")
            << "" << 0 << "paste" << Repeated(Emoji, 64) << Repeated(Emoji, 64) << 128;
        QTest::newRow("65 emoji pasted")
            << "" << 0 << "paste" << Repeated(Emoji, 65) << Repeated(Emoji, 64) << 128;
        QTest::newRow("paste cut at the caret, tail kept")
            << Repeated("a", 60) << 30 << "paste"
            << "123456" << Repeated("a", 30) + "1234" + Repeated("a", 30) << 34;
        QTest::newRow("emoji pair never split") << Repeated("a", 63) << 63 << "paste"
                                                << Emoji + Emoji << Repeated("a", 63) + Emoji << 65;
        QTest::newRow("Japanese committed") << "ab" << 1 << "commit"
                                            << "漢字かな"
                                            << "a漢字かなb" << 5;
        QTest::newRow("committed past the limit") << Repeated("a", 62) << 62 << "commit"
                                                  << "漢字かな" << Repeated("a", 62) + "漢字" << 64;
        QTest::newRow("controls pasted") << "ab" << 1 << "paste"
                                         << "1\t2\r\n3\x7f"
                                            "4\x01"
                                         << "a1234b" << 5;
        QTest::newRow("separators and C1 controls pasted")
            << "ab" << 1 << "paste" << QStringLiteral("1\u20282\u20293\u00854") << "a1234b" << 5;
        QTest::newRow("line of a copied ramp") << "" << 0 << "paste"
                                               << " .,:;\r\n"
                                               << " .,:;" << 5;
        QTest::newRow("controls don't use up room") << Repeated("a", 62) << 0 << "paste"
                                                    << "\r\n\r\nxy"
                                                    << "xy" + Repeated("a", 62) << 2;
    }
    void rampInput() {
        QFETCH(QString, start);
        QFETCH(int, caret);
        QFETCH(QString, how);
        QFETCH(QString, input);
        QFETCH(QString, result);
        QFETCH(int, caretAfter);
        Opened run;
        QLineEdit* box = run.dialog->txtCharactor;
        run.ShowTab(1);
        box->setFocus();
        box->setText(start);
        box->setCursorPosition(caret);
        if (how == QLatin1String("type"))
            QTest::keyClicks(box, input);
        else if (how == QLatin1String("paste"))
            run.PasteRamp(input);
        else
            run.CommitRamp(input);
        QCOMPARE(box->text(), result);
        QCOMPARE(box->cursorPosition(), caretAfter);
    }

    // Enter neither enters the ramp nor presses OK; Esc still cancels.
    void enterInRamp_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    }
    void enterInRamp() {
        QFETCH(int, key);
        Opened run;
        run.ShowTab(1);
        run.dialog->txtCharactor->setFocus();
        run.dialog->txtCharactor->setCursorPosition(2);
        QTest::keyClick(run.dialog->txtCharactor, Qt::Key(key));
        QCOMPARE(run.dialog->txtCharactor->text(), QStringLiteral("@#+-"));
        QVERIFY(run.StillOpen());
        QCOMPARE(run.changed->count(), 0);
        QTest::keyClick(run.dialog->txtCharactor, Qt::Key_Escape);
        QVERIFY(!run.StillOpen());
        QCOMPARE(mGlyfora::ConversionSettings, Unusual());
    }

    // Enter elsewhere is OK, as the default button.
    void enterElsewhereIsOk() {
        Opened run;
        run.dialog->cmbX->setCurrentIndex(1);
        run.dialog->chkReverse->setFocus();
        QTest::keyClick(run.dialog->chkReverse, Qt::Key_Return);
        QVERIFY(run.Accepted());
        QCOMPARE(int(mGlyfora::ConversionSettings.X), 2);
    }

    // The box selects its whole text whenever it gets the focus.
    void rampSelectedOnFocus() {
        Opened run;
        run.ShowTab(1);
        run.dialog->cmdOk->setFocus();
        run.dialog->txtCharactor->deselect();
        run.dialog->txtCharactor->setFocus(Qt::OtherFocusReason);
        QCOMPARE(run.dialog->txtCharactor->selectedText(), QStringLiteral("@#+-"));
    }
};

GLYFORA_TEST_MAIN(TestOptionRamp)
#include "tst_option_ramp.moc"

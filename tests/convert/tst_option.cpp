// The options dialog: captions and access keys, loading and applying the settings,
// Default, the finish tab and its preview, the recent-list clear, templates' line ends, and
// what the main window sees after OK. The ramp box has its own test (tst_option_ramp).
#include "app/Main.h"
#include "app/frmMain.h"
#include "app/mGlyfora.h"
#include "convert/ArtPreview.h"
#include "convert/ConversionSettings.h"
#include "convert/frmOption.h"
#include "tests/convert/OptionDialogRun.h"
#include "tests/support/ControlList.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StartedWindow.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPictures.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;
using namespace optiontest;

namespace {

const QString DefaultRamp = QStringLiteral(" .,:;!IU0OQRB&%@");
const QString DefaultBefore = QStringLiteral("<HTML><BODY BGCOLOR=\"#FFFFFF\">\r\n"
                                             "<FONT STYLE=\"font-size: 6px; line-height: 0.6\">"
                                             "<PRE>");
const QString DefaultAfter = QStringLiteral("</PRE></FONT>\r\n</BODY></HTML>");
const QString DefaultBeforeHTML =
    QStringLiteral("<HTML><BODY BGCOLOR=\"#FFFFFF\">\r\n<FONT SIZE=\"1\" STYLE=\"font-size: 2px\">"
                   "<PRE STYLE=\"font-family: IPAGothic; line-height: 1\">");

QStringList Items(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

QStringList Numbers(int first, int last) {
    QStringList numbers;
    for (int n = first; n <= last; ++n)
        numbers << QString::number(n);
    return numbers;
}

QStringList ShownRecent(const frmMain& form) {
    QStringList shown;
    for (const QAction* item : form.mnuRecent)
        if (item->isVisible())
            shown << item->text();
    return shown;
}

} // namespace

class TestOption : public OptionDialogTest {
    Q_OBJECT

private Q_SLOTS:
    // The dialog's controls when opened: five tabs, the first shown; OK is the default.
    void controls() {
        Opened run;
        COMPARE_CONTROLS(*run.dialog, R"list(
frmOption "オプション"
  tabProp
    picPanel(0) "変換" index=0
      fraRate "変換ピクセル値"
        cmbX
        cmbY
        lblX "&X:" buddy=cmbX
        lblY "&Y:" buddy=cmbY
      chkReverse "色反転(&R)" checked
    picPanel(1) "キャラクタ" index=1 hidden
      fraCharactor "使用キャラクタ(&U)"
        txtCharactor
    picPanel(2) "ブラウザ出力" index=2 hidden
      fraText "HTML タグ"
        txtBefore
        txtAfter
        lblBefore "前(&B):" buddy=txtBefore
        lblAfter "後(&A):" buddy=txtAfter
    picPanel(3) "HTML出力" index=3 hidden
      fraHTML "HTML タグ"
        txtBeforeHTML
        txtAfterHTML
        lblBeforeHTML "前(&B):" buddy=txtBeforeHTML
        lblAfterHTML "後(&A):" buddy=txtAfterHTML
    picPanel(4) "その他" index=4 hidden
      fraHistory "ファイルヒストリ"
        cmbRecent
        lblRecent "メニュー内のヒストリ個数(&H):" buddy=cmbRecent
        cmdClear "消去(&C)"
    picPanel(5) "仕上がり" index=5 hidden
      fraStyle "変換方式"
        optStyle(0) "そのまま(&E)" index=0
        optStyle(1) "階調(&T)" index=1
        optStyle(2) "形状(&S)" index=2 checked
      fraBrightness "明るさ" disabled
        optBrightness(0) "最大の成分(&M)" index=0
        optBrightness(1) "輝度(&L)" index=1 checked
      chkDither "ディザ(&I)" disabled
      lblPreview "プレビュー"
      picPreview
  cmdDefault "&Default"
  cmdOk "OK" default
  cmdCancel "Cancel"
)list");
        // One panel shown at a time.
        for (int selected : {3, 5, 4, 1}) {
            run.ShowTab(selected);
            for (int i = 0; i < 6; ++i)
                QCOMPARE(run.dialog->picPanel[i]->isVisible(), i == selected);
        }
        // The finish tab fits in the room the other tabs need: the dialog is no larger.
        QSize others;
        for (int i = 0; i < 5; ++i)
            others = others.expandedTo(run.dialog->picPanel[i]->minimumSizeHint());
        const QSize finish = run.dialog->picPanel[5]->minimumSizeHint();
        QVERIFY2(finish.width() <= others.width() && finish.height() <= others.height(),
                 qPrintable(QStringLiteral("%1x%2 in %3x%4")
                                .arg(finish.width())
                                .arg(finish.height())
                                .arg(others.width())
                                .arg(others.height())));
        QCOMPARE(run.dialog->txtCharactor->font().family(), QStringLiteral("ＭＳ ゴシック"));
        const QFontMetrics metrics(run.dialog->txtCharactor->font());
        QCOMPARE(metrics.horizontalAdvance(QLatin1Char('i')),
                 metrics.horizontalAdvance(QLatin1Char('W')));
    }

    // The controls start from the settings, and OK puts them back from list positions.
    void loadAndApply_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("recentMax");
        QTest::addColumn<int>("xRow"); // rows chosen before OK
        QTest::addColumn<int>("yRow");
        QTest::addColumn<int>("recentRow");
        QTest::newRow("lowest") << 1 << 1 << 0 << 9 << 9 << 20;
        QTest::newRow("highest") << 10 << 10 << 20 << 0 << 0 << 0;
        QTest::newRow("middle") << 3 << 7 << 5 << 4 << 2 << 12;
    }
    void loadAndApply() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, recentMax);
        QFETCH(int, xRow);
        QFETCH(int, yRow);
        QFETCH(int, recentRow);
        mGlyfora::ConversionSettings.X = quint8(x);
        mGlyfora::ConversionSettings.Y = quint8(y);
        Opened run;
        run.recentMax = qint16(recentMax);
        run.dialog->Form_Load();
        QCOMPARE(Items(*run.dialog->cmbX), Numbers(1, 10));
        QCOMPARE(Items(*run.dialog->cmbY), Numbers(1, 10));
        QCOMPARE(Items(*run.dialog->cmbRecent), Numbers(0, 20));
        QCOMPARE(run.dialog->cmbX->currentText(), QString::number(x));
        QCOMPARE(run.dialog->cmbY->currentText(), QString::number(y));
        QCOMPARE(run.dialog->cmbRecent->currentText(), QString::number(recentMax));
        QVERIFY(run.dialog->chkReverse->isChecked());
        QCOMPARE(run.dialog->txtCharactor->text(), QStringLiteral("@#+-"));
        QCOMPARE(run.dialog->txtBefore->toPlainText(), QStringLiteral("<P>\nbefore"));

        run.dialog->cmbX->setCurrentIndex(xRow);
        run.dialog->cmbY->setCurrentIndex(yRow);
        run.dialog->cmbRecent->setCurrentIndex(recentRow);
        run.dialog->chkReverse->setChecked(false);
        run.dialog->cmdOk->click();
        QVERIFY(run.Accepted());
        QCOMPARE(int(mGlyfora::ConversionSettings.X), xRow + 1);
        QCOMPARE(int(mGlyfora::ConversionSettings.Y), yRow + 1);
        QCOMPARE(int(run.recentMax), recentRow);
        QCOMPARE(mGlyfora::ConversionSettings.Reverse, false);
        QCOMPARE(run.changed->count(), 1);
    }

    // Default changes the controls only: Cancel, Esc and the close box leave the settings
    // and the recent length alone.
    void defaultThenCancel_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel button") << "button";
        QTest::newRow("Esc") << "esc";
        QTest::newRow("close box") << "close";
    }
    void defaultThenCancel() {
        QFETCH(QString, how);
        Opened run;
        run.dialog->cmdDefault->click();
        QCOMPARE(run.dialog->txtCharactor->text(), DefaultRamp);
        if (how == QLatin1String("button"))
            run.dialog->cmdCancel->click();
        else if (how == QLatin1String("esc"))
            QTest::keyClick(run.dialog.get(), Qt::Key_Escape);
        else
            QVERIFY(run.dialog->close());
        QVERIFY(!run.StillOpen());
        QCOMPARE(run.dialog->result(), int(QDialog::Rejected));
        QCOMPARE(mGlyfora::ConversionSettings, Unusual());
        QCOMPARE(int(run.recentMax), 7);
        QCOMPARE(run.changed->count(), 0);
    }

    void defaultThenOk() {
        Opened run;
        run.dialog->cmdDefault->click();
        run.dialog->cmdOk->click();
        QVERIFY(run.Accepted());
        const mGlyfora::ConversionSettingsRecord& cs = mGlyfora::ConversionSettings;
        QCOMPARE(int(cs.X), 1);
        QCOMPARE(int(cs.Y), 1);
        QCOMPARE(cs.Reverse, false);
        QCOMPARE(cs.Charactor, DefaultRamp);
        QCOMPARE(cs.Before, DefaultBefore);
        QCOMPARE(cs.After, DefaultAfter);
        QCOMPARE(cs.BeforeHTML, DefaultBeforeHTML);
        QCOMPARE(cs.AfterHTML, DefaultAfter);
        QCOMPARE(int(run.recentMax), 4);
        QCOMPARE(cs.Style, quint8(0));
        QCOMPARE(cs.Luminance, false);
        QCOMPARE(cs.Dither, true);
        QCOMPARE(run.changed->count(), 1);
    }

    // The finish tab, clicked and keyed as a person would, then OK; settings start from
    // shape with luminance and no diffusion.
    void finish_data() {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("luminance");
        QTest::addColumn<bool>("dither");
        QTest::addColumn<bool>("brightnessEnabled");
        QTest::addColumn<bool>("ditherEnabled");
        QTest::newRow("untouched") << QStringList() << 2 << true << false << false << false;
        QTest::newRow("tone, diffusion on")
            << QStringList({"tone", "dither"}) << 1 << true << true << false << true;
        QTest::newRow("exact shows its luminance")
            << QStringList({"exact"}) << 0 << true << false << true << false;
        QTest::newRow("exact, largest component")
            << QStringList({"exact", "largest"}) << 0 << false << false << true << false;
        QTest::newRow("exact's choice kept under shape")
            << QStringList({"exact", "largest", "shape"}) << 2 << false << false << false << false;
        QTest::newRow("access keys: tone, diffusion")
            << QStringList({"Alt+T", "Alt+I"}) << 1 << true << true << false << true;
        QTest::newRow("access keys: exact, largest")
            << QStringList({"Alt+E", "Alt+M"}) << 0 << false << false << true << false;
    }
    void finish() {
        QFETCH(QStringList, actions);
        QFETCH(int, style);
        QFETCH(bool, luminance);
        QFETCH(bool, dither);
        QFETCH(bool, brightnessEnabled);
        QFETCH(bool, ditherEnabled);
        Opened run;
        run.ShowTab(5);
        frmOption& d = *run.dialog;
        const QMap<QChar, QAbstractButton*> keyed = {{u'E', d.optStyle[0]},
                                                     {u'T', d.optStyle[1]},
                                                     {u'M', d.optBrightness[0]},
                                                     {u'I', d.chkDither}};
        for (const QString& action : actions) {
            if (action.startsWith(QLatin1String("Alt+"))) {
                // An access key clicks its button a moment later.
                QSignalSpy clicked(keyed.value(action.back()), &QAbstractButton::clicked);
                QTest::keyClick(&d, action.back().toLatin1(), Qt::AltModifier);
                QTRY_COMPARE(clicked.count(), 1);
            } else if (action == QLatin1String("dither"))
                QTest::mouseClick(d.chkDither, Qt::LeftButton);
            else if (action == QLatin1String("largest"))
                QTest::mouseClick(d.optBrightness[0], Qt::LeftButton);
            else
                QTest::mouseClick(
                    d.optStyle[QStringList({"exact", "tone", "shape"}).indexOf(action)],
                    Qt::LeftButton);
        }
        QCOMPARE(d.fraBrightness->isEnabled(), brightnessEnabled);
        QCOMPARE(d.chkDither->isEnabled(), ditherEnabled);
        // Tone and shape show luminance, greyed.
        QCOMPARE(d.optBrightness[1]->isChecked(), luminance || style != 0);
        d.cmdOk->click();
        QVERIFY(run.Accepted());
        const mGlyfora::ConversionSettingsRecord& cs = mGlyfora::ConversionSettings;
        QCOMPARE(int(cs.Style), style);
        QCOMPARE(cs.Luminance, luminance);
        QCOMPARE(cs.Dither, dither);
    }

    // Tab walks the finish tab as the others: the chosen style, the brightness while exact
    // is chosen, diffusion while tone is, then the buttons.
    void finishTabOrder_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("walk");
        QTest::newRow("exact") << 0
                               << QStringList({"optStyle(0)", "optBrightness(1)", "cmdDefault"});
        QTest::newRow("tone") << 1 << QStringList({"optStyle(1)", "chkDither", "cmdDefault"});
    }
    void finishTabOrder() {
        QFETCH(int, style);
        QFETCH(QStringList, walk);
        Opened run;
        run.ShowTab(5);
        QTest::mouseClick(run.dialog->optStyle[style], Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget()->objectName(), walk.front());
        for (const QString& next : walk.mid(1)) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
        }
        // Arrow keys still move the choice within a group.
        run.dialog->optStyle[style]->setFocus();
        QTest::keyClick(run.dialog->optStyle[style], Qt::Key_Down);
        QVERIFY(run.dialog->optStyle[style + 1]->isChecked());
        QVERIFY(!run.dialog->fraBrightness->isEnabled()); // tone and shape grey it
    }

    // Without a picture the preview says so and makes nothing.
    void previewWithoutPicture() {
        Opened run;
        run.ShowTab(5);
        QVERIFY(run.dialog->picPreview->isVisible());
        QVERIFY(!run.dialog->picPreview->HasPicture());
        QCOMPARE(run.dialog->picPreview->Message(), QStringLiteral("画像がありません"));
        QVERIFY(run.dialog->picPreview->Rows().isEmpty());
    }

    // Choices changed while earlier ones are still being made: only the last one's art is
    // shown (left half black, right half white, each cell its top-left pixel).
    void previewShowsTheLastChoice() {
        Opened run;
        frmOption& d = *run.dialog;
        QImage picture(400, 200, QImage::Format_RGB32);
        picture.fill(Qt::white);
        for (int y = 0; y < 200; ++y)
            std::fill_n(reinterpret_cast<QRgb*>(picture.scanLine(y)), 200, qRgb(0, 0, 0));
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setPixelSize(10);
        d.SetPreview(picture, QRectF(0, 0, 400, 200), font, Qt::black, Qt::white);
        QSignalSpy shown(d.picPreview, &ArtPreview::Shown);
        run.ShowTab(5);
        QTRY_COMPARE(shown.count(), 1);
        for (int style : {1, 2, 1, 0})
            QTest::mouseClick(d.optStyle[style], Qt::LeftButton);
        QTRY_COMPARE(shown.count(), 2);
        const QStringList rows = d.picPreview->Rows();
        QVERIFY(!rows.isEmpty());
        // Cell c of n starts at pixel 400c/n: black for c < n/2. The ramp "@#+-" reversed:
        // black '@', white '-'.
        for (const QString& row : rows) {
            const qsizetype black = (row.size() + 1) / 2;
            QCOMPARE(row, QString(black, u'@') + QString(row.size() - black, u'-'));
        }
    }

    // Templates: CR LF shown as line breaks; an untouched box gives back exactly what it
    // was given, an edited one CR LF line ends; Tab moves on instead of entering a tab.
    void templates_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed"); // appended at the end; "" leaves the box alone
        QTest::addColumn<QString>("applied");
        QTest::newRow("CR LF untouched") << "<A>\r\n<B>\r\n"
                                         << ""
                                         << "<A>\r\n<B>\r\n";
        QTest::newRow("lone LF untouched") << "<A>\n<B>"
                                           << ""
                                           << "<A>\n<B>";
        QTest::newRow("lone CR untouched") << "<A>\r<B>"
                                           << ""
                                           << "<A>\r<B>";
        QTest::newRow("no-break space untouched") << "a\u00A0b"
                                                  << ""
                                                  << "a\u00A0b";
        QTest::newRow("empty untouched") << ""
                                         << ""
                                         << "";
        QTest::newRow("line typed") << "<A>\r\n<B>"
                                    << "\n<C>"
                                    << "<A>\r\n<B>\r\n<C>";
        QTest::newRow("no-break space kept when edited") << "a\u00A0b"
                                                         << "c"
                                                         << "a\u00A0bc";
        QTest::newRow("typed into empty") << ""
                                          << "x\ny"
                                          << "x\r\ny";
    }
    void templates() {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(QString, applied);
        mGlyfora::ConversionSettings.AfterHTML = stored;
        Opened run;
        QPlainTextEdit* box = run.dialog->txtAfterHTML;
        QVERIFY(!box->toPlainText().contains(u'\r'));
        if (!typed.isEmpty()) {
            run.ShowTab(3);
            box->setFocus();
            box->moveCursor(QTextCursor::End);
            for (QChar c : typed) {
                if (c == u'\n')
                    QTest::keyClick(box, Qt::Key_Return);
                else
                    QTest::keyClicks(box, QString(c));
            }
        }
        run.dialog->cmdOk->click();
        QVERIFY(run.Accepted());
        QCOMPARE(mGlyfora::ConversionSettings.AfterHTML, applied);
        QCOMPARE(mGlyfora::ConversionSettings.Before, QStringLiteral("<P>\r\nbefore"));
    }

    void tabLeavesTemplate() {
        Opened run;
        run.ShowTab(2);
        run.dialog->txtBefore->setFocus();
        QTest::keyClick(run.dialog->txtBefore, Qt::Key_Tab);
        QVERIFY(!run.dialog->txtBefore->hasFocus());
        QCOMPARE(run.dialog->txtBefore->toPlainText(), QStringLiteral("<P>\nbefore"));
    }

    // The clear question; Yes empties the list at once and for good, No keeps it.
    void clearRecent_data() {
        QTest::addColumn<MsgAnswer>("answer");
        QTest::addColumn<bool>("thenOk");
        QTest::newRow("Yes, then Cancel") << MsgAnswer::Yes << false;
        QTest::newRow("Yes, then OK") << MsgAnswer::Yes << true;
        QTest::newRow("No, then Cancel") << MsgAnswer::No << false;
        QTest::newRow("No, then OK") << MsgAnswer::No << true;
    }
    void clearRecent() {
        QFETCH(MsgAnswer, answer);
        QFETCH(bool, thenOk);
        Opened run;
        run.dialogs.messageAnswers << answer;
        run.ShowTab(4);
        run.dialog->cmdClear->click();
        QCOMPARE(run.dialogs.messages.size(), 1);
        const platform::MessageRequest& asked = run.dialogs.messages[0];
        QCOMPARE(asked.text, QStringLiteral("メニュー内のヒストリを消去します。"));
        QCOMPARE(asked.icon, MsgIcon::Information);
        QCOMPARE(asked.buttons, MsgButtons::YesNo);
        QCOMPARE(asked.defaultButton, 1); // No
        const bool yes = answer == MsgAnswer::Yes;
        QCOMPARE(run.recent[0].isEmpty(), yes);
        QCOMPARE(run.cleared->count(), yes ? 1 : 0);
        QVERIFY(run.StillOpen());
        if (thenOk)
            run.dialog->cmdOk->click();
        else
            run.dialog->cmdCancel->click();
        for (int i = 0; i < int(run.recent.size()); ++i)
            QCOMPARE(run.recent[i].isEmpty(), yes || i > 1);
        QCOMPARE(run.changed->count(), thenOk ? 1 : 0);
    }

    // Through the program's menu: the dialog opens centred over the main window, and the
    // main window follows every OK (status text, recent items) and a clear at once.
    void mainWindowFollows() {
        QTemporaryDir dir;
        const QString picture = testsupport::WritePicture(testsupport::GradientImage(640, 480),
                                                          dir.filePath("p.bmp"), "bmp");
        testsupport::StartedWindow run(picture);
        run.form->setGeometry(50, 60, 900, 700);
        run.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(run.form.get()));
        for (int i = 0; i < 6; ++i)
            mGlyfora::RecentFilesList[i + 1] = QStringLiteral("/old/%1.gif").arg(i);
        mGlyfora::RecentFilesMax = 2;
        run.form->lblOption_Change();
        QCOMPARE(ShownRecent(*run.form).size(), 2);

        int opened = 0;
        QRect placed;
        QRect over;
        std::function<void(frmOption&)> step;
        run.dialogs.modal = [&](QDialog& dialog) {
            ++opened;
            auto& options = dynamic_cast<frmOption&>(dialog);
            dialog.show();
            placed = options.frameGeometry();
            over = run.form->frameGeometry();
            step(options);
            return dialog.result();
        };

        // X = 2, Y = 3: (480 / 3) x (640 / 2) cells = 51200 characters, 50 KByte.
        step = [](frmOption& options) {
            options.cmbX->setCurrentIndex(1);
            options.cmbY->setCurrentIndex(2);
            options.cmdOk->click();
        };
        run.form->mnuOption->trigger();
        QCOMPARE(opened, 1);
        QCOMPARE(run.form->StatusText(), QStringLiteral("Image: 640 x 480 -> 50 KByte"));
        QVERIFY((placed.center() - over.center()).manhattanLength() <= 1);

        // Default brings a menu of four entries.
        step = [](frmOption& options) {
            options.cmdDefault->click();
            options.cmdOk->click();
        };
        run.form->mnuOption->trigger();
        QCOMPARE(run.form->StatusText(), QStringLiteral("Image: 640 x 480 -> 300 KByte"));
        QCOMPARE(ShownRecent(*run.form),
                 QStringList({"&1 " + picture, "&2 /old/0.gif", "&3 /old/1.gif", "&4 /old/2.gif"}));
        QVERIFY(run.form->mnuBarRecent->isVisible());

        // The finish tab previews the picture, in the conversion window's font ("Terminal",
        // shown in IPAGothic, 4 points).
        QStringList previewed;
        QString previewFont;
        step = [&](frmOption& options) {
            QSignalSpy art(options.picPreview, &ArtPreview::Shown);
            options.tabProp->setCurrentIndex(5);
            QTRY_COMPARE(art.count(), 1);
            previewed = options.picPreview->Rows();
            previewFont = QFontInfo(options.picPreview->font()).family() + QLatin1Char(' ') +
                          QString::number(options.picPreview->font().pointSizeF());
            options.cmdCancel->click();
        };
        run.form->mnuOption->trigger();
        QVERIFY(!previewed.isEmpty());
        QCOMPARE(previewFont, QStringLiteral("IPAGothic 4"));

        // OK with nothing changed still refreshes: the status text shows the settings in force.
        run.form->sbrText->setText(QString());
        step = [](frmOption& options) { options.cmdOk->click(); };
        run.form->mnuOption->trigger();
        QCOMPARE(run.form->StatusText(), QStringLiteral("Image: 640 x 480 -> 300 KByte"));

        // Yes to the clear empties the menu while the dialog is still open; Cancel keeps it so.
        run.dialogs.messageAnswers << MsgAnswer::Yes;
        QStringList shownMeanwhile;
        step = [&](frmOption& options) {
            options.cmdClear->click();
            shownMeanwhile = ShownRecent(*run.form);
            options.cmdCancel->click();
        };
        run.form->mnuOption->trigger();
        QCOMPARE(shownMeanwhile, QStringList());
        QCOMPARE(ShownRecent(*run.form), QStringList());
        QVERIFY(!run.form->mnuBarRecent->isVisible());
        QVERIFY(mGlyfora::RecentFilesList[0].isEmpty());
        // An emptied item names no file: choosing it does nothing.
        run.form->mnuRecent_Click(0);
        QCOMPARE(run.dialogs.messages.size(), 1);
        QCOMPARE(opened, 5);
    }
};

GLYFORA_TEST_MAIN(TestOption)
#include "tst_option.moc"

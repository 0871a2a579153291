// The Help menu: the about box (version text, centring, fixed dialog, OK and Esc), the
// help window (document, keyword index, jumps) and a help file that cannot be read.
#include "app/HelpDocument.h"
#include "app/HelpWindow.h"
#include "app/Main.h"
#include "app/frmAbout.h"
#include "app/mGlyfora.h"
#include "tests/support/ControlList.h"
#include "tests/support/FilePermissions.h"
#include "tests/support/StartedWindow.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

using testsupport::StartedWindow;

class TestAboutHelp : public QObject {
    Q_OBJECT

private:
    const QString helpSource = QStringLiteral(GLYFORA_SOURCE_DIR "/help/glyfora.html");

    static int IndexRow(const HelpWindow& window, const QString& keyword) {
        const auto found = window.lstIndex->findItems(keyword, Qt::MatchExactly);
        return found.isEmpty() ? -1 : window.lstIndex->row(found.constFirst());
    }
    // The paragraph at the top of the help view.
    static QString TopBlock(const HelpWindow& window) {
        return window.txtTopic->cursorForPosition(QPoint(4, 4)).block().text().trimmed();
    }

private Q_SLOTS:
    void initTestCase() { mGlyfora::PrepareApplication(*qApp); }
    void init() { testsupport::ResetProcessValues(); }

    void versionText_data() {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("text");
        QTest::newRow("this release") << 2 << 10 << 0 << "Version 2.10";
        QTest::newRow("one-digit minor padded") << 1 << 5 << 0 << "Version 1.05";
        QTest::newRow("minor 0") << 3 << 0 << 0 << "Version 3.00";
        QTest::newRow("revision padded to four") << 2 << 10 << 7 << "Version 2.10.0007";
        QTest::newRow("wide numbers kept whole") << 12 << 345 << 67890 << "Version 12.345.67890";
    }
    void versionText() {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, text);
        QCOMPARE(AboutVersionText(major, minor, revision), text);
    }

    void aboutBox_data() {
        QTest::addColumn<bool>("escape"); // Esc, else the close box
        QTest::addColumn<int>("result");
        QTest::addColumn<QPoint>("mainAt"); // the main window's corner
        QTest::newRow("Esc answers as OK") << true << int(QDialog::Accepted) << QPoint(131, 77);
        QTest::newRow("close box closes") << false << int(QDialog::Rejected) << QPoint(131, 77);
        // Centred over the main window the box would reach past the screen's bottom right.
        QTest::newRow("main window mostly off the screen")
            << true << int(QDialog::Accepted) << QPoint(-1, -1);
    }
    void aboutBox() {
        QFETCH(bool, escape);
        QFETCH(int, result);
        QFETCH(QPoint, mainAt);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const bool offScreen = mainAt == QPoint(-1, -1);
        if (offScreen)
            mainAt = area.bottomRight() - QPoint(100, 60);
        StartedWindow w;
        w.form->setGeometry(QRect(mainAt, QSize(701, 503)));
        w.form->show();
        // What the box showed, seen while it was up.
        struct Seen {
            QString controls;
            Qt::WindowFlags flags;
            QSize minimum, maximum;
            QRect main, at;
            int result = -1;
        } seen;
        int shown = 0;
        w.dialogs.modal = [&](QDialog& dialog) {
            ++shown;
            auto* box = qobject_cast<frmAbout*>(&dialog);
            if (!box)
                return int(QDialog::Rejected);
            seen.controls = testsupport::ControlList(*box);
            seen.flags = box->windowFlags();
            box->show();
            seen.minimum = box->minimumSize();
            seen.maximum = box->maximumSize();
            seen.main = w.form->frameGeometry();
            seen.at = box->frameGeometry();
            if (escape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->close();
            seen.result = box->result();
            return seen.result;
        };
        w.form->mnuAbout_Click();
        QCOMPARE(shown, 1);
        COMPARE_CONTROL_LIST(seen.controls, R"list(
frmAbout "バージョン情報"
  imgIcon icon
  lblTitle "glyfora"
  lblVersion "Version 2.10"
  cmdOk "OK" default
)list");
        // A fixed dialog: no minimise or maximise button, no resizing.
        QVERIFY(!(seen.flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(seen.flags & Qt::WindowMaximizeButtonHint));
        QCOMPARE(seen.minimum, seen.maximum);
        if (offScreen) {
            // Kept on the screen's available area instead, as near the centre as it goes.
            QCOMPARE(seen.at.bottomRight(), area.bottomRight());
            QCOMPARE(seen.result, result);
            return;
        }
        // Centred over the main window to within the half pixel the rounding allows.
        QVERIFY2(qAbs(2 * (seen.at.left() - seen.main.left()) -
                      (seen.main.width() - seen.at.width())) <= 1,
                 qPrintable(QStringLiteral("left %1").arg(seen.at.left())));
        QVERIFY2(qAbs(2 * (seen.at.top() - seen.main.top()) -
                      (seen.main.height() - seen.at.height())) <= 1,
                 qPrintable(QStringLiteral("top %1").arg(seen.at.top())));
        QCOMPARE(seen.result, result);
        // Unloaded once closed.
        QVERIFY(!w.form->findChild<frmAbout*>());
    }

    void applicationIcon() {
        QVERIFY(!QApplication::windowIcon().pixmap(16, 16).isNull());
        StartedWindow w;
        QVERIFY(!w.form->windowIcon().pixmap(16, 16).isNull());
    }

    void helpIndex_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QStringList>("keywordsAndAnchors");
        QTest::newRow("links between the markers only")
            << "<a href=\"#x\">before</a><!-- index --><a href=\"#a\">甲</a><br>"
               "<A HREF=\"#b\">乙 &amp; 丙</A><!-- /index --><a href=\"#y\">after</a>"
            << QStringList{"甲", "a", "乙 & 丙", "b"};
        QTest::newRow("no end marker reads to the end")
            << "<!-- index --><a href=\"#c\">\n  丁\n</a>" << QStringList{"丁", "c"};
        QTest::newRow("no index") << "<a href=\"#a\">甲</a>" << QStringList{};
        QTest::newRow("links elsewhere and empty keywords skipped")
            << "<!-- index --><a href=\"http://x\">外</a><a href=\"#e\"> </a><!-- /index -->"
            << QStringList{};
    }
    void helpIndex() {
        QFETCH(QString, html);
        QFETCH(QStringList, keywordsAndAnchors);
        QStringList got;
        for (const mGlyfora::HelpKeyword& k : mGlyfora::HelpIndex(html))
            got << k.keyword << k.anchor;
        QCOMPARE(got, keywordsAndAnchors);
    }

    // The shipped document: every index entry and every link leads to an anchor in it.
    void helpDocumentLinks() {
        QString error;
        const std::optional<QString> html = mGlyfora::ReadHelpFile(helpSource, &error);
        QVERIFY2(html, qPrintable(error));
        const QList<mGlyfora::HelpKeyword> index = mGlyfora::HelpIndex(*html);
        QVERIFY(index.size() >= 20);
        static const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
        for (auto it = link.globalMatch(*html); it.hasNext();) {
            const QString anchor = it.next().captured(1);
            QVERIFY2(html->contains(QStringLiteral("<a name=\"%1\">").arg(anchor)),
                     qPrintable(anchor));
        }
        // It names the progress dialog's button as it reads, and the page keys' step.
        QVERIFY(html->contains(QStringLiteral("［Cancel］で途中で止められます")));
        QVERIFY(
            html->contains(QStringLiteral("<td>Page Up、Page Down</td><td>上下に 10 ピクセル")));
    }

    void helpWindowJumps_data() {
        QTest::addColumn<QString>("typed"); // into the keyword field, then Enter
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("heading");
        QTest::newRow("colour correction") << "色調"
                                           << "色調補正"
                                           << "色調補正";
        QTest::newRow("wheel is under the mouse") << "ホイ"
                                                  << "ホイール"
                                                  << "マウス";
        QTest::newRow("cell size") << "x"
                                   << "X と Y"
                                   << "セルの大きさ（X と Y）";
        QTest::newRow("near the end") << "設定フ"
                                      << "設定ファイル"
                                      << "設定と作業ファイル";
    }
    void helpWindowJumps() {
        QFETCH(QString, typed);
        QFETCH(QString, keyword);
        QFETCH(QString, heading);
        StartedWindow w;
        mGlyfora::HelpFilePath = helpSource;
        w.form->mnuHelpTopics_Click();
        QVERIFY(w.dialogs.messages.isEmpty());
        auto* help = w.form->findChild<HelpWindow*>();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        help->resize(700, 360);
        QVERIFY(help->txtTopic->toPlainText().startsWith(QStringLiteral("glyfora ヘルプ")));
        QCOMPARE(TopBlock(*help), QStringLiteral("glyfora ヘルプ"));

        // Typed through the input method, as Japanese is.
        QInputMethodEvent typing;
        typing.setCommitString(typed);
        QApplication::sendEvent(help->txtKeyword, &typing);
        QCOMPARE(help->lstIndex->currentRow(), IndexRow(*help, keyword));
        QTest::keyClick(help->txtKeyword, Qt::Key_Return);
        QCOMPARE(TopBlock(*help), heading);

        // Clicking a keyword jumps as well; Contents goes back to the top.
        const int row = IndexRow(*help, QStringLiteral("画像を開く"));
        QVERIFY(row >= 0);
        help->lstIndex->scrollToItem(help->lstIndex->item(row));
        QTest::mouseClick(help->lstIndex->viewport(), Qt::LeftButton, {},
                          help->lstIndex->visualItemRect(help->lstIndex->item(row)).center());
        QCOMPARE(TopBlock(*help), QStringLiteral("画像を開く"));
        help->ShowContents();
        QCOMPARE(TopBlock(*help), QStringLiteral("glyfora ヘルプ"));

        // Asked again, the same window comes forward.
        w.form->mnuHelpTopics_Click();
        QCOMPARE(w.form->findChildren<HelpWindow*>().size(), 1);
    }

    void helpFileUnreadable_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing"
                                 << "ファイルがありません。";
        QTest::newRow("folder") << "folder"
                                << "通常のファイルではありません。";
        QTest::newRow("fifo") << "fifo"
                              << "通常のファイルではありません。";
        QTest::newRow("no permission") << "unreadable"
                                       << "Permission denied";
    }
    void helpFileUnreadable() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("glyfora.hlp"));
        const testsupport::PermissionsBind bind; // root too is refused the unreadable file
        QVERIFY(bind.Holds());
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(path));
        if (kind == QLatin1String("fifo"))
            QVERIFY(testsupport::MakeFifo(path));
        if (kind == QLatin1String("unreadable")) {
            QVERIFY(testsupport::WriteFile(path, "<html></html>", 0200));
        }
        StartedWindow w;
        mGlyfora::HelpFilePath = path;
        w.form->mnuHelpTopics_Click();
        QCOMPARE(w.dialogs.messages.size(), 1);
        const platform::MessageRequest& message = w.dialogs.messages.constFirst();
        QCOMPARE(message.icon, platform::MsgIcon::Critical);
        QCOMPARE(message.buttons, platform::MsgButtons::OK);
        QCOMPARE(message.text,
                 path + QStringLiteral("\nヘルプ ファイルを開けません。\n") + reason +
                     QStringLiteral("\n\nglyfora.hlp がプログラムと同じフォルダーにあるか"
                                    "確認してください。"));
        QVERIFY(!w.form->findChild<HelpWindow*>());
    }
};

GLYFORA_TEST_MAIN(TestAboutHelp)
#include "tst_about_help.moc"

// The conversion runs: the progress dialog and the main window during the scan, cancel
// by button and close box, the question after a text conversion and where each answer
// leads, the clipboard for a text the view cannot take, and the looks against
// glyfora-convert's. The HTML page save has its own test (tst_conversion_run_page).
#include "app/Main.h"
#include "convert/ConversionRun.h"
#include "convert/ConversionSettings.h"
#include "convert/ConversionState.h"
#include "convert/frmPercent.h"
#include "imageops/PictureSurface.h"
#include "platform/SettingsStore.h"
#include "platform/TerminationRequest.h"
#include "platform/mGlyfora.h"
#include "tests/convert/ConversionRunFixture.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/StartedWindow.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"
#include "textwin/ConversionView.h"
#include "textwin/frmText.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <fcntl.h>
#include <functional>
#include <new>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;
using testsupport::ScriptedDialogs;
using namespace runtest;

namespace {

const QString Question = QStringLiteral("ブラウザで表示しますか？");
const QString TooLarge =
    QStringLiteral("画像のサイズが大きすぎるためクリップボードにコピーします。");
const QString StopQuestion = QStringLiteral("変換を中止しますか?");

frmPercent* ProgressDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<frmPercent*>(widget))
            return dialog;
    }
    return nullptr;
}

// Runs `step` at the scan's first chance to let events through.
void DuringScan(std::function<void()> step) {
    QTimer::singleShot(0, qApp, std::move(step));
}

} // namespace

class TestConversionRun : public ConversionRunFixture {
    Q_OBJECT

private Q_SLOTS:

    // The dialog names the conversion, or says that it waits while another copy of the
    // program holds the intermediate file; the main window is away during the scan, and
    // everything is back afterwards.
    void mainWindowStepsAsideDuringTheScan_data() {
        QTest::addColumn<bool>("html");
        QTest::addColumn<bool>("held"); // by another copy until the label was read
        QTest::addColumn<QString>("caption");
        QTest::newRow("text") << false << false << QStringLiteral("テキスト変換中...");
        QTest::newRow("html") << true << false << QStringLiteral("HTML 変換中...");
        QTest::newRow("html, another copy converting")
            << true << true << QStringLiteral("ほかの glyfora の変換が終わるのを待っています...");
    }
    void mainWindowStepsAsideDuringTheScan() {
        QFETCH(bool, html);
        QFETCH(bool, held);
        QFETCH(QString, caption);
        const QByteArray path = QFile::encodeName(mGlyfora::IntermediateFilePath());
        int other = -1;
        if (held) {
            other = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            QVERIFY(other >= 0);
            QCOMPARE(::flock(other, LOCK_EX), 0);
        }
        bool seen = false, mainVisible = true, mainEnabled = true;
        QString label, cancel;
        DuringScan([&] {
            if (other >= 0)
                ::close(std::exchange(other, -1)); // the other copy is done
            frmPercent* dialog = ProgressDialog();
            seen = dialog && dialog->isVisible();
            if (dialog) {
                label = dialog->lblConversion->text();
                cancel = dialog->cmdCancel->text();
            }
            mainVisible = main.isVisible();
            mainEnabled = main.isEnabled();
        });
        dialogs.messageAnswers = {MsgAnswer::Cancel};
        html ? mGlyfora::RunHTMLConversion(Target()) : mGlyfora::RunTextConversion(Target());
        QVERIFY(seen);
        QCOMPARE(label, caption);
        QCOMPARE(cancel, QStringLiteral("Cancel"));
        QVERIFY(!mainVisible);
        QVERIFY(!mainEnabled);
        QVERIFY(main.isVisible());
        QVERIFY(main.isEnabled());
        QVERIFY(!ProgressDialog());
    }

    // Each answer to the question after a text conversion.
    void answersToTheQuestion_data() {
        QTest::addColumn<MsgAnswer>("answer");
        QTest::addColumn<int>("shownCount");
        QTest::addColumn<int>("saveDialogs");
        QTest::newRow("No shows the text") << MsgAnswer::No << 1 << 0;
        QTest::newRow("Yes goes to the HTML save") << MsgAnswer::Yes << 0 << 1;
        QTest::newRow("Cancel drops it") << MsgAnswer::Cancel << 0 << 0;
    }
    void answersToTheQuestion() {
        QFETCH(MsgAnswer, answer);
        QFETCH(int, shownCount);
        QFETCH(int, saveDialogs);
        dialogs.messageAnswers = {answer};
        mGlyfora::RunTextConversion(Target());
        QCOMPARE(dialogs.messages.size(), 1);
        const platform::MessageRequest& asked = dialogs.messages.constFirst();
        QCOMPARE(asked.text, Question);
        QCOMPARE(asked.icon, MsgIcon::Information);
        QCOMPARE(asked.buttons, MsgButtons::YesNoCancel);
        QCOMPARE(asked.defaultButton, 1); // No: Enter does not open the browser
        QCOMPARE(shown.size(), shownCount);
        if (shownCount)
            QCOMPARE(shown.constFirst(), QStringLiteral("<#\r\n#<"));
        QCOMPARE(dialogs.saveRequests.size(), saveDialogs);
    }

    void cancelButtonEndsTheRunQuietly_data() {
        QTest::addColumn<bool>("html");
        QTest::addColumn<int>("style");
        QTest::newRow("text") << false << 0;
        QTest::newRow("html") << true << 0;
        QTest::newRow("text in tone") << false << 1;
        QTest::newRow("text in shape") << false << 2;
    }
    void cancelButtonEndsTheRunQuietly() {
        QFETCH(bool, html);
        QFETCH(int, style);
        mGlyfora::ConversionSettings.Style = quint8(style);
        DuringScan([] { ProgressDialog()->cmdCancel->click(); });
        html ? mGlyfora::RunHTMLConversion(Target()) : mGlyfora::RunTextConversion(Target());
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(dialogs.saveRequests.isEmpty());
        QVERIFY(shown.isEmpty());
        QVERIFY(main.isVisible() && main.isEnabled());
        QVERIFY(!ProgressDialog());
    }

    // A request to end, whenever it comes, ends the run: nothing is read back, asked
    // after it or shown.
    void terminationEndsTheRunAtOnce_data() {
        QTest::addColumn<QString>("moment");
        QTest::addColumn<bool>("html");
        QTest::newRow("before the scan, text") << "before" << false;
        QTest::newRow("before the scan, html") << "before" << true;
        QTest::newRow("during the rows, text") << "rows" << false;
        QTest::newRow("during the rows, html") << "rows" << true;
        QTest::newRow("during the question") << "question" << false;
    }
    void terminationEndsTheRunAtOnce() {
        QFETCH(QString, moment);
        QFETCH(bool, html);
        QFile::remove(mGlyfora::IntermediateFilePath());
        if (moment == "before")
            platform::RequestTermination();
        else if (moment == "rows")
            DuringScan([] { platform::RequestTermination(); });
        else
            dialogs.onMessage = [](const platform::MessageRequest&) {
                platform::RequestTermination();
            };
        html ? mGlyfora::RunHTMLConversion(Target()) : mGlyfora::RunTextConversion(Target());
        QCOMPARE(dialogs.messages.size(), moment == "question" ? 1 : 0);
        QVERIFY(dialogs.saveRequests.isEmpty());
        QVERIFY(shown.isEmpty());
        // Before the scan began, it never does.
        QCOMPARE(QFile::exists(mGlyfora::IntermediateFilePath()), moment != "before");
    }

    // The intermediate file taken away under the scan (another copy of the program
    // ending): the run says so instead of ending without a word.
    void lostIntermediateFileIsReported() {
        DuringScan([] { QFile::remove(mGlyfora::IntermediateFilePath()); });
        mGlyfora::RunTextConversion(Target());
        QCOMPARE(dialogs.messages.size(), 1);
        const platform::MessageRequest& said = dialogs.messages.constFirst();
        QCOMPARE(said.icon, MsgIcon::Critical);
        QCOMPARE(said.text,
                 QStringLiteral("中間ファイルを読み書きできませんでした。\n") +
                     mGlyfora::IntermediateFilePath() +
                     QStringLiteral(": No such file or directory\n変換に失敗しました。"));
        QVERIFY(shown.isEmpty());
    }

    void escapeIsTheCancelButton() {
        DuringScan([] { QTest::keyClick(ProgressDialog(), Qt::Key_Escape); });
        mGlyfora::RunTextConversion(Target());
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(shown.isEmpty());
    }

    // The close box asks; No goes on (the dialog stays), Yes cancels. Either way the
    // person's close never takes the dialog away.
    void closeBoxAsks_data() {
        QTest::addColumn<MsgAnswer>("answer");
        QTest::addColumn<bool>("delivered");
        QTest::newRow("No goes on") << MsgAnswer::No << true;
        QTest::newRow("Yes cancels") << MsgAnswer::Yes << false;
    }
    void closeBoxAsks() {
        QFETCH(MsgAnswer, answer);
        QFETCH(bool, delivered);
        bool stillUp = false;
        DuringScan([&] {
            frmPercent* dialog = ProgressDialog();
            dialog->close();
            stillUp = dialog->isVisible();
        });
        dialogs.messageAnswers = {answer, MsgAnswer::No};
        mGlyfora::RunTextConversion(Target());
        QVERIFY(stillUp);
        QCOMPARE(dialogs.messages.constFirst().text, StopQuestion);
        QCOMPARE(dialogs.messages.constFirst().icon, MsgIcon::Information);
        QCOMPARE(dialogs.messages.constFirst().buttons, MsgButtons::YesNo);
        QCOMPARE(shown.size(), delivered ? 1 : 0);
        QCOMPARE(dialogs.messages.size(), delivered ? 2 : 1);
    }

    // The scan drives the bar: it ends full.
    void progressBarFollowsTheRows() {
        QImage image(4, 6, QImage::Format_RGB32);
        image.fill(Qt::gray);
        QVERIFY(picture.Assign(image));
        int maximum = -1, value = -1;
        QPointer<frmPercent> dialog;
        DuringScan([&] { dialog = ProgressDialog(); });
        // Seen from inside the scan's last chance to let events through, and after it.
        QObject watcher;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &watcher, [&] {
            if (dialog) {
                maximum = dialog->prbPercent->maximum();
                value = dialog->prbPercent->value();
            }
        });
        poll.start(0);
        dialogs.messageAnswers = {MsgAnswer::Cancel};
        mGlyfora::RunTextConversion(Target());
        poll.stop();
        QCOMPARE(maximum, 6); // one row of 1 x 1 cells per picture row
        QVERIFY(value > 0 && value <= 6);
    }

    // An estimate of no rows shows an empty bar, not a busy indicator (a 0..0 range).
    void noRowsShowsAnEmptyBar() {
        frmPercent dialog(main, dialogs);
        dialog.SetProgressRange(0, 0);
        dialog.SetProgress(0);
        QVERIFY(dialog.prbPercent->maximum() > dialog.prbPercent->minimum());
        QCOMPARE(dialog.prbPercent->value(), 0);
    }

    // The dialog is its scan's cancel: a new one does not answer an earlier run's request;
    // its Cancel button and Esc do.
    void dialogIsTheScansCancel_data() {
        QTest::addColumn<int>("key"); // 0: none, else the key pressed
        QTest::addColumn<bool>("expected");
        QTest::newRow("an earlier run's request") << 0 << false;
        QTest::newRow("Cancel") << int(Qt::Key_Space) << true;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << true;
    }
    void dialogIsTheScansCancel() {
        QFETCH(int, key);
        QFETCH(bool, expected);
        mGlyfora::CancelConversion = true;
        frmPercent dialog(main, dialogs);
        if (key == Qt::Key_Space)
            QTest::keyClick(dialog.cmdCancel, Qt::Key_Space);
        else if (key != 0)
            QTest::keyClick(&dialog, Qt::Key(key));
        QCOMPARE(dialog.CancelRequested(), expected);
    }

    void tooLargeForTheViewGoesToTheClipboard_data() {
        QTest::addColumn<bool>("outOfMemory");
        QTest::newRow("too long") << false;
        QTest::newRow("out of memory") << true;
    }
    void tooLargeForTheViewGoesToTheClipboard() {
        QFETCH(bool, outOfMemory);
        view = outOfMemory ? View::OutOfMemory : View::TooLong;
        QGuiApplication::clipboard()->setText(QStringLiteral("earlier"));
        dialogs.messageAnswers = {MsgAnswer::No, MsgAnswer::OK};
        mGlyfora::RunTextConversion(Target());
        QCOMPARE(dialogs.messages.size(), 2);
        QCOMPARE(dialogs.messages.at(1).text, TooLarge);
        QCOMPARE(dialogs.messages.at(1).icon, MsgIcon::Information);
        QCOMPARE(dialogs.messages.at(1).buttons, MsgButtons::OK);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("<#\r\n#<"));
    }

    void emptyResultAsksNothing_data() {
        QTest::addColumn<bool>("html");
        QTest::addColumn<int>("style");
        QTest::newRow("text") << false << 0;
        QTest::newRow("text in tone") << false << 1;
        QTest::newRow("text in shape") << false << 2;
        QTest::newRow("html") << true << 0;
    }
    void emptyResultAsksNothing() {
        QFETCH(bool, html);
        QFETCH(int, style);
        mGlyfora::ConversionSettings.Style = quint8(style);
        // One row of cells, all right of the picture: nothing to show or save.
        const mGlyfora::ConversionRunTarget target = Target({true, 10, 0, 5, 1});
        html ? mGlyfora::RunHTMLConversion(target) : mGlyfora::RunTextConversion(target);
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(dialogs.saveRequests.isEmpty());
        QVERIFY(shown.isEmpty());
    }

    // The selection counts as the shape says, whatever the window's visibility; in every
    // style a black cell takes the ramp's densest character, a white one its lightest.
    void selectionIsScanned_data() {
        QTest::addColumn<int>("style");
        QTest::newRow("exact") << 0;
        QTest::newRow("tone") << 1;
        QTest::newRow("shape") << 2;
    }
    void selectionIsScanned() {
        QFETCH(int, style);
        mGlyfora::ConversionSettings.Style = quint8(style);
        dialogs.messageAnswers = {MsgAnswer::No};
        mGlyfora::RunTextConversion(Target({true, 1, 0, 1, 2}));
        QCOMPARE(shown, QStringList{QStringLiteral("#\r\n<")});
    }

    // A stop once the rows are done: while the text is read back (its bar counts the two
    // chunks of a 1.3 MB result), or while the rows of a mosaic page past the quiet size
    // are copied onto it (the dialog back over the main window, disabled). Nothing is
    // asked, shown or written; an earlier page stays.
    void stopAfterTheRows_data() {
        QTest::addColumn<bool>("html");
        QTest::addColumn<QString>("how");
        QTest::newRow("read-back, Esc") << false << QStringLiteral("esc");
        QTest::newRow("read-back, request to end") << false << QStringLiteral("end");
        QTest::newRow("page copy, Esc") << true << QStringLiteral("esc");
        QTest::newRow("page copy, request to end") << true << QStringLiteral("end");
    }
    void stopAfterTheRows() {
        QFETCH(bool, html);
        QFETCH(QString, how);
        // A mosaic of 72 MB; a text of 700 x 600 characters of three bytes.
        QVERIFY(picture.Assign(html ? CrossingPicture(1600, 1500) : CrossingPicture(700, 600)));
        mGlyfora::ConversionSettings.Charactor = QStringLiteral("あん");
        QTemporaryDir web;
        const QString path = web.path() + QStringLiteral("/page.html");
        QVERIFY(testsupport::WriteFile(QFile::encodeName(path), "earlier page"));
        dialogs.fileAnswers = {ScriptedDialogs::Chosen(path)};
        bool stopped = false, mainEnabled = true;
        QObject watcher;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &watcher, [&] {
            frmPercent* dialog = ProgressDialog();
            const bool afterRows = html ? !dialogs.saveRequests.isEmpty()
                                        : dialog && dialog->prbPercent->maximum() == 2;
            if (stopped || !dialog || !afterRows)
                return;
            stopped = true;
            mainEnabled = main.isEnabled();
            if (how == QLatin1String("esc"))
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                platform::RequestTermination();
        });
        poll.start(0);
        html ? mGlyfora::RunHTMLConversion(Target()) : mGlyfora::RunTextConversion(Target());
        poll.stop();
        platform::ClearTerminationRequestForTests();
        QVERIFY(stopped);
        QVERIFY(!mainEnabled);
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(shown.isEmpty());
        QVERIFY(dialogs.openedFiles.isEmpty());
        QCOMPARE(testsupport::ReadAll(path), QByteArray("earlier page"));
        QCOMPARE(testsupport::Names(web.path()), QStringList{QStringLiteral("page.html")});
        QVERIFY(main.isVisible() && main.isEnabled());
        QVERIFY(!ProgressDialog());
    }

    // A text conversion in each finish through the program's menu, against glyfora-convert
    // run with the same settings file and --font naming the face the conversion window
    // shows ("Terminal" is shown in IPAGothic): the same bytes.
    void looksMatchTheTool_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("dither");
        QTest::addColumn<bool>("luminance");
        QTest::addColumn<bool>("reverse");
        QTest::addColumn<QString>("ramp"); // empty: the default ramp
        // The face the conversion window was given meanwhile; empty: its stored "Terminal".
        QTest::addColumn<QString>("face");
        const QString ipa = QStringLiteral("IPAGothic");
        QTest::newRow("tone") << 1 << true << false << false << QString() << ipa;
        QTest::newRow("tone, no diffusion") << 1 << false << false << false << QString() << ipa;
        QTest::newRow("tone reversed") << 1 << true << false << true << QString() << ipa;
        QTest::newRow("tone, the window's new font")
            << 1 << true << false << false << QString() << "DejaVu Sans Mono";
        QTest::newRow("shape") << 2 << true << false << false << QString() << ipa;
        QTest::newRow("shape, own ramp") << 2 << true << false << false << "/\\|_- " << ipa;
        QTest::newRow("shape, the window's new font")
            << 2 << true << false << false << QString() << "DejaVu Sans Mono";
        QTest::newRow("exact, luminance") << 0 << true << true << false << QString() << ipa;
    }
    void looksMatchTheTool() {
        QFETCH(int, style);
        QFETCH(bool, dither);
        QFETCH(bool, luminance);
        QFETCH(bool, reverse);
        QFETCH(QString, ramp);
        QFETCH(QString, face);
        mGlyfora::PrepareApplication(*qApp);
        {
            platform::SettingsStore store;
            const auto write = [&](const char* key, const QString& value) {
                store.Write(QStringLiteral("Conversion"), QLatin1String(key), value);
            };
            write("Style", QString::number(style));
            write("Dither", dither ? QStringLiteral("True") : QStringLiteral("False"));
            write("Luminance", luminance ? QStringLiteral("True") : QStringLiteral("False"));
            write("Reverse", reverse ? QStringLiteral("True") : QStringLiteral("False"));
            write("X", QStringLiteral("4")); // 22.5 cells across: 22, as the tool cuts them
            write("Y", QStringLiteral("4"));
            if (!ramp.isEmpty())
                write("Charactor", ramp);
            QVERIFY(store.Sync());
        }
        QTemporaryDir dir;
        const QString path =
            testsupport::WritePicture(CrossingPicture(90, 60), dir.filePath("p.png"), "png");
        testsupport::StartedWindow run(path);
        QVERIFY(run.Shown());
        if (face != QLatin1String("IPAGothic"))
            run.form->TextWindow().rtfView->SetBaseFont(QFont(face, 9));
        run.dialogs.messageAnswers << MsgAnswer::No;
        run.form->mnuTextConversion->trigger();
        QVERIFY(run.form->LoadedTextWindow());
        const QString text = run.form->LoadedTextWindow()->rtfView->Text();
        QVERIFY(!text.isEmpty());

        QProcessEnvironment env;
        for (const char* name : {"HOME", "PATH", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"})
            env.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
        QProcess tool;
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral(GLYFORA_CONVERT_PATH), {QStringLiteral("--font"), face, path});
        QVERIFY(tool.waitForFinished(120000));
        QCOMPARE(tool.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()), text + QStringLiteral("\r\n"));
        run.Unload();
    }
};

GLYFORA_TEST_MAIN(TestConversionRun)
#include "tst_conversion_run.moc"

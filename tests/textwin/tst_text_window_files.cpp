// The conversion window's file, print, font and colour commands: dialogs as asked, the
// files written and read, printing read back from PDF, and the input that must not harm.
#include "app/mGlyfora.h"
#include "platform/SettingsStore.h"
#include "platform/TerminationRequest.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"
#include "tests/textwin/TextWindowRun.h"
#include "textwin/ConversionView.h"
#include "textwin/frmText.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <atomic>
#include <memory>
#include <thread>
#include <unistd.h>

using testsupport::ReadAll;
using testsupport::WriteFile;
using namespace textwintest;

namespace {
// Output of a poppler tool, or a skip when it is not installed.
QString Poppler(const char* tool, const QStringList& arguments) {
    QProcess process;
    process.start(QLatin1String(tool), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<failed>");
    return QString::fromUtf8(process.readAllStandardOutput());
}
} // namespace

class TestTextWindowFiles : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    QString Path(const char* name) const { return dir_.filePath(QLatin1String(name)); }

private Q_SLOTS:
    void init() { testsupport::ResetProcessValues(); }

    void openDialogAsAsked();
    void saveDialogAsAsked();
    void cancelChangesNothing();
    void textFileRoundTrip();
    void rtfFileOpenedAsText();
    void filterDecidesSaveType_data();
    void filterDecidesSaveType();
    void rtfRoundTripKeepsColours();
    void badInput_data();
    void badInput();
    void unreadableFile();
    void saveIntoReadOnlyFolder();

    void printTwoCopies();
    void printZeroCopiesPrintsNothing();
    void printLongLinesOnPages();
    void printEndsBetweenPagesOnTermination();

    void fontDialogStartsFromView();
    void fontAppliesToWholeTextKeepingSelection();
    void mixedColoursStartFontDialogOnBlack();
    void fontCancelChangesNothing();
    void backColorDialog();
};

void TestTextWindowFiles::openDialogAsAsked() {
    Loaded w;
    mGlyfora::OpenDirectory = QStringLiteral("/srv/pictures");
    const QString file = Path("a.txt");
    QVERIFY(WriteFile(file, "x"));
    w.dialogs.fileAnswers << testsupport::ScriptedDialogs::Chosen(file, 1);
    w.form->mnuFileOpen_Click();
    QCOMPARE(w.dialogs.openRequests.size(), 1);
    const platform::FileDialogRequest& r = w.dialogs.openRequests[0];
    QCOMPARE(r.DialogTitle, QStringLiteral("ファイルを開く"));
    QCOMPARE(r.InitDir, QStringLiteral("/srv/pictures"));
    QCOMPARE(r.FileName, QString());
    QCOMPARE(r.Filter, QStringLiteral("Text File (*.txt)|*.txt|Rich Text (*.rtf)|*.rtf"));
    QCOMPARE(r.FilterIndex, 1);
    QCOMPARE(r.Flags, 0x1004u);
    QCOMPARE(mGlyfora::OpenDirectory, dir_.path());
    // The main window's picture dialog and this one share the folder: the next starts there.
    w.form->mnuFileOpen_Click();
    QCOMPARE(w.dialogs.openRequests[1].InitDir, dir_.path());
}

void TestTextWindowFiles::saveDialogAsAsked() {
    Loaded w;
    mGlyfora::SaveDirectory = QStringLiteral("/srv/html");
    QCOMPARE(w.view().SetText(QStringLiteral("x")), ViewStatus::Shown);
    w.dialogs.fileAnswers << testsupport::ScriptedDialogs::Chosen(Path("noext"), 1);
    w.form->mnuSaveAs_Click();
    const platform::FileDialogRequest& r = w.dialogs.saveRequests.value(0);
    QCOMPARE(r.DialogTitle, QStringLiteral("名前をつけて保存"));
    QCOMPARE(r.InitDir, QStringLiteral("/srv/html"));
    QCOMPARE(r.Filter, QStringLiteral("Text File (*.txt)|*.txt|Rich Text (*.rtf)|*.rtf"));
    QCOMPARE(r.FilterIndex, 1);
    QCOMPARE(r.Flags, 0x806u);
    QCOMPARE(r.DefaultExt, QString());
    QCOMPARE(mGlyfora::SaveDirectory, dir_.path());
    // Saved under the name as chosen, no extension added.
    QCOMPARE(ReadAll(Path("noext")), QByteArray("x"));
}

void TestTextWindowFiles::cancelChangesNothing() {
    Loaded w;
    mGlyfora::OpenDirectory = QStringLiteral("/o");
    mGlyfora::SaveDirectory = QStringLiteral("/s");
    QCOMPARE(w.view().SetText(QStringLiteral("kept")), ViewStatus::Shown);
    w.form->mnuFileOpen_Click();
    w.form->mnuSaveAs_Click();
    w.form->mnuPrint_Click();
    QCOMPARE(w.view().Text(), QStringLiteral("kept"));
    QCOMPARE(mGlyfora::OpenDirectory, QStringLiteral("/o"));
    QCOMPARE(mGlyfora::SaveDirectory, QStringLiteral("/s"));
    QVERIFY(w.dialogs.messages.isEmpty());
}

void TestTextWindowFiles::textFileRoundTrip() {
    Loaded w;
    QString error;
    const QString text = QStringLiteral("  .:;!\r\n@%&日本\r\n");
    QCOMPARE(w.view().SetText(text), ViewStatus::Shown);
    QVERIFY2(w.form->SaveTextFile(Path("r.txt"), TextFileType::Plain, &error), qPrintable(error));
    QCOMPARE(ReadAll(Path("r.txt")), text.toUtf8());
    QCOMPARE(w.view().SetText(QString()), ViewStatus::Shown);
    QVERIFY2(w.form->LoadTextFile(Path("r.txt"), TextFileType::Plain, &error), qPrintable(error));
    QCOMPARE(w.view().Text(), text);
    // LF files and a byte-order mark read as well.
    QVERIFY(WriteFile(Path("lf.txt"), "\xEF\xBB\xBF"
                                      "a\nb"));
    QVERIFY2(w.form->LoadTextFile(Path("lf.txt"), TextFileType::Plain, &error), qPrintable(error));
    QCOMPARE(w.view().Text(), QStringLiteral("a\r\nb"));
}

void TestTextWindowFiles::rtfFileOpenedAsText() {
    Loaded w;
    const QByteArray rtf = "{\\rtf1\\ansi {\\b bold}\\par}";
    QVERIFY(WriteFile(Path("doc.rtf"), rtf));
    w.dialogs.fileAnswers << testsupport::ScriptedDialogs::Chosen(Path("doc.rtf"), 1);
    w.form->mnuFileOpen_Click();
    QCOMPARE(w.view().Text(), QString::fromLatin1(rtf));
    w.dialogs.fileAnswers << testsupport::ScriptedDialogs::Chosen(Path("doc.rtf"), 2);
    w.form->mnuFileOpen_Click();
    QVERIFY(w.view().Text().startsWith(QStringLiteral("bold")));
    QVERIFY(w.dialogs.messages.isEmpty());
}

void TestTextWindowFiles::filterDecidesSaveType_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<bool>("rtf");
    QTest::newRow("text filter, .rtf name") << QStringLiteral("a.rtf") << 1 << false;
    QTest::newRow("RTF filter, .txt name") << QStringLiteral("b.txt") << 2 << true;
    QTest::newRow("RTF filter, no extension") << QStringLiteral("c") << 2 << true;
}

void TestTextWindowFiles::filterDecidesSaveType() {
    QFETCH(QString, name);
    QFETCH(int, filterIndex);
    QFETCH(bool, rtf);
    Loaded w;
    QCOMPARE(w.view().SetText(QStringLiteral("art\r\nline")), ViewStatus::Shown);
    const QString path = dir_.filePath(name);
    w.dialogs.fileAnswers << testsupport::ScriptedDialogs::Chosen(path, filterIndex);
    w.form->mnuSaveAs_Click();
    const QByteArray bytes = ReadAll(path);
    QCOMPARE(bytes.startsWith("{\\rtf"), rtf);
    if (!rtf)
        QCOMPARE(bytes, QByteArray("art\r\nline"));
}

void TestTextWindowFiles::rtfRoundTripKeepsColours() {
    Loaded w;
    QString error;
    QCOMPARE(w.view().SetText(QStringLiteral("ab")), ViewStatus::Shown);
    w.view().SetSelStart(1);
    w.view().SetSelLength(1);
    w.view().SetSelColor(Blue);
    QVERIFY2(w.form->SaveTextFile(Path("c.rtf"), TextFileType::Rtf, &error), qPrintable(error));
    QCOMPARE(w.view().SetText(QString()), ViewStatus::Shown);
    QVERIFY2(w.form->LoadTextFile(Path("c.rtf"), TextFileType::Rtf, &error), qPrintable(error));
    QCOMPARE(w.view().Text().left(2), QStringLiteral("ab"));
    QCOMPARE(ColourAt(w.view(), 1), Blue);
    w.view().selectAll();
    QVERIFY(!w.view().SelColor());
}

void TestTextWindowFiles::badInput_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QString>("message"); // the whole message; empty for none
    QTest::addColumn<QString>("text");    // the view afterwards; "<kept>" for unchanged
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919 + 13) & 0xFF));
    const QString notRtf = QStringLiteral("RTF 形式のファイルではありません。");
    const QString tooLarge = QStringLiteral("テキストが大きすぎて表示できません。");
    QTest::newRow("truncated RTF") << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 A;}}\\f0 hal") << 2
                                   << QString() << QStringLiteral("hal");
    QTest::newRow("garbage as RTF") << garbage << 2 << notRtf << QStringLiteral("<kept>");
    QTest::newRow("empty as RTF") << QByteArray() << 2 << notRtf << QStringLiteral("<kept>");
    QTest::newRow("empty as text") << QByteArray() << 1 << QString() << QString();
    QTest::newRow("deep RTF") << QByteArray("{\\rtf1 ") + QByteArray(5000, '{') << 2
                              << QStringLiteral("RTF のグループの入れ子が深すぎて読み込めません。")
                              << QStringLiteral("<kept>");
    // The view's limits say so, as for a text file, not that memory ran out.
    QTest::newRow("RTF of more lines than the view takes")
        << "{\\rtf1 " + QByteArray("\\par ").repeated(MaxViewLines) + "x}" << 2 << tooLarge
        << QStringLiteral("<kept>");
    QTest::newRow("RTF longer than the view takes")
        << "{\\rtf1 " + QByteArray(MaxViewText + 1, 'x') + "}" << 2 << tooLarge
        << QStringLiteral("<kept>");
    QTest::newRow("text of more lines than the view takes")
        << QByteArray(MaxViewLines, '\n') << 1 << tooLarge << QStringLiteral("<kept>");
    QTest::newRow("invalid UTF-8 as text") << QByteArray("a\xff\xfe"
                                                         "b")
                                           << 1 << QString() << QStringLiteral("a\ufffd\ufffdb");
}

void TestTextWindowFiles::badInput() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, filterIndex);
    QFETCH(QString, message);
    QFETCH(QString, text);
    Loaded w;
    QCOMPARE(w.view().SetText(QStringLiteral("before")), ViewStatus::Shown);
    QVERIFY(WriteFile(Path("bad"), bytes));
    w.dialogs.fileAnswers << testsupport::ScriptedDialogs::Chosen(Path("bad"), filterIndex);
    w.form->mnuFileOpen_Click();
    QCOMPARE(w.dialogs.messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(w.dialogs.messages[0].icon, platform::MsgIcon::Critical);
        QCOMPARE(w.dialogs.messages[0].text, message);
    }
    QCOMPARE(w.view().Text(), text == QLatin1String("<kept>") ? QStringLiteral("before") : text);
}

void TestTextWindowFiles::unreadableFile() {
    Loaded w;
    QCOMPARE(w.view().SetText(QStringLiteral("before")), ViewStatus::Shown);
    // A folder is no file to read; neither is a file without read permission.
    QString path = dir_.path();
    if (::geteuid() != 0) {
        path = Path("secret.txt");
        QVERIFY(WriteFile(path, "hidden"));
        QFile::setPermissions(path, QFile::WriteOwner);
    }
    w.dialogs.fileAnswers << testsupport::ScriptedDialogs::Chosen(path, 1);
    w.form->mnuFileOpen_Click();
    QCOMPARE(w.dialogs.messages.size(), 1);
    QCOMPARE(w.view().Text(), QStringLiteral("before"));
}

void TestTextWindowFiles::saveIntoReadOnlyFolder() {
    Loaded w;
    QCOMPARE(w.view().SetText(QStringLiteral("new text")), ViewStatus::Shown);
    // As root every folder is writable: a file of /proc stands for one that cannot be replaced.
    QString target = QStringLiteral("/proc/version");
    QByteArray before = ReadAll(target);
    if (::geteuid() != 0) {
        QDir().mkpath(Path("ro"));
        target = Path("ro/old.txt");
        QVERIFY(WriteFile(target, "old"));
        QFile::setPermissions(Path("ro"), QFile::ReadOwner | QFile::ExeOwner);
        before = "old";
    }
    w.dialogs.fileAnswers << testsupport::ScriptedDialogs::Chosen(target, 1);
    w.form->mnuSaveAs_Click();
    QCOMPARE(w.dialogs.messages.size(), 1);
    QCOMPARE(w.dialogs.messages[0].icon, platform::MsgIcon::Critical);
    // Creating a file in /proc: no such entry can be made there.
    QCOMPARE(w.dialogs.messages[0].text,
             QStringLiteral("ファイルを保存できません: ") +
                 (::geteuid() == 0 ? "No such file or directory" : "Permission denied"));
    QCOMPARE(ReadAll(target), before);
    QFile::setPermissions(Path("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestTextWindowFiles::printTwoCopies() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    Loaded w;
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSize(12);
    font.setBold(true);
    font.setStrikeOut(true);
    w.view().SetBaseFont(font);
    QCOMPARE(w.view().SetText(QStringLiteral("FIRST LINE\r\nsecond line")), ViewStatus::Shown);
    w.dialogs.printToFile = Path("two.pdf");
    w.dialogs.printAnswers << platform::PrintDialogResult{2};
    w.form->mnuPrint_Click();
    QCOMPARE(w.dialogs.printRequests.size(), 1);
    QCOMPARE(w.dialogs.printRequests[0].Flags, 0x8000Cu);
    QVERIFY(w.dialogs.messages.isEmpty());
    const QString text = Poppler("pdftotext", {Path("two.pdf"), QStringLiteral("-")});
    QCOMPARE(text.count(QStringLiteral("FIRST LINE")), 2);
    QCOMPARE(text.count(QStringLiteral("second line")), 2);
    // One page per copy, and the copies were made here, not by the printer.
    QVERIFY(Poppler("pdfinfo", {Path("two.pdf")}).contains(QRegularExpression("Pages:\\s+2\\b")));
    QVERIFY(Poppler("pdffonts", {Path("two.pdf")}).contains(QStringLiteral("Bold")));
}

void TestTextWindowFiles::printZeroCopiesPrintsNothing() {
    Loaded w;
    QCOMPARE(w.view().SetText(QStringLiteral("x")), ViewStatus::Shown);
    w.dialogs.printToFile = Path("none.pdf");
    w.dialogs.printAnswers << platform::PrintDialogResult{0};
    w.form->mnuPrint_Click();
    QVERIFY(!QFile::exists(Path("none.pdf")));
    QVERIFY(w.dialogs.messages.isEmpty());
}

void TestTextWindowFiles::printLongLinesOnPages() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        QSKIP("pdfinfo (poppler-utils) is not installed");
    Loaded w;
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSize(10);
    w.view().SetBaseFont(font);
    // 200 lines of 10 points cannot stand on one page; nothing is wrapped.
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QStringLiteral("L%1 ").arg(i, 3, 10, QLatin1Char('0')) + QString(500, u'@');
    QCOMPARE(w.view().SetText(lines.join(QStringLiteral("\r\n"))), ViewStatus::Shown);
    w.dialogs.printToFile = Path("long.pdf");
    w.dialogs.printAnswers << platform::PrintDialogResult{1};
    w.form->mnuPrint_Click();
    const QString info = Poppler("pdfinfo", {Path("long.pdf")});
    const QRegularExpressionMatch pages = QRegularExpression("Pages:\\s+(\\d+)").match(info);
    QVERIFY(pages.hasMatch());
    QVERIFY(pages.captured(1).toInt() >= 3);
    const QString text = Poppler("pdftotext", {Path("long.pdf"), QStringLiteral("-")});
    QVERIFY(text.contains(QStringLiteral("L000")) && text.contains(QStringLiteral("L199")));
}

// 999 copies of a page and a half: asked to end once the first pages are written, the
// print stops at the next page and leaves no file of part of the text, nor a message.
void TestTextWindowFiles::printEndsBetweenPagesOnTermination() {
    Loaded w;
    QStringList lines;
    for (int i = 0; i < 90; ++i)
        lines << QStringLiteral("line %1 ").arg(i) + QString(80, u'#');
    QCOMPARE(w.view().SetText(lines.join(QStringLiteral("\r\n"))), ViewStatus::Shown);
    const QString pdf = Path("long-print.pdf");
    w.dialogs.printToFile = pdf;
    w.dialogs.printAnswers << platform::PrintDialogResult{999};
    // The request comes from outside while the print runs, as a signal's would.
    std::atomic<bool> printed{false};
    std::thread requester([&] {
        while (!printed && QFileInfo(pdf).size() < 100000)
            std::this_thread::yield();
        platform::RequestTermination();
    });
    w.form->mnuPrint_Click();
    printed = true;
    requester.join();
    QVERIFY(platform::TerminationRequested());
    QVERIFY(w.dialogs.messages.isEmpty());
    QVERIFY(!QFile::exists(pdf));
}

void TestTextWindowFiles::fontDialogStartsFromView() {
    Loaded w;
    QFont font(QStringLiteral("Courier"));
    font.setPointSizeF(7.5);
    font.setItalic(true);
    font.setStrikeOut(true);
    w.view().SetBaseFont(font);
    QCOMPARE(w.view().SetText(QStringLiteral("abc")), ViewStatus::Shown);
    w.view().selectAll();
    w.view().SetSelColor(Red);
    w.form->mnuFont_Click();
    QCOMPARE(w.dialogs.fontRequests.size(), 1);
    const platform::FontDialogRequest& r = w.dialogs.fontRequests[0];
    QCOMPARE(r.Flags, 0x10101u);
    QCOMPARE(r.Start.Font.Name, QStringLiteral("Courier"));
    QCOMPARE(r.Start.Font.Size, 7.5f);
    QVERIFY(!r.Start.Font.Bold && r.Start.Font.Italic && r.Start.Font.Strikethrough &&
            !r.Start.Font.Underline);
    QCOMPARE(r.Start.Color, Red);
}

void TestTextWindowFiles::fontAppliesToWholeTextKeepingSelection() {
    Loaded w;
    QCOMPARE(w.view().SetText(QStringLiteral("abcd\r\nefgh")), ViewStatus::Shown);
    w.view().SetSelStart(2);
    w.view().SetSelLength(5);
    w.dialogs.fontAnswers << platform::FontChoice{
        {QStringLiteral("Courier"), 12, false, false, true, true}, Red};
    w.form->mnuFont_Click();
    for (int position : {0, 3, 5, 8})
        QCOMPARE(ColourAt(w.view(), position), Red);
    QCOMPARE(w.view().SelStart(), 2);
    QCOMPARE(w.view().SelLength(), 5);
    const QFont font = w.view().BaseFont();
    QCOMPARE(font.family(), QStringLiteral("Courier"));
    QCOMPARE(font.pointSizeF(), 12.0);
    QVERIFY(font.underline() && font.strikeOut() && !font.bold());
    // Text handed over afterwards takes the chosen colour too.
    QCOMPARE(w.view().SetText(QStringLiteral("next")), ViewStatus::Shown);
    QCOMPARE(ColourAt(w.view(), 2), Red);
}

void TestTextWindowFiles::mixedColoursStartFontDialogOnBlack() {
    Loaded w;
    QCOMPARE(w.view().SetText(QStringLiteral("ab")), ViewStatus::Shown);
    w.view().SetSelStart(0);
    w.view().SetSelLength(1);
    w.view().SetSelColor(Red);
    w.view().SetSelStart(1);
    w.view().SetSelLength(1);
    w.view().SetSelColor(Blue);
    w.form->mnuAllSelect_Click();
    w.form->mnuFont_Click();
    QCOMPARE(w.dialogs.fontRequests.value(0).Start.Color, Colour(0));
}

void TestTextWindowFiles::fontCancelChangesNothing() {
    Loaded w;
    QCOMPARE(w.view().SetText(QStringLiteral("ab")), ViewStatus::Shown);
    w.view().selectAll();
    w.view().SetSelColor(Blue);
    w.view().SetSelStart(1);
    const QFont before = w.view().BaseFont();
    w.form->mnuFont_Click();
    QCOMPARE(w.view().BaseFont(), before);
    QCOMPARE(ColourAt(w.view(), 0), Blue);
    QCOMPARE(w.view().SelStart(), 1);
}

void TestTextWindowFiles::backColorDialog() {
    Loaded w;
    w.form->mnuBackColor_Click();
    QCOMPARE(w.dialogs.colorRequests.value(0).Color, Colour(0x80000005u));
    QCOMPARE(w.dialogs.colorRequests.value(0).Flags, 1u);
    QCOMPARE(w.view().BackColor(), Colour(0x80000005u));
    w.dialogs.colorAnswers << Blue;
    w.form->mnuBackColor_Click();
    QCOMPARE(w.view().BackColor(), Blue);
    QCOMPARE(w.view().palette().color(QPalette::Base), QColor(Qt::blue));
}

GLYFORA_TEST_MAIN(TestTextWindowFiles)
#include "tst_text_window_files.moc"

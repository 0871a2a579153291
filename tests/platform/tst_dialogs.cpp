// The dialog service: file dialogs set up from a request and its flags, real font,
// colour, file and print dialogs driven offscreen, and the scripted answers of tests.
#include "platform/QtDialogs.h"
#include "platform/TerminationSignals.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPalette>
#include <QPrinter>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <functional>
#include <utility>

using namespace platform;

namespace {
const QString TextOrRtf = QStringLiteral("Text File (*.txt)|*.txt|Rich Text (*.rtf)|*.rtf");

// Runs `act` on the modal dialog once it is shown (polled, since exec() blocks the caller).
void WhenModalShown(std::function<void(QDialog&)> act) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(*dialog);
    });
    timer->start();
}

void Accept(QDialog& dialog) {
    dialog.accept();
}
} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::ResetProcessValues(); }
    void fileDialogFollowsRequest_data() {
        QTest::addColumn<bool>("save");
        QTest::addColumn<uint>("flags");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<bool>("asksBeforeReplacing");
        QTest::newRow("open, file must exist")
            << false << 0x1004u << int(QFileDialog::ExistingFile) << false;
        QTest::newRow("open, any name") << false << 0x4u << int(QFileDialog::AnyFile) << false;
        QTest::newRow("save, overwrite prompt")
            << true << 0x806u << int(QFileDialog::AnyFile) << true;
        QTest::newRow("save, no prompt") << true << 0x804u << int(QFileDialog::AnyFile) << false;
    }
    void fileDialogFollowsRequest() {
        QFETCH(bool, save);
        QFETCH(uint, flags);
        QFETCH(int, fileMode);
        QFETCH(bool, asksBeforeReplacing);
        QTemporaryDir dir;
        const FileDialogRequest request{.DialogTitle = QStringLiteral("名前をつけて保存"),
                                        .InitDir = dir.path(),
                                        .Filter = TextOrRtf,
                                        .FilterIndex = 2,
                                        .Flags = flags,
                                        .DefaultExt = QStringLiteral("rtf")};
        QFileDialog dialog;
        ConfigureFileDialog(dialog, request,
                            save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("名前をつけて保存"));
        QCOMPARE(dialog.directory().absolutePath(), dir.path());
        QCOMPARE(int(dialog.fileMode()), fileMode);
        QCOMPARE(dialog.acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        if (save)
            QCOMPARE(!dialog.testOption(QFileDialog::DontConfirmOverwrite), asksBeforeReplacing);
        QCOMPARE(dialog.nameFilters(), QStringList({"Text File (*.txt)", "Rich Text (*.rtf)"}));
        QCOMPARE(dialog.selectedNameFilter(), QStringLiteral("Rich Text (*.rtf)"));
        QCOMPARE(dialog.defaultSuffix(), QStringLiteral("rtf"));
    }

    void printDialogChoicesFollowFlags() {
        using O = QAbstractPrintDialog;
        const auto textWindow = PrintDialogOptions(0x8000C);
        QVERIFY(!textWindow.testFlag(O::PrintSelection));
        QVERIFY(!textWindow.testFlag(O::PrintPageRange));
        QVERIFY(textWindow.testFlag(O::PrintToFile)); // the PDF printer stays offered
        const auto all = PrintDialogOptions(0);
        QVERIFY(all.testFlag(O::PrintSelection));
        QVERIFY(all.testFlag(O::PrintPageRange));
    }

    void realOpenDialogReturnsNameTitleAndFilter() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("b.rtf"));
        QVERIFY(testsupport::WriteFile(path, QByteArray()));
        const FileDialogRequest request{.DialogTitle = QStringLiteral("ファイルを開く"),
                                        .InitDir = dir.path(),
                                        .Filter = TextOrRtf,
                                        .FilterIndex = 2,
                                        .Flags = 0x1004};
        WhenModalShown([&](QDialog& d) {
            auto& dialog = static_cast<QFileDialog&>(d);
            dialog.selectFile(path);
            d.accept(); // QFileDialog's own accept, reached through QDialog
        });
        const auto chosen = QtDialogs().ShowOpen(nullptr, request);
        QVERIFY(chosen);
        QCOMPARE(chosen->FileName, path);
        QCOMPARE(chosen->FileTitle, QStringLiteral("b.rtf"));
        QCOMPARE(chosen->FilterIndex, 2);
    }

    // A name in a folder that does not exist: the save dialog warns and stays open.
    void realSaveDialogRefusesMissingFolder() {
        QTemporaryDir dir;
        const FileDialogRequest request{.DialogTitle = QStringLiteral("名前をつけて保存"),
                                        .InitDir = dir.path(),
                                        .Filter =
                                            QStringLiteral("HTML Files|*.html;*.htm|All Files|*.*"),
                                        .Flags = 0x806};
        QString warning;
        bool stayed = false;
        WhenModalShown([&](QDialog& d) {
            auto& dialog = static_cast<QFileDialog&>(d);
            WhenModalShown([&](QDialog& box) {
                warning = static_cast<QMessageBox&>(box).text();
                box.reject();
            });
            dialog.selectFile(dir.filePath(QStringLiteral("nodir/x.html")));
            d.accept();
            stayed = d.isVisible();
            dialog.selectFile(dir.filePath(QStringLiteral("x.html")));
            d.accept();
        });
        const auto chosen = QtDialogs().ShowSave(nullptr, request);
        QVERIFY(stayed);
        QVERIFY(warning.startsWith(dir.filePath(QStringLiteral("nodir")) + u'\n'));
        QVERIFY(chosen);
        QCOMPARE(chosen->FileName, dir.filePath(QStringLiteral("x.html")));
    }

    void colourDialogStartsOnGivenColour_data() {
        QTest::addColumn<uint>("given");
        QTest::addColumn<QRgb>("returned");
        QTest::newRow("red is 0x0000FF") << 0x0000FFu << QRgb(0xFF0000);
        QTest::newRow("blue is 0xFF0000") << 0xFF0000u << QRgb(0x0000FF);
        QTest::newRow("window background number")
            << 0x80000005u << (QApplication::palette().color(QPalette::Base).rgb() & 0xFFFFFF);
    }
    void colourDialogStartsOnGivenColour() {
        QFETCH(uint, given);
        QFETCH(QRgb, returned);
        WhenModalShown(Accept);
        const auto colour = QtDialogs().ShowColor(nullptr, {given, ColorFlags::RgbInit});
        QVERIFY(colour);
        QCOMPARE(RgbFromColour(*colour) & 0xFFFFFF, returned);
    }

    void colourDialogCancelled() {
        WhenModalShown([](QDialog& d) { d.reject(); });
        QVERIFY(!QtDialogs().ShowColor(nullptr, {0x123456, ColorFlags::RgbInit}));
    }

    void fontDialogReturnsFontAndColour_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<uint>("colour");
        QTest::addColumn<uint>("flags");
        QTest::addColumn<bool>("colourOffered");
        QTest::newRow("classic red") << "DejaVu Sans" << 0x0000FFu << 0x10101u << true;
        QTest::newRow("colour outside the sixteen")
            << "DejaVu Sans" << 0x123456u << 0x10101u << true;
        QTest::newRow("no effects") << "DejaVu Sans" << 0x0000FFu << 0x10001u << false;
        QTest::newRow("family without a bold style") << "IPAGothic" << 0u << 0x10101u << true;
    }
    void fontDialogReturnsFontAndColour() {
        QFETCH(QString, family);
        QFETCH(uint, colour);
        QFETCH(uint, flags);
        QFETCH(bool, colourOffered);
        FontDialogRequest request;
        request.Start = {{family, 9.0f, true, false, true, true}, colour};
        request.Flags = flags;
        bool shown = false;
        WhenModalShown([&](QDialog& d) {
            auto* colours = d.findChild<QComboBox*>(QStringLiteral("colours"));
            shown = colours && colours->isVisible();
            d.accept();
        });
        const auto choice = QtDialogs().ShowFont(nullptr, request);
        QVERIFY(choice);
        QCOMPARE(shown, colourOffered);
        QCOMPARE(choice->Font.Name, family);
        QCOMPARE(choice->Font.Size, 9.0f);
        QVERIFY(choice->Font.Bold);
        QVERIFY(!choice->Font.Italic);
        QVERIFY(choice->Font.Underline);
        QVERIFY(choice->Font.Strikethrough);
        QCOMPARE(choice->Color, Colour(colour));
    }

    // A name that stands for a substitute starts on the face used for it and is kept; the
    // size is listed; the style list and the boxes agree, and the sample follows them.
    void fontDialogKeepsSubstitutedName() {
        FontDialogRequest request;
        request.Start.Font.Name = QStringLiteral("Terminal");
        request.Start.Font.Size = 4;
        request.Flags = 0x10101;
        QString family, size;
        QStringList styles;
        QString boldStyle;
        bool sampleBold = false;
        WhenModalShown([&](QDialog& d) {
            auto* families = d.findChild<QListWidget*>(QStringLiteral("families"));
            auto* sizes = d.findChild<QListWidget*>(QStringLiteral("sizes"));
            auto* list = d.findChild<QListWidget*>(QStringLiteral("styles"));
            if (!families || !sizes || !list)
                return d.accept();
            family = families->currentItem()->text();
            size = sizes->currentItem()->text();
            for (int i = 0; i < list->count(); ++i)
                styles << list->item(i)->text();
            d.findChild<QCheckBox*>(QStringLiteral("bold"))->click();
            boldStyle = list->currentItem()->text();
            sampleBold = d.findChild<QLabel*>(QStringLiteral("sample"))->font().bold();
            d.findChild<QCheckBox*>(QStringLiteral("bold"))->click();
            d.accept();
        });
        const auto choice = QtDialogs().ShowFont(nullptr, request);
        QVERIFY(choice);
        QCOMPARE(family, QFontInfo(QFont(QStringLiteral("Terminal"))).family());
        QCOMPARE(size, QStringLiteral("4"));
        QCOMPARE(styles, (QStringList{"標準", "斜体", "太字", "太字 斜体"}));
        QCOMPARE(boldStyle, QStringLiteral("太字"));
        QVERIFY(sampleBold);
        QCOMPARE(choice->Font.Name, QStringLiteral("Terminal"));
        QCOMPARE(choice->Font.Size, 4.0f);
        QVERIFY(!choice->Font.Bold);
        QCOMPARE(choice->Color, Colour(0));
    }

    // Only fonts that exist: a typed name that is no listed family, or a size that is no
    // number, is refused with a message and the dialog stays open on that box.
    void fontDialogTakesOnlyFontsThatExist_data() {
        QTest::addColumn<QString>("family");    // typed into the name box; empty: left alone
        QTest::addColumn<QString>("size");      // typed into the size box; empty: left alone
        QTest::addColumn<QString>("refusedIn"); // the box the focus goes back to; empty: OK
        QTest::newRow("no such family") << "Zzz Mono" << QString() << "family";
        QTest::newRow("start of a family's name") << "DejaVu Sans M" << QString() << "family";
        QTest::newRow("a family in another case") << "dejavu sans mono" << QString() << QString();
        QTest::newRow("size not a number") << QString() << "abc"
                                           << "size";
        QTest::newRow("size 0") << QString() << "0"
                                << "size";
        QTest::newRow("size past the largest") << QString() << "1639"
                                               << "size";
        QTest::newRow("size with a fraction") << QString() << "10.5" << QString();
    }
    void fontDialogTakesOnlyFontsThatExist() {
        QFETCH(QString, family);
        QFETCH(QString, size);
        QFETCH(QString, refusedIn);
        FontDialogRequest request;
        request.Start = {{QStringLiteral("DejaVu Sans"), 9.0f, false, false, false, false}, 0};
        request.Flags = 0x10101;
        QStringList messages;
        QString focusAfter;
        bool stayedOpen = false;
        WhenModalShown([&](QDialog& d) {
            for (const auto& [name, text] :
                 {std::pair{"family", family}, std::pair{"size", size}}) {
                if (text.isEmpty())
                    continue;
                auto* box = d.findChild<QLineEdit*>(QLatin1String(name));
                box->setFocus();
                box->selectAll();
                QTest::keyClicks(box, text);
            }
            // A refusal's message box is answered as it shows.
            WhenModalShown([&](QDialog& box) {
                if (auto* message = qobject_cast<QMessageBox*>(&box)) {
                    messages << message->text();
                    message->accept();
                }
            });
            QTest::keyClick(d.focusWidget(), Qt::Key_Return);
            stayedOpen = d.isVisible();
            if (QWidget* focus = d.focusWidget())
                focusAfter = focus->objectName();
            if (stayedOpen)
                d.reject();
        });
        const auto choice = QtDialogs().ShowFont(nullptr, request);
        if (refusedIn.isEmpty()) {
            QVERIFY(choice);
            QVERIFY(messages.isEmpty());
            QCOMPARE(choice->Font.Name, family.isEmpty() ? QStringLiteral("DejaVu Sans")
                                                         : QStringLiteral("DejaVu Sans Mono"));
            QCOMPARE(choice->Font.Size, size.isEmpty() ? 9.0f : size.toFloat());
            return;
        }
        QVERIFY(stayedOpen);
        QVERIFY(!choice);
        // The message names what is wrong, as font dialogs word it.
        const QString expected =
            refusedIn == u"family"
                ? QStringLiteral("この名前のフォントはありません。\nフォントの一覧からフォント名を"
                                 "選んでください。")
                : QStringLiteral("サイズには 0 より大きく 1638 以下の数値を入力してください。");
        QCOMPARE(messages, QStringList{expected});
        QCOMPARE(focusAfter, refusedIn);
    }

    // The style list opens on the font's style and sets the boxes as picked; a size of
    // 0 opens on 12.
    void fontDialogStyleAndSize_data() {
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<float>("size");
        QTest::addColumn<int>("pick"); // the style row picked; -1 none
        QTest::addColumn<QString>("opensOn");
        QTest::addColumn<QString>("sizeShown");
        QTest::addColumn<bool>("boldChosen");
        QTest::addColumn<bool>("italicChosen");
        QTest::newRow("bold") << true << false << 9.0f << -1 << "太字"
                              << "9" << true << false;
        QTest::newRow("italic") << false << true << 9.0f << -1 << "斜体"
                                << "9" << false << true;
        QTest::newRow("bold italic") << true << true << 9.0f << -1 << "太字 斜体"
                                     << "9" << true << true;
        QTest::newRow("bold, 斜体 picked") << true << false << 9.0f << 1 << "太字"
                                           << "9" << false << true;
        QTest::newRow("italic, 太字 picked") << false << true << 9.0f << 2 << "斜体"
                                             << "9" << true << false;
        QTest::newRow("size 0") << false << false << 0.0f << -1 << "標準"
                                << "12" << false << false;
    }
    void fontDialogStyleAndSize() {
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(float, size);
        QFETCH(int, pick);
        QFETCH(QString, opensOn);
        QFETCH(QString, sizeShown);
        FontDialogRequest request;
        request.Start = {{QStringLiteral("DejaVu Sans"), size, bold, italic, false, false}, 0};
        request.Flags = 0x10101;
        QString styleShown, sizeText;
        WhenModalShown([&](QDialog& d) {
            auto* styles = d.findChild<QListWidget*>(QStringLiteral("styles"));
            styleShown = styles->currentItem()->text();
            sizeText = d.findChild<QLineEdit*>(QStringLiteral("size"))->text();
            if (pick >= 0)
                styles->setCurrentRow(pick);
            d.accept();
        });
        const auto choice = QtDialogs().ShowFont(nullptr, request);
        QVERIFY(choice);
        QCOMPARE(styleShown, opensOn);
        QCOMPARE(sizeText, sizeShown);
        QTEST(choice->Font.Bold, "boldChosen");
        QTEST(choice->Font.Italic, "italicChosen");
        QCOMPARE(choice->Font.Size, sizeShown.toFloat());
    }

    // Each family once, without its foundry; faces that show no text (TeX's math fonts
    // among them, where installed) are left out.
    void fontDialogListsTextFamiliesOnce() {
        QStringList listed;
        WhenModalShown([&](QDialog& d) {
            auto* families = d.findChild<QListWidget*>(QStringLiteral("families"));
            for (int i = 0; i < families->count(); ++i)
                listed << families->item(i)->text();
            d.reject();
        });
        QtDialogs().ShowFont(nullptr, {{QStringLiteral("DejaVu Sans"), 9}, 0x10101});
        QVERIFY(listed.contains(QStringLiteral("DejaVu Sans Mono")));
        QVERIFY(listed.contains(QStringLiteral("IPAGothic")));
        QCOMPARE(QSet<QString>(listed.begin(), listed.end()).size(), listed.size());
        for (const QString& family : listed)
            QVERIFY2(!family.contains(QStringLiteral(" [")), qPrintable(family));
        for (const char* symbols : {"cmsy10", "cmex10", "msam10"})
            QVERIFY2(!listed.contains(QLatin1String(symbols)), symbols);
        if (!QFontDatabase::families().contains(QStringLiteral("cmsy10")))
            qWarning("fonts-lyx is not installed: no math face to leave out");
    }

    // Enter is OK and Esc is Cancel for the whole dialog, wherever the focus is.
    void fontDialogKeys_data() {
        QTest::addColumn<QString>("focus"); // a list's name; empty: where the focus starts
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("Enter where it starts") << QString() << int(Qt::Key_Return) << true;
        QTest::newRow("Esc where it starts") << QString() << int(Qt::Key_Escape) << false;
        QTest::newRow("Enter in the family list") << "families" << int(Qt::Key_Return) << true;
        QTest::newRow("Esc in the size list") << "sizes" << int(Qt::Key_Escape) << false;
    }
    void fontDialogKeys() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, accepted);
        FontDialogRequest request;
        request.Start = {{QStringLiteral("DejaVu Sans"), 9.0f, false, false, false, false}, 0};
        request.Flags = 0x10101;
        bool closed = false;
        WhenModalShown([&](QDialog& d) {
            QWidget* target = focus.isEmpty() ? d.focusWidget() : d.findChild<QWidget*>(focus);
            if (!target)
                return d.reject();
            target->setFocus();
            QTest::keyClick(target, Qt::Key(key));
            closed = !d.isVisible();
            if (!closed)
                d.reject();
        });
        const auto choice = QtDialogs().ShowFont(nullptr, request);
        QVERIFY(closed);
        QCOMPARE(choice.has_value(), accepted);
    }

    void printDialogReturnsCopies() {
        QTemporaryDir dir;
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("out.pdf")));
        // No page-range, current-page or selection choice is shown, greyed or not: the
        // group holding them stays hidden when the dialog's options are opened too.
        bool found = false, hidden = false;
        WhenModalShown([&](QDialog& d) {
            const auto* pages = d.findChild<QWidget*>(QStringLiteral("gbPrintRange"));
            found = pages;
            hidden = pages && pages->isHidden();
            Accept(d);
        });
        const auto result = QtDialogs().ShowPrinter(nullptr, printer, {0x8000C, 2});
        QVERIFY(result);
        QCOMPARE(result->Copies, 2);
        QVERIFY(found);
        QVERIFY(hidden);
    }

    void scriptedDialogsRecordAndAnswer() {
        testsupport::ScriptedDialogs dialogs;
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("p.pdf"));
        dialogs.fontAnswers << std::nullopt << FontChoice{{QStringLiteral("Sans"), 12}};
        dialogs.colorAnswers << Colour(0x00FF00);
        dialogs.printAnswers << PrintDialogResult{3};
        dialogs.printToFile = pdf;
        QVERIFY(!dialogs.ShowFont(nullptr, {}));
        QCOMPARE(dialogs.ShowFont(nullptr, {{}, 0x10101})->Font.Size, 12.0f);
        QVERIFY(!dialogs.ShowFont(nullptr, {})); // queue empty: cancelled
        QCOMPARE(dialogs.fontRequests.size(), 3);
        QCOMPARE(dialogs.fontRequests[1].Flags, 0x10101u);
        QCOMPARE(*dialogs.ShowColor(nullptr, {0x80000005, 1}), Colour(0x00FF00));
        QCOMPARE(dialogs.colorRequests[0].Color, Colour(0x80000005));
        QPrinter printer;
        QCOMPARE(dialogs.ShowPrinter(nullptr, printer, {0x8000C, 1})->Copies, 3);
        QCOMPARE(printer.outputFileName(), pdf);
        QCOMPARE(printer.copyCount(), 3);
        QCOMPARE(dialogs.printRequests[0].Flags, 0x8000Cu);
    }

    // Last: the request to end cannot be taken back in this process.
    void nothingWaitsOnceTerminationIsRequested() {
        TerminationSignals signals;
        ::raise(SIGTERM);
        QVERIFY(TerminationRequested());
        // Should a dialog show after all, it is accepted, which the checks below notice.
        WhenModalShown(Accept);
        QtDialogs dialogs;
        QVERIFY(!dialogs.ShowOpen(nullptr, {}));
        QVERIFY(!dialogs.ShowSave(nullptr, {}));
        QVERIFY(!dialogs.ShowColor(nullptr, {}));
        QVERIFY(!dialogs.ShowFont(nullptr, {}));
        QPrinter printer;
        QVERIFY(!dialogs.ShowPrinter(nullptr, printer, {}));
        QDialog form;
        QCOMPARE(dialogs.ShowModal(form), int(QDialog::Rejected));
        const MessageRequest question{QStringLiteral("?"), MsgIcon::Question,
                                      MsgButtons::YesNoCancel, 1};
        QCOMPARE(dialogs.MsgBox(nullptr, question), MsgAnswer::No);
    }
};

GLYFORA_TEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"

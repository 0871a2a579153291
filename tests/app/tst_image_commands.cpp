// The image commands of the main window: revert after any sequence of edits, the endings
// each command shares (revert enabled, selection gone or kept), the selection drag in every
// direction and up to the picture's edge, the right-click Image menu, copy and paste
// through the clipboard, and the life of the angle and resize dialogs.
#include "app/Main.h"
#include "app/frmMain.h"
#include "app/mGlyfora.h"
#include "convert/ConversionSettings.h"
#include "imageops/frmAngle.h"
#include "imageops/frmColor.h"
#include "imageops/frmResize.h"
#include "tests/support/StartedWindow.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTransform>

using testsupport::StartedWindow;

namespace {

QImage Working(const frmMain& form) {
    return form.picView->Surface().Image();
}

QRect Selection(const frmMain& form) {
    return QRect(int(form.shpCut->Left()), int(form.shpCut->Top()), int(form.shpCut->Width()),
                 int(form.shpCut->Height()));
}

bool SelectionShown(const frmMain& form) {
    return form.shpCut->isVisibleTo(form.picView);
}

// Answers the image dialogs as a person would: an angle, a width, colour offsets, or
// Cancel, the close box, Esc.
struct Answer {
    QString kind; // "angle", "width", "colour", "cancel", "close", "esc"
    QString value;
    bool counterClockwise = false;
};

int Drive(QDialog& dialog, const Answer& answer) {
    if (answer.kind == QLatin1String("cancel")) {
        dialog.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    } else if (answer.kind == QLatin1String("close")) {
        dialog.close();
    } else if (answer.kind == QLatin1String("esc")) {
        dialog.reject();
    } else if (auto* angle = qobject_cast<frmAngle*>(&dialog)) {
        angle->txtAngle->setText(answer.value);
        angle->optAngle[answer.counterClockwise ? 1 : 0]->setChecked(true);
        angle->cmdOk_Click();
    } else if (auto* resize = qobject_cast<frmResize*>(&dialog)) {
        resize->txtWidth->setFocus();
        resize->txtWidth->setText(answer.value);
        resize->cmdOk_Click();
    } else if (auto* colour = qobject_cast<frmColor*>(&dialog)) {
        const QStringList offsets = answer.value.split(u' ');
        for (int i = 0; i < 3; ++i)
            colour->sldIndex[i]->setValue(offsets.value(i).toInt());
        colour->cmdOk_Click();
    }
    return dialog.result();
}

} // namespace

class TestImageCommands : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    QImage loaded_ = testsupport::GradientImage(300, 200);

    QString Picture(const QImage& image, const QString& name) {
        return testsupport::WritePicture(image, dir_.filePath(name + QStringLiteral(".bmp")),
                                         "bmp");
    }
    QString Loaded() { return Picture(loaded_, QStringLiteral("loaded")); }

    // Runs one command of a sequence; dialogs answer with `answer`.
    static void Run(StartedWindow& run, const QString& step) {
        frmMain& form = *run.form;
        const QStringList parts = step.split(u':');
        const QString command = parts[0];
        Answer answer{parts.value(1), parts.value(2), parts.value(3) == QLatin1String("ccw")};
        run.dialogs.modal = [answer](QDialog& dialog) { return Drive(dialog, answer); };
        // The quarter turns through their menu items, wiring included.
        if (command == QLatin1String("turn180"))
            form.mnuAngle[0]->trigger();
        else if (command == QLatin1String("turn90"))
            form.mnuAngle[1]->trigger();
        else if (command == QLatin1String("turn270"))
            form.mnuAngle[2]->trigger();
        else if (command == QLatin1String("angle"))
            form.mnuAngleIn_Click();
        else if (command == QLatin1String("resize"))
            form.mnuResize_Click();
        else if (command == QLatin1String("mirrorH"))
            form.mnuMirrorH_Click();
        else if (command == QLatin1String("mirrorV"))
            form.mnuMirrorV_Click();
        else if (command == QLatin1String("colour"))
            form.mnuColor_Click();
        else if (command == QLatin1String("revert"))
            form.mnuNormalView_Click();
        else
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }

    static void Select(frmMain& form, QPoint from, QPoint to) {
        form.picView_MouseDown(Qt::LeftButton, {}, from);
        form.picView_MouseMove(Qt::LeftButton, {}, to);
        form.picView_MouseUp(Qt::LeftButton, {}, to, QPoint());
    }

private Q_SLOTS:
    void initTestCase() { mGlyfora::PrepareApplication(*qApp); }

    void init() {
        testsupport::ResetProcessValues();
        QGuiApplication::clipboard()->clear();
    }

    void revertAfterAnySequence_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QSize>("editedSize");
        QTest::newRow("quarter turn") << "turn90" << QSize(200, 300);
        QTest::newRow("turns and mirrors") << "mirrorV,turn180,turn270,mirrorH" << QSize(200, 300);
        // The size after a free turn is the turn's business; QSize() leaves it unchecked.
        QTest::newRow("everything")
            << "resize:width:150,angle:angle:45,mirrorH,colour:colour:50 0 0" << QSize();
        QTest::newRow("colour cancelled") << "colour:cancel" << QSize(300, 200);
        QTest::newRow("angle cancelled") << "angle:cancel" << QSize(300, 200);
        QTest::newRow("resize cancelled") << "resize:cancel" << QSize(300, 200);
        QTest::newRow("twice reverted") << "turn90,revert,mirrorH" << QSize(300, 200);
    }
    void revertAfterAnySequence() {
        QFETCH(QString, steps);
        QFETCH(QSize, editedSize);
        StartedWindow run(Loaded());
        frmMain& form = *run.form;
        QVERIFY(!form.mnuNormalView->isEnabled());
        for (const QString& step : steps.split(u','))
            Run(run, step);
        // Every command enables revert, also one whose dialog was cancelled.
        QVERIFY(form.mnuNormalView->isEnabled());
        if (editedSize.isValid())
            QCOMPARE(Working(form).size(), editedSize);
        QCOMPARE(form.picView->size(), Working(form).size());
        form.mnuNormalView_Click();
        QCOMPARE(Working(form), loaded_);
        QCOMPARE(form.picView->size(), QSize(300, 200));
        QVERIFY(!form.mnuNormalView->isEnabled());
        QCOMPARE(form.StatusText(), QStringLiteral("Image: 300 x 200 -> 59 KByte"));
        QVERIFY(run.dialogs.messages.isEmpty());
    }

    // Each angle item of the Image menu turns the picture: 180°, 90° clockwise, 90°
    // counter-clockwise (a clockwise turn of 270° on the screen, y pointing down).
    void angleItemsTurnThePicture_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("clockwise");
        QTest::newRow("180°") << "turn180" << 180;
        QTest::newRow("90° clockwise") << "turn90" << 90;
        QTest::newRow("90° counter-clockwise") << "turn270" << 270;
    }
    void angleItemsTurnThePicture() {
        QFETCH(QString, step);
        QFETCH(int, clockwise);
        StartedWindow run(Loaded());
        frmMain& form = *run.form;
        Run(run, step);
        const QImage expected = loaded_.transformed(QTransform().rotate(clockwise));
        QCOMPARE(Working(form).convertToFormat(QImage::Format_RGB32),
                 expected.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(form.picView->size(), expected.size());
    }

    // A selection goes with every geometric command and revert, and stays with colour
    // correction, whatever way its dialog ends.
    void selectionAfterCommands_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<bool>("kept");
        QTest::newRow("quarter turn") << "turn90" << false;
        QTest::newRow("half turn") << "turn180" << false;
        QTest::newRow("mirror") << "mirrorV" << false;
        QTest::newRow("angle") << "angle:angle:30" << false;
        QTest::newRow("angle cancelled") << "angle:cancel" << false;
        QTest::newRow("angle closed") << "angle:close" << false;
        QTest::newRow("resize") << "resize:width:100" << false;
        QTest::newRow("resize, Esc") << "resize:esc" << false;
        QTest::newRow("revert") << "revert" << false;
        QTest::newRow("colour") << "colour:colour:10 20 30" << true;
        QTest::newRow("colour cancelled") << "colour:cancel" << true;
        QTest::newRow("colour closed") << "colour:close" << true;
    }
    void selectionAfterCommands() {
        QFETCH(QString, step);
        QFETCH(bool, kept);
        StartedWindow run(Loaded());
        frmMain& form = *run.form;
        Select(form, QPoint(10, 10), QPoint(30, 25));
        QVERIFY(SelectionShown(form));
        Run(run, step);
        QCOMPARE(SelectionShown(form), kept);
        QCOMPARE(form.mnuNormalView->isEnabled(), step != QLatin1String("revert"));
        const QSize size = Working(form).size();
        const QString status =
            kept ? QStringLiteral("Image: 20 x 15 -> 0 KByte")
                 : QStringLiteral("Image: %1 x %2").arg(size.width()).arg(size.height());
        QVERIFY2(form.StatusText().startsWith(status), qPrintable(form.StatusText()));
    }

    void selectionDrag_data() {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QList<QPoint>>("moves");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("down right")
            << QPoint(10, 10) << QList<QPoint>{{30, 25}} << QRect(10, 10, 20, 15);
        QTest::newRow("up left") << QPoint(30, 25) << QList<QPoint>{{10, 10}}
                                 << QRect(10, 10, 20, 15);
        QTest::newRow("back across the start")
            << QPoint(10, 10) << QList<QPoint>{{5, 5}, {20, 20}} << QRect(10, 10, 10, 10);
        QTest::newRow("up right") << QPoint(10, 25) << QList<QPoint>{{30, 10}}
                                  << QRect(10, 10, 20, 15);
        // Past the right and bottom edges the pointer stops just after the last pixel.
        QTest::newRow("past the far edges")
            << QPoint(90, 20) << QList<QPoint>{{150, 90}} << QRect(90, 20, 10, 60);
        QTest::newRow("to the last column")
            << QPoint(90, 20) << QList<QPoint>{{100, 30}} << QRect(90, 20, 10, 10);
        QTest::newRow("past the near edges")
            << QPoint(10, 10) << QList<QPoint>{{-30, -5}} << QRect(0, 0, 10, 10);
    }
    void selectionDrag() {
        QFETCH(QPoint, press);
        QFETCH(QList<QPoint>, moves);
        QFETCH(QRect, expected);
        StartedWindow run(Picture(testsupport::GradientImage(100, 80), QStringLiteral("p")));
        frmMain& form = *run.form;
        form.resize(600, 500);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        PictureBox* picView = form.picView;
        QTest::mousePress(picView, Qt::LeftButton, {}, press);
        QVERIFY(form.Selecting);
        QVERIFY(!SelectionShown(form));
        for (const QPoint& to : moves)
            QTest::mouseMove(picView, to);
        QVERIFY(SelectionShown(form));
        QCOMPARE(form.shpCut->BorderStyle(), int(SelectionShape::Solid));
        QCOMPARE(Selection(form), expected);
        QVERIFY(form.StatusText().startsWith(
            QStringLiteral("Image: %1 x %2 ->").arg(expected.width()).arg(expected.height())));
        QTest::mouseRelease(picView, Qt::LeftButton, {}, moves.last());
        QVERIFY(!form.Selecting);
        QCOMPARE(form.shpCut->BorderStyle(), int(SelectionShape::Dot));
        QCOMPARE(Selection(form), expected);
        QVERIFY(SelectionShown(form));
        // The selection is what a copy takes.
        form.mnuCopy_Click();
        const QImage copied =
            QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(copied, testsupport::GradientImage(100, 80).copy(expected));
    }

    // A click without a move takes the selection away; so does a new press.
    void clickRemovesSelection() {
        StartedWindow run(Loaded());
        frmMain& form = *run.form;
        Select(form, QPoint(10, 10), QPoint(30, 25));
        form.picView_MouseDown(Qt::LeftButton, {}, QPoint(50, 50));
        form.picView_MouseUp(Qt::LeftButton, {}, QPoint(50, 50), QPoint());
        QVERIFY(!SelectionShown(form));
        QCOMPARE(form.StatusText(), QStringLiteral("Image: 300 x 200 -> 59 KByte"));
    }

    // A drag whose button is let go where the picture cannot see it ends all the same.
    void dragEndedElsewhere_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("move without the button") << "move";
        QTest::newRow("window deactivated") << "deactivate";
        QTest::newRow("picture hidden") << "hide";
    }
    void dragEndedElsewhere() {
        QFETCH(QString, how);
        StartedWindow run(Loaded());
        frmMain& form = *run.form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.picView_MouseDown(Qt::LeftButton, {}, QPoint(10, 10));
        form.picView_MouseMove(Qt::LeftButton, {}, QPoint(30, 25));
        if (how == QLatin1String("move")) {
            form.picView_MouseMove(Qt::NoButton, {}, QPoint(60, 60));
        } else if (how == QLatin1String("deactivate")) {
            QEvent deactivate(QEvent::WindowDeactivate);
            QCoreApplication::sendEvent(form.picView, &deactivate);
        } else {
            form.picView->hide();
        }
        QVERIFY(!form.Selecting);
        QCOMPARE(form.shpCut->BorderStyle(), int(SelectionShape::Dot));
        QCOMPARE(Selection(form), QRect(10, 10, 20, 15));
        // Later moves no longer change the selection.
        form.picView_MouseMove(Qt::LeftButton, {}, QPoint(70, 70));
        QCOMPARE(Selection(form), QRect(10, 10, 20, 15));
    }

    void rightClickOpensImageMenu() {
        StartedWindow run(Loaded());
        frmMain& form = *run.form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Select(form, QPoint(10, 10), QPoint(30, 25));
        QTest::mouseClick(form.picView, Qt::RightButton, {}, QPoint(50, 40));
        QVERIFY(form.mnuImage->isVisible());
        QVERIFY(!form.mnuFile->isVisible());
        form.mnuImage->hide();
        QVERIFY(SelectionShown(form));
        QCOMPARE(Selection(form), QRect(10, 10, 20, 15));
    }

    void copyWithoutSelectionTakesWholePicture() {
        StartedWindow run(Loaded());
        frmMain& form = *run.form;
        form.mnuMirrorH_Click(); // the working picture, not the loaded one
        form.mnuCopy_Click();
        const QImage copied =
            QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(copied, loaded_.mirrored(true, false));
    }

    void paste() {
        StartedWindow run(Loaded());
        frmMain& form = *run.form;
        const QStringList recent(mGlyfora::RecentFilesList.begin(),
                                 mGlyfora::RecentFilesList.end());
        // An angle dialog left with an entry: the paste unloads it.
        Run(run, QStringLiteral("angle:angle:45:ccw"));
        form.mnuMirrorH_Click();
        Select(form, QPoint(1, 1), QPoint(5, 5));
        const QImage pasted = testsupport::GradientImage(64, 48).mirrored(false, true);
        QGuiApplication::clipboard()->setImage(pasted);
        form.mnuPaste_Click();
        QCOMPARE(Working(form), pasted);
        QCOMPARE(form.picSave.Image(), pasted);
        QCOMPARE(form.picView->size(), QSize(64, 48));
        QCOMPARE(form.windowTitle(), QStringLiteral("Image - glyfora"));
        QVERIFY(!form.mnuNormalView->isEnabled());
        QVERIFY(!SelectionShown(form));
        QCOMPARE(form.StatusText(), QStringLiteral("Image: 64 x 48 -> 3 KByte"));
        QCOMPARE(QStringList(mGlyfora::RecentFilesList.begin(), mGlyfora::RecentFilesList.end()),
                 recent);
        // Revert and the angle dialog start from the pasted picture.
        form.mnuMirrorV_Click();
        form.mnuNormalView_Click();
        QCOMPARE(Working(form), pasted);
        QString shownAngle;
        bool clockwise = false;
        run.dialogs.modal = [&](QDialog& dialog) {
            auto& angle = static_cast<frmAngle&>(dialog);
            shownAngle = angle.txtAngle->text();
            clockwise = angle.optAngle[0]->isChecked();
            return int(QDialog::Rejected);
        };
        form.mnuAngleIn_Click();
        QCOMPARE(shownAngle, QStringLiteral("0"));
        QVERIFY(clockwise);
    }

    void pasteWithoutPicture_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("text") << "text";
        QTest::newRow("empty") << "empty";
    }
    void pasteWithoutPicture() {
        QFETCH(QString, clipboard);
        StartedWindow run(Loaded());
        frmMain& form = *run.form;
        form.mnuMirrorH_Click();
        const QString caption = form.windowTitle();
        const QImage before = Working(form);
        if (clipboard == QLatin1String("text"))
            QGuiApplication::clipboard()->setText(QStringLiteral("no picture"));
        form.mnuPaste_Click();
        QCOMPARE(form.windowTitle(), caption);
        QCOMPARE(Working(form), before);
        QCOMPARE(form.picSave.Image(), loaded_);
        QVERIFY(form.mnuNormalView->isEnabled());
        QVERIFY(run.dialogs.messages.isEmpty());
    }

    // Pasting into the window with no picture shows it as a load would.
    void pasteIntoEmptyWindow() {
        StartedWindow run;
        frmMain& form = *run.form;
        QGuiApplication::clipboard()->setImage(testsupport::GradientImage(7, 5));
        form.mnuPaste_Click();
        QVERIFY(run.Shown());
        QVERIFY(form.mnuImage->menuAction()->isVisible());
        QVERIFY(form.mnuRun->menuAction()->isVisible());
        QVERIFY(form.mnuCopy->isEnabled());
        QVERIFY(form.mnuResize->isEnabled());
        QVERIFY(form.mnuRevolving->menuAction()->isEnabled());
        QVERIFY(form.tbrButtons[4]->isEnabled());
        QVERIFY(form.tbrButtons[7]->isEnabled());
    }

    // The angle dialog is hidden by OK, Cancel and Esc, keeping its entry; the close box
    // and a new picture unload it.
    void angleDialogLife_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("loadBetween");
        QTest::addColumn<QString>("shownNext");
        QTest::addColumn<bool>("clockwiseNext");
        QTest::newRow("ok") << "ok" << false << "45" << false;
        QTest::newRow("cancel") << "cancel" << false << "45" << false;
        QTest::newRow("esc") << "esc" << false << "45" << false;
        QTest::newRow("close box") << "close" << false << "0" << true;
        QTest::newRow("ok, then a load") << "ok" << true << "0" << true;
    }
    void angleDialogLife() {
        QFETCH(QString, action);
        QFETCH(bool, loadBetween);
        QFETCH(QString, shownNext);
        QFETCH(bool, clockwiseNext);
        StartedWindow run(Loaded());
        frmMain& form = *run.form;
        run.dialogs.modal = [action](QDialog& dialog) {
            auto& angle = static_cast<frmAngle&>(dialog);
            angle.txtAngle->setText(QStringLiteral("45"));
            angle.optAngle[1]->setChecked(true);
            if (action == QLatin1String("ok"))
                angle.cmdOk_Click();
            else
                Drive(dialog, Answer{action, {}});
            return angle.result();
        };
        form.mnuAngleIn_Click();
        if (loadBetween)
            form.LoadImageFile(Loaded());
        QString shown;
        bool clockwise = false;
        run.dialogs.modal = [&](QDialog& dialog) {
            auto& angle = static_cast<frmAngle&>(dialog);
            shown = angle.txtAngle->text();
            clockwise = angle.optAngle[0]->isChecked();
            return int(QDialog::Rejected);
        };
        form.mnuAngleIn_Click();
        QCOMPARE(shown, shownNext);
        QCOMPARE(clockwise, clockwiseNext);
    }

    // The resize dialog offers the working picture's size when loaded, keeps its entries
    // while hidden, and always stretches the loaded picture.
    void resizeDialogLife() {
        const QImage picture = testsupport::GradientImage(200, 100);
        StartedWindow run(Picture(picture, QStringLiteral("r")));
        frmMain& form = *run.form;
        form.mnuAngle_Click(1);
        QStringList offered;
        run.dialogs.modal = [&](QDialog& dialog) {
            auto& resize = static_cast<frmResize&>(dialog);
            offered = QStringList{resize.txtWidth->text(), resize.txtHeight->text(),
                                  resize.txtWidthPer->text(), resize.txtHeightPer->text()};
            resize.cmdOk_Click();
            return resize.result();
        };
        form.mnuResize_Click();
        QCOMPARE(offered, (QStringList{"100", "200", "100", "100"}));
        // The unturned loaded picture stretched to 100 x 200.
        QCOMPARE(Working(form).size(), QSize(100, 200));
        QCOMPARE(Working(form).pixel(99, 199), picture.pixel(199, 99));
        // Each target pixel's centre falls on a source pixel: column 0 shows column 1.
        QCOMPARE(Working(form).pixel(0, 0), picture.pixel(1, 0));
        // The next display shows what was entered, not the picture's size now.
        run.dialogs.modal = [&](QDialog& dialog) {
            auto& resize = static_cast<frmResize&>(dialog);
            resize.txtWidth->setFocus();
            resize.txtWidth->setText(QStringLiteral("50"));
            resize.cmdOk_Click();
            return resize.result();
        };
        form.mnuResize_Click();
        QCOMPARE(Working(form).size(), QSize(50, 100));
        run.dialogs.modal = [&](QDialog& dialog) {
            auto& resize = static_cast<frmResize&>(dialog);
            offered = QStringList{resize.txtWidth->text(), resize.txtHeight->text(),
                                  resize.txtWidthPer->text(), resize.txtHeightPer->text()};
            return int(QDialog::Rejected);
        };
        form.mnuResize_Click();
        QCOMPARE(offered, (QStringList{"50", "100", "50", "50"}));
        form.LoadImageFile(Loaded());
        form.mnuResize_Click();
        QCOMPARE(offered, (QStringList{"300", "200", "100", "100"}));
    }

    // A size whose bitmap cannot be had: the message, the loaded picture back, and the
    // dialog unloaded; the program goes on.
    void resizeBeyondMemory() {
        StartedWindow run(Loaded());
        frmMain& form = *run.form;
        form.mnuMirrorH_Click();
        run.dialogs.modal = [](QDialog& dialog) {
            auto& resize = static_cast<frmResize&>(dialog);
            resize.chkRation->setChecked(false);
            resize.txtWidth->setText(QStringLiteral("30000"));
            resize.txtHeight->setText(QStringLiteral("30000"));
            resize.cmdOk_Click();
            return resize.result();
        };
        form.mnuResize_Click();
        QCOMPARE(run.dialogs.messages.size(), 1);
        QCOMPARE(run.dialogs.messages[0].icon, platform::MsgIcon::Critical);
        QCOMPARE(Working(form), loaded_);
        QVERIFY(form.mnuNormalView->isEnabled());
        bool ratioChecked = false;
        QString width;
        run.dialogs.modal = [&](QDialog& dialog) {
            auto& resize = static_cast<frmResize&>(dialog);
            ratioChecked = resize.chkRation->isChecked();
            width = resize.txtWidth->text();
            return int(QDialog::Rejected);
        };
        form.mnuResize_Click();
        QVERIFY(ratioChecked);
        QCOMPARE(width, QStringLiteral("300"));
    }

    // Colour correction right after loading, cancelled: revert is offered all the same
    // and gives the same picture.
    void colourCancelledRightAfterLoading() {
        StartedWindow run(Loaded());
        frmMain& form = *run.form;
        Run(run, QStringLiteral("colour:cancel"));
        QVERIFY(form.mnuNormalView->isEnabled());
        QCOMPARE(Working(form), loaded_);
        form.mnuNormalView_Click();
        QCOMPARE(Working(form), loaded_);
    }

    // Turning by an entered angle starts from the loaded picture, without later edits.
    void angleStartsFromLoadedPicture() {
        StartedWindow run(Loaded());
        frmMain& form = *run.form;
        form.mnuMirrorV_Click();
        Run(run, QStringLiteral("colour:colour:90 0 0"));
        Run(run, QStringLiteral("angle:angle:0"));
        QCOMPARE(Working(form), loaded_);
    }

    // A failed load empties the surfaces the way the empty picture clears a surface: the
    // size stays, every pixel is the background.
    void failedLoadClearsKeepingSize() {
        StartedWindow run(Picture(testsupport::GradientImage(40, 30), QStringLiteral("s")));
        frmMain& form = *run.form;
        const QString bad = dir_.filePath(QStringLiteral("bad.bmp"));
        QVERIFY(testsupport::WriteFile(bad, "not a picture"));
        form.LoadImageFile(bad);
        QVERIFY(!run.Shown());
        for (const PictureSurface* surface : {&form.picView->Surface(), &form.picSave}) {
            QCOMPARE(surface->Image().size(), QSize(40, 30));
            QCOMPARE(surface->Image().pixel(39, 29), surface->Background());
        }
    }
};

GLYFORA_TEST_MAIN(TestImageCommands)
#include "tst_image_commands.moc"

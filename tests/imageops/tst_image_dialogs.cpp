// The image dialogs on their own: reading typed numbers, the linked fields of the resize
// dialog (as arithmetic and through the real boxes), the angle dialog's range check and
// life, the resize dialog's OK in its outcomes, and the colour dialog's labels, previews,
// Cancel and close box.
#include "imageops/NumericInput.h"
#include "imageops/PictureBox.h"
#include "imageops/ResizeFields.h"
#include "imageops/frmAngle.h"
#include "imageops/frmColor.h"
#include "imageops/frmResize.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPictures.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

using mGlyfora::ResizeBox;
using platform::MsgIcon;

namespace {

// The four boxes in memory, raising the change handler as a text box does.
class MemoryBoxes : public mGlyfora::ResizeBoxes {
public:
    MemoryBoxes(qint32 baseWidth, qint32 baseHeight, bool locked)
        : baseWidth_(baseWidth), baseHeight_(baseHeight), locked_(locked) {
        texts_[ResizeBox::Width] = QString::number(baseWidth);
        texts_[ResizeBox::Height] = QString::number(baseHeight);
        texts_[ResizeBox::WidthPer] = QStringLiteral("100");
        texts_[ResizeBox::HeightPer] = QStringLiteral("100");
    }
    QString Text(ResizeBox box) const override { return texts_.value(box); }
    void SetText(ResizeBox box, const QString& text) override {
        if (texts_.value(box) == text)
            return;
        texts_[box] = text;
        if (++changes_ > 50)
            QFAIL("the boxes never settle");
        mGlyfora::BoxChanged(*this, box, baseWidth_, baseHeight_);
    }
    std::optional<ResizeBox> ActiveBox() const override { return active_; }
    bool RatioLocked() const override { return locked_; }

    // The person puts `text` into `box` in one step (as a paste does), focus in it;
    // "8|0|0" is typed key by key, each key added to what the box shows.
    void Type(ResizeBox box, const QString& text) {
        active_ = box;
        const QStringList keys = text.split(u'|');
        SetText(box, keys.first());
        for (const QString& key : keys.mid(1))
            SetText(box, Text(box) + key);
    }
    QStringList All() const {
        return {texts_.value(ResizeBox::Width), texts_.value(ResizeBox::Height),
                texts_.value(ResizeBox::WidthPer), texts_.value(ResizeBox::HeightPer)};
    }

private:
    qint32 baseWidth_, baseHeight_;
    bool locked_;
    std::optional<ResizeBox> active_;
    QMap<ResizeBox, QString> texts_;
    int changes_ = 0;
};

// A main window stand-in with the picture surfaces the dialogs work on.
struct Host {
    QWidget main;
    testsupport::ScriptedDialogs dialogs;
    PictureBox* picView = new PictureBox(&main);
    PictureSurface picSave;
    PictureSurface picClip;

    explicit Host(const QImage& picture) {
        main.resize(600, 400);
        picView->Surface().Assign(picture);
        picView->SurfaceChanged();
        CopyPicture(picSave, picView->Surface());
    }
};

QImage Solid(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QRgb Pixel(const PictureBox& box, int x, int y) {
    return box.Surface().Image().pixel(x, y) & 0xFFFFFFu;
}

} // namespace

class TestImageDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { testsupport::ResetProcessValues(); }
    void typedNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("val");
        QTest::addColumn<int>("cint");    // -99999: no 16-bit number
        QTest::addColumn<qint64>("clng"); // -9999999999: no 32-bit number
        const int noInt = -99999;
        const qint64 noLong = -9999999999LL;
        QTest::newRow("empty") << "" << 0.0 << noInt << noLong;
        QTest::newRow("blanks around") << "  42 " << 42.0 << 42 << qint64(42);
        QTest::newRow("half rounds to even, down") << "2.5" << 2.5 << 2 << qint64(2);
        QTest::newRow("half rounds to even, up") << "3.5" << 3.5 << 4 << qint64(4);
        QTest::newRow("sign") << "-5" << -5.0 << -5 << qint64(-5);
        QTest::newRow("plus") << "+7" << 7.0 << 7 << qint64(7);
        QTest::newRow("fraction only") << ".5" << 0.5 << 0 << qint64(0);
        QTest::newRow("point without fraction") << "12." << 12.0 << 12 << qint64(12);
        QTest::newRow("tabs around") << "\t12\t" << 12.0 << 12 << qint64(12);
        QTest::newRow("16-bit top") << "32767" << 32767.0 << 32767 << qint64(32767);
        QTest::newRow("past 16 bits") << "32768" << 32768.0 << noInt << qint64(32768);
        QTest::newRow("past 32 bits") << "2147483648" << 2147483648.0 << noInt << noLong;
        QTest::newRow("digits then letters") << "12a" << 12.0 << noInt << noLong;
        QTest::newRow("letters") << "abc" << 0.0 << noInt << noLong;
        QTest::newRow("sign alone") << "-" << 0.0 << noInt << noLong;
    }
    void typedNumbers() {
        QFETCH(QString, text);
        QFETCH(double, val);
        QFETCH(int, cint);
        QFETCH(qint64, clng);
        QCOMPARE(mGlyfora::Val(text), val);
        const std::optional<qint16> i = mGlyfora::CInt(text);
        QCOMPARE(i ? int(*i) : -99999, cint);
        const std::optional<qint32> l = mGlyfora::CLng(text);
        QCOMPARE(l ? qint64(*l) : -9999999999LL, clng);
    }

    void resizeChains_data() {
        QTest::addColumn<int>("baseWidth");
        QTest::addColumn<int>("baseHeight");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("expected"); // width, height, width %, height %
        const int W = int(ResizeBox::Width), H = int(ResizeBox::Height);
        const int WP = int(ResizeBox::WidthPer), HP = int(ResizeBox::HeightPer);
        QTest::newRow("50 % locked")
            << 200 << 100 << true << WP << "50" << QStringList{"100", "50", "50", "50"};
        QTest::newRow("width 300 locked")
            << 200 << 100 << true << W << "300" << QStringList{"300", "150", "150", "150"};
        // The chain never rewrites the box it started from.
        QTest::newRow("typed box kept")
            << 300 << 100 << true << W << "10" << QStringList{"10", "3", "3", "3"};
        QTest::newRow("typed key by key")
            << 1920 << 1080 << true << W << "8|0|0" << QStringList{"800", "450", "42", "42"};
        // 20000 % of 1000 is 200000, six characters: the pixel box cannot show it.
        QTest::newRow("result too long for its box")
            << 1000 << 10 << true << WP << "20000" << QStringList{"1000", "10", "20000", "100"};
        QTest::newRow("height locked")
            << 200 << 100 << true << H << "25" << QStringList{"50", "25", "25", "25"};
        QTest::newRow("height % locked")
            << 200 << 100 << true << HP << "150" << QStringList{"300", "150", "150", "150"};
        QTest::newRow("unlocked width")
            << 200 << 100 << false << W << "300" << QStringList{"300", "100", "150", "100"};
        QTest::newRow("0.5 % rounds to 0")
            << 200 << 100 << false << W << "1" << QStringList{"1", "100", "0", "100"};
        QTest::newRow("1.5 % rounds to 2")
            << 200 << 100 << false << W << "3" << QStringList{"3", "100", "2", "100"};
        QTest::newRow("2.5 % rounds to 2")
            << 200 << 100 << false << W << "5" << QStringList{"5", "100", "2", "100"};
        QTest::newRow("3.5 % rounds to 4")
            << 200 << 100 << false << W << "7" << QStringList{"7", "100", "4", "100"};
        QTest::newRow("unlocked percent")
            << 200 << 100 << false << WP << "25" << QStringList{"50", "100", "25", "100"};
        QTest::newRow("empty") << 200 << 100 << true << W << ""
                               << QStringList{"", "100", "100", "100"};
        QTest::newRow("zero") << 200 << 100 << true << W << "0"
                              << QStringList{"0", "100", "100", "100"};
        QTest::newRow("zero percent")
            << 200 << 100 << true << HP << "0" << QStringList{"200", "100", "100", "0"};
        QTest::newRow("past 16 bits")
            << 200 << 100 << true << W << "40000" << QStringList{"40000", "100", "100", "100"};
        QTest::newRow("pasted letters")
            << 200 << 100 << true << W << "12a" << QStringList{"12a", "100", "100", "100"};
        // The base of a picture wider than 16 bits still gives its fields.
        QTest::newRow("wide picture")
            << 40000 << 100 << true << WP << "50" << QStringList{"20000", "50", "50", "50"};
    }
    void resizeChains() {
        QFETCH(int, baseWidth);
        QFETCH(int, baseHeight);
        QFETCH(bool, locked);
        QFETCH(int, box);
        QFETCH(QString, typed);
        QFETCH(QStringList, expected);
        MemoryBoxes boxes(baseWidth, baseHeight, locked);
        boxes.Type(ResizeBox(box), typed);
        QCOMPARE(boxes.All(), expected);

        // The same through the dialog's real boxes.
        Host host(Solid(baseWidth, baseHeight, qRgb(1, 2, 3)));
        frmResize form(host.main, host.dialogs, *host.picView, host.picSave);
        form.Form_Load();
        form.chkRation->setChecked(locked);
        QLineEdit* edits[4] = {form.txtWidth, form.txtHeight, form.txtWidthPer, form.txtHeightPer};
        if (box >= 2)
            form.optPercent->setChecked(true);
        edits[box]->setFocus();
        const QStringList keys = typed.split(u'|');
        edits[box]->setText(keys.first());
        for (const QString& key : keys.mid(1))
            edits[box]->insert(key);
        const QStringList shown = {edits[0]->text(), edits[1]->text(), edits[2]->text(),
                                   edits[3]->text()};
        QCOMPARE(shown, expected);
    }

    // A value the program writes into the other pair goes no further.
    void changeOutsideThePairStops() {
        MemoryBoxes boxes(200, 100, true);
        boxes.Type(ResizeBox::Width, QStringLiteral("100")); // focus in the pixel pair
        QCOMPARE(boxes.All(), (QStringList{"100", "50", "50", "50"}));
        Host host(Solid(200, 100, qRgb(1, 2, 3)));
        frmResize form(host.main, host.dialogs, *host.picView, host.picSave);
        form.Form_Load();
        form.txtWidth->setFocus();
        form.txtHeightPer->setText(QStringLiteral("10"));
        QCOMPARE(form.txtHeight->text(), QStringLiteral("100"));
        QCOMPARE(form.txtWidthPer->text(), QStringLiteral("100"));
    }

    void resizeDialogStart() {
        Host host(Solid(200, 100, qRgb(1, 2, 3)));
        frmResize form(host.main, host.dialogs, *host.picView, host.picSave);
        form.Form_Load();
        QCOMPARE(form.windowTitle(), QStringLiteral("サイズ変更"));
        QCOMPARE(form.txtWidth->text(), QStringLiteral("200"));
        QCOMPARE(form.txtHeight->text(), QStringLiteral("100"));
        QCOMPARE(form.txtWidthPer->text(), QStringLiteral("100"));
        QCOMPARE(form.txtHeightPer->text(), QStringLiteral("100"));
        QVERIFY(form.optPixel->isChecked());
        QVERIFY(form.chkRation->isChecked());
        QVERIFY(form.fraPixel->isEnabled());
        QVERIFY(!form.fraPercent->isEnabled());
        QCOMPARE(form.txtWidth->maxLength(), 5);
        QCOMPARE(form.txtHeightPer->maxLength(), 10);
        QCOMPARE(form.txtWidth->property("Tag").toString(), QStringLiteral("0"));
        QCOMPARE(form.txtHeightPer->property("Tag").toString(), QStringLiteral("3"));
        const QStringList captions = {form.lblTitle[0]->text(), form.lblTitle[1]->text(),
                                      form.lblTitle[4]->text(), form.lblTitle[5]->text(),
                                      form.optPixel->text(),    form.optPercent->text(),
                                      form.chkRation->text()};
        QCOMPARE(captions, (QStringList{"幅(&W):", "高さ(&H):", "高さ(&I):", "幅(&D):",
                                        "ピクセル(&X)", "倍率 ％(&P)", "縦横比を固定(&C)"}));
        form.optPercent->click();
        QVERIFY(!form.fraPixel->isEnabled());
        QVERIFY(form.fraPercent->isEnabled());
    }

    // OK: the loaded picture stretched; a size that cannot be had: message, the loaded
    // picture back, the dialog to be unloaded; no number or a pasted sign: nothing.
    void resizeOk_data() {
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<int>("result"); // 1 accepted, 0 stays open, -1 to be unloaded
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("messages");
        QTest::newRow("double") << "8"
                                << "6" << 1 << QSize(8, 6) << 0;
        QTest::newRow("huge") << "30000"
                              << "30000" << -1 << QSize(4, 3) << 1;
        QTest::newRow("largest typed") << "99999"
                                       << "99999" << -1 << QSize(4, 3) << 1;
        QTest::newRow("empty") << ""
                               << "6" << 0 << QSize(2, 2) << 0;
        QTest::newRow("pasted sign") << "-5"
                                     << "6" << 0 << QSize(2, 2) << 0;
        QTest::newRow("zero") << "0"
                              << "6" << 1 << QSize(0, 0) << 0;
    }
    void resizeOk() {
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(int, result);
        QFETCH(QSize, size);
        QFETCH(int, messages);
        QImage loaded(4, 3, QImage::Format_RGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                loaded.setPixel(x, y, qRgb(x * 60, y * 100, 7));
        Host host(loaded);
        // The working picture differs from the loaded one (an earlier edit).
        host.picView->Surface().Assign(Solid(2, 2, qRgb(9, 9, 9)));
        host.picView->SurfaceChanged();
        frmResize form(host.main, host.dialogs, *host.picView, host.picSave);
        form.Form_Load();
        form.chkRation->setChecked(false);
        form.show();
        form.txtWidth->setText(width);
        form.txtHeight->setText(height);
        form.cmdOk_Click();
        QCOMPARE(host.dialogs.messages.size(), messages);
        if (messages)
            QCOMPARE(host.dialogs.messages[0].icon, MsgIcon::Critical);
        QCOMPARE(form.isVisible(), result == 0);
        QCOMPARE(form.UnloadRequested(), result < 0);
        QCOMPARE(host.picView->Surface().Image().size(), size);
        QCOMPARE(host.picView->size(), size);
        if (result != 0 && !size.isEmpty()) {
            // Nearest pixel: every source pixel doubled, or the loaded picture back.
            const int scale = size.width() / 4;
            QCOMPARE(Pixel(*host.picView, 7 * scale / 2, 5 * scale / 2),
                     loaded.pixel(3, 2) & 0xFFFFFFu);
        }
    }

    void angleDialog_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("0") << "0" << true;
        QTest::newRow("360") << "360" << true;
        QTest::newRow("361") << "361" << false;
        QTest::newRow("pasted -5") << "-5" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("pasted letters") << "ab" << false;
    }
    void angleDialog() {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        Host host(testsupport::GradientImage(5, 4));
        host.picView->Surface().Assign(Solid(3, 3, qRgb(9, 9, 9))); // an earlier edit
        frmAngle form(host.main, host.dialogs, *host.picView, host.picSave);
        form.Form_Load();
        form.show();
        form.txtAngle->setText(typed);
        form.cmdOk->setFocus();
        form.cmdOk_Click();
        QCOMPARE(form.isVisible(), !accepted);
        if (accepted) {
            // 0 and 360 turn the loaded picture into itself.
            QVERIFY(host.dialogs.messages.isEmpty());
            QCOMPARE(host.picView->Surface().Image(), host.picSave.Image());
        } else {
            QCOMPARE(host.dialogs.messages.size(), 1);
            QCOMPARE(host.dialogs.messages[0].text,
                     QStringLiteral("0°から360°の範囲で指定してください。"));
            QCOMPARE(host.dialogs.messages[0].icon, MsgIcon::Information);
            QCOMPARE(form.focusWidget(), form.txtAngle);
            QCOMPARE(host.picView->Surface().ScaleWidth(), 3);
        }
    }

    void angleDialogFace() {
        Host host(testsupport::GradientImage(5, 4));
        frmAngle form(host.main, host.dialogs, *host.picView, host.picSave);
        form.Form_Load();
        QCOMPARE(form.windowTitle(), QStringLiteral("角度入力"));
        QCOMPARE(form.lblTitle->text(), QStringLiteral("角度(&A):"));
        QCOMPARE(form.optAngle[0]->text(), QStringLiteral("°（時計回り）(&C)"));
        QCOMPARE(form.optAngle[1]->text(), QStringLiteral("°（反時計回り）(&W)"));
        QCOMPARE(form.txtAngle->text(), QStringLiteral("0"));
        QVERIFY(form.optAngle[0]->isChecked());
        QVERIFY(form.cmdOk->isDefault());
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.txtAngle->setFocus();
        QVERIFY(form.txtAngle->hasSelectedText());
        QTest::keyClicks(form.txtAngle, QStringLiteral("12x34"));
        QCOMPARE(form.txtAngle->text(), QStringLiteral("123"));
        // Esc hides (the owner keeps it), the close box asks to be unloaded.
        QTest::keyClick(form.txtAngle, Qt::Key_Escape);
        QVERIFY(!form.isVisible());
        QVERIFY(!form.UnloadRequested());
        QCOMPARE(form.txtAngle->text(), QStringLiteral("123"));
        form.show();
        form.close();
        QVERIFY(form.UnloadRequested());
    }

    // Clockwise and counter-clockwise turn opposite ways: a 90° clockwise turn sends the
    // top-left pixel to the top-right corner.
    void angleDirection() {
        QImage picture = Solid(4, 2, qRgb(0, 0, 255));
        picture.setPixel(0, 0, qRgb(255, 0, 0));
        for (int option = 0; option < 2; ++option) {
            Host host(picture);
            frmAngle form(host.main, host.dialogs, *host.picView, host.picSave);
            form.Form_Load();
            form.txtAngle->setText(QStringLiteral("90"));
            form.optAngle[option]->setChecked(true);
            form.cmdOk_Click();
            const QImage& turned = host.picView->Surface().Image();
            QCOMPARE(turned.size(), QSize(2, 4));
            const QPoint red = option == 0 ? QPoint(1, 0) : QPoint(0, 3);
            QCOMPARE(turned.pixel(red) & 0xFFFFFFu, 0xFF0000u);
        }
    }

    void colourLabels_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << " 0";
        QTest::newRow("top") << 100 << " 100";
        QTest::newRow("bottom") << -100 << "-100";
        QTest::newRow("small negative") << -7 << "-7";
    }
    void colourLabels() {
        QFETCH(int, value);
        QFETCH(QString, text);
        Host host(Solid(2, 2, qRgb(0, 0, 0)));
        frmColor form(host.main, *host.picView, host.picClip);
        form.Form_Load();
        QCOMPARE(form.lblValue[1]->text(), QStringLiteral(" 0"));
        form.sldIndex[1]->setValue(value);
        QCOMPARE(form.lblValue[1]->text(), text);
        QCOMPARE(form.sldIndex[1]->minimum(), -100);
        QCOMPARE(form.sldIndex[1]->maximum(), 100);
    }

    void colourDialogFace() {
        Host host(Solid(2, 2, qRgb(0, 0, 0)));
        frmColor form(host.main, *host.picView, host.picClip);
        form.Form_Load();
        const QStringList captions = {form.windowTitle(),       form.fraIndex->title(),
                                      form.lblTitle[2]->text(), form.lblTitle[3]->text(),
                                      form.lblTitle[4]->text(), form.chkPreview->text(),
                                      form.cmdOk->text(),       form.cmdCancel->text()};
        QCOMPARE(captions, (QStringList{"色調補正", "色調", "赤(&R):", "緑(&G):", "青(&B):",
                                        "プレビュー(&P)", "OK", "Cancel"}));
        QVERIFY(!form.chkPreview->isChecked());
        // Dragging moves the label only; the preview waits for the value to settle.
        form.chkPreview->setChecked(true);
        form.sldIndex[0]->setSliderDown(true);
        form.sldIndex[0]->setSliderPosition(40);
        QCOMPARE(form.lblValue[0]->text(), QStringLiteral(" 40"));
        QCOMPARE(Pixel(*host.picView, 0, 0), 0x000000u);
        form.sldIndex[0]->setSliderDown(false);
        QCOMPARE(Pixel(*host.picView, 0, 0), 0x280000u);
    }

    // Previews come from the opening picture; Cancel, OK and the close box end it.
    void colourPreviewAndEnd_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QRgb>("result"); // the picture's colour at the end
        // The opening picture is (200, 100, 50) everywhere.
        QTest::newRow("previews do not add up") << "preview,r50,r20,close" << qRgb(220, 100, 50);
        QTest::newRow("cancel after previews") << "preview,r50,cancel" << qRgb(200, 100, 50);
        QTest::newRow("preview off, then cancel")
            << "preview,r50,unpreview,cancel" << qRgb(200, 100, 50);
        QTest::newRow("preview off keeps the last")
            << "preview,r50,unpreview,r10,close" << qRgb(250, 100, 50);
        QTest::newRow("esc cancels") << "preview,r50,esc" << qRgb(200, 100, 50);
        QTest::newRow("ok without preview") << "r-100,g100,b30,ok" << qRgb(100, 200, 80);
        QTest::newRow("clamped both ways") << "r100,b-100,ok" << qRgb(255, 100, 0);
        QTest::newRow("close without preview") << "r50,close" << qRgb(200, 100, 50);
        QTest::newRow("ok with nothing moved") << "ok" << qRgb(200, 100, 50);
    }
    void colourPreviewAndEnd() {
        QFETCH(QString, steps);
        QFETCH(QRgb, result);
        Host host(Solid(3, 2, qRgb(200, 100, 50)));
        frmColor form(host.main, *host.picView, host.picClip);
        form.Form_Load();
        form.show();
        int accepted = -1;
        connect(&form, &QDialog::finished, this, [&](int r) { accepted = r; });
        for (const QString& step : steps.split(u',')) {
            if (step == QLatin1String("preview"))
                form.chkPreview->setChecked(true);
            else if (step == QLatin1String("unpreview"))
                form.chkPreview->setChecked(false);
            else if (step == QLatin1String("cancel"))
                form.cmdCancel->click();
            else if (step == QLatin1String("ok"))
                form.cmdOk->click();
            else if (step == QLatin1String("close"))
                form.close();
            else if (step == QLatin1String("esc"))
                QTest::keyClick(&form, Qt::Key_Escape);
            else
                form.sldIndex[QStringLiteral("rgb").indexOf(step[0])]->setValue(
                    step.mid(1).toInt());
        }
        QVERIFY(!form.isVisible());
        QVERIFY(accepted >= 0);
        QCOMPARE(Pixel(*host.picView, 2, 1), result & 0xFFFFFFu);
        QCOMPARE(host.picView->Surface().ScaleWidth(), 3);
    }
};

GLYFORA_TEST_MAIN(TestImageDialogs)
#include "tst_image_dialogs.moc"

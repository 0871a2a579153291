// The main window's view: layout arithmetic in twips, the keys and the wheel on the two
// scroll bars, and the same on a real window with a loaded picture.
#include "app/ScrollModel.h"
#include "app/ViewLayout.h"
#include "app/ViewNavigation.h"
#include "app/frmMain.h"
#include "platform/Rounding.h"
#include "platform/Twips.h"
#include "tests/support/StartedWindow.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPictures.h"

#include <QFrame>
#include <QLabel>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

using mGlyfora::ViewLayout;
using mGlyfora::ViewLayoutInput;

Q_DECLARE_METATYPE(ViewLayoutInput)
Q_DECLARE_METATYPE(ViewLayout)

namespace {
// Bars 17 pixels thick at 15 twips per pixel.
constexpr double Bar = 255;

ViewLayout Current() {
    ViewLayout current;
    current.hsbView.geometry.height = Bar;
    current.vsbView.geometry.width = Bar;
    current.picBase = {0, 0, 1111, 1234};
    current.hsbView.smallChange = 15;
    return current;
}

// A 9000 x 6000 twips client area without toolbar and status bar, and a picture of
// w x h pixels at 15 twips per pixel.
ViewLayoutInput Input(int w, int h) {
    ViewLayoutInput in;
    in.clientWidth = 9000;
    in.clientHeight = 6000;
    in.pictureShown = true;
    in.pictureWidth = w * 15.0;
    in.pictureHeight = h * 15.0;
    in.picturePixelWidth = w;
    in.picturePixelHeight = h;
    return in;
}

void TurnWheel(QWidget* widget, int delta) {
    const QPointF local(2, 2);
    QWheelEvent event(local, widget->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}
} // namespace

class TestView : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;

    QString Picture(int w, int h) {
        return testsupport::WritePicture(testsupport::GradientImage(w, h),
                                         dir_.filePath(QStringLiteral("p%1x%2.bmp").arg(w).arg(h)),
                                         "bmp");
    }

    // A shown main window with a w x h picture loaded; with `relative`, w and h are added
    // to the viewport's inner size.
    std::unique_ptr<testsupport::StartedWindow> Shown(int w, int h, bool relative = false) {
        auto run = std::make_unique<testsupport::StartedWindow>();
        frmMain& form = *run->form;
        form.resize(640, 480);
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            return nullptr;
        const QRect inner = form.picBase->contentsRect();
        form.LoadImageFile(
            Picture(relative ? inner.width() + w : w, relative ? inner.height() + h : h));
        return run;
    }

private Q_SLOTS:
    void init() { testsupport::ResetProcessValues(); }
    void layout_data() {
        QTest::addColumn<ViewLayoutInput>("in");
        QTest::addColumn<ViewLayout>("expected");

        // 596 x 396 pixels is 8940 x 5940 twips: exactly the inner area, no bar.
        ViewLayout fits = Current();
        fits.picBase = {0, 0, 9000, 6000};
        fits.hsbView.geometry = {0, 5685, 8940, Bar};
        fits.hsbView.max = 0;
        fits.hsbView.smallChange = 15;
        fits.hsbView.largeChange = 150;
        fits.vsbView.geometry = {8685, 0, Bar, 5940};
        fits.vsbView.max = 0;
        fits.vsbView.smallChange = 15;
        fits.vsbView.largeChange = 150;
        fits.picScollBar = {0, 0, Bar, Bar};
        QTest::newRow("fits with the allowance") << Input(596, 396) << fits;

        // 598 pixels = 8970 twips: 30 twips narrower than the viewport, wider than its inside.
        ViewLayout narrow = fits;
        narrow.hsbView.visible = true;
        narrow.hsbView.max = 30;
        // The horizontal bar shortens the (hidden) vertical one all the same.
        narrow.vsbView.geometry.height = 5940 - Bar;
        narrow.vsbView.max = 4500 - 6000 + 60 + 255;
        QTest::newRow("two pixels narrower") << Input(598, 300) << narrow;

        // Fits across only while no vertical bar is shown: the vertical bar brings the
        // horizontal one, each shortens the other, and the corner box fills the crossing.
        ViewLayout cascade = fits;
        cascade.hsbView.visible = true;
        cascade.vsbView.visible = true;
        cascade.hsbView.geometry.width = 8940 - Bar;
        cascade.hsbView.max = 0 + 255;
        cascade.vsbView.geometry.height = 5940 - Bar;
        cascade.vsbView.max = 7500 - 6000 + 60 + 255;
        cascade.cornerVisible = true;
        cascade.picScollBar = {8685, 5685, Bar, Bar};
        QTest::newRow("vertical bar brings horizontal") << Input(596, 500) << cascade;

        // Fits down only while no horizontal bar is shown.
        ViewLayout cascadeDown = cascade;
        cascadeDown.hsbView.max = 12000 - 9000 + 60 + 255;
        cascadeDown.vsbView.max = 5940 - 6000 + 60 + 255;
        QTest::newRow("horizontal bar brings vertical") << Input(800, 396) << cascadeDown;

        // Toolbar 420 and status bar 300 twips take their room from the viewport.
        ViewLayoutInput bars = Input(596, 396);
        bars.clientHeight = 6720;
        bars.toolbarShown = true;
        bars.toolbarHeight = 420;
        bars.statusBarShown = true;
        bars.statusBarHeight = 300;
        ViewLayout barsLayout = fits;
        barsLayout.picBase = {0, 420, 9000, 6000};
        QTest::newRow("toolbar and status bar") << bars << barsLayout;

        // No picture: the bars keep their visibility (hidden here); a viewport that would
        // have a negative height keeps the one it has.
        ViewLayoutInput tiny = Input(0, 0);
        tiny.pictureShown = false;
        tiny.clientHeight = 500;
        tiny.toolbarShown = true;
        tiny.toolbarHeight = 420;
        tiny.statusBarShown = true;
        tiny.statusBarHeight = 300;
        ViewLayout tinyLayout = Current();
        tinyLayout.picBase = {0, 420, 9000, 1234};
        tinyLayout.hsbView.geometry = {0, 1234 - Bar - 60, 8940, Bar};
        tinyLayout.hsbView.max = 0 - 9000 + 60;
        tinyLayout.hsbView.smallChange = 15; // no pixels: kept
        tinyLayout.hsbView.largeChange = 150;
        tinyLayout.vsbView.geometry = {8685, 0, Bar, 1234 - 60};
        tinyLayout.vsbView.max = 0 - 1234 + 60;
        tinyLayout.vsbView.smallChange = 1;
        tinyLayout.vsbView.largeChange = 10;
        tinyLayout.picScollBar = {0, 0, Bar, Bar};
        QTest::newRow("no picture, negative height") << tiny << tinyLayout;

        // 40000 pixels across: the range goes well past 16 bits.
        ViewLayout wide = fits;
        wide.hsbView.visible = true;
        wide.hsbView.max = 600000 - 9000 + 60;
        wide.vsbView.geometry.height = 5940 - Bar;
        wide.vsbView.max = 750 - 6000 + 60 + 255;
        QTest::newRow("40000 pixels") << Input(40000, 50) << wide;

        // 7.5 twips per pixel (192 DPI): 1203 x 10 pixels are 9022.5 x 75 twips; the range
        // 82.5 rounds to the even 82, one pixel's 7.5 twips to 8.
        ViewLayoutInput dense = Input(1203, 10);
        dense.pictureWidth = 9022.5;
        dense.pictureHeight = 75;
        ViewLayout denseLayout = wide;
        denseLayout.hsbView.max = 82;
        denseLayout.vsbView.max = -5865 + 255;
        for (auto* bar : {&denseLayout.hsbView, &denseLayout.vsbView}) {
            bar->smallChange = 8;
            bar->largeChange = 80;
        }
        QTest::newRow("half twips at 192 DPI") << dense << denseLayout;
    }
    void layout() {
        QFETCH(ViewLayoutInput, in);
        QFETCH(ViewLayout, expected);
        const ViewLayout got = mGlyfora::LayOutView(in, Current());
        QCOMPARE(got.picBase, expected.picBase);
        QCOMPARE(got.hsbView.visible, expected.hsbView.visible);
        QCOMPARE(got.vsbView.visible, expected.vsbView.visible);
        QCOMPARE(got.hsbView.geometry, expected.hsbView.geometry);
        QCOMPARE(got.vsbView.geometry, expected.vsbView.geometry);
        QCOMPARE(got.hsbView.max, expected.hsbView.max);
        QCOMPARE(got.vsbView.max, expected.vsbView.max);
        QCOMPARE(got.hsbView.smallChange, expected.hsbView.smallChange);
        QCOMPARE(got.hsbView.largeChange, expected.hsbView.largeChange);
        QCOMPARE(got.vsbView.smallChange, expected.vsbView.smallChange);
        QCOMPARE(got.vsbView.largeChange, expected.vsbView.largeChange);
        QCOMPARE(got.cornerVisible, expected.cornerVisible);
        if (expected.cornerVisible)
            QCOMPARE(got.picScollBar, expected.picScollBar);
    }

    void keys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("shift");
        QTest::addColumn<int>("hMax");
        QTest::addColumn<int>("vMax");
        QTest::addColumn<int>("h"); // values before
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("hAfter");
        QTest::addColumn<int>("vAfter");
        // Steps: 15 small, 150 large.
        QTest::newRow("right") << 39 << 0 << 3000 << 2000 << 0 << 0 << 15 << 0;
        QTest::newRow("right at the end") << 39 << 0 << 3000 << 2000 << 2990 << 0 << 3000 << 0;
        QTest::newRow("left") << 37 << 0 << 3000 << 2000 << 100 << 0 << 85 << 0;
        QTest::newRow("left onto Min") << 37 << 0 << 3000 << 2000 << 15 << 0 << 0 << 0;
        QTest::newRow("left near start") << 37 << 0 << 3000 << 2000 << 10 << 0 << 0 << 0;
        QTest::newRow("up with ctrl") << 38 << 2 << 3000 << 2000 << 0 << 500 << 0 << 485;
        QTest::newRow("down with shift") << 40 << 1 << 3000 << 2000 << 0 << 500 << 0 << 515;
        QTest::newRow("page down") << 34 << 0 << 3000 << 2000 << 0 << 0 << 0 << 150;
        QTest::newRow("page down at the end") << 34 << 0 << 3000 << 2000 << 0 << 1900 << 0 << 2000;
        QTest::newRow("page up") << 33 << 0 << 3000 << 2000 << 0 << 500 << 0 << 350;
        QTest::newRow("page up near start") << 33 << 0 << 3000 << 2000 << 0 << 100 << 0 << 0;
        QTest::newRow("ctrl home") << 36 << 2 << 3000 << 2000 << 500 << 700 << 0 << 0;
        QTest::newRow("ctrl shift home") << 36 << 3 << 3000 << 2000 << 500 << 700 << 0 << 0;
        QTest::newRow("ctrl end") << 35 << 2 << 3000 << 2000 << 500 << 700 << 3000 << 2000;
        QTest::newRow("end alone") << 35 << 0 << 3000 << 2000 << 0 << 700 << 3000 << 700;
        QTest::newRow("home alone") << 36 << 0 << 3000 << 2000 << 500 << 700 << 0 << 700;
        QTest::newRow("home with shift") << 36 << 1 << 3000 << 2000 << 500 << 700 << 500 << 700;
        QTest::newRow("end with alt") << 35 << 4 << 3000 << 2000 << 500 << 700 << 500 << 700;
        QTest::newRow("other key") << 65 << 0 << 3000 << 2000 << 500 << 700 << 500 << 700;
        // A picture smaller than the viewport: the far end is below Min.
        QTest::newRow("small: right") << 39 << 0 << -300 << -200 << 0 << 0 << -300 << 0;
        QTest::newRow("small: end") << 35 << 0 << -300 << -200 << 0 << 0 << -300 << 0;
        QTest::newRow("small: left back") << 37 << 0 << -300 << -200 << -300 << 0 << 0 << 0;
        QTest::newRow("small: home back") << 36 << 0 << -300 << -200 << -300 << 0 << 0 << 0;
        QTest::newRow("small: down") << 40 << 0 << -300 << -200 << 0 << 0 << 0 << -200;
        QTest::newRow("small: page down") << 34 << 0 << -300 << -200 << 0 << 0 << 0 << -200;
        QTest::newRow("small: page up back") << 33 << 0 << -300 << -200 << 0 << -200 << 0 << 0;
        QTest::newRow("small: ctrl end") << 35 << 2 << -300 << -200 << 0 << 0 << -300 << -200;
        QTest::newRow("far: end") << 35 << 0 << 591060 << 0 << 0 << 0 << 591060 << 0;
    }
    void keys() {
        QFETCH(int, key);
        QFETCH(int, shift);
        QFETCH(int, hMax);
        QFETCH(int, vMax);
        QFETCH(int, h);
        QFETCH(int, v);
        QFETCH(int, hAfter);
        QFETCH(int, vAfter);
        ScrollModel hsb;
        ScrollModel vsb;
        for (ScrollModel* bar : {&hsb, &vsb}) {
            bar->SetSmallChange(15);
            bar->SetLargeChange(150);
        }
        hsb.SetMax(hMax);
        vsb.SetMax(vMax);
        hsb.SetValue(h);
        vsb.SetValue(v);
        mGlyfora::MoveViewByKey(key, shift, hsb, vsb);
        QCOMPARE(hsb.Value(), hAfter);
        QCOMPARE(vsb.Value(), vAfter);
    }

    void wheel_data() {
        QTest::addColumn<int>("zDelta");
        QTest::addColumn<bool>("hShown");
        QTest::addColumn<bool>("vShown");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("hAfter");
        QTest::addColumn<int>("vAfter");
        // Five steps of 15 twips, within Max 1000 of both bars.
        QTest::newRow("both bars, away") << 120 << true << true << 500 << 500 << 500 << 425;
        QTest::newRow("both bars, toward") << -120 << true << true << 500 << 500 << 500 << 575;
        QTest::newRow("toward at the end") << -120 << true << true << 0 << 990 << 0 << 1000;
        QTest::newRow("away at the start") << 240 << true << true << 0 << 30 << 0 << 0;
        QTest::newRow("only horizontal") << -1 << true << false << 500 << 500 << 575 << 500;
        QTest::newRow("zero counts as toward") << 0 << false << true << 500 << 500 << 500 << 575;
        QTest::newRow("no bars") << -120 << false << false << 500 << 500 << 500 << 500;
    }
    void wheel() {
        QFETCH(int, zDelta);
        QFETCH(bool, hShown);
        QFETCH(bool, vShown);
        QFETCH(int, h);
        QFETCH(int, v);
        QFETCH(int, hAfter);
        QFETCH(int, vAfter);
        ScrollModel hsb;
        ScrollModel vsb;
        for (ScrollModel* bar : {&hsb, &vsb}) {
            bar->SetSmallChange(15);
            bar->SetMax(1000);
        }
        hsb.SetValue(h);
        vsb.SetValue(v);
        mGlyfora::MoveViewByWheel(zDelta, hShown, vShown, hsb, vsb);
        QCOMPARE(hsb.Value(), hAfter);
        QCOMPARE(vsb.Value(), vAfter);
    }

    // A new range below the value brings the value in and moves the picture.
    void rangeBringsValueIn() {
        ScrollModel bar;
        bar.SetMax(3000);
        bar.SetValue(2500);
        int changes = 0;
        connect(&bar, &ScrollModel::Change, &bar, [&] { ++changes; });
        bar.SetMax(1000);
        QCOMPARE(bar.Value(), 1000);
        QCOMPARE(changes, 1);
        bar.SetMax(-200);
        QCOMPARE(bar.Value(), 0);
        QCOMPARE(changes, 2);
        bar.SetValue(-200);
        QCOMPARE(bar.Value(), -200);
        bar.SetMax(2000);
        QCOMPARE(bar.Value(), 0);
    }

    // On a real window: which bars show, where they go, and the corner box.
    void windowBars_data() {
        QTest::addColumn<int>("w"); // added to the viewport's inner size
        QTest::addColumn<int>("h");
        QTest::addColumn<bool>("hsb");
        QTest::addColumn<bool>("vsb");
        QTest::newRow("fits exactly") << 0 << 0 << false << false;
        QTest::newRow("one pixel wider") << 1 << -100 << true << false;
        QTest::newRow("two pixels narrower than the outside") << 2 << -100 << true << false;
        QTest::newRow("fits across, too high") << 0 << 1 << true << true;
        QTest::newRow("both larger") << 1500 << 1000 << true << true;
    }
    void windowBars() {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(bool, hsb);
        QFETCH(bool, vsb);
        auto run = Shown(w, h, true);
        QVERIFY(run);
        frmMain& form = *run->form;
        const QRect inner = form.picBase->contentsRect();
        // The border is the allowance: 60 twips.
        QCOMPARE(form.picBase->width() - inner.width(),
                 platform::RoundHalfEven<int>(60 / platform::TwipsPerPixelX()));
        QCOMPARE(form.picBase->height() - inner.height(),
                 platform::RoundHalfEven<int>(60 / platform::TwipsPerPixelY()));
        QCOMPARE(form.hsbView->isVisible(), hsb);
        QCOMPARE(form.vsbView->isVisible(), vsb);
        QCOMPARE(form.picScollBar->isVisible(), hsb && vsb);
        QCOMPARE(form.picView->pos(), inner.topLeft());
        if (hsb) {
            QCOMPARE(form.hsbView->geometry().bottomLeft(), inner.bottomLeft());
            QCOMPARE(form.hsbView->geometry().right(), vsb ? form.vsbView->x() - 1 : inner.right());
        }
        if (vsb) {
            QCOMPARE(form.vsbView->geometry().topRight(), inner.topRight());
            QCOMPARE(form.vsbView->geometry().bottom(),
                     hsb ? form.hsbView->y() - 1 : inner.bottom());
        }
        if (hsb && vsb) {
            QCOMPARE(form.picScollBar->geometry(),
                     QRect(form.vsbView->x(), form.hsbView->y(), form.vsbView->width(),
                           form.hsbView->height()));
        }
    }

    // Keys reach the view from whichever widget has them, once, and go on to that widget.
    void windowKeys() {
        auto run = Shown(2000, 1500);
        QVERIFY(run);
        frmMain& form = *run->form;
        const QRect inner = form.picBase->contentsRect();
        struct KeyCounter : QObject {
            int keys = 0;
            bool eventFilter(QObject*, QEvent* e) override {
                keys += e->type() == QEvent::KeyPress;
                return false;
            }
        } counter;
        form.sbrText->installEventFilter(&counter);
        // The label ignores keys: they travel up to the window, and still move once.
        QTest::keyClick(form.sbrText, Qt::Key_Right);
        QCOMPARE(counter.keys, 1);
        QCOMPARE(form.picView->x(), inner.left() - 1);
        QTest::keyClick(form.sbrText, Qt::Key_PageDown);
        QCOMPARE(form.picView->y(), inner.top() - 10);
        // A click in the trough pages as the key does.
        form.vsbView->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(form.picView->y(), inner.top() - 20);
        QTest::keyClick(&form, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(form.picView->geometry().right(), form.vsbView->x() - 1);
        QCOMPARE(form.picView->geometry().bottom(), form.hsbView->y() - 1);
        QCOMPARE(form.hsbView->value(), form.hsbView->maximum());
        QTest::keyClick(&form, Qt::Key_Home, Qt::ShiftModifier);
        QCOMPARE(form.picView->geometry().right(), form.vsbView->x() - 1);
        QTest::keyClick(&form, Qt::Key_Home);
        QCOMPARE(form.picView->x(), inner.left());
        QCOMPARE(form.picView->geometry().bottom(), form.hsbView->y() - 1);
        QTest::keyClick(&form, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(form.picView->pos(), inner.topLeft());
    }

    // A dragged thumb leaves the picture where it is until it is let go.
    void thumbMovesOnRelease() {
        auto run = Shown(2000, 1500);
        QVERIFY(run);
        frmMain& form = *run->form;
        const QPoint start = form.picView->pos();
        form.hsbView->setSliderDown(true);
        const int tenPixels = 10 * form.hsbViewModel.SmallChange(); // in twips
        form.hsbView->setSliderPosition(tenPixels);
        QCOMPARE(form.picView->pos(), start);
        form.hsbView->setSliderDown(false);
        QCOMPARE(form.picView->pos(), start - QPoint(10, 0));
        QCOMPARE(form.hsbViewModel.Value(), tenPixels);
    }

    // A picture smaller than the viewport moves to its right and bottom edges and back.
    void windowSmallPicture() {
        auto run = Shown(100, 80);
        QVERIFY(run);
        frmMain& form = *run->form;
        const QRect inner = form.picBase->contentsRect();
        QTest::keyClick(&form, Qt::Key_End);
        QCOMPARE(form.picView->geometry().right(), inner.right());
        QCOMPARE(form.picView->y(), inner.top());
        QTest::keyClick(&form, Qt::Key_Down);
        QCOMPARE(form.picView->geometry().bottom(), inner.bottom());
        QTest::keyClick(&form, Qt::Key_Left);
        QCOMPARE(form.picView->x(), inner.left());
        QTest::keyClick(&form, Qt::Key_PageUp);
        QCOMPARE(form.picView->pos(), inner.topLeft());
    }

    // 40000 pixels across scroll to their far edge.
    void windowFarEdge() {
        auto run = Shown(40000, 30);
        QVERIFY(run);
        frmMain& form = *run->form;
        const QRect inner = form.picBase->contentsRect();
        QVERIFY(form.hsbView->isVisible());
        QTest::keyClick(&form, Qt::Key_End);
        QCOMPARE(form.picView->geometry().right(), inner.right());
        QCOMPARE(form.picView->x(), inner.right() + 1 - 40000);
    }

    // One notch moves five pixels: down with both bars, across with only the horizontal.
    void windowWheel_data() {
        QTest::addColumn<int>("h");
        QTest::addColumn<QPoint>("moved");
        QTest::newRow("both bars") << 1500 << QPoint(0, -5);
        QTest::newRow("only horizontal") << 30 << QPoint(-5, 0);
    }
    void windowWheel() {
        QFETCH(int, h);
        QFETCH(QPoint, moved);
        auto run = Shown(2000, h);
        QVERIFY(run);
        frmMain& form = *run->form;
        const QPoint start = form.picView->pos();
        TurnWheel(form.hsbView, -120); // the bar leaves the wheel to the window
        QCOMPARE(form.picView->pos(), start + moved);
        TurnWheel(form.picView, 120);
        QCOMPARE(form.picView->pos(), start);
    }

    // No layout while minimised; restoring lays out again.
    void minimised() {
        auto run = Shown(300, 200);
        QVERIFY(run);
        frmMain& form = *run->form;
        QVERIFY(!form.hsbView->isVisible());
        form.setWindowState(Qt::WindowMinimized);
        QVERIFY(form.isMinimized());
        form.resize(200, 150);
        QVERIFY(!form.hsbView->isVisibleTo(form.picBase));
        form.setWindowState(Qt::WindowNoState);
        QTRY_VERIFY(form.hsbView->isVisibleTo(form.picBase));
        QVERIFY(form.vsbView->isVisibleTo(form.picBase));
    }
};

GLYFORA_TEST_MAIN(TestView)
#include "tst_view.moc"

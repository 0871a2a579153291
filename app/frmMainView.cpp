// Main window: the viewport's layout, its scroll bars and corner box, the picture's place
// in it, and moving the view with the keyboard and the mouse wheel.
#include "app/ViewNavigation.h"
#include "app/frmMain.h"
#include "platform/FirstDelivery.h"
#include "platform/Twips.h"
#include "wheel/intelliMouse.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>
#include <QWheelEvent>
#include <algorithm>
#include <climits>

namespace {
// A view scroll bar takes no focus and leaves the wheel to the wheel control, so one
// notch or key press moves the view once.
class ViewScrollBar : public QScrollBar {
public:
    ViewScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {
        setFocusPolicy(Qt::NoFocus);
        setTracking(false); // a dragged thumb moves the picture when it is let go
    }

protected:
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }
};

// The form's key preview: every key pressed in one of the form's widgets reaches
// Form_KeyDown before that widget, and still goes on to it.
class KeyPreview : public QObject {
public:
    explicit KeyPreview(frmMain* form) : QObject(form), form_(form) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != form_ || !first_.IsFirst(watched, event))
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const int code = KeyCode(key->key());
        if (code != 0)
            form_->Form_KeyDown(code, ShiftBits(key->modifiers()));
        return false;
    }

private:
    static int KeyCode(int qtKey) {
        switch (qtKey) {
        case Qt::Key_PageUp:
            return mGlyfora::KeyPageUp;
        case Qt::Key_PageDown:
            return mGlyfora::KeyPageDown;
        case Qt::Key_End:
            return mGlyfora::KeyEnd;
        case Qt::Key_Home:
            return mGlyfora::KeyHome;
        case Qt::Key_Left:
            return mGlyfora::KeyLeft;
        case Qt::Key_Up:
            return mGlyfora::KeyUp;
        case Qt::Key_Right:
            return mGlyfora::KeyRight;
        case Qt::Key_Down:
            return mGlyfora::KeyDown;
        default:
            return 0;
        }
    }
    static int ShiftBits(Qt::KeyboardModifiers modifiers) {
        int bits = 0;
        if (modifiers & Qt::ShiftModifier)
            bits |= mGlyfora::ShiftMask;
        if (modifiers & Qt::ControlModifier)
            bits |= mGlyfora::CtrlMask;
        if (modifiers & Qt::AltModifier)
            bits |= mGlyfora::AltMask;
        return bits;
    }

    frmMain* form_;
    FirstDelivery first_;
};
} // namespace

void frmMain::SetupView() {
    // The sunken border takes the room the layout allows for it: 60 twips across both
    // sides (two pixels a side at 96 DPI); an odd pixel left over goes to the right and
    // bottom edges.
    const int roomX =
        platform::PixelsFromTwips(mGlyfora::ViewBorderAllowance, platform::TwipsPerPixelX());
    const int roomY =
        platform::PixelsFromTwips(mGlyfora::ViewBorderAllowance, platform::TwipsPerPixelY());
    const int line = std::max(1, std::min(roomX, roomY) / 2);
    picBase->setLineWidth(line);
    // The frame is the widget's contents margins; the odd pixel widens the far ones.
    picBase->setContentsMargins(line, line, std::max(line, roomX - line),
                                std::max(line, roomY - line));

    hsbView = new ViewScrollBar(Qt::Horizontal, picBase);
    vsbView = new ViewScrollBar(Qt::Vertical, picBase);
    hsbView->setObjectName(QStringLiteral("hsbView"));
    vsbView->setObjectName(QStringLiteral("vsbView"));
    hsbView->hide();
    vsbView->hide();
    // A person moves the widget; the model holds the value and moves the picture.
    connect(hsbView, &QScrollBar::valueChanged, this,
            [this](int value) { hsbViewModel.SetValue(value); });
    connect(vsbView, &QScrollBar::valueChanged, this,
            [this](int value) { vsbViewModel.SetValue(value); });
    connect(&hsbViewModel, &ScrollModel::Change, this, &frmMain::hsbView_Change);
    connect(&vsbViewModel, &ScrollModel::Change, this, &frmMain::vsbView_Change);
    MirrorScrollBar(hsbView, hsbViewModel);
    MirrorScrollBar(vsbView, vsbViewModel);

    // The viewport's border drawn again above its children, so a scrolled picture stays
    // inside it, as a window's client area would keep it.
    auto* border = new QFrame(picBase);
    border->setObjectName(QStringLiteral("picBaseBorder"));
    border->setFrameStyle(picBase->frameStyle());
    border->setLineWidth(picBase->lineWidth());
    border->setAttribute(Qt::WA_TransparentForMouseEvents);
    border->setAutoFillBackground(true); // the viewport's grey in a left-over margin
    baseBorder_ = border;

    picScollBar = new QWidget(picBase);
    picScollBar->setObjectName(QStringLiteral("picScollBar"));
    picScollBar->setAutoFillBackground(true);
    // The face colour of the bars it sits between, not the viewport's grey.
    QPalette cornerPalette = picScollBar->palette();
    cornerPalette.setColor(QPalette::Window, cornerPalette.color(QPalette::Button));
    picScollBar->setPalette(cornerPalette);
    picScollBar->hide();

    inmMain = new intelliMouse(this);
    connect(inmMain, &intelliMouse::MoveWheel, this, &frmMain::inmMain_MoveWheel);
    keyPreview_ = new KeyPreview(this);
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // No layout happens while minimised; coming back lays the view out again.
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        Form_Resize();
}

void frmMain::Form_Resize() {
    if (isMinimized() || !picBase || !hsbView)
        return;
    const double tx = platform::TwipsPerPixelX();
    const double ty = platform::TwipsPerPixelY();
    const QMenuBar* menu = qobject_cast<QMenuBar*>(menuWidget());
    const int clientTop = menu && menu->isVisibleTo(this) ? menu->geometry().bottom() + 1 : 0;

    mGlyfora::ViewLayoutInput in;
    in.clientWidth = width() * tx;
    in.clientHeight = (height() - clientTop) * ty;
    in.toolbarShown = tbrToolbar && tbrToolbar->isVisibleTo(this);
    if (in.toolbarShown)
        in.toolbarHeight = (tbrToolbar->geometry().bottom() + 1 - clientTop) * ty;
    in.statusBarShown = sbrUnder && sbrUnder->isVisibleTo(this);
    if (in.statusBarShown)
        in.statusBarHeight = (height() - sbrUnder->y()) * ty;
    in.pictureShown = picView->isVisibleTo(picBase);
    in.picturePixelWidth = picView->width();
    in.picturePixelHeight = picView->height();
    in.pictureWidth = picView->width() * tx;
    in.pictureHeight = picView->height() * ty;

    // The bars' visibility may have been set elsewhere (no picture); their thickness is
    // the style's.
    mGlyfora::ViewLayout current = viewLayout_;
    current.hsbView.visible = hsbView->isVisibleTo(picBase);
    current.vsbView.visible = vsbView->isVisibleTo(picBase);
    current.hsbView.geometry.height = hsbView->sizeHint().height() * ty;
    current.vsbView.geometry.width = vsbView->sizeHint().width() * tx;
    current.hsbView.max = hsbViewModel.Max();
    current.vsbView.max = vsbViewModel.Max();
    ApplyViewLayout(mGlyfora::LayOutView(in, current));
}

void frmMain::ApplyViewLayout(const mGlyfora::ViewLayout& layout) {
    viewLayout_ = layout;
    const double tx = platform::TwipsPerPixelX();
    const double ty = platform::TwipsPerPixelY();
    const QMenuBar* menu = qobject_cast<QMenuBar*>(menuWidget());
    const int clientTop = menu && menu->isVisibleTo(this) ? menu->geometry().bottom() + 1 : 0;
    const QRect base(platform::PixelsFromTwips(layout.picBase.left, tx),
                     clientTop + platform::PixelsFromTwips(layout.picBase.top, ty),
                     platform::PixelsFromTwips(layout.picBase.width, tx),
                     platform::PixelsFromTwips(layout.picBase.height, ty));
    if (picBase->geometry() != base)
        picBase->setGeometry(base);

    const QPoint origin = picBase->contentsRect().topLeft();
    const auto place = [&](QWidget* widget, const mGlyfora::TwipsRect& r) {
        widget->setGeometry(origin.x() + platform::PixelsFromTwips(r.left, tx),
                            origin.y() + platform::PixelsFromTwips(r.top, ty),
                            platform::PixelsFromTwips(r.width, tx),
                            platform::PixelsFromTwips(r.height, ty));
    };
    place(hsbView, layout.hsbView.geometry);
    place(vsbView, layout.vsbView.geometry);
    place(picScollBar, layout.picScollBar);

    const auto setRange = [](ScrollModel& model, const mGlyfora::ScrollBarLayout& bar) {
        model.SetSmallChange(bar.smallChange);
        model.SetLargeChange(bar.largeChange);
        model.SetMax(bar.max);
    };
    setRange(hsbViewModel, layout.hsbView);
    setRange(vsbViewModel, layout.vsbView);
    MirrorScrollBar(hsbView, hsbViewModel);
    MirrorScrollBar(vsbView, vsbViewModel);

    hsbView->setVisible(layout.hsbView.visible);
    vsbView->setVisible(layout.vsbView.visible);
    picScollBar->setVisible(layout.cornerVisible);
    // Bars and corner lie above the picture, so a scrolled picture never hides them.
    hsbView->raise();
    vsbView->raise();
    picScollBar->raise();
    if (baseBorder_->geometry() != picBase->rect()) {
        baseBorder_->setGeometry(picBase->rect());
        baseBorder_->setMask(QRegion(picBase->rect()) - QRegion(picBase->contentsRect()));
    }
    baseBorder_->raise();
}

void frmMain::MirrorScrollBar(QScrollBar* bar, const ScrollModel& model) {
    const QSignalBlocker quiet(bar);
    bar->setRange(model.Low(), model.High());
    bar->setSingleStep(model.SmallChange());
    bar->setPageStep(std::max(1, model.LargeChange()));
    bar->setValue(model.Value());
}

void frmMain::hsbView_Change() {
    MirrorScrollBar(hsbView, hsbViewModel);
    const double tx = platform::TwipsPerPixelX();
    picView->move(picBase->contentsRect().left() +
                      platform::PixelsFromTwips(-double(hsbViewModel.Value()), tx),
                  picView->y());
}

void frmMain::vsbView_Change() {
    MirrorScrollBar(vsbView, vsbViewModel);
    const double ty = platform::TwipsPerPixelY();
    picView->move(picView->x(), picBase->contentsRect().top() +
                                    platform::PixelsFromTwips(-double(vsbViewModel.Value()), ty));
}

void frmMain::Form_KeyDown(int KeyCode, int Shift) {
    mGlyfora::MoveViewByKey(KeyCode, Shift, hsbViewModel, vsbViewModel);
}

void frmMain::inmMain_MoveWheel(int /*fwKeys*/, int zDelta, int /*Xpos*/, int /*Ypos*/) {
    mGlyfora::MoveViewByWheel(zDelta, hsbView->isVisibleTo(picBase), vsbView->isVisibleTo(picBase),
                              hsbViewModel, vsbViewModel);
}

// Main window construction, start-up, shutdown and the window state kept between runs.
#include "app/frmMain.h"

#include "app/CommandLine.h"
#include "app/Settings.h"
#include "app/WindowGeometry.h"
#include "app/frmMainTexts.h"
#include "app/mGlyfora.h"
#include "convert/ConversionState.h"
#include "platform/Dialogs.h"
#include "platform/FrameFit.h"
#include "platform/Rounding.h"
#include "platform/SettingsStore.h"
#include "platform/SettingsTable.h"
#include "platform/SettingsValues.h"
#include "platform/Twips.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMoveEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <cmath>
#include <limits>

using namespace frmMainTexts;

namespace {
// Design client area in twips (the window without frame, caption and menu bar).
constexpr double DesignClientWidthTwips = 8880;
constexpr double DesignClientHeightTwips = 6060;

const mGlyfora::SettingDefinition& RecentFileSetting(int index) {
    return mGlyfora::Setting(QStringLiteral("Recent Files"),
                             QStringLiteral("File") + QString::number(index + 1));
}

} // namespace

frmMain::frmMain(platform::Dialogs& dialogs, platform::SettingsStore& store)
    : dialogs_(dialogs), store_(store) {
    setWindowTitle(mGlyfora::ApplicationTitle);
    setAcceptDrops(true);

    picBase = new QFrame(this);
    picBase->setObjectName(QStringLiteral("picBase"));
    picBase->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picBase->setAutoFillBackground(true);
    QPalette basePalette = picBase->palette();
    basePalette.setColor(QPalette::Window, basePalette.color(QPalette::Dark));
    picBase->setPalette(basePalette);
    setCentralWidget(picBase);

    picView = new PictureBox(picBase);
    picView->setObjectName(QStringLiteral("picView"));
    picView->hide();
    shpCut = new SelectionShape(picView);
    shpCut->setObjectName(QStringLiteral("shpCut"));
    connect(picView, &PictureBox::MouseDown, this, &frmMain::picView_MouseDown);
    connect(picView, &PictureBox::MouseMove, this, &frmMain::picView_MouseMove);
    connect(picView, &PictureBox::MouseUp, this, &frmMain::picView_MouseUp);
    connect(picView, &PictureBox::MouseLost, this, &frmMain::EndSelectionDrag);
    const QRgb background = picView->Surface().Background();
    picSave.SetBackground(background);
    picClip.SetBackground(background);

    SetupView();

    sbrUnder = new QStatusBar(this);
    sbrUnder->setSizeGripEnabled(true);
    sbrText = new QLabel(sbrUnder);
    sbrUnder->addWidget(sbrText, 1);
    setStatusBar(sbrUnder);

    BuildMenus();

    const double tx = platform::TwipsPerPixelX();
    const double ty = platform::TwipsPerPixelY();
    resize(int(platform::RoundHalfEven(DesignClientWidthTwips / tx)),
           int(platform::RoundHalfEven(DesignClientHeightTwips / ty)) +
               menuBar()->sizeHint().height());
}

frmMain::~frmMain() = default;

void frmMain::Form_Load(const QString& commandLinePath) {
    LoadWindowState();
    SetupToolbar();
    setWindowTitle(mGlyfora::ApplicationTitle);
    SetPictureCommands(false);
    tbrToolbar->setVisible(mnuToolBar->isChecked());
    sbrUnder->setVisible(mnuStatusBar->isChecked());

    if (!commandLinePath.isEmpty()) {
        if (mGlyfora::CommandLineFileCounts(commandLinePath)) {
            LoadImageFile(commandLinePath);
        } else {
            dialogs_.Message(
                this, commandLinePath + u'\n' + FileNotFound + QStringLiteral("\n\n") + CheckPath,
                platform::MsgIcon::Exclamation);
        }
    }
}

void frmMain::LoadWindowState() {
    using namespace platform;
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    // Before the window is shown no window manager has framed it: this is its client size.
    const QSize outer = frameGeometry().size();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    const float width = float(outer.width() * tx);
    const float height = float(outer.height() * ty);
    const float defaultLeft = platform::CentredTwips(screenSize.width(), outer.width(), tx);
    const float defaultTop = platform::CentredTwips(screenSize.height(), outer.height(), ty);

    const QString window = QStringLiteral("Window");
    // Absent or unusable keys read as NaN, so the defaults below are known to be defaults.
    const auto readSingle = [&](const char* key) {
        return mGlyfora::ReadSingle(store_, mGlyfora::Setting(window, QLatin1String(key)),
                                    std::numeric_limits<float>::quiet_NaN());
    };
    const float storedLeft = readSingle("Left");
    const float storedTop = readSingle("Top");
    const float storedHeight = readSingle("Height");
    const float storedWidth = readSingle("Width");
    const auto orDefault = [](float value, float fallback) {
        return std::isnan(value) ? fallback : value;
    };
    const QRect stored(
        platform::PixelsFromTwips(orDefault(storedLeft, defaultLeft), tx,
                                  -platform::MaxWindowCoordinate, platform::MaxWindowCoordinate),
        platform::PixelsFromTwips(orDefault(storedTop, defaultTop), ty,
                                  -platform::MaxWindowCoordinate, platform::MaxWindowCoordinate),
        platform::PixelsFromTwips(orDefault(storedWidth, width), tx, 1,
                                  platform::MaxWindowCoordinate),
        platform::PixelsFromTwips(orDefault(storedHeight, height), ty, 1,
                                  platform::MaxWindowCoordinate));
    // A stored size or position the screen cannot hold (another monitor, a damaged
    // file) is fitted to the screen the window's corner falls on.
    const QScreen* target = QGuiApplication::screenAt(stored.topLeft());
    if (!target)
        target = screen;
    const QRect fitted =
        target ? mGlyfora::FitWindowGeometry(stored, target->availableGeometry(), outer) : stored;
    move(fitted.topLeft());
    resize(fitted.size());
    // Once the frame is known: a stored size is the outer one and loses the frame; the
    // design size (first run, or a stored size that did not fit) is the client's and keeps
    // it; a window placed by default is centred with its frame.
    const bool designSize = fitted.size() != stored.size();
    frameFit_.Arm({!designSize && !std::isnan(storedWidth),
                   !designSize && !std::isnan(storedHeight), designSize || std::isnan(storedLeft),
                   designSize || std::isnan(storedTop)});

    mnuToolBar->setChecked(
        mGlyfora::ReadBoolean(store_, mGlyfora::Setting(window, QStringLiteral("ToolBar"))));
    mnuStatusBar->setChecked(
        mGlyfora::ReadBoolean(store_, mGlyfora::Setting(window, QStringLiteral("StatusBar"))));

    mGlyfora::RecentFilesList.fill(QString());
    for (int i = 0; i < 20; ++i) {
        mGlyfora::RecentFilesList[i] = mGlyfora::ReadText(store_, RecentFileSetting(i));
    }
    for (QAction* item : mnuRecent)
        item->setVisible(false);
    mnuBarRecent->setVisible(false);
    RebuildRecentMenu();
}

void frmMain::SaveWindowState() {
    using namespace platform;
    const QString window = QStringLiteral("Window");
    if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
        const double tx = TwipsPerPixelX();
        const double ty = TwipsPerPixelY();
        const QRect outer = frameGeometry();
        if (WindowPositionsKnown()) {
            store_.Write(window, QStringLiteral("Left"), SingleToText(float(outer.x() * tx)));
            store_.Write(window, QStringLiteral("Top"), SingleToText(float(outer.y() * ty)));
        }
        store_.Write(window, QStringLiteral("Height"), SingleToText(float(outer.height() * ty)));
        store_.Write(window, QStringLiteral("Width"), SingleToText(float(outer.width() * tx)));
    }
    store_.Write(window, QStringLiteral("ToolBar"), BoolToText(mnuToolBar->isChecked()));
    store_.Write(window, QStringLiteral("StatusBar"), BoolToText(mnuStatusBar->isChecked()));
    for (int i = 0; i < 20; ++i) {
        const mGlyfora::SettingDefinition& key = RecentFileSetting(i);
        const QString& entry = mGlyfora::RecentFilesList[i];
        if (!entry.isEmpty() && i < mGlyfora::RecentFilesMax)
            mGlyfora::WriteSetting(store_, key, entry);
        else
            store_.Delete(key.section, key.key);
    }
}

void frmMain::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    SaveWindowState();
    UnloadTextWindow();
    if (!mGlyfora::TempFileName.isEmpty() && QFileInfo(mGlyfora::TempFileName).isFile())
        QFile::remove(mGlyfora::TempFileName);
    mGlyfora::SaveSettings(store_);
    if (!store_.Sync()) {
        dialogs_.Message(this, SettingsNotSaved + u'\n' + store_.FileName(),
                         platform::MsgIcon::Critical);
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmMain::mnuExit_Click() {
    close();
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    frameFit_.Shown(*this);
}

void frmMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    frameFit_.Moved(*this);
}

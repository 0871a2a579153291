// Main window construction, start-up, shutdown, window state, recent files and layout.
#include "app/frmMain.h"

#include "app/CommandLine.h"
#include "app/RecentFiles.h"
#include "app/Settings.h"
#include "platform/SettingsTable.h"
#include "app/frmMainTexts.h"
#include "app/mGlyfora.h"
#include "convert/ConversionState.h"
#include "platform/Dialogs.h"
#include "platform/Rounding.h"
#include "platform/SettingsStore.h"
#include "platform/SettingsValues.h"
#include "platform/Twips.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

using namespace frmMainTexts;

namespace {
// Design client area in twips (the window without frame, caption and menu bar).
constexpr double DesignClientWidthTwips = 8880;
constexpr double DesignClientHeightTwips = 6060;
// Window geometry is kept within what the window system can place.
constexpr int MaxWindowCoordinate = 32767;

const mGlyfora::SettingDefinition& RecentFileSetting(int index) {
    return mGlyfora::Setting(QStringLiteral("Recent Files"),
                             QStringLiteral("File") + QString::number(index + 1));
}

int PixelsFromTwips(float twips, double twipsPerPixel, int min, int max) {
    return int(
        std::clamp<std::int64_t>(platform::RoundHalfEven(double(twips) / twipsPerPixel), min, max));
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
    const QRgb background = picView->Surface().Background();
    picSave.SetBackground(background);
    picClip.SetBackground(background);

    hsbView = new QScrollBar(Qt::Horizontal, picBase);
    vsbView = new QScrollBar(Qt::Vertical, picBase);
    hsbView->hide();
    vsbView->hide();
    connect(hsbView, &QScrollBar::valueChanged, this, &frmMain::hsbView_Change);
    connect(vsbView, &QScrollBar::valueChanged, this, &frmMain::vsbView_Change);
    picScollBar = new QWidget(picBase);
    picScollBar->setAutoFillBackground(true);
    picScollBar->hide();

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

void frmMain::BuildMenus() {
    mnuFile = menuBar()->addMenu(FileMenu);
    mnuFileOpen = mnuFile->addAction(FileOpen, this, &frmMain::mnuFileOpen_Click);
    mnuFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuBar1 = mnuFile->addSeparator();
    for (int i = 0; i < int(mnuRecent.size()); ++i) {
        mnuRecent[i] = mnuFile->addAction(QString(), this, [this, i] { mnuRecent_Click(i); });
        mnuRecent[i]->setVisible(false);
    }
    mnuBarRecent = mnuFile->addSeparator();
    mnuBarRecent->setVisible(false);
    mnuExit = mnuFile->addAction(Exit, this, &frmMain::mnuExit_Click);

    mnuImage = menuBar()->addMenu(ImageMenu);
    mnuNormalView = mnuImage->addAction(NormalView);
    mnuResize = mnuImage->addAction(Resize);
    mnuResize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuImage->addSeparator();
    mnuRevolving = mnuImage->addMenu(Revolving);

    mnuRun = menuBar()->addMenu(RunMenu);
    mnuTextConversion = mnuRun->addAction(TextConversion);
    mnuTextConversion->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    mnuRun->addSeparator();
    mnuHTMLConversion = mnuRun->addAction(HTMLConversion);
    mnuHTMLConversion->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));

    mnuOptions = menuBar()->addMenu(OptionsMenu);
    mnuToolBar = mnuOptions->addAction(ToolBar, this, &frmMain::mnuToolBar_Click);
    mnuToolBar->setCheckable(true);
    mnuStatusBar = mnuOptions->addAction(StatusBar, this, &frmMain::mnuStatusBar_Click);
    mnuStatusBar->setCheckable(true);

    // The copy command has no menu of its own yet; it shares the picture-loaded state.
    mnuCopy = new QAction(Copy, this);
}

void frmMain::SetupToolbar() {
    tbrToolbar = addToolBar(QStringLiteral("tbrToolbar"));
    tbrToolbar->setMovable(false);
    tbrToolbar->setFloatable(false);
    tbrToolbar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    // Button 1 is an empty gap; button 2 opens a file.
    auto* gap = new QWidget(tbrToolbar);
    gap->setFixedWidth(8);
    tbrToolbar->addWidget(gap);
    tbrButtons[2] = tbrToolbar->addAction(style()->standardIcon(QStyle::SP_DialogOpenButton),
                                          QString(), this, &frmMain::mnuFileOpen_Click);
    tbrButtons[2]->setToolTip(OpenTip);
}

void frmMain::Form_Load(const QString& commandLinePath) {
    LoadWindowState();
    SetupToolbar();
    setWindowTitle(mGlyfora::ApplicationTitle);
    SetPictureCommands(false);
    mnuNormalView->setEnabled(false);
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
    const QSize outer = frameGeometry().size();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    const float width = float(outer.width() * tx);
    const float height = float(outer.height() * ty);
    const float defaultLeft = float(RoundHalfEven((screenSize.width() * tx - width) / 2));
    const float defaultTop = float(RoundHalfEven((screenSize.height() * ty - height) / 2));

    const QString window = QStringLiteral("Window");
    const auto readSingle = [&](const char* key, float fallback) {
        return mGlyfora::ReadSingle(store_, mGlyfora::Setting(window, QLatin1String(key)),
                                    fallback);
    };
    const float left = readSingle("Left", defaultLeft);
    const float top = readSingle("Top", defaultTop);
    const float newHeight = readSingle("Height", height);
    const float newWidth = readSingle("Width", width);
    move(PixelsFromTwips(left, tx, -MaxWindowCoordinate, MaxWindowCoordinate),
         PixelsFromTwips(top, ty, -MaxWindowCoordinate, MaxWindowCoordinate));
    wantedOuterSize_ = QSize(PixelsFromTwips(newWidth, tx, 1, MaxWindowCoordinate),
                             PixelsFromTwips(newHeight, ty, 1, MaxWindowCoordinate));
    resize(wantedOuterSize_);

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
        store_.Write(window, QStringLiteral("Left"), SingleToText(float(outer.x() * tx)));
        store_.Write(window, QStringLiteral("Top"), SingleToText(float(outer.y() * ty)));
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

void frmMain::AddRecentFile(const QString& path) {
    mGlyfora::AddRecentPath(mGlyfora::RecentFilesList, mGlyfora::RecentFilesMax, path);
    for (int i = 0; i < mGlyfora::RecentFilesMax; ++i)
        mnuRecent[i]->setVisible(false);
    mnuBarRecent->setVisible(false);
    RebuildRecentMenu();
}

void frmMain::RebuildRecentMenu() {
    for (int i = 0; i < mGlyfora::RecentFilesMax; ++i) {
        const QString& entry = mGlyfora::RecentFilesList[i];
        if (entry.isEmpty())
            continue;
        mnuRecent[i]->setText(mGlyfora::RecentCaption(i, entry));
        mnuRecent[i]->setVisible(true);
        mnuBarRecent->setVisible(true);
    }
}

void frmMain::mnuRecent_Click(int index) {
    LoadImageFile(mGlyfora::RecentFilesList[index]);
}

void frmMain::mnuToolBar_Click() {
    tbrToolbar->setVisible(mnuToolBar->isChecked());
    Form_Resize();
}

void frmMain::mnuStatusBar_Click() {
    sbrUnder->setVisible(mnuStatusBar->isChecked());
    Form_Resize();
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (wantedOuterSize_.isEmpty())
        return;
    // The stored size is the outer one; once the window manager's frame is known,
    // take it off so the window does not grow by its frame on every run.
    QTimer::singleShot(0, this, [this] {
        const QSize frame = frameGeometry().size() - size();
        if (!frame.isNull() && !(windowState() & Qt::WindowMaximized))
            resize(wantedOuterSize_ - frame);
        wantedOuterSize_ = QSize();
    });
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::Form_Resize() {
    if (isMinimized() || !picBase)
        return;
    const QRect inner = picBase->contentsRect();
    const int barH = hsbView->sizeHint().height();
    const int barW = vsbView->sizeHint().width();
    if (picView->isVisible() || picView->isVisibleTo(picBase)) {
        const QSize pic = picView->size();
        bool needH = pic.width() > inner.width();
        bool needV = pic.height() > inner.height();
        if (needH && !needV)
            needV = pic.height() + barH > inner.height();
        if (needV && !needH)
            needH = pic.width() + barW > inner.width();
        hsbView->setVisible(needH);
        vsbView->setVisible(needV);
    }
    const int viewW = inner.width() - (vsbView->isVisibleTo(picBase) ? barW : 0);
    const int viewH = inner.height() - (hsbView->isVisibleTo(picBase) ? barH : 0);
    hsbView->setGeometry(inner.left(), inner.top() + viewH, viewW, barH);
    vsbView->setGeometry(inner.left() + viewW, inner.top(), barW, viewH);
    hsbView->setRange(0, std::max(0, picView->width() - viewW));
    vsbView->setRange(0, std::max(0, picView->height() - viewH));
    hsbView->setPageStep(std::max(1, viewW));
    vsbView->setPageStep(std::max(1, viewH));
    hsbView->setSingleStep(1);
    vsbView->setSingleStep(1);
    const bool both = hsbView->isVisibleTo(picBase) && vsbView->isVisibleTo(picBase);
    picScollBar->setGeometry(inner.left() + viewW, inner.top() + viewH, barW, barH);
    picScollBar->setVisible(both);
    hsbView->raise();
    vsbView->raise();
    picScollBar->raise();
}

void frmMain::hsbView_Change(int value) {
    picView->move(picBase->contentsRect().left() - value, picView->y());
}

void frmMain::vsbView_Change(int value) {
    picView->move(picView->x(), picBase->contentsRect().top() - value);
}

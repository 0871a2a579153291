// Main window construction, start-up, shutdown and the window state kept between runs.
#include "app/frmMain.h"

#include "app/CommandLine.h"
#include "app/MainWindowSettings.h"
#include "app/Settings.h"
#include "app/frmMainTexts.h"
#include "app/mGlyfora.h"
#include "convert/ConversionSettings.h"
#include "convert/IntermediateFile.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"
#include "platform/FrameFit.h"
#include "platform/SettingsStore.h"
#include "platform/SettingsTable.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

using namespace frmMainTexts;

namespace {
// Design client area in twips (the window without frame, caption and menu bar).
constexpr double DesignClientWidthTwips = 8880;
constexpr double DesignClientHeightTwips = 6060;
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

    resize(platform::DesignSize(*this, DesignClientWidthTwips, DesignClientHeightTwips));
}

frmMain::~frmMain() {
    // QWidget's destructor hides the children after this form's own part is gone: the
    // picture's "mouse lost" on that hide must not call back into it.
    disconnect(picView, nullptr, this, nullptr);
}

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
            dialogs_.Message(this,
                             platform::ShownFileName(commandLinePath) + u'\n' + FileNotFound +
                                 QStringLiteral("\n\n") + CheckPath,
                             platform::MsgIcon::Exclamation);
        }
    }
}

void frmMain::LoadWindowState() {
    const mGlyfora::MainWindowSettings s = mGlyfora::LoadMainWindowSettings(store_);
    platform::RestoreGeometry(*this, s.Geometry, frameFit_);
    mnuToolBar->setChecked(s.ToolBar);
    mnuStatusBar->setChecked(s.StatusBar);

    mGlyfora::RecentFilesList.fill(QString());
    for (int i = 0; i < platform::RecentFilesLimit; ++i) {
        mGlyfora::RecentFilesList[i] = platform::ReadText(store_, platform::RecentFile(i));
    }
    for (QAction* item : mnuRecent)
        item->setVisible(false);
    mnuBarRecent->setVisible(false);
    RebuildRecentMenu();
}

void frmMain::SaveWindowState() {
    mGlyfora::SaveMainWindowSettings(store_, {platform::CaptureGeometry(*this),
                                              mnuToolBar->isChecked(), mnuStatusBar->isChecked()});
    for (int i = 0; i < platform::RecentFilesLimit; ++i) {
        const QString& entry = mGlyfora::RecentFilesList[i];
        if (!entry.isEmpty() && i < mGlyfora::RecentFilesMax)
            platform::WriteText(store_, platform::RecentFile(i), entry);
        else
            platform::DeleteSetting(store_, platform::RecentFile(i));
    }
}

void frmMain::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    SaveWindowState();
    UnloadTextWindow();
    // Another copy of the program may be converting through the same file: it stays then.
    if (!mGlyfora::TempFileName.isEmpty())
        mGlyfora::IntermediateFile::RemoveUnused(mGlyfora::TempFileName);
    mGlyfora::SaveSettings(store_);
    if (!store_.Sync()) {
        dialogs_.Message(this,
                         SettingsNotSaved + u'\n' + platform::ShownFileName(store_.FileName()),
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

// The main window: the working picture in its viewport, the menus and toolbar, the
// status bar, and the start-up and shutdown steps of the program.
#pragma once

#include "imageops/PictureBox.h"
#include "imageops/PictureSurface.h"
#include "imageops/SelectionShape.h"

#include <QMainWindow>
#include <array>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QScrollBar;
class QStatusBar;
class QToolBar;
struct CommandRow;

namespace platform {
class Dialogs;
class SettingsStore;
} // namespace platform

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain(platform::Dialogs& dialogs, platform::SettingsStore& store);
    ~frmMain() override;

    // Start-up: window state, toolbar, no-picture state, then the command-line picture.
    void Form_Load(const QString& commandLinePath);
    // Shutdown: window state, other windows, the intermediate file, the settings.
    void Form_Unload();

    void LoadImageFile(const QString& path);
    void ShowImageInfo();
    void Form_Resize();
    void Form_OLEDragDrop(const class QMimeData* data);

    void mnuFileOpen_Click();
    void mnuExit_Click();
    void mnuRecent_Click(int index);
    // Run after the check mark has been switched by the menu.
    void mnuToolBar_Click();
    void mnuStatusBar_Click();
    // Runs what toolbar button `index` (1-based) stands for; gaps and separators do nothing.
    void tbrToolbar_ButtonClick(int index);

    // Controls, named as the program names them. Every menu, item, separator and toolbar
    // button also carries its name as objectName (a menu's QMenu and its menuAction both);
    // array members are named with their index: "mnuRecent(0)" to "mnuRecent(19)",
    // "tbrButtons(1)" to "tbrButtons(12)", and carry the index in the property "Index".
    QFrame* picBase = nullptr;
    PictureBox* picView = nullptr;
    PictureSurface picSave;
    PictureSurface picClip;
    SelectionShape* shpCut = nullptr;
    QScrollBar* hsbView = nullptr;
    QScrollBar* vsbView = nullptr;
    QWidget* picScollBar = nullptr;
    QToolBar* tbrToolbar = nullptr;
    QStatusBar* sbrUnder = nullptr;
    QLabel* sbrText = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuBar1 = nullptr;
    std::array<QAction*, 20> mnuRecent{};
    QAction* mnuBarRecent = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuCopy = nullptr;
    QMenu* mnuImage = nullptr;
    QAction* mnuNormalView = nullptr;
    QAction* mnuResize = nullptr;
    QMenu* mnuRevolving = nullptr;
    QMenu* mnuRun = nullptr;
    QAction* mnuTextConversion = nullptr;
    QAction* mnuHTMLConversion = nullptr;
    QMenu* mnuOptions = nullptr;
    QAction* mnuToolBar = nullptr;
    QAction* mnuStatusBar = nullptr;
    // Toolbar buttons, gap and separators by their 1-based index; absent ones are null.
    std::array<QAction*, 13> tbrButtons{};

    // The status text as shown.
    QString StatusText() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The rows menus and toolbar are built from (frmMainMenus.cpp).
    static const std::vector<CommandRow>& CommandTable();
    void BuildMenus();
    void SetupToolbar();
    void LoadWindowState();
    void SaveWindowState();
    // Takes the window manager's frame off the stored outer size once the frame is known.
    void ApplyWantedOuterSize();
    void AddRecentFile(const QString& path);
    void RebuildRecentMenu();
    // Menus, toolbar buttons and caption for the picture-loaded or no-picture state.
    void SetPictureCommands(bool loaded);
    void ShowNoPicture();
    void hsbView_Change(int value);
    void vsbView_Change(int value);

    platform::Dialogs& dialogs_;
    platform::SettingsStore& store_;
    // The action built for each row of the command table, in table order.
    std::vector<QAction*> commandActions_;
    bool unloaded_ = false;
    // Outer size the stored geometry asks for, applied once the frame is known.
    QSize wantedOuterSize_;
};

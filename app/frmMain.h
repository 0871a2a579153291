// The main window: the working picture in its viewport, the menus and toolbar, the
// status bar, and the start-up and shutdown steps of the program.
#pragma once

#include "app/ScrollModel.h"
#include "app/ViewLayout.h"
#include "convert/ConversionRun.h"
#include "imageops/PictureBox.h"
#include "imageops/PictureSurface.h"
#include "imageops/SelectionShape.h"
#include "imageops/frmAngle.h"
#include "imageops/frmResize.h"
#include "platform/CommandTable.h"
#include "platform/FrameFit.h"
#include "platform/mGlyfora.h"
#include "textwin/frmText.h"

#include <QMainWindow>
#include <array>
#include <memory>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QScrollBar;
class QStatusBar;
class QToolBar;
class intelliMouse;

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
    // Navigation keys of the view, whichever control has the focus (`Shift`: 1 Shift,
    // 2 Ctrl, 4 Alt).
    void Form_KeyDown(int KeyCode, int Shift);
    void inmMain_MoveWheel(int fwKeys, int zDelta, int Xpos, int Ypos);

    void mnuFileOpen_Click();
    void mnuExit_Click();
    void mnuRecent_Click(int index);
    // Run after the check mark has been switched by the menu.
    void mnuToolBar_Click();
    void mnuStatusBar_Click();
    // Runs what toolbar button `index` (1-based) stands for; gaps and separators do nothing.
    void tbrToolbar_ButtonClick(int index);
    // Opens the help window on the help file (one window, brought forward when open).
    void mnuHelpTopics_Click();
    // Shows the about box modally.
    void mnuAbout_Click();
    // Sets copy and paste as the Edit menu opens.
    void mnuEdit_Click();
    // Keeps the paste button in step with the clipboard.
    void tmrMain_Timer();
    // A right button released over the grey viewport or the toolbar pops up the File menu.
    void picBase_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint globalPos);
    void tbrToolbar_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint globalPos);
    // The Edit, Image, Run, Options and Window commands.
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuNormalView_Click();
    void mnuResize_Click();
    void mnuAngle_Click(int index);
    void mnuAngleIn_Click();
    void mnuMirrorH_Click();
    void mnuMirrorV_Click();
    void mnuColor_Click();
    // The selection drag on the picture (positions in picture pixels) and, with the right
    // button, the Image menu at the pointer.
    void picView_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, QPointF pos);
    void picView_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, QPointF pos);
    void picView_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, QPointF pos,
                         QPoint globalPos);
    void mnuTextConversion_Click();
    void mnuHTMLConversion_Click();
    void mnuOption_Click();
    void mnuShowText_Click();

    // The conversion window, loaded on first use (File > Close in it unloads it once the
    // command is over).
    frmText& TextWindow();
    // Null while it is not loaded.
    frmText* LoadedTextWindow() const { return frmText_.get(); }
    // Stores its settings and destroys it; nothing when it is not loaded.
    void UnloadTextWindow();

public Q_SLOTS:
    // The options were confirmed: status text and recent items follow the new settings.
    void lblOption_Change();

public:
    // Controls, named as the program names them. Every menu, item, separator and toolbar
    // button also carries its name as objectName (a menu's QMenu and its menuAction both);
    // array members are named with their index: "mnuRecent(0)" to "mnuRecent(19)",
    // "mnuAngle(0)" to "mnuAngle(2)", "tbrButtons(1)" to "tbrButtons(12)", and carry the
    // index in the property "Index".
    QFrame* picBase = nullptr;
    PictureBox* picView = nullptr;
    PictureSurface picSave;
    PictureSurface picClip;
    SelectionShape* shpCut = nullptr;
    // A selection drag is under way; where it started, in whole picture pixels.
    bool Selecting = false;
    qint32 SelectStartX = 0;
    qint32 SelectStartY = 0;
    QScrollBar* hsbView = nullptr;
    QScrollBar* vsbView = nullptr;
    // The bars' values and ranges (32 bits, Max may be negative), mirrored onto the bars.
    ScrollModel hsbViewModel;
    ScrollModel vsbViewModel;
    intelliMouse* inmMain = nullptr;
    QWidget* picScollBar = nullptr;
    QToolBar* tbrToolbar = nullptr;
    QStatusBar* sbrUnder = nullptr;
    QLabel* sbrText = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuBar1 = nullptr;
    std::array<QAction*, platform::RecentFilesLimit> mnuRecent{};
    QAction* mnuBarRecent = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuCopy = nullptr;
    QAction* mnuPaste = nullptr;
    QMenu* mnuImage = nullptr;
    QAction* mnuNormalView = nullptr;
    QAction* mnuResize = nullptr;
    QMenu* mnuRevolving = nullptr;
    std::array<QAction*, 3> mnuAngle{};
    QAction* mnuAngleIn = nullptr;
    QAction* mnuMirrorH = nullptr;
    QAction* mnuMirrorV = nullptr;
    QAction* mnuColor = nullptr;
    QMenu* mnuRun = nullptr;
    QAction* mnuTextConversion = nullptr;
    QAction* mnuHTMLConversion = nullptr;
    QMenu* mnuOptions = nullptr;
    QAction* mnuToolBar = nullptr;
    QAction* mnuStatusBar = nullptr;
    QAction* mnuOption = nullptr;
    QMenu* mnuWindow = nullptr;
    QAction* mnuShowText = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpTopics = nullptr;
    QAction* mnuAbout = nullptr;
    // Toolbar buttons, gap and separators by their 1-based index; absent ones are null.
    std::array<QAction*, 13> tbrButtons{};

    // The status text as shown.
    QString StatusText() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The rows menus and toolbar are built from (frmMainMenus.cpp).
    static const std::vector<platform::CommandRow<frmMain>>& CommandTable();
    void BuildMenus();
    void SetupToolbar();
    void LoadWindowState();
    void SaveWindowState();
    // What a conversion run reads and where it delivers (frmMainConversion.cpp).
    mGlyfora::ConversionRunTarget ConversionTarget();
    void AddRecentFile(const QString& path);
    void RebuildRecentMenu();
    // Menus, toolbar buttons and caption for the picture-loaded or no-picture state.
    void SetPictureCommands(bool loaded);
    void ShowNoPicture();
    // Scroll bars, corner box, wheel control and key preview (frmMainView.cpp).
    void SetupView();
    void ApplyViewLayout(const mGlyfora::ViewLayout& layout);
    void MirrorScrollBar(QScrollBar* bar, const ScrollModel& model);
    void hsbView_Change();
    void vsbView_Change();

    platform::Dialogs& dialogs_;
    platform::SettingsStore& store_;
    // The menus, items and toolbar entries built from the command table.
    platform::FormCommands<frmMain> commands_{CommandTable()};
    bool unloaded_ = false;
    // The geometry once the window manager's frame is known.
    platform::FrameFit frameFit_;
    // The view layout as last applied, in twips.
    mGlyfora::ViewLayout viewLayout_;
    QObject* keyPreview_ = nullptr;
    // The viewport's border, kept above the picture.
    QWidget* baseBorder_ = nullptr;
    // The angle and resize dialogs stay loaded while hidden, until a new picture comes.
    std::unique_ptr<frmAngle> angleForm_;
    std::unique_ptr<frmResize> resizeForm_;
    void UnloadImageDialogs();
    // The steps every geometric operation ends with (frmMainImage.cpp).
    void FinishImageOperation();
    // The drag ends: dotted outline, default pointer.
    void EndSelectionDrag();
    std::unique_ptr<frmText> frmText_;
};

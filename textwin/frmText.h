// The conversion window: shows a text result in an editable view with its own menus and
// toolbar, opens and saves text and RTF files, prints, changes font and colours, and
// remembers its geometry, font and colours between runs.
#pragma once

#include "platform/CommandTable.h"
#include "platform/FrameFit.h"
#include "textwin/ConversionView.h"

#include <QMainWindow>
#include <QPointer>
#include <array>

class QAction;
class QMenu;
class QToolBar;

namespace platform {
class Dialogs;
class SettingsStore;
} // namespace platform

// How the window reads and writes a file: plain text (UTF-8, CR LF) or RTF.
enum class TextFileType { Rtf, Plain };

class frmText : public QMainWindow {
    Q_OBJECT
public:
    // Runs Form_Load: the stored settings, the toolbar, the button states.
    frmText(platform::Dialogs& dialogs, platform::SettingsStore& store);
    ~frmText() override;

    // Stores the settings and stops following the clipboard; runs once.
    void Form_Unload();
    bool Unloaded() const { return unloaded_; }

    // Command handlers, reached from the menus, the toolbar and the shortcuts.
    void mnuFileOpen_Click();
    void mnuSaveAs_Click();
    void mnuPrint_Click();
    void mnuClose_Click();
    // Sets the Edit menu's items as it opens.
    void mnuEdit_Click();
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuDelete_Click();
    void mnuAllSelect_Click();
    void mnuFont_Click();
    void mnuBackColor_Click();
    // Runs what toolbar button `index` (1 to 11) stands for; gap and separators do nothing.
    void tbrToolbar_ButtonClick(int index);
    // Cut, Copy and Paste buttons after the clipboard or the selection changed.
    void tmrText_Timer();

    // False on failure, with the message to show in `error` (none for a read that a
    // termination request ended). A failed load leaves the view as it was; a failed save
    // leaves an earlier file as it was.
    bool LoadTextFile(const QString& fileName, TextFileType fileType, QString* error);
    bool SaveTextFile(const QString& fileName, TextFileType fileType, QString* error);

    // Controls under their names (each also its objectName; toolbar entries are
    // "tbrButtons(1)" to "tbrButtons(11)" with the index in the property "Index").
    ConversionView* rtfView = nullptr;
    QToolBar* tbrToolbar = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuBar1 = nullptr;
    QAction* mnuSaveAs = nullptr;
    QAction* mnuBar2 = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnuBar3 = nullptr;
    QAction* mnuClose = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuCut = nullptr;
    QAction* mnuCopy = nullptr;
    QAction* mnuPaste = nullptr;
    QAction* mnuDelete = nullptr;
    QAction* mnuBar4 = nullptr;
    QAction* mnuAllSelect = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuFont = nullptr;
    QAction* mnuBackColor = nullptr;
    std::array<QAction*, 12> tbrButtons{};

Q_SIGNALS:
    // File > Close: the owner unloads and destroys the window once the command is over.
    void UnloadRequested();

protected:
    // A person's close request only hides the window; a session end or a termination
    // never waits for it.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    // The rows menus and toolbar are built from (frmTextMenus.cpp).
    static const std::vector<platform::CommandRow<frmText>>& CommandTable();
    void BuildMenus();
    void SetupToolbar();
    void LoadWindowSettings();
    void SaveWindowSettings();
    // The shared end of the file, print, font and colour commands.
    void ShowError(const QString& message);

    platform::Dialogs& dialogs_;
    platform::SettingsStore& store_;
    bool unloaded_ = false;
    bool closing_ = false; // the owner's unload closes the window for good
    // The geometry once the window manager's frame is known.
    platform::FrameFit frameFit_;
    // The menus, items and toolbar entries built from the command table.
    platform::FormCommands<frmText> commands_{CommandTable()};
};

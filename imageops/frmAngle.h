// The angle dialog: an angle from 0 to 360 degrees and its direction; OK turns the picture
// as last loaded or pasted into the working picture. OK, Cancel and Esc only hide the
// dialog, so the last entry shows again; the close box asks its owner to unload it.
#pragma once

#include "platform/FixedDialog.h"

#include <array>

class PictureBox;
class PictureSurface;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace platform {
class Dialogs;
}

class frmAngle : public platform::FixedDialog {
    Q_OBJECT
public:
    // `main` is the window the dialog is centred over; `picView` receives the turned
    // picture of `picSave`.
    frmAngle(QWidget& main, platform::Dialogs& dialogs, PictureBox& picView,
             const PictureSurface& picSave);

    // Centres the dialog and puts "0" and clockwise into it.
    void Form_Load();
    void cmdOk_Click() override;
    void txtAngle_GotFocus();

    // True once the close box was used: the owner then unloads the dialog.
    bool UnloadRequested() const { return unloadRequested_; }

    QLabel* lblTitle = nullptr;
    QLineEdit* txtAngle = nullptr;
    std::array<QRadioButton*, 2> optAngle{};

protected:
    // Esc hides, as Cancel does; the close box unloads.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    platform::Dialogs& dialogs_;
    PictureBox& picView_;
    const PictureSurface& picSave_;
    bool unloadRequested_ = false;
};

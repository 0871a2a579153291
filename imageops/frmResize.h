// The resize dialog: the new size in pixels or in per cent of the working picture's size
// when the dialog was loaded, linked with the aspect ratio optionally locked. OK stretches
// the picture as last loaded or pasted into the working picture. OK, Cancel, Esc and the
// close box only hide the dialog, so its fields carry over; a resize that fails asks the
// owner to unload it.
#pragma once

#include "imageops/ResizeFields.h"
#include "platform/FixedDialog.h"

#include <array>

class PictureBox;
class PictureSurface;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace platform {
class Dialogs;
}

class frmResize : public platform::FixedDialog {
    Q_OBJECT
public:
    frmResize(QWidget& main, platform::Dialogs& dialogs, PictureBox& picView,
              const PictureSurface& picSave);
    ~frmResize() override;

    // Centres the dialog, selects pixel entry and fills the boxes from the working picture.
    void Form_Load();
    void optPixel_Click();
    void optPercent_Click();
    void txtWidth_Change();
    void txtHeight_Change();
    void txtWidthPer_Change();
    void txtHeightPer_Change();
    void cmdOk_Click() override;

    bool UnloadRequested() const { return unloadRequested_; }

    // The size 100 % stands for, taken when the dialog was loaded.
    qint32 BaseWidth = 0;
    qint32 BaseHeight = 0;

    QRadioButton* optPixel = nullptr;
    QGroupBox* fraPixel = nullptr;
    QLineEdit* txtWidth = nullptr;
    QLineEdit* txtHeight = nullptr;
    QRadioButton* optPercent = nullptr;
    QGroupBox* fraPercent = nullptr;
    QLineEdit* txtWidthPer = nullptr;
    QLineEdit* txtHeightPer = nullptr;
    // lblTitle(0) to lblTitle(5).
    std::array<QLabel*, 6> lblTitle{};
    QCheckBox* chkRation = nullptr;

protected:
    // Esc and the close box hide the dialog, as Cancel does.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Boxes;
    QLineEdit* Box(mGlyfora::ResizeBox box) const;
    void Changed(mGlyfora::ResizeBox box);
    void EnablePair(bool pixels);

    platform::Dialogs& dialogs_;
    PictureBox& picView_;
    const PictureSurface& picSave_;
    bool loading_ = false;
    bool unloadRequested_ = false;
};

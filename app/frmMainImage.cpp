// Main window: the image commands. Revert, quarter and half turns, turning by an entered
// angle, resize, mirrors and colour correction; the selection drag on the picture; copy
// and paste of pictures through the clipboard.
#include "app/frmMain.h"
#include "app/frmMainTexts.h"
#include "app/mGlyfora.h"
#include "imageops/CopySelection.h"
#include "imageops/Mirror.h"
#include "imageops/RotateQuarter.h"
#include "imageops/frmColor.h"
#include "platform/Dialogs.h"
#include "platform/Rounding.h"
#include "platform/WaitCursor.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <algorithm>

namespace {

// The angle each item of the quarter-turn array passes.
constexpr qint16 QuarterAngles[3] = {180, 90, 270};
} // namespace

void frmMain::UnloadImageDialogs() {
    angleForm_.reset();
    resizeForm_.reset();
}

void frmMain::FinishImageOperation() {
    mnuNormalView->setEnabled(true);
    shpCut->hide();
    Form_Resize();
    ShowImageInfo();
}

void frmMain::mnuNormalView_Click() {
    CopyPicture(picView->Surface(), picSave);
    picView->SurfaceChanged();
    mnuNormalView->setEnabled(false);
    shpCut->hide();
    Form_Resize();
    ShowImageInfo();
}

void frmMain::mnuAngle_Click(int index) {
    if (index < 0 || index >= int(std::size(QuarterAngles)))
        return;
    bool turned = false;
    {
        platform::WaitCursor hourglass;
        CopyPicture(picClip, picView->Surface());
        turned = mGlyfora::RotateQuarter(picView->Surface(), picClip, QuarterAngles[index]);
        if (turned) {
            picView->SurfaceChanged();
            FinishImageOperation();
        }
    }
    if (!turned)
        dialogs_.Message(this, frmMainTexts::ImageOutOfMemory, platform::MsgIcon::Critical);
}

void frmMain::mnuAngleIn_Click() {
    if (!angleForm_) {
        angleForm_ = std::make_unique<frmAngle>(*this, dialogs_, *picView, picSave);
        angleForm_->Form_Load();
    }
    dialogs_.ShowModal(*angleForm_);
    if (angleForm_->UnloadRequested())
        angleForm_.reset();
    FinishImageOperation();
}

void frmMain::mnuResize_Click() {
    if (!resizeForm_) {
        resizeForm_ = std::make_unique<frmResize>(*this, dialogs_, *picView, picSave);
        resizeForm_->Form_Load();
    }
    dialogs_.ShowModal(*resizeForm_);
    if (resizeForm_->UnloadRequested())
        resizeForm_.reset();
    FinishImageOperation();
}

namespace {
using MirrorRoutine = bool (*)(PictureSurface&, const PictureSurface&);
} // namespace

static bool Mirror(PictureBox& picView, PictureSurface& picClip, MirrorRoutine routine) {
    platform::WaitCursor hourglass;
    CopyPicture(picClip, picView.Surface());
    if (!routine(picView.Surface(), picClip))
        return false;
    picView.SurfaceChanged();
    return true;
}

void frmMain::mnuMirrorH_Click() {
    if (Mirror(*picView, picClip, &mGlyfora::MirrorHorizontal))
        FinishImageOperation();
    else
        dialogs_.Message(this, frmMainTexts::ImageOutOfMemory, platform::MsgIcon::Critical);
}

void frmMain::mnuMirrorV_Click() {
    if (Mirror(*picView, picClip, &mGlyfora::MirrorVertical))
        FinishImageOperation();
    else
        dialogs_.Message(this, frmMainTexts::ImageOutOfMemory, platform::MsgIcon::Critical);
}

void frmMain::mnuColor_Click() {
    // Loaded anew each time: OK, Cancel and the close box all unload it.
    auto form = std::make_unique<frmColor>(*this, *picView, picClip);
    form->Form_Load();
    dialogs_.ShowModal(*form);
    form.reset();
    // The size is unchanged: the selection, the layout and the status text stay.
    mnuNormalView->setEnabled(true);
}

void frmMain::picView_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers, QPointF pos) {
    if (Button != Qt::LeftButton)
        return;
    shpCut->hide();
    shpCut->SetRect(float(pos.x()), float(pos.y()), 0, 0);
    shpCut->SetBorderStyle(SelectionShape::Solid);
    Selecting = true;
    SelectStartX = platform::RoundHalfEven<qint32>(pos.x());
    SelectStartY = platform::RoundHalfEven<qint32>(pos.y());
    ShowImageInfo();
}

void frmMain::picView_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers, QPointF pos) {
    if (!Selecting)
        return;
    // The button was let go where this window could not see it.
    if (!(Button & Qt::LeftButton)) {
        EndSelectionDrag();
        return;
    }
    picView->setCursor(Qt::CrossCursor);
    // The pointer stays within the picture while dragging: the position just past the
    // last column and row can be reached, so the last pixel can be selected.
    const double x = std::clamp(pos.x(), 0.0, double(picView->Surface().ScaleWidth()));
    const double y = std::clamp(pos.y(), 0.0, double(picView->Surface().ScaleHeight()));
    shpCut->SetRect(float(std::min<double>(x, SelectStartX)),
                    float(std::min<double>(y, SelectStartY)), float(std::abs(x - SelectStartX)),
                    float(std::abs(y - SelectStartY)));
    shpCut->show();
    ShowImageInfo();
}

void frmMain::picView_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers, QPointF,
                              QPoint globalPos) {
    if (Button == Qt::LeftButton)
        EndSelectionDrag();
    else if (Button == Qt::RightButton)
        mnuImage->popup(globalPos);
}

void frmMain::EndSelectionDrag() {
    if (!Selecting)
        return;
    shpCut->SetBorderStyle(SelectionShape::Dot);
    picView->unsetCursor();
    Selecting = false;
}

void frmMain::mnuCopy_Click() {
    if (!picView->isVisibleTo(this))
        return;
    if (!mGlyfora::CopySelection(picClip, picView->Surface(), shpCut->Selection())) {
        dialogs_.Message(this, frmMainTexts::ImageOutOfMemory, platform::MsgIcon::Critical);
        return;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    // A rectangle of no width or height has no picture to offer.
    if (!picClip.IsEmpty())
        clipboard->setImage(picClip.Image());
}

void frmMain::mnuPaste_Click() {
    // The clipboard may have changed since the command was enabled: without a picture on
    // it nothing changes, the caption included.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasImage())
        return;
    const QImage pasted = qvariant_cast<QImage>(data->imageData());
    if (pasted.isNull())
        return;
    if (!picView->Surface().Assign(pasted)) {
        dialogs_.Message(this, frmMainTexts::ImageOutOfMemory, platform::MsgIcon::Critical);
        return;
    }
    setWindowTitle(frmMainTexts::PastedCaption + mGlyfora::ApplicationTitle);
    picView->SurfaceChanged();
    picView->show();
    CopyPicture(picSave, picView->Surface());
    SetPictureCommands(true);
    shpCut->hide();
    UnloadImageDialogs();
    Form_Resize();
    ShowImageInfo();
}

// Main window: loading a picture (dialog, drop, command line, recent list), the
// no-picture state after a failed load, and the status-bar picture information.
#include "app/ImageInfo.h"
#include "app/frmMain.h"
#include "app/frmMainTexts.h"
#include "app/mGlyfora.h"
#include "convert/ConversionSettings.h"
#include "imageops/PictureLoader.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"
#include "platform/Paths.h"
#include "platform/WaitCursor.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QScrollBar>
#include <QStatusBar>
#include <QUrl>

using namespace frmMainTexts;

void frmMain::LoadImageFile(const QString& path) {
    platform::WaitCursor hourglass;
    QString error;
    std::optional<LoadedPicture> loaded = LoadPictureFile(path, &error);
    if (loaded) {
        picView->move(picBase->contentsRect().topLeft());
        if (!picView->Surface().Assign(loaded->image))
            error = frmMainTexts::PictureOutOfMemory;
    }
    if (!error.isEmpty()) {
        dialogs_.Message(this, error, platform::MsgIcon::Critical);
        ShowNoPicture();
        return;
    }
    loaded.reset(); // the surface holds the only copy now
    picView->SurfaceChanged();
    picView->show();
    CopyPicture(picSave, picView->Surface());
    mGlyfora::ImageBaseName = mGlyfora::NextImageBaseName(path, mGlyfora::ImageBaseName);
    hsbView->setValue(0);
    vsbView->setValue(0);
    SetPictureCommands(true);
    shpCut->hide();
    UnloadImageDialogs();
    setWindowTitle(path + QStringLiteral(" - ") + mGlyfora::ApplicationTitle);
    Form_Resize();
    ShowImageInfo();
    AddRecentFile(path);
}

void frmMain::ShowNoPicture() {
    picView->hide();
    // The empty picture clears both surfaces; like every surface they keep their size.
    picView->Surface().Clear();
    picSave.Clear();
    picView->update();
    hsbView->setValue(0);
    vsbView->setValue(0);
    hsbView->hide();
    vsbView->hide();
    picScollBar->hide();
    SetPictureCommands(false);
    shpCut->hide();
    sbrText->clear();
    setWindowTitle(mGlyfora::ApplicationTitle);
}

void frmMain::ShowImageInfo() {
    double w = picView->Surface().ScaleWidth();
    double h = picView->Surface().ScaleHeight();
    if (shpCut->isVisibleTo(picView)) {
        w = shpCut->Width();
        h = shpCut->Height();
    }
    sbrText->setText(mGlyfora::ImageInfoText(w, h, mGlyfora::ConversionSettings.X,
                                             mGlyfora::ConversionSettings.Y));
}

QString frmMain::StatusText() const {
    return sbrText->text();
}

void frmMain::mnuFileOpen_Click() {
    platform::FileDialogRequest request;
    request.DialogTitle = OpenTitle;
    request.InitDir = mGlyfora::OpenDirectory;
    request.Filter = OpenFilter;
    request.FilterIndex = OpenFilterIndex;
    request.Flags = OpenFlags;
    const auto chosen = dialogs_.ShowOpen(this, request);
    if (!chosen)
        return;
    mGlyfora::OpenDirectory = platform::FolderOfPath(chosen->FileName);
    LoadImageFile(chosen->FileName);
}

void frmMain::Form_OLEDragDrop(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            // The name's own bytes: toLocalFile() would turn one that is not UTF-8 into another.
            LoadImageFile(platform::DecodeFileName(
                QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())));
            return;
        }
    }
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    Form_OLEDragDrop(event->mimeData());
}

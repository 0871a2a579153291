// Main window: the recent-files items of the File menu and the options dialog that sets
// their number.
#include "app/RecentFiles.h"
#include "app/frmMain.h"
#include "app/mGlyfora.h"
#include "convert/ScanRegion.h"
#include "convert/frmOption.h"
#include "platform/Dialogs.h"
#include "textwin/TextWindowLook.h"

#include <QAction>
#include <algorithm>
#include <memory>

namespace {
// How many leading entries are shown: the maximum, within the menu's items.
int ShownEntries() {
    return std::clamp<int>(mGlyfora::RecentFilesMax, 0, platform::RecentFilesLimit);
}
} // namespace

void frmMain::AddRecentFile(const QString& path) {
    mGlyfora::AddRecentPath(mGlyfora::RecentFilesList, ShownEntries(), path);
    for (int i = 0; i < ShownEntries(); ++i)
        mnuRecent[i]->setVisible(false);
    mnuBarRecent->setVisible(false);
    RebuildRecentMenu();
}

void frmMain::RebuildRecentMenu() {
    for (int i = 0; i < ShownEntries(); ++i) {
        const QString& entry = mGlyfora::RecentFilesList[i];
        if (entry.isEmpty())
            continue;
        mnuRecent[i]->setText(mGlyfora::RecentCaption(i, entry));
        mnuRecent[i]->setVisible(true);
        mnuBarRecent->setVisible(true);
    }
}

void frmMain::mnuRecent_Click(int index) {
    // The options dialog can empty the list before the menu is rebuilt: an emptied
    // entry names no file.
    const QString path = mGlyfora::RecentFilesList[index];
    if (!path.isEmpty())
        LoadImageFile(path);
}

void frmMain::lblOption_Change() {
    if (picView->isVisibleTo(this))
        ShowImageInfo(); // the cell size may have changed
    for (QAction* item : mnuRecent)
        item->setVisible(false);
    mnuBarRecent->setVisible(false);
    RebuildRecentMenu();
}

void frmMain::mnuOption_Click() {
    auto dialog = std::make_unique<frmOption>(*this, dialogs_, mGlyfora::RecentFilesMax,
                                              mGlyfora::RecentFilesList);
    connect(dialog.get(), &frmOption::OptionChanged, this, &frmMain::lblOption_Change);
    connect(dialog.get(), &frmOption::RecentFilesCleared, this, [this] {
        // The emptied list shows no items, whatever the dialog's end.
        for (QAction* item : mnuRecent)
            item->setVisible(false);
        mnuBarRecent->setVisible(false);
    });
    dialog->Form_Load();
    if (picView->isVisibleTo(this)) {
        const QImage& picture = picView->Surface().Image();
        const std::optional<mGlyfora::ScanRegion> region =
            mGlyfora::FixRegion(shpCut->Selection(), picture.width(), picture.height());
        const QRectF shown = region ? QRectF(QPointF(region->Left, region->Top),
                                             QPointF(region->Right, region->Bottom)) &
                                          QRectF(picture.rect())
                                    : QRectF();
        const mGlyfora::TextWindowLook look = mGlyfora::ShownTextLook(LoadedTextWindow(), store_);
        dialog->SetPreview(picture, shown, look.font, look.ink, look.paper);
    }
    dialogs_.ShowModal(*dialog);
}

// Main window: the recent-files items of the File menu.
#include "app/RecentFiles.h"
#include "app/frmMain.h"
#include "app/mGlyfora.h"

#include <QAction>

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

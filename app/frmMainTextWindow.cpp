// Main window: the conversion window's life, loaded on first use, shown by the Window
// menu, unloaded by its own File > Close or with the main window.
#include "app/frmMain.h"

frmText& frmMain::TextWindow() {
    if (!frmText_) {
        frmText_ = std::make_unique<frmText>(dialogs_, store_);
        // Its own Close runs inside one of its handlers: the unload waits until that
        // handler is over, and it is that window alone that goes.
        frmText* window = frmText_.get();
        connect(
            window, &frmText::UnloadRequested, this,
            [this, window] {
                if (frmText_.get() == window)
                    UnloadTextWindow();
            },
            Qt::QueuedConnection);
    }
    return *frmText_;
}

void frmMain::UnloadTextWindow() {
    if (!frmText_)
        return;
    frmText_->Form_Unload();
    frmText_.reset();
}

void frmMain::mnuShowText_Click() {
    frmText& window = TextWindow();
    window.show();
    window.raise();
    window.activateWindow();
}

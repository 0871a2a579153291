// Main window: the Help menu's commands.
#include "app/frmMain.h"

#include "app/HelpDocument.h"
#include "app/HelpWindow.h"
#include "app/frmAbout.h"
#include "app/frmMainHelpTexts.h"
#include "app/mGlyfora.h"
#include "platform/Dialogs.h"

#include <QScreen>
#include <algorithm>
#include <memory>

using namespace frmMainTexts;

void frmMain::mnuHelpTopics_Click() {
    // One help window for the main window; asked again, it comes forward as it was.
    if (auto* open = findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
        open->show();
        open->raise();
        open->activateWindow();
        return;
    }
    QString error;
    const std::optional<QString> html = mGlyfora::ReadHelpFile(mGlyfora::HelpFilePath, &error);
    if (!html) {
        dialogs_.Message(this,
                         mGlyfora::HelpFilePath + u'\n' + HelpFileUnreadable + u'\n' + error +
                             QStringLiteral("\n\n") + HelpFileCheck,
                         platform::MsgIcon::Critical);
        return;
    }
    auto* window = new HelpWindow(this); // owned by the main window, closed with it
    window->SetDocument(*html);
    // First shown over the middle of the main window, kept on its screen.
    QRect placed(QPoint(), window->size());
    placed.moveCenter(frameGeometry().center());
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        placed.moveLeft(
            std::max(area.left(), std::min(placed.left(), area.right() - placed.width())));
        placed.moveTop(
            std::max(area.top(), std::min(placed.top(), area.bottom() - placed.height())));
    }
    window->move(placed.topLeft());
    window->show();
}

void frmMain::mnuAbout_Click() {
    auto box = std::make_unique<frmAbout>(*this);
    box->Form_Load();
    dialogs_.ShowModal(*box);
    // Unloaded once closed.
    box.reset();
}

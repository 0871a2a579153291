// Conversion window: the edit commands, the Edit menu's and the toolbar's enabling, and
// the window's shortcuts winning over the view's own keys.
#include "platform/Dialogs.h"
#include "textwin/frmText.h"
#include "textwin/frmTextTexts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <new>
#include <tuple>

namespace {
bool ClipboardHoldsText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

void PutOnClipboard(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}
} // namespace

void frmText::mnuCut_Click() {
    const QString text = rtfView->SelText();
    mnuDelete_Click();
    PutOnClipboard(text);
}

void frmText::mnuCopy_Click() {
    PutOnClipboard(rtfView->SelText());
}

void frmText::mnuPaste_Click() {
    if (!ClipboardHoldsText())
        return;
    ViewStatus status;
    try {
        status = rtfView->SetSelText(QGuiApplication::clipboard()->text());
    } catch (const std::bad_alloc&) {
        status = ViewStatus::TooLong; // too large for memory is too large for the view
    }
    if (status != ViewStatus::Shown)
        ShowError(frmTextTexts::TooLarge);
}

void frmText::mnuDelete_Click() {
    // Taking text out is never refused.
    std::ignore = rtfView->SetSelText(QString());
}

void frmText::mnuAllSelect_Click() {
    rtfView->SetSelStart(0);
    rtfView->SetSelLength(int(std::min<qsizetype>(rtfView->Text().size(), INT_MAX)));
}

void frmText::tmrText_Timer() {
    if (unloaded_)
        return;
    commands_.Button(&frmText::mnuPaste)->setEnabled(ClipboardHoldsText());
    const bool selected = rtfView->textCursor().hasSelection();
    commands_.Button(&frmText::mnuCut)->setEnabled(selected);
    commands_.Button(&frmText::mnuCopy)->setEnabled(selected);
}

void frmText::mnuEdit_Click() {
    mnuPaste->setEnabled(ClipboardHoldsText());
    const bool selected = !rtfView->SelText().isEmpty();
    mnuCut->setEnabled(selected);
    mnuCopy->setEnabled(selected);
    mnuDelete->setEnabled(selected);
    mnuAllSelect->setEnabled(true);
}

bool frmText::eventFilter(QObject* watched, QEvent* event) {
    // The window's enabled commands win over the view's own keys, as menu shortcuts
    // always did: Ctrl+X/C/V/A and Del run the Edit menu's commands.
    if (watched == rtfView && event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(
            QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
        for (QAction* action : {mnuFileOpen, mnuSaveAs, mnuPrint, mnuCut, mnuCopy, mnuPaste,
                                mnuDelete, mnuAllSelect}) {
            if (action->isEnabled() && action->shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

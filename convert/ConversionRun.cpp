// The conversion runs.
#include "convert/ConversionRun.h"

#include "convert/ConversionState.h"
#include "convert/ConvertScan.h"
#include "convert/HtmlOutput.h"
#include "convert/frmPercent.h"
#include "convert/frmPercentTexts.h"
#include "platform/Dialogs.h"
#include "platform/TerminationRequest.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <new>

namespace mGlyfora {

namespace {

// The main window steps aside while the scan runs and comes back whatever happens: it
// is shown and enabled again, then the progress dialog goes.
class SteppedAside {
public:
    SteppedAside(QWidget& main, std::unique_ptr<frmPercent>& dialog)
        : main_(&main), dialog_(dialog) {
        main.hide();
        main.setEnabled(false);
    }
    ~SteppedAside() {
        if (main_) {
            main_->show();
            main_->setEnabled(true);
        }
        dialog_.reset();
    }
    SteppedAside(const SteppedAside&) = delete;
    SteppedAside& operator=(const SteppedAside&) = delete;

private:
    QPointer<QWidget> main_;
    std::unique_ptr<frmPercent>& dialog_;
};

using Scan = ScanOutcome (*)(const PictureSurface&, const SelectionRect&, ScanHost&);

// What both runs share: the dialog, the scan, the main window back. Empty when nothing
// was produced or the program is ending; a result lost with the intermediate file is
// reported, never dropped silently.
QString ScanWithProgress(const ConversionRunTarget& target, const QString& caption, Scan scan) {
    auto dialog = std::make_unique<frmPercent>(target.main, target.dialogs);
    dialog->lblConversion->setText(caption);
    dialog->Form_Load();
    dialog->show();
    ScanOutcome outcome;
    {
        SteppedAside aside(target.main, dialog);
        outcome = scan(target.picView, target.shpCut, *dialog);
    }
    if (outcome.status == ScanStatus::UnsafeFile || outcome.status == ScanStatus::FileError) {
        target.dialogs.Message(&target.main,
                               frmPercentTexts::IntermediateFileFailed + u'\n' + outcome.reason +
                                   u'\n' + frmPercentTexts::ConversionFailed,
                               platform::MsgIcon::Critical);
    }
    return outcome.text;
}

} // namespace

void RunTextConversion(const ConversionRunTarget& target) {
    const QString result = ScanWithProgress(target, frmPercentTexts::TextConversion, ScanToText);
    if (result.isEmpty())
        return;
    const platform::MsgAnswer answer = target.dialogs.MsgBox(
        &target.main, {frmPercentTexts::ShowInBrowser, platform::MsgIcon::Information,
                       platform::MsgButtons::YesNoCancel, 1});
    // A question ended by a request to end answers with its default: nothing follows.
    if (platform::TerminationRequested())
        return;
    if (answer == platform::MsgAnswer::Yes) {
        SaveTextAsHTML(&target.main, target.dialogs, result);
    } else if (answer == platform::MsgAnswer::No) {
        try {
            target.showText(result);
        } catch (const std::bad_alloc&) {
            target.dialogs.Message(&target.main, frmPercentTexts::TooLargeForView,
                                   platform::MsgIcon::Information);
            QClipboard* clipboard = QGuiApplication::clipboard();
            clipboard->clear();
            clipboard->setText(result);
        }
    }
}

void RunHTMLConversion(const ConversionRunTarget& target) {
    const QString result = ScanWithProgress(target, frmPercentTexts::HTMLConversion, ScanToHTML);
    if (!result.isEmpty())
        SaveColorAsHTML(&target.main, target.dialogs, result);
}

} // namespace mGlyfora

// The conversion runs.
#include "convert/ConversionRun.h"

#include "convert/ConversionSettings.h"
#include "convert/ConversionState.h"
#include "convert/ConvertScan.h"
#include "convert/HtmlOutput.h"
#include "convert/IntermediateFile.h"
#include "convert/ProgramLooks.h"
#include "convert/frmPercent.h"
#include "convert/frmPercentTexts.h"
#include "platform/Dialogs.h"
#include "platform/ErrorText.h"
#include "platform/OutputFile.h"
#include "platform/TerminationRequest.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <new>

namespace mGlyfora {

namespace {

// The main window steps aside while the dialog is up and comes back whatever happens:
// it is shown (when it was hidden) and enabled again, then the progress dialog goes.
class SteppedAside {
public:
    SteppedAside(QWidget& main, std::unique_ptr<frmPercent>& dialog, bool hide)
        : main_(&main), dialog_(dialog) {
        if (hide)
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

std::unique_ptr<frmPercent> ShowProgress(const ConversionRunTarget& target,
                                         const QString& caption) {
    auto dialog = std::make_unique<frmPercent>(target.main, target.dialogs);
    dialog->lblConversion->setText(caption);
    dialog->Form_Load();
    dialog->show();
    return dialog;
}

// What both runs share: the dialog, the scan, the main window back. A result lost with
// the intermediate file is reported, never dropped silently.
ScanOutcome ScanWithProgress(const ConversionRunTarget& target, const QString& caption,
                             const std::function<ScanOutcome(ScanHost&)>& scan) {
    auto dialog = ShowProgress(target, caption);
    ScanOutcome outcome;
    {
        SteppedAside aside(target.main, dialog, true);
        outcome = scan(*dialog);
    }
    if (outcome.status == ScanStatus::UnsafeFile || outcome.status == ScanStatus::FileError) {
        target.dialogs.Message(&target.main,
                               frmPercentTexts::IntermediateFileFailed + u'\n' + outcome.reason +
                                   u'\n' + frmPercentTexts::ConversionFailed,
                               platform::MsgIcon::Critical);
    }
    return outcome;
}

// Pages up to this size are copied in a moment (about a gigabyte a second); a larger
// copy shows its progress in the dialog, over the main window disabled meanwhile.
constexpr qint64 QuietCopyBytes = qint64(64) << 20;

// The HTML run's body: the rows copied from the intermediate file onto the page.
BodyStatus CopyRows(const ConversionRunTarget& target, IntermediateFile& rows,
                    platform::OutputFile& page, QString* why) {
    bool refused = false;
    const auto write = [&](const char* data, qsizetype size) {
        refused = !page.Write(data, size);
        return !refused;
    };
    IntermediateFile::Status status;
    if (rows.Size() <= QuietCopyBytes) {
        NullScanHost quiet;
        status = rows.CopyTo(write, quiet);
    } else {
        auto dialog = ShowProgress(target, frmPercentTexts::HTMLConversion);
        SteppedAside aside(target.main, dialog, false);
        status = rows.CopyTo(write, *dialog);
    }
    if (status == IntermediateFile::Status::Cancelled)
        return BodyStatus::Cancelled;
    if (status == IntermediateFile::Status::Ok)
        return BodyStatus::Written;
    if (!refused)
        platform::Failed(why, rows.ErrorString());
    return BodyStatus::Failed;
}

} // namespace

void RunTextConversion(const ConversionRunTarget& target) {
    const QString result =
        ScanWithProgress(target, frmPercentTexts::TextConversion, [&](ScanHost& host) {
            if (ConversionSettings.Style != 0)
                return ScanInLook(ConversionSettings, target.picView, target.shpCut, target.face,
                                  host);
            return Scan(ScanKind::Text, ConversionSettings, target.picView, target.shpCut, host);
        }).text;
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
        bool shown;
        try {
            shown = target.showText(result);
        } catch (const std::bad_alloc&) {
            shown = false; // too large for memory is too large for the view
        }
        if (!shown) {
            target.dialogs.Message(&target.main, frmPercentTexts::TooLargeForView,
                                   platform::MsgIcon::Information);
            QClipboard* clipboard = QGuiApplication::clipboard();
            clipboard->clear();
            clipboard->setText(result);
        }
    }
}

// The result stays in the intermediate file, held until the page is written: it is never
// decoded into memory only to be encoded again.
void RunHTMLConversion(const ConversionRunTarget& target) {
    IntermediateFile rows;
    const ScanOutcome outcome =
        ScanWithProgress(target, frmPercentTexts::HTMLConversion, [&](ScanHost& host) {
            return ScanToHTMLFile(ConversionSettings, target.picView, target.shpCut, host, rows);
        });
    if (outcome.status != ScanStatus::Done)
        return;
    SaveColorAsHTML(&target.main, target.dialogs, [&](platform::OutputFile& page, QString* why) {
        return CopyRows(target, rows, page, why);
    });
}

} // namespace mGlyfora

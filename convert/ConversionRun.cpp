// The conversion runs.
#include "convert/ConversionRun.h"

#include "convert/ConversionState.h"
#include "convert/ConvertScan.h"
#include "convert/HtmlOutput.h"
#include "convert/frmPercent.h"
#include "convert/frmPercentTexts.h"
#include "platform/Dialogs.h"
#include "platform/TerminationSignals.h"

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

using Scan = QString (*)(const PictureSurface&, const SelectionRect&, ScanHost&);

// What both runs share: the dialog, the scan, the main window back. Empty when nothing
// was produced or the program is ending.
QString ScanWithProgress(const ConversionRunTarget& target, const QString& caption, Scan scan) {
    auto dialog = std::make_unique<frmPercent>(target.main, target.dialogs);
    dialog->lblConversion->setText(caption);
    dialog->Form_Load();
    dialog->show();
    QString result;
    {
        SteppedAside aside(target.main, dialog);
        result = scan(target.picView, target.shpCut, *dialog);
    }
    // On the way out nobody is asked anything and nothing new is shown.
    if (platform::TerminationRequested())
        return QString();
    return result;
}

} // namespace

void RunTextConversion(const ConversionRunTarget& target) {
    const QString result = ScanWithProgress(target, frmPercentTexts::TextConversion, ConvertToText);
    if (result.isEmpty())
        return;
    const platform::MsgAnswer answer = target.dialogs.MsgBox(
        &target.main, {frmPercentTexts::ShowInBrowser, platform::MsgIcon::Information,
                       platform::MsgButtons::YesNoCancel, 1});
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
    const QString result = ScanWithProgress(target, frmPercentTexts::HTMLConversion, ConvertToHTML);
    if (!result.isEmpty())
        SaveColorAsHTML(&target.main, target.dialogs, result);
}

} // namespace mGlyfora

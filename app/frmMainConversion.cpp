// The main window's conversion commands: each hands the working picture and its
// selection to a conversion run, with the hourglass over the window meanwhile.
#include "app/frmMain.h"

#include "convert/ConversionRun.h"
#include "textwin/ConversionView.h"
#include "textwin/frmText.h"

namespace {

// The main window's own pointer shows the hourglass for the whole command.
class Hourglass {
public:
    explicit Hourglass(QWidget& window) : window_(window) { window_.setCursor(Qt::WaitCursor); }
    ~Hourglass() { window_.unsetCursor(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

private:
    QWidget& window_;
};

} // namespace

mGlyfora::ConversionRunTarget frmMain::ConversionTarget() {
    // Whether the selection counts is the shape's own state: the window itself is hidden
    // while the scan runs.
    mGlyfora::SelectionRect selection;
    selection.Visible = !shpCut->isHidden();
    selection.Left = shpCut->Left();
    selection.Top = shpCut->Top();
    selection.Width = shpCut->Width();
    selection.Height = shpCut->Height();
    return {*this, picView->Surface(), selection, dialogs_, [this](const QString& text) {
                TextWindow().rtfView->SetText(text);
                mnuShowText_Click();
            }};
}

void frmMain::mnuTextConversion_Click() {
    const Hourglass hourglass(*this);
    mGlyfora::RunTextConversion(ConversionTarget());
}

void frmMain::mnuHTMLConversion_Click() {
    const Hourglass hourglass(*this);
    mGlyfora::RunHTMLConversion(ConversionTarget());
}

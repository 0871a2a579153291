// The main window's conversion commands: each hands the working picture and its
// selection to a conversion run, with the hourglass over the window meanwhile.
#include "app/frmMain.h"

#include "convert/ConversionRun.h"
#include "textwin/ConversionView.h"
#include "textwin/TextWindowLook.h"
#include "textwin/frmText.h"

#include <QFontInfo>

namespace {

// The main window's own pointer shows the hourglass for the whole command. Not
// platform::WaitCursor: an application-wide cursor would cover the progress dialog's
// Cancel button and the questions that follow the run as well.
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
    const QFont font = mGlyfora::ShownTextLook(LoadedTextWindow(), store_).font;
    return {*this,
            picView->Surface(),
            shpCut->Selection(),
            dialogs_,
            [this](const QString& text) {
                if (TextWindow().rtfView->SetText(text) != ViewStatus::Shown)
                    return false;
                mnuShowText_Click();
                return true;
            },
            QFontInfo(font).family()};
}

void frmMain::mnuTextConversion_Click() {
    const Hourglass hourglass(*this);
    mGlyfora::RunTextConversion(ConversionTarget());
}

void frmMain::mnuHTMLConversion_Click() {
    const Hourglass hourglass(*this);
    mGlyfora::RunHTMLConversion(ConversionTarget());
}

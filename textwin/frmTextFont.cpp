// Conversion window: the font and text colour of the whole text, and the background.
#include "platform/Dialogs.h"
#include "textwin/frmText.h"

#include <climits>

namespace {
// Screen fonts, effects with the colour choice, only fonts that exist.
constexpr unsigned FontDialogFlags = platform::FontFlags::ScreenFonts |
                                     platform::FontFlags::Effects |
                                     platform::FontFlags::ForceFontExist;
} // namespace

void frmText::mnuFont_Click() {
    platform::FontDialogRequest request;
    request.Flags = FontDialogFlags;
    // Mixed colours in the selection: the dialog starts on black.
    request.Start = {platform::FontRecord::From(rtfView->BaseFont()),
                     rtfView->SelColor().value_or(Colour(0))};
    const auto chosen = dialogs_.ShowFont(this, request);
    if (!chosen)
        return;

    platform::FontRecord font = chosen->Font;
    if (!(font.Size > 0)) // no size chosen: the view's stays
        font.Size = request.Start.Font.Size;
    rtfView->SetBaseFont(font.ToQFont());

    // The whole text takes the colour; the selection is put back as it was.
    const int start = rtfView->SelStart();
    const int length = rtfView->SelLength();
    rtfView->SetSelStart(0);
    rtfView->SetSelLength(int(std::min<qsizetype>(rtfView->Text().size(), INT_MAX)));
    rtfView->SetSelColor(chosen->Color);
    rtfView->SetSelLength(0);
    rtfView->SetSelStart(start);
    rtfView->SetSelLength(length);
}

void frmText::mnuBackColor_Click() {
    const auto chosen = dialogs_.ShowColor(
        this, platform::ColorDialogRequest{rtfView->BackColor(), platform::ColorFlags::RgbInit});
    if (chosen)
        rtfView->SetBackColor(*chosen);
}

// The conversion window's text view: an editor of formatted text that never wraps lines,
// with the text, selection, colour and font properties the conversion run and the
// window's commands work with. It lays out only the lines it shows (the plain-text
// layout), so a photo's text of millions of characters shows its top at once.
#pragma once

#include "platform/Colour.h"

#include <QFont>
#include <QPlainTextEdit>
#include <functional>
#include <optional>

// The longest text the view takes, in UTF-16 units (16 Mi). Measured (CPU time of the
// hand-over until painted, with only the shown lines laid out): 2.07 M in 45 ms, 6 M in
// 85 ms, 16 M in 107 ms; a PageDown lays out the next lines, 23 / 63 / 137 ms. Past this,
// building the document and paging slow down in step with the length for no use a
// person can make of such a text, which goes to the clipboard instead.
inline constexpr qsizetype MaxViewText = 16 * 1024 * 1024;
// The most lines the view takes (256 Ki). Every line costs the document about 110 bytes
// and 2 us to build, however short, and about 450 bytes more once shown: measured, 5 M
// empty lines took 17 s and 550 MB before any layout. A conversion result has a line per
// row of cells.
inline constexpr qsizetype MaxViewLines = 256 * 1024;

// What became of a text handed to the view.
enum class ViewStatus {
    Shown,     // the view holds it
    TooLong,   // past one of the limits above
    NotFilled, // the document's filler gave up
};

class ConversionView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ConversionView(QWidget* parent = nullptr);

    // The whole text, lines joined with CR LF.
    QString Text() const;
    // Replaces everything, keeping the base font, the colours and the insertion colour.
    // Takes CR LF, LF or CR as line ends. TooLong, the view as it was, when the text is
    // longer than MaxViewText or has more than MaxViewLines lines.
    [[nodiscard]] ViewStatus SetText(const QString& text);

    // Replaces everything with what `fill` puts into an empty document set up as the
    // view's own (an RTF file read straight into it). NotFilled when `fill` answers false,
    // TooLong past MaxViewText or MaxViewLines; the view as it was in both.
    [[nodiscard]] ViewStatus SetContent(const std::function<bool(QTextDocument&)>& fill);

    // Positions count one character per line end.
    QString SelText() const;
    // Replaces the selection (or inserts at the caret) in the insertion colour; the caret
    // ends after the new text. TooLong, the view as it was, when text put in would make
    // the result too long; an empty text (taking the selection out) is never refused.
    [[nodiscard]] ViewStatus SetSelText(const QString& text);
    int SelStart() const;
    // Moves the caret, clamped to the text; the selection becomes empty.
    void SetSelStart(int start);
    int SelLength() const;
    // Selects from SelStart on, clamped to the end of the text.
    void SetSelLength(int length);

    // The colour the whole selection shares (the insertion colour when nothing is
    // selected); no value when it mixes colours.
    std::optional<Colour> SelColor() const;
    // A system colour number is resolved now.
    void SetSelColor(Colour colour);
    // The colour of the selection's first character (the insertion colour when nothing
    // is selected): a colour to go on with when SelColor has none.
    Colour LeadColor() const;

    // A plain colour or a system colour number, kept as given and painted as it stands
    // for in the current palette.
    Colour BackColor() const { return back_; }
    void SetBackColor(Colour colour);

    // The font of the whole text. Setting it also takes any font of its own off the
    // text (an RTF file brings its own).
    QFont BaseFont() const;
    void SetBaseFont(const QFont& font);

protected:
    // Only plain text travels through the clipboard and drag and drop.
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void changeEvent(QEvent* event) override;

private:
    // Fills a new document and makes it the view's, as SetContent says.
    ViewStatus ReplaceDocument(const std::function<bool(QTextDocument&)>& fill);
    void ApplyBackColor();
    Colour ColourOf(const QTextCharFormat& format) const;
    int EndPosition() const;

    Colour back_ = platform::SystemColourBase + 5;
};

// The conversion window's text view.
#include "textwin/ConversionView.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QMimeData>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <functional>
#include <memory>
#include <new>
#include <tuple>
#include <vector>

namespace {
const QString CrLf = QStringLiteral("\r\n");

// The document breaks paragraphs at LF; CR LF and a lone CR are line ends too.
QString WithLineFeeds(const QString& text) {
    if (!text.contains(u'\r'))
        return text;
    QString result = text;
    result.replace(CrLf, QStringLiteral("\n"));
    result.replace(u'\r', u'\n');
    return result;
}

// The line ends of a text, CR LF, LF and a lone CR alike, counted without a copy.
qsizetype LineBreaks(const QString& text) {
    qsizetype breaks = 0;
    const QChar* const end = text.constEnd();
    for (const QChar* c = text.constBegin(); c != end; ++c) {
        if (*c == u'\n' || (*c == u'\r' && (c + 1 == end || c[1] != u'\n')))
            ++breaks;
    }
    return breaks;
}

// A selection's paragraph separators as CR LF.
QString WithCrLf(QString text) {
    text.replace(QChar::ParagraphSeparator, CrLf);
    text.replace(QChar::LineSeparator, CrLf);
    return text;
}

bool HasFontOfItsOwn(const QTextCharFormat& format) {
    const auto& properties = format.properties();
    return std::any_of(properties.keyBegin(), properties.keyEnd(),
                       [](int property) {
                           return property >= QTextFormat::FirstFontProperty &&
                                  property <= QTextFormat::LastFontProperty;
                       }) ||
           format.hasProperty(QTextFormat::TextUnderlineStyle);
}
} // namespace

ConversionView::ConversionView(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setContextMenuPolicy(Qt::NoContextMenu);
    setTabChangesFocus(false);
    ApplyBackColor();
}

QString ConversionView::Text() const {
    const QTextDocument* doc = document();
    QString text;
    text.reserve(doc->characterCount() + doc->blockCount());
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin())
            text += CrLf;
        text += block.text();
    }
    return WithCrLf(std::move(text));
}

ViewStatus ConversionView::SetText(const QString& text) {
    if (text.size() > MaxViewText || LineBreaks(text) >= MaxViewLines)
        return ViewStatus::TooLong;
    const QTextCharFormat format = currentCharFormat();
    const ViewStatus status = ReplaceDocument([&](QTextDocument& doc) {
        QTextCursor cursor(&doc);
        cursor.setBlockCharFormat(format);
        // The cursor itself ends a paragraph at CR LF, LF or a lone CR: a conversion's
        // text goes in without a copy made only to change its line ends.
        cursor.insertText(text, format);
        return true;
    });
    if (status == ViewStatus::Shown)
        setCurrentCharFormat(format);
    return status;
}

ViewStatus ConversionView::SetContent(const std::function<bool(QTextDocument&)>& fill) {
    return ReplaceDocument(fill);
}

ViewStatus ConversionView::ReplaceDocument(const std::function<bool(QTextDocument&)>& fill) {
    // The text goes into a document of its own before the view takes it: the view then
    // lays out only the lines it shows. The old text is not kept for undo: a hand-over
    // is not an edit.
    const QPointer<QTextDocument> old = document();
    auto filled = std::make_unique<QTextDocument>();
    filled->setDocumentLayout(new QPlainTextDocumentLayout(filled.get()));
    filled->setDefaultFont(old->defaultFont());
    filled->setDefaultTextOption(old->defaultTextOption());
    filled->setDocumentMargin(old->documentMargin());
    filled->setUndoRedoEnabled(false);
    if (!fill(*filled))
        return ViewStatus::NotFilled;
    if (qsizetype(filled->characterCount()) - 1 > MaxViewText ||
        filled->blockCount() > MaxViewLines)
        return ViewStatus::TooLong;
    filled->setUndoRedoEnabled(true);
    QTextDocument* doc = filled.release();
    doc->setParent(this);
    setDocument(doc);
    // Qt deletes a replaced document of its own making; one of ours goes here.
    if (old && old->parent() == this)
        delete old.data();
    setTextCursor(QTextCursor(doc));
    return ViewStatus::Shown;
}

QString ConversionView::SelText() const {
    return WithCrLf(textCursor().selectedText());
}

ViewStatus ConversionView::SetSelText(const QString& text) {
    QTextCursor cursor = textCursor();
    const QString lines = WithLineFeeds(text);
    const qsizetype length = qsizetype(document()->characterCount()) - 1 -
                             (cursor.selectionEnd() - cursor.selectionStart()) + lines.size();
    // Only what is put in can go past a limit: a text typed past one can still be cut.
    if (!lines.isEmpty() &&
        (length > MaxViewText || document()->blockCount() + lines.count(u'\n') > MaxViewLines))
        return ViewStatus::TooLong;
    const QTextCharFormat format = currentCharFormat();
    cursor.insertText(lines, format);
    setTextCursor(cursor);
    return ViewStatus::Shown;
}

int ConversionView::EndPosition() const {
    return document()->characterCount() - 1;
}

int ConversionView::SelStart() const {
    return textCursor().selectionStart();
}

void ConversionView::SetSelStart(int start) {
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(start, 0, EndPosition()));
    setTextCursor(cursor);
}

int ConversionView::SelLength() const {
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void ConversionView::SetSelLength(int length) {
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const int end = std::clamp<qint64>(qint64(start) + std::max(length, 0), start, EndPosition());
    cursor.setPosition(start);
    cursor.setPosition(int(end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

Colour ConversionView::ColourOf(const QTextCharFormat& format) const {
    const QColor colour = format.hasProperty(QTextFormat::ForegroundBrush)
                              ? format.foreground().color()
                              : palette().color(QPalette::Text);
    return platform::ColourFromRgb(colour.rgb());
}

std::optional<Colour> ConversionView::SelColor() const {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return ColourOf(currentCharFormat());
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    std::optional<Colour> shared;
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= start || fragment.position() >= end)
                continue;
            const Colour colour = ColourOf(fragment.charFormat());
            if (shared && *shared != colour)
                return std::nullopt;
            shared = colour;
        }
    }
    // A selection of line ends alone takes the colour of the insertion point.
    return shared ? shared : std::optional<Colour>(ColourOf(currentCharFormat()));
}

Colour ConversionView::LeadColor() const {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return ColourOf(currentCharFormat());
    QTextCursor first(document());
    first.setPosition(cursor.selectionStart());
    first.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    return ColourOf(first.charFormat());
}

void ConversionView::SetSelColor(Colour colour) {
    QTextCharFormat format;
    format.setForeground(platform::ToQColor(colour));
    mergeCurrentCharFormat(format);
    // An empty line keeps the colour in its own format, so that the caret moving back
    // onto it (or a new hand-over) finds the colour again.
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection() && cursor.block().length() == 1)
        cursor.mergeBlockCharFormat(format);
}

void ConversionView::SetBackColor(Colour colour) {
    back_ = colour;
    ApplyBackColor();
}

void ConversionView::ApplyBackColor() {
    QPalette p = palette();
    const QColor colour = platform::ToQColor(back_);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, colour);
    setPalette(p);
}

void ConversionView::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    // A system colour follows the desktop's colours.
    if (event->type() == QEvent::ApplicationPaletteChange && platform::IsSystemColour(back_))
        ApplyBackColor();
}

QFont ConversionView::BaseFont() const {
    return document()->defaultFont();
}

void ConversionView::SetBaseFont(const QFont& font) {
    // The widget's font is what the document falls back on after any font change.
    setFont(font);
    QTextDocument* doc = document();
    doc->setDefaultFont(font);
    // The base font is the font of the whole text: fonts of its own (from an RTF file)
    // give way. Formats are gathered first, since setting them splits the fragments.
    struct Range {
        int start, end;
        QTextCharFormat format;
    };
    std::vector<Range> owned;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (HasFontOfItsOwn(fragment.charFormat()))
                owned.push_back({fragment.position(), fragment.position() + fragment.length(),
                                 fragment.charFormat()});
        }
    }
    for (Range& range : owned) {
        for (int property = QTextFormat::FirstFontProperty;
             property <= QTextFormat::LastFontProperty; ++property)
            range.format.clearProperty(property);
        range.format.clearProperty(QTextFormat::TextUnderlineStyle);
        QTextCursor cursor(doc);
        cursor.setPosition(range.start);
        cursor.setPosition(range.end, QTextCursor::KeepAnchor);
        cursor.setCharFormat(range.format);
    }
    QTextCharFormat insertion = currentCharFormat();
    if (HasFontOfItsOwn(insertion)) {
        for (int property = QTextFormat::FirstFontProperty;
             property <= QTextFormat::LastFontProperty; ++property)
            insertion.clearProperty(property);
        insertion.clearProperty(QTextFormat::TextUnderlineStyle);
        setCurrentCharFormat(insertion);
    }
}

QMimeData* ConversionView::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(SelText());
    return data;
}

bool ConversionView::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void ConversionView::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText())
        return;
    // A drop too long for the view (or too large for memory) leaves the text as it was.
    try {
        std::ignore = SetSelText(source->text());
    } catch (const std::bad_alloc&) {
    }
}

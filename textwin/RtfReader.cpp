// RTF into a document: the parser reads the whole file first, so a file that cannot be
// read leaves the document as it was; then its runs go in. Each format is made once: a
// format made anew for every run costs the document a search through all its formats.
#include "textwin/RtfReader.h"

#include <QColor>
#include <QFont>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <new>
#include <vector>

namespace mGlyfora {

namespace {

// How often, in runs put into the document, the reader asks whether to give up.
constexpr std::size_t AbandonCheckRuns = 1 << 12;

QTextCharFormat CharFormat(const RtfFormat& rtf) {
    QTextCharFormat format;
    if (!rtf.family.isEmpty())
        // The single family, not a list: the document tells formats apart by a hash that
        // gives every list of families the same value, so thousands of fonts would make
        // each insertion search them all.
        format.setProperty(QTextFormat::FontFamily, rtf.family);
    format.setFontPointSize(rtf.halfPoints / 2.0);
    format.setFontWeight(rtf.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(rtf.italic);
    format.setFontUnderline(rtf.underline);
    format.setFontStrikeOut(rtf.strike);
    if (rtf.colour)
        format.setForeground(QColor::fromRgb(*rtf.colour));
    return format;
}

// Replaces the content of `doc` with `text`. False when abandoned part way (the
// document then holds part of the text).
bool Fill(const RtfText& text, QTextDocument& doc, const std::function<bool()>& abandon) {
    std::vector<QTextCharFormat> formats;
    formats.reserve(text.formats.size());
    for (const RtfFormat& format : text.formats)
        formats.push_back(CharFormat(format));
    doc.clear();
    // Undo records of a file read in would only double its memory.
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    if (!text.runs.empty()) {
        const QTextCharFormat& first = formats[std::size_t(text.runs.front().format)];
        cursor.setBlockCharFormat(first);
        cursor.setCharFormat(first);
    }
    bool done = true;
    qsizetype start = 0;
    for (std::size_t i = 0; i < text.runs.size(); ++i) {
        if (i % AbandonCheckRuns == AbandonCheckRuns - 1 && abandon && abandon()) {
            done = false;
            break;
        }
        const RtfRun& run = text.runs[i];
        cursor.insertText(text.text.sliced(start, run.length), formats[std::size_t(run.format)]);
        start += run.length;
    }
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
    return done;
}

} // namespace

RtfResult ReadRtf(const QByteArray& data, QTextDocument& doc, QString* error,
                  const RtfLimits& limits) {
    RtfText text;
    const RtfResult parsed = ParseRtf(data, text, error, limits);
    if (parsed != RtfResult::Read)
        return parsed;
    const auto failed = [&](RtfResult result, const QString& message) {
        // Half a document would pass for the file: better none.
        doc.clear();
        if (error)
            *error = message;
        return result;
    };
    try {
        if (!Fill(text, doc, limits.abandon))
            return failed(RtfResult::Abandoned, QString());
        return RtfResult::Read;
    } catch (const std::bad_alloc&) {
        return failed(RtfResult::Failed, RtfMemoryMessage());
    }
}

} // namespace mGlyfora

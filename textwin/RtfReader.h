// Reads RTF into a text document: fonts (with their character sets), colours, sizes,
// bold, italic, underline and strikeout of the text, paragraphs and line breaks. Code
// page bytes (\'hh, e.g. Shift-JIS under \ansicpg932 or \fcharset128) and \uN escapes
// are decoded; destinations that hold no text are skipped. Malformed input never
// crashes: a file cut off or with unbalanced braces gives what was read up to there.
#pragma once

#include "textwin/RtfParser.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace mGlyfora {

// Replaces the whole content of `doc` with the RTF in `data`; time and memory grow in
// step with the file. Failed, with `doc` untouched and a message in `error` (may be
// null), when the data does not start with "{\rtf" or nests its groups deeper than
// RtfMaxGroupDepth; Failed when memory runs out, TooLong past the limits and Abandoned,
// each with `doc` untouched or empty (and `error` empty for the last two). The
// document's default font is not changed: the runs carry the file's own formats.
RtfResult ReadRtf(const QByteArray& data, QTextDocument& doc, QString* error,
                  const RtfLimits& limits = {});

} // namespace mGlyfora

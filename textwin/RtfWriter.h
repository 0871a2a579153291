// Writes a text document as RTF: a font table of the families used, a colour table of
// the colours used, and every run with its font, size, bold, italic, underline,
// strikeout and colour. Characters outside ASCII go out as \uN with a '?' fallback.
#pragma once

#include <QByteArray>

class QTextDocument;

namespace mGlyfora {

// The whole document as one RTF file. Every paragraph ends with \par, the last one
// too, as word processors write it; ReadRtf reads the result back to the same text and
// formats (sizes to the nearest half point, which is all RTF keeps). Throws
// std::bad_alloc when memory runs out.
QByteArray WriteRtf(const QTextDocument& doc);

} // namespace mGlyfora

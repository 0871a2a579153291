// The code pages of RTF text: the one a font's character set stands for, and the
// decoding of bytes written in a code page.
#pragma once

#include <QByteArray>
#include <QString>

namespace mGlyfora {

// The Windows code page a font's \fcharset stands for; 0 for the document's own.
int CharsetCodePage(int charset);

// `bytes` in the Windows code page `codePage` (65001 is UTF-8); a code page Qt has no
// converter for reads as windows-1252. Bytes without a character give U+FFFD.
QString DecodeCodePage(const QByteArray& bytes, int codePage);

} // namespace mGlyfora

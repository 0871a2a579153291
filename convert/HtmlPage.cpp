// UTF-8 output of results and pages.
#include "convert/HtmlPage.h"

#include <QIODevice>
#include <QStringEncoder>
#include <algorithm>

namespace mGlyfora {

bool WriteUtf8(QIODevice& out, QStringView text) {
    constexpr qsizetype PieceUnits = qsizetype(1) << 18;
    QStringEncoder encoder(QStringEncoder::Utf8);
    // One buffer for every piece: a fresh one each time would be mapped and faulted in anew.
    QByteArray bytes(encoder.requiredSpace(std::min(PieceUnits, text.size())), Qt::Uninitialized);
    for (qsizetype at = 0; at < text.size(); at += PieceUnits) {
        // The stateful encoder carries a surrogate pair split between two pieces.
        const QStringView piece = text.mid(at, std::min(PieceUnits, text.size() - at));
        const char* end = encoder.appendToBuffer(bytes.data(), piece);
        const qint64 size = end - bytes.constData();
        if (out.write(bytes.constData(), size) != size)
            return false;
    }
    return true;
}

bool WriteHtmlPage(QIODevice& out, const QString& before, const QString& body,
                   const QString& after) {
    const QStringView lineBreak = u"\r\n";
    return WriteUtf8(out, before) && WriteUtf8(out, lineBreak) && WriteUtf8(out, body) &&
           WriteUtf8(out, lineBreak) && WriteUtf8(out, after) && WriteUtf8(out, lineBreak);
}

} // namespace mGlyfora

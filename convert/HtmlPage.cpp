// UTF-8 output of results and pages.
#include "convert/HtmlPage.h"

#include "platform/OutputFile.h"

#include <QStringEncoder>
#include <algorithm>

namespace mGlyfora {

namespace {
constexpr QStringView LineBreak = u"\r\n";
}

QByteArray TemplateLine(QStringView text) {
    QStringEncoder encoder(QStringEncoder::Utf8);
    QByteArray bytes = encoder.encode(text);
    return bytes + encoder.encode(LineBreak);
}

bool WriteUtf8(platform::OutputFile& out, QStringView text) {
    constexpr qsizetype PieceUnits = qsizetype(1) << 18;
    QStringEncoder encoder(QStringEncoder::Utf8);
    // One buffer for every piece: a fresh one each time would be mapped and faulted in anew.
    QByteArray bytes(encoder.requiredSpace(std::min(PieceUnits, text.size())), Qt::Uninitialized);
    for (qsizetype at = 0; at < text.size(); at += PieceUnits) {
        // The stateful encoder carries a surrogate pair split between two pieces.
        const QStringView piece = text.mid(at, std::min(PieceUnits, text.size() - at));
        const char* end = encoder.appendToBuffer(bytes.data(), piece);
        if (!out.Write(bytes.constData(), end - bytes.constData()))
            return false;
    }
    return true;
}

QString TextForPage(const QString& text) {
    if (!text.contains(u'<'))
        return text;
    QString page = text;
    return page.replace(u'<', QStringLiteral("&lt;"));
}

bool WriteHtmlPage(platform::OutputFile& out, const QString& before, const QString& body,
                   const QString& after) {
    return out.Write(TemplateLine(before)) && WriteUtf8(out, body) && WriteUtf8(out, LineBreak) &&
           out.Write(TemplateLine(after));
}

} // namespace mGlyfora

// The code pages of RTF text: the table of character sets to Windows code pages, and
// decoders for them, kept between files.
#include "textwin/RtfCodePages.h"

#include <QList>
#include <QStringDecoder>
#include <map>
#include <utility>

namespace mGlyfora {

int CharsetCodePage(int charset) {
    switch (charset) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return 0;
    }
}

QString DecodeCodePage(const QByteArray& bytes, int codePage) {
    // Most text is ASCII. One pass over every byte, without an early way out, lets the
    // compiler test many bytes at once.
    unsigned char high = 0;
    for (const char b : bytes)
        high |= static_cast<unsigned char>(b);
    if (high < 0x80)
        return QString::fromLatin1(bytes);
    // Opening a converter costs far more than most files take to decode, so they are
    // kept between files; a file naming many code pages cannot make the cache grow
    // without end.
    thread_local std::map<int, QStringDecoder> decoders;
    auto found = decoders.find(codePage);
    if (found == decoders.end()) {
        if (decoders.size() >= 32)
            decoders.clear();
        const auto flags = QStringConverter::Flag::Stateless;
        QStringDecoder decoder;
        if (codePage == 65001) {
            decoder = QStringDecoder(QStringConverter::Utf8, flags);
        } else {
            const QByteArray number = QByteArray::number(codePage);
            QList<QByteArray> names;
            if (codePage == 932)
                names << "windows-31j"
                      << "Shift_JIS";
            else if (codePage == 10000)
                names << "macintosh";
            names << "windows-" + number << "cp" + number << "ibm-" + number;
            for (const QByteArray& name : names) {
                decoder = QStringDecoder(name.constData(), flags);
                if (decoder.isValid())
                    break;
            }
            if (!decoder.isValid())
                decoder = QStringDecoder("windows-1252", flags);
            if (!decoder.isValid())
                decoder = QStringDecoder(QStringConverter::Latin1, flags);
        }
        found = decoders.emplace(codePage, std::move(decoder)).first;
    }
    QString text = found->second.decode(bytes);
    // Some converters stand SUB (U+001A) for bytes they cannot map.
    text.replace(QChar(0x1A), QChar::ReplacementCharacter);
    return text;
}

} // namespace mGlyfora

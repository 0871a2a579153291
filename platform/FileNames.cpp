// Lossless file-name decoding and encoding.
#include "platform/FileNames.h"

#include "platform/ControlCharacters.h"
#include "platform/Utf8Decoder.h"

namespace platform {

namespace {
constexpr char16_t EscapeBase = 0xDC00;

// Length of the sequence a lead byte announces, 0 for a byte that cannot lead.
int SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}
} // namespace

QString DecodeFileName(const QByteArray& bytes) {
    QString name;
    name.reserve(bytes.size());
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    while (p < end) {
        const int length = SequenceLength(static_cast<unsigned char>(*p));
        char16_t units[4];
        qsizetype used = 0;
        // The strict decoder refuses overlong forms, surrogates and values past U+10FFFF.
        const qsizetype decoded =
            (length > 0 && end - p >= length) ? DecodeUtf8(p, length, units, used) : -1;
        if (decoded > 0 && used == length) {
            name.append(reinterpret_cast<const QChar*>(units), decoded);
            p += length;
        } else {
            name.append(QChar(char16_t(EscapeBase + static_cast<unsigned char>(*p))));
            ++p;
        }
    }
    return name;
}

QByteArray EncodeFileName(const QString& name) {
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name.at(i).unicode();
        const bool pair =
            QChar::isHighSurrogate(unit) && i + 1 < name.size() && name.at(i + 1).isLowSurrogate();
        if (pair) {
            bytes += name.mid(i, 2).toUtf8();
            ++i;
        } else if (unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF) {
            bytes += char(unit - EscapeBase);
        } else {
            bytes += QString(QChar(unit)).toUtf8();
        }
    }
    return bytes;
}

QStringList DecodeArguments(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << DecodeFileName(QByteArray(argv[i]));
    return arguments;
}

QString ShownFileName(const QString& name) {
    QString shown;
    shown.reserve(name.size());
    for (const QChar c : name) {
        if (!IsControlCharacter(c)) {
            shown += c;
            continue;
        }
        switch (c.unicode()) {
        case u'\n':
            shown += QLatin1String("\\n");
            break;
        case u'\r':
            shown += QLatin1String("\\r");
            break;
        case u'\t':
            shown += QLatin1String("\\t");
            break;
        default:
            shown += c.unicode() < 0x100
                         ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                         : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    return shown;
}

} // namespace platform

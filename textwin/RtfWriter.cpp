// RTF output: one pass over the document's fragments builds the body and collects the
// fonts and colours; the header with both tables is put in front at the end.
#include "textwin/RtfWriter.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>
#include <cmath>

namespace mGlyfora {

namespace {

// What one run looks like in RTF terms.
struct RunFormat {
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int colour = 0; // 0: the reader's default text colour
};

class Writer {
public:
    explicit Writer(const QTextDocument& doc) : doc_(doc), default_(doc.defaultFont()) {
        // The default family gets \f0, so text of the view's own font keeps it.
        FontIndex(default_.family());
    }

    QByteArray Write();

private:
    int FontIndex(const QString& family);
    int ColourIndex(QRgb rgb);
    RunFormat Resolve(const QTextCharFormat& format);
    void Switch(const RunFormat& next);
    void Text(const QString& text);
    void Word(const char* word, int value);
    void Hex(unsigned byte);
    static void Escaped(QByteArray& out, const QString& text);

    const QTextDocument& doc_;
    const QFont default_;
    QList<QString> fonts_;
    QHash<QString, int> fontIndex_;
    QList<QRgb> colours_;
    QHash<QRgb, int> colourIndex_;
    QByteArray body_;
    RunFormat current_;
    bool pendingSpace_ = false; // a control word was written and needs its delimiter
};

int Writer::FontIndex(const QString& family) {
    const auto found = fontIndex_.constFind(family);
    if (found != fontIndex_.cend())
        return *found;
    const int index = int(fonts_.size());
    fonts_.append(family);
    fontIndex_.insert(family, index);
    return index;
}

int Writer::ColourIndex(QRgb rgb) {
    rgb |= 0xFF000000u;
    const auto found = colourIndex_.constFind(rgb);
    if (found != colourIndex_.cend())
        return *found;
    colours_.append(rgb);
    const int index = int(colours_.size()); // entry 0 is the automatic colour
    colourIndex_.insert(rgb, index);
    return index;
}

RunFormat Writer::Resolve(const QTextCharFormat& format) {
    RunFormat run;
    QString family = default_.family();
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.first().isEmpty())
            family = families.first();
    } else if (const QString single = format.stringProperty(QTextFormat::FontFamily);
               !single.isEmpty()) {
        family = single;
    }
    run.font = FontIndex(family);

    double points = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                                   : default_.pointSizeF();
    if (!(points > 0))
        points = 12;
    run.halfPoints = int(qBound(1.0, std::nearbyint(points * 2), 32767.0));

    run.bold = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() > QFont::Medium
                                                           : default_.bold();
    run.italic =
        format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : default_.italic();
    run.underline = format.hasProperty(QTextFormat::TextUnderlineStyle) ||
                            format.hasProperty(QTextFormat::FontUnderline)
                        ? format.fontUnderline()
                        : default_.underline();
    run.strike = format.hasProperty(QTextFormat::FontStrikeOut) ? format.fontStrikeOut()
                                                                : default_.strikeOut();
    const QBrush brush = format.foreground();
    if (brush.style() != Qt::NoBrush)
        run.colour = ColourIndex(brush.color().rgb());
    return run;
}

void Writer::Word(const char* word, int value) {
    body_ += '\\';
    body_ += word;
    body_ += QByteArray::number(value);
    pendingSpace_ = true;
}

void Writer::Switch(const RunFormat& next) {
    auto toggle = [this](const char* word, bool on) {
        body_ += '\\';
        body_ += word;
        if (!on)
            body_ += '0';
        pendingSpace_ = true;
    };
    if (next.font != current_.font) {
        // Word processors keep a font per script; \f after \dbch sets the one of East
        // Asian text, so Japanese shows in the chosen font too.
        body_ += "\\loch";
        Word("f", next.font);
        body_ += "\\hich";
        Word("f", next.font);
        body_ += "\\dbch";
        Word("f", next.font);
    }
    if (next.halfPoints != current_.halfPoints)
        Word("fs", next.halfPoints);
    if (next.bold != current_.bold)
        toggle("b", next.bold);
    if (next.italic != current_.italic)
        toggle("i", next.italic);
    if (next.underline != current_.underline) {
        body_ += next.underline ? "\\ul" : "\\ulnone";
        pendingSpace_ = true;
    }
    if (next.strike != current_.strike)
        toggle("strike", next.strike);
    if (next.colour != current_.colour)
        Word("cf", next.colour);
    current_ = next;
}

void Writer::Hex(unsigned byte) {
    static const char digits[] = "0123456789abcdef";
    body_ += "\\'";
    body_ += digits[(byte >> 4) & 0xF];
    body_ += digits[byte & 0xF];
}

void Writer::Text(const QString& text) {
    const auto* p = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* const end = p + text.size();
    while (p < end) {
        // Plain ASCII goes out in one piece.
        const char16_t* plain = p;
        while (p < end && *p >= 0x20 && *p < 0x7F && *p != u'\\' && *p != u'{' && *p != u'}')
            ++p;
        if (p > plain) {
            if (pendingSpace_) {
                body_ += ' ';
                pendingSpace_ = false;
            }
            const qsizetype start = body_.size();
            body_.resize(start + (p - plain));
            char* out = body_.data() + start;
            for (const char16_t* c = plain; c < p; ++c)
                *out++ = char(*c);
        }
        if (p == end)
            break;
        const char16_t c = *p++;
        switch (c) {
        case u'\\':
        case u'{':
        case u'}':
            body_ += '\\';
            body_ += char(c);
            pendingSpace_ = false;
            break;
        case u'\t':
            body_ += "\\tab";
            pendingSpace_ = true;
            break;
        case 0x2028: // a line break inside a paragraph
            body_ += "\\line";
            pendingSpace_ = true;
            break;
        default:
            if (c < 0x80) {
                Hex(c); // other control characters, the same byte in every code page
                pendingSpace_ = false;
            } else {
                // Signed 16 bits, as readers expect; the '?' is for readers without \u.
                body_ += "\\u";
                body_ += QByteArray::number(int(qint16(c)));
                body_ += '?';
                pendingSpace_ = false;
            }
            break;
        }
    }
}

void Writer::Escaped(QByteArray& out, const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u == u';' || u < 0x20) {
            // A semicolon would end the name; control characters have no place in it.
        } else if (u < 0x7F) {
            out += char(u);
        } else {
            out += "\\u";
            out += QByteArray::number(int(qint16(u)));
            out += '?';
        }
    }
}

QByteArray Writer::Write() {
    // Mostly one byte per character, plus the control words of the paragraphs.
    body_.reserve(doc_.characterCount() + doc_.blockCount() * 8 + 256);
    current_.font = 0;
    body_ += "\\pard\\plain\\loch\\f0\\hich\\f0\\dbch\\f0\\fs24";
    pendingSpace_ = true;
    for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
        bool any = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            Switch(Resolve(fragment.charFormat()));
            Text(fragment.text());
            any = true;
        }
        // An empty paragraph keeps its format, so an empty line keeps its size.
        if (!any)
            Switch(Resolve(block.charFormat()));
        body_ += "\\par\r\n";
        pendingSpace_ = false;
    }
    body_ += "}\r\n";

    QByteArray out;
    out.reserve(body_.size() + 256 + fonts_.size() * 48 + colours_.size() * 32);
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl";
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
        out += "{\\f";
        out += QByteArray::number(i);
        out += "\\fnil\\fcharset0 ";
        Escaped(out, fonts_[i]);
        out += ";}";
    }
    out += "}\r\n{\\colortbl;";
    for (const QRgb rgb : colours_) {
        out += "\\red" + QByteArray::number(qRed(rgb));
        out += "\\green" + QByteArray::number(qGreen(rgb));
        out += "\\blue" + QByteArray::number(qBlue(rgb));
        out += ';';
    }
    out += "}\r\n{\\*\\generator glyfora;}\\viewkind4\\uc1\r\n";
    out += body_;
    return out;
}

} // namespace

QByteArray WriteRtf(const QTextDocument& doc) {
    return Writer(doc).Write();
}

} // namespace mGlyfora

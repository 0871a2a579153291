// RTF input: a tokenizer over the bytes with a stack of group states, and the file's
// font and colour tables. The text goes to a run builder; each distinct state becomes a
// format (its font and colour looked up) only when the whole file has been read, so a
// font table after the text still counts.
#include "textwin/RtfParser.h"

#include "textwin/RtfCodePages.h"
#include "textwin/RtfRunBuilder.h"
#include "textwin/RtfWords.h"

#include <QHash>
#include <QList>
#include <array>
#include <climits>
#include <new>
#include <string_view>
#include <utility>

namespace mGlyfora {

namespace {

// Sizes past this (in half points) are clamped; Qt lays out nothing sensible beyond it.
constexpr int MaxHalfPoints = 3276;
// More fallback characters per \u than any writer uses.
constexpr int MaxUnicodeSkip = 255;

enum class Dest : unsigned char { Text, FontTable, ColourTable, Skip };

struct Group {
    RtfCharState chr;
    Dest dest = Dest::Text;
    int uc = 1;
};

struct Font {
    QString name;
    int codePage = 0; // 0: the document's code page
};

// How often, in bytes read, the parser asks whether to give up.
constexpr qsizetype AbandonCheckBytes = 1 << 16;

class Reader {
public:
    Reader(const QByteArray& data, const RtfLimits& limits)
        : p_(data.constData()), end_(data.constData() + data.size()), limits_(limits),
          runs_(limits) {}

    // False with `error_` set when the file cannot be read, with it empty when abandoned.
    // Throws RtfPastLimits past the limits.
    bool Parse();
    QString Error() const { return error_; }
    // What Parse read, its states made formats; the reader is spent.
    RtfText Take();

private:
    void ControlWord();
    void ControlSymbol();
    void Handle(std::string_view word, bool hasValue, int value);
    void TextBytes(const char* from, const char* to);
    void Byte(char byte);
    void Character(char16_t unit);
    void Break();
    void FlushBytes();
    void AppendText(QStringView text);
    void CommitFont();
    void CommitColour();
    int CodePageOf(int font) const;
    RtfFormat Format(const RtfCharState& state) const;
    bool Abandoned() const { return limits_.abandon && limits_.abandon(); }

    const char* p_;
    const char* const end_;
    const RtfLimits& limits_;
    const RtfWordTable& words_ = RtfWords();
    std::vector<Group> stack_;
    Group g_;
    bool star_ = false; // \* seen: an unknown destination that follows is skipped
    int skip_ = 0;      // fallback characters still to skip after \u
    int docCodePage_ = 1252;
    int defaultFont_ = 0;

    QHash<int, Font> fonts_;
    bool fontOpen_ = false; // a font table entry is being read
    int fontNumber_ = 0;
    Font font_;

    QList<std::optional<QRgb>> colours_; // empty: the automatic colour
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colourSet_ = false;

    QByteArray bytes_; // code page bytes not decoded yet
    RtfRunBuilder runs_;
    QString error_;
};

bool Reader::Parse() {
    if (end_ - p_ < 5 || std::string_view(p_, 5) != "{\\rtf") {
        error_ = QStringLiteral("RTF 形式のファイルではありません。");
        return false;
    }
    // The outermost group: the document ends where it closes.
    ++p_;
    stack_.push_back(g_);
    static const auto special = [] {
        std::array<bool, 256> s{};
        for (unsigned char c : {'\\', '{', '}', ';'})
            s[c] = true;
        // Raw control bytes are no text (a writer escapes the ones it means), the tab
        // aside; CR and LF only lay the file out.
        for (unsigned char c = 0; c < 0x20; ++c)
            s[c] = c != '\t';
        return s;
    }();
    const char* nextCheck = p_;
    while (p_ < end_) {
        if (p_ >= nextCheck) {
            if (Abandoned()) {
                error_.clear();
                return false;
            }
            nextCheck = p_ + AbandonCheckBytes;
        }
        const char c = *p_;
        if (c == '{') {
            FlushBytes();
            ++p_;
            skip_ = 0;
            star_ = false;
            if (int(stack_.size()) >= RtfMaxGroupDepth) {
                error_ = QStringLiteral("RTF のグループの入れ子が深すぎて読み込めません。");
                return false;
            }
            stack_.push_back(g_);
        } else if (c == '}') {
            FlushBytes();
            ++p_;
            skip_ = 0;
            star_ = false;
            if (g_.dest == Dest::FontTable)
                CommitFont();
            g_ = stack_.back();
            stack_.pop_back();
            if (stack_.empty())
                break;
        } else if (c == '\\') {
            ++p_;
            if (p_ == end_)
                break;
            const auto next = static_cast<unsigned char>(*p_);
            if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z')) {
                FlushBytes();
                ControlWord();
            } else {
                ControlSymbol();
            }
        } else if (c == '\r' || c == '\n') {
            ++p_;
        } else {
            star_ = false;
            if (skip_ > 0) {
                --skip_;
                ++p_;
                continue;
            }
            const char* from = p_;
            while (p_ < end_ && !special[static_cast<unsigned char>(*p_)])
                ++p_;
            if (p_ == from) { // a ';' or a raw control byte
                if (*p_++ != ';')
                    continue;
                if (g_.dest == Dest::FontTable) {
                    FlushBytes();
                    CommitFont();
                } else if (g_.dest == Dest::ColourTable) {
                    CommitColour();
                } else {
                    TextBytes(from, p_);
                }
            } else {
                TextBytes(from, p_);
            }
        }
    }
    FlushBytes();
    return true;
}

void Reader::ControlWord() {
    const char* start = p_;
    while (p_ < end_ && ((*p_ >= 'a' && *p_ <= 'z') || (*p_ >= 'A' && *p_ <= 'Z')))
        ++p_;
    const std::string_view word(start, size_t(p_ - start));
    bool negative = false;
    if (p_ + 1 < end_ && *p_ == '-' && p_[1] >= '0' && p_[1] <= '9') {
        negative = true;
        ++p_;
    }
    bool hasValue = false;
    long long value = 0;
    while (p_ < end_ && *p_ >= '0' && *p_ <= '9') {
        hasValue = true;
        if (value <= INT_MAX) // beyond it the value is clamped below
            value = value * 10 + (*p_ - '0');
        ++p_;
    }
    value = qMin<long long>(value, INT_MAX);
    if (negative)
        value = -value;
    if (p_ < end_ && *p_ == ' ')
        ++p_;
    Handle(word, hasValue, int(value));
}

void Reader::ControlSymbol() {
    const char c = *p_++;
    switch (c) {
    case '\'': {
        auto hex = [](char h) {
            if (h >= '0' && h <= '9')
                return h - '0';
            if (h >= 'a' && h <= 'f')
                return h - 'a' + 10;
            if (h >= 'A' && h <= 'F')
                return h - 'A' + 10;
            return -1;
        };
        const int high = p_ < end_ ? hex(*p_) : -1;
        const int low = p_ + 1 < end_ ? hex(p_[1]) : -1;
        if (high < 0 || low < 0) {
            // Not a byte: a lone hex digit is dropped, anything else read as it is.
            if (high >= 0)
                ++p_;
            FlushBytes();
            star_ = false;
            return;
        }
        p_ += 2;
        const int byte = high * 16 + low;
        if (byte < 0x20) {
            // A control character, the same in every code page (no lead or trail byte of
            // a double-byte code page is this small): it goes in as the character, not
            // through a converter that may take it for an unmappable byte.
            star_ = false;
            if (skip_ > 0) {
                --skip_;
                return;
            }
            Character(char16_t(byte));
            return;
        }
        Byte(char(byte));
        break;
    }
    case '\\':
    case '{':
    case '}':
        Byte(c);
        break;
    case '*':
        FlushBytes();
        star_ = true;
        return;
    case '~':
        FlushBytes();
        Character(0x00A0);
        break;
    case '_':
        FlushBytes();
        Character(0x2011);
        break;
    case '\r':
    case '\n':
        FlushBytes();
        Handle("par", false, 0);
        break;
    default: // \- (optional hyphen), \: and the like show nothing
        FlushBytes();
        if (skip_ > 0)
            --skip_;
        break;
    }
    star_ = false;
}

void Reader::Handle(std::string_view word, bool hasValue, int value) {
    const bool star = std::exchange(star_, false);
    const auto found = words_.find(word);
    const RtfWordInfo* const info = found == words_.end() ? nullptr : &found->second;
    if (info && info->word == RtfWord::Bin) {
        // Binary data is skipped whatever the destination.
        if (hasValue && value > 0)
            p_ += qMin<qsizetype>(value, end_ - p_);
        return;
    }
    if (g_.dest == Dest::Skip)
        return;
    if (skip_ > 0) { // a control word stands for one fallback character
        --skip_;
        return;
    }
    if (!info) {
        if (star)
            g_.dest = Dest::Skip;
        return;
    }
    const bool on = !hasValue || value != 0;
    RtfCharState& chr = g_.chr;
    switch (info->word) {
    case RtfWord::Ansi:
        docCodePage_ = 1252;
        break;
    case RtfWord::Mac:
        docCodePage_ = 10000;
        break;
    case RtfWord::Pc:
        docCodePage_ = 437;
        break;
    case RtfWord::Pca:
        docCodePage_ = 850;
        break;
    case RtfWord::AnsiCpg:
        if (value > 0)
            docCodePage_ = value;
        break;
    case RtfWord::Deff:
        defaultFont_ = value;
        break;
    case RtfWord::FontTable:
        g_.dest = Dest::FontTable;
        fontOpen_ = false;
        break;
    case RtfWord::ColourTable:
        g_.dest = Dest::ColourTable;
        colourSet_ = false;
        red_ = green_ = blue_ = 0;
        break;
    case RtfWord::SkipDest:
        g_.dest = Dest::Skip;
        break;
    case RtfWord::Font:
        if (g_.dest == Dest::FontTable) {
            CommitFont();
            fontOpen_ = true;
            fontNumber_ = value;
            font_ = Font();
        } else if (g_.dest == Dest::Text) {
            chr.font = value;
        }
        break;
    case RtfWord::FCharset:
        if (g_.dest == Dest::FontTable && fontOpen_)
            font_.codePage = CharsetCodePage(value);
        break;
    case RtfWord::Cpg:
        if (g_.dest == Dest::FontTable && fontOpen_ && value > 0)
            font_.codePage = value;
        break;
    case RtfWord::Red:
    case RtfWord::Green:
    case RtfWord::Blue:
        if (g_.dest == Dest::ColourTable) {
            const int component = qBound(0, value, 255);
            (info->word == RtfWord::Red     ? red_
             : info->word == RtfWord::Green ? green_
                                            : blue_) = component;
            colourSet_ = true;
        }
        break;
    case RtfWord::FontSize:
        if (value > 0)
            chr.halfPoints = qMin(value, MaxHalfPoints);
        break;
    case RtfWord::Bold:
        chr.bold = on;
        break;
    case RtfWord::Italic:
        chr.italic = on;
        break;
    case RtfWord::Underline:
        chr.underline = on;
        break;
    case RtfWord::UnderlineNone:
        chr.underline = false;
        break;
    case RtfWord::Strike:
        chr.strike = on;
        break;
    case RtfWord::Colour:
        chr.colour = qMax(value, 0);
        break;
    case RtfWord::Plain:
        chr = RtfCharState();
        break;
    case RtfWord::Par:
        Break();
        break;
    case RtfWord::Tab:
        Character(u'\t');
        break;
    case RtfWord::Char:
        Character(info->character);
        break;
    case RtfWord::Unicode: {
        // Values above 32767 are written as negative numbers.
        const int unit = value < 0 ? value + 65536 : value;
        Character(unit >= 0 && unit <= 0xFFFF ? char16_t(unit) : char16_t(0xFFFD));
        skip_ = g_.uc;
        break;
    }
    case RtfWord::UnicodeSkip:
        g_.uc = qBound(0, value, MaxUnicodeSkip);
        break;
    case RtfWord::Bin:
        break;
    }
}

void Reader::TextBytes(const char* from, const char* to) {
    if (g_.dest == Dest::Text || (g_.dest == Dest::FontTable && fontOpen_))
        bytes_.append(from, to - from);
}

void Reader::Byte(char byte) {
    star_ = false;
    if (skip_ > 0) {
        --skip_;
        return;
    }
    if (g_.dest == Dest::Text || (g_.dest == Dest::FontTable && fontOpen_))
        bytes_.append(byte);
}

void Reader::Character(char16_t unit) {
    FlushBytes();
    AppendText(QStringView(&unit, 1));
}

void Reader::Break() {
    if (g_.dest == Dest::Text)
        runs_.Break();
}

int Reader::CodePageOf(int font) const {
    const auto found = fonts_.constFind(font < 0 ? defaultFont_ : font);
    if (found != fonts_.cend() && found->codePage != 0)
        return found->codePage;
    return docCodePage_;
}

void Reader::FlushBytes() {
    if (bytes_.isEmpty())
        return;
    if (g_.dest == Dest::FontTable && fontOpen_) {
        font_.name += DecodeCodePage(bytes_, font_.codePage ? font_.codePage : docCodePage_);
    } else if (g_.dest == Dest::Text) {
        AppendText(DecodeCodePage(bytes_, CodePageOf(g_.chr.font)));
    }
    bytes_.clear();
}

void Reader::AppendText(QStringView text) {
    if (g_.dest == Dest::FontTable) {
        if (fontOpen_)
            font_.name += text;
        return;
    }
    if (g_.dest == Dest::Text)
        runs_.Append(text, g_.chr);
}

void Reader::CommitFont() {
    if (!fontOpen_)
        return;
    fontOpen_ = false;
    font_.name = font_.name.trimmed();
    fonts_.insert(fontNumber_, font_);
}

void Reader::CommitColour() {
    colours_.append(colourSet_ ? std::optional<QRgb>(qRgb(red_, green_, blue_)) : std::nullopt);
    colourSet_ = false;
    red_ = green_ = blue_ = 0;
}

RtfFormat Reader::Format(const RtfCharState& state) const {
    RtfFormat format;
    const auto font = fonts_.constFind(state.font < 0 ? defaultFont_ : state.font);
    if (font != fonts_.cend())
        format.family = font->name;
    format.halfPoints = state.halfPoints;
    format.bold = state.bold;
    format.italic = state.italic;
    format.underline = state.underline;
    format.strike = state.strike;
    if (state.colour >= 0 && state.colour < colours_.size())
        format.colour = colours_[state.colour];
    return format;
}

RtfText Reader::Take() {
    RtfText text = runs_.Finish();
    text.formats.reserve(runs_.States().size());
    for (const RtfCharState& state : runs_.States())
        text.formats.push_back(Format(state));
    return text;
}

} // namespace

RtfResult ParseRtf(const QByteArray& data, RtfText& out, QString* error, const RtfLimits& limits) {
    const auto failed = [&](RtfResult result, const QString& message) {
        if (error)
            *error = message;
        return result;
    };
    try {
        Reader reader(data, limits);
        if (!reader.Parse()) {
            const QString why = reader.Error();
            return failed(why.isEmpty() ? RtfResult::Abandoned : RtfResult::Failed, why);
        }
        out = reader.Take();
        return RtfResult::Read;
    } catch (const RtfPastLimits&) {
        return failed(RtfResult::TooLong, QString());
    } catch (const std::bad_alloc&) {
        return failed(RtfResult::Failed, RtfMemoryMessage());
    }
}

QString RtfMemoryMessage() {
    return QStringLiteral("メモリが足りないため RTF ファイルを読み込めません。");
}

} // namespace mGlyfora

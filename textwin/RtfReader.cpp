// RTF input: a tokenizer over the bytes with a stack of group states. Text is gathered
// into one string with runs of equal character state and put into the document only
// when the whole file has been read, so a file that cannot be read leaves the document
// as it was. Each distinct state becomes one format, made once: a format made anew for
// every run costs the document a search through all its formats.
#include "textwin/RtfReader.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QStringDecoder>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <array>
#include <climits>
#include <map>
#include <new>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace mGlyfora {

namespace {

// Sizes past this (in half points) are clamped; Qt lays out nothing sensible beyond it.
constexpr int MaxHalfPoints = 3276;
// More fallback characters per \u than any writer uses.
constexpr int MaxUnicodeSkip = 255;

struct CharState {
    int font = -1; // -1: the default font (\deff)
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int colour = -1; // -1: the view's own text colour
    bool operator==(const CharState&) const = default;
};

enum class Dest : unsigned char { Text, FontTable, ColourTable, Skip };

struct Group {
    CharState chr;
    Dest dest = Dest::Text;
    int uc = 1;
};

struct Font {
    QString name;
    int codePage = 0; // 0: the document's code page
};

struct CharStateHash {
    size_t operator()(const CharState& s) const {
        return qHashMulti(0, s.font, s.halfPoints, s.bold, s.italic, s.underline, s.strike,
                          s.colour);
    }
};

// `length` characters of the text in the state numbered `state`.
struct Run {
    int state;
    qsizetype length;
};

// Thrown when the text passes RtfLimits' sizes; it ends the read with TooLong.
struct PastLimits {};

// How often (in bytes read, in runs put into the document) the reader asks whether to
// give up.
constexpr qsizetype AbandonCheckBytes = 1 << 16;
constexpr std::size_t AbandonCheckRuns = 1 << 12;

enum class Word {
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    FontTable,
    ColourTable,
    SkipDest,
    Font,
    FCharset,
    Cpg,
    Red,
    Green,
    Blue,
    FontSize,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Colour,
    Plain,
    Par,
    Tab,
    Char,
    Unicode,
    UnicodeSkip,
    Bin,
};

struct WordInfo {
    Word word;
    char16_t character = 0; // for Word::Char
};

const std::unordered_map<std::string_view, WordInfo>& Words() {
    static const std::unordered_map<std::string_view, WordInfo> words = [] {
        std::unordered_map<std::string_view, WordInfo> w{
            {"ansi", {Word::Ansi}},
            {"mac", {Word::Mac}},
            {"pc", {Word::Pc}},
            {"pca", {Word::Pca}},
            {"ansicpg", {Word::AnsiCpg}},
            {"deff", {Word::Deff}},
            {"fonttbl", {Word::FontTable}},
            {"colortbl", {Word::ColourTable}},
            {"f", {Word::Font}},
            {"fcharset", {Word::FCharset}},
            {"cpg", {Word::Cpg}},
            {"red", {Word::Red}},
            {"green", {Word::Green}},
            {"blue", {Word::Blue}},
            {"fs", {Word::FontSize}},
            {"b", {Word::Bold}},
            {"i", {Word::Italic}},
            {"ulnone", {Word::UnderlineNone}},
            {"strike", {Word::Strike}},
            {"striked", {Word::Strike}},
            {"cf", {Word::Colour}},
            {"plain", {Word::Plain}},
            {"par", {Word::Par}},
            {"line", {Word::Char, 0x2028}},
            {"sect", {Word::Par}},
            {"page", {Word::Par}},
            {"tab", {Word::Tab}},
            {"emdash", {Word::Char, 0x2014}},
            {"endash", {Word::Char, 0x2013}},
            {"bullet", {Word::Char, 0x2022}},
            {"lquote", {Word::Char, 0x2018}},
            {"rquote", {Word::Char, 0x2019}},
            {"ldblquote", {Word::Char, 0x201C}},
            {"rdblquote", {Word::Char, 0x201D}},
            {"emspace", {Word::Char, 0x2003}},
            {"enspace", {Word::Char, 0x2002}},
            {"qmspace", {Word::Char, 0x2005}},
            {"zwj", {Word::Char, 0x200D}},
            {"zwnj", {Word::Char, 0x200C}},
            {"ltrmark", {Word::Char, 0x200E}},
            {"rtlmark", {Word::Char, 0x200F}},
            {"u", {Word::Unicode}},
            {"uc", {Word::UnicodeSkip}},
            {"bin", {Word::Bin}},
        };
        // Every kind of underline shows as underline.
        for (const char* name : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                                 "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd",
                                 "ulthldash", "ululdbwave", "ulw", "ulwave"})
            w.emplace(name, WordInfo{Word::Underline});
        // Destinations whose content is not text of the document.
        for (const char* name : {"stylesheet",
                                 "info",
                                 "pict",
                                 "header",
                                 "headerl",
                                 "headerr",
                                 "headerf",
                                 "footer",
                                 "footerl",
                                 "footerr",
                                 "footerf",
                                 "footnote",
                                 "fldinst",
                                 "object",
                                 "objdata",
                                 "themedata",
                                 "colorschememapping",
                                 "latentstyles",
                                 "datastore",
                                 "xmlnstbl",
                                 "listtable",
                                 "listoverridetable",
                                 "rsidtbl",
                                 "generator",
                                 "pgdsctbl",
                                 "revtbl",
                                 "filetbl",
                                 "author",
                                 "operator",
                                 "title",
                                 "subject",
                                 "doccomm",
                                 "company",
                                 "comment",
                                 "keywords",
                                 "template",
                                 "nonshppict",
                                 "shppict",
                                 "shp",
                                 "shpinst",
                                 "pntext",
                                 "listtext",
                                 "bkmkstart",
                                 "bkmkend",
                                 "xe",
                                 "tc",
                                 "txe",
                                 "rxe",
                                 "annotation",
                                 "atnid",
                                 "atnauthor",
                                 "mmathPr",
                                 "wgrffmtfilter",
                                 "userprops",
                                 "docvar",
                                 "formfield",
                                 "pnseclvl",
                                 "pntxta",
                                 "pntxtb",
                                 "private",
                                 "buptim",
                                 "creatim",
                                 "printim",
                                 "revtim",
                                 "category",
                                 "manager",
                                 "hlinkbase",
                                 "password",
                                 "passwordhash",
                                 "protusertbl",
                                 "upr",
                                 "ud",
                                 "fchars",
                                 "lchars",
                                 "background",
                                 "ftnsep",
                                 "ftnsepc",
                                 "ftncn",
                                 "aftnsep",
                                 "aftnsepc",
                                 "aftncn",
                                 "blipuid"})
            w.emplace(name, WordInfo{Word::SkipDest});
        return w;
    }();
    return words;
}

// The Windows code page a font's character set stands for; 0 for the document's own.
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

class Reader {
public:
    Reader(const QByteArray& data, const RtfLimits& limits)
        : p_(data.constData()), end_(data.constData() + data.size()), limits_(limits) {}

    // False with `error_` set when the file cannot be read, with it empty when abandoned.
    // Throws PastLimits past the limits.
    bool Parse();
    // False when abandoned part way (the document then holds part of the text).
    bool Fill(QTextDocument& doc) const;
    QString Error() const { return error_; }

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
    QString Decode(const QByteArray& bytes, int codePage);
    QTextCharFormat Format(const CharState& state) const;
    int StateIndex(const CharState& state);
    void AppendBreaks(qsizetype count);
    void CheckSize() const;
    bool Abandoned() const { return limits_.abandon && limits_.abandon(); }

    const char* p_;
    const char* const end_;
    const RtfLimits& limits_;
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

    QByteArray bytes_;    // code page bytes not decoded yet
    QString text_;        // all of the text, '\n' between lines
    qsizetype lines_ = 0; // line ends in text_
    std::vector<Run> runs_;
    std::vector<CharState> states_;
    std::unordered_map<CharState, int, CharStateHash> stateIndex_;
    qsizetype pendingBreaks_ = 0;
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
    // The last paragraph mark ends the last line rather than starting another one; the
    // empty lines before it are kept in the format of the text before them.
    if (pendingBreaks_ > 1) {
        if (runs_.empty())
            runs_.push_back(Run{StateIndex(CharState()), 0});
        AppendBreaks(pendingBreaks_ - 1);
    }
    pendingBreaks_ = 0;
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
    const auto& words = Words();
    const auto found = words.find(word);
    if (found != words.end() && found->second.word == Word::Bin) {
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
    if (found == words.end()) {
        if (star)
            g_.dest = Dest::Skip;
        return;
    }
    const WordInfo& info = found->second;
    const bool on = !hasValue || value != 0;
    CharState& chr = g_.chr;
    switch (info.word) {
    case Word::Ansi:
        docCodePage_ = 1252;
        break;
    case Word::Mac:
        docCodePage_ = 10000;
        break;
    case Word::Pc:
        docCodePage_ = 437;
        break;
    case Word::Pca:
        docCodePage_ = 850;
        break;
    case Word::AnsiCpg:
        if (value > 0)
            docCodePage_ = value;
        break;
    case Word::Deff:
        defaultFont_ = value;
        break;
    case Word::FontTable:
        g_.dest = Dest::FontTable;
        fontOpen_ = false;
        break;
    case Word::ColourTable:
        g_.dest = Dest::ColourTable;
        colourSet_ = false;
        red_ = green_ = blue_ = 0;
        break;
    case Word::SkipDest:
        g_.dest = Dest::Skip;
        break;
    case Word::Font:
        if (g_.dest == Dest::FontTable) {
            CommitFont();
            fontOpen_ = true;
            fontNumber_ = value;
            font_ = Font();
        } else if (g_.dest == Dest::Text) {
            chr.font = value;
        }
        break;
    case Word::FCharset:
        if (g_.dest == Dest::FontTable && fontOpen_)
            font_.codePage = CharsetCodePage(value);
        break;
    case Word::Cpg:
        if (g_.dest == Dest::FontTable && fontOpen_ && value > 0)
            font_.codePage = value;
        break;
    case Word::Red:
    case Word::Green:
    case Word::Blue:
        if (g_.dest == Dest::ColourTable) {
            const int component = qBound(0, value, 255);
            (info.word == Word::Red ? red_ : info.word == Word::Green ? green_ : blue_) = component;
            colourSet_ = true;
        }
        break;
    case Word::FontSize:
        if (value > 0)
            chr.halfPoints = qMin(value, MaxHalfPoints);
        break;
    case Word::Bold:
        chr.bold = on;
        break;
    case Word::Italic:
        chr.italic = on;
        break;
    case Word::Underline:
        chr.underline = on;
        break;
    case Word::UnderlineNone:
        chr.underline = false;
        break;
    case Word::Strike:
        chr.strike = on;
        break;
    case Word::Colour:
        chr.colour = qMax(value, 0);
        break;
    case Word::Plain:
        chr = CharState();
        break;
    case Word::Par:
        Break();
        break;
    case Word::Tab:
        Character(u'\t');
        break;
    case Word::Char:
        Character(info.character);
        break;
    case Word::Unicode: {
        // Values above 32767 are written as negative numbers.
        const int unit = value < 0 ? value + 65536 : value;
        Character(unit >= 0 && unit <= 0xFFFF ? char16_t(unit) : char16_t(0xFFFD));
        skip_ = g_.uc;
        break;
    }
    case Word::UnicodeSkip:
        g_.uc = qBound(0, value, MaxUnicodeSkip);
        break;
    case Word::Bin:
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
    if (g_.dest != Dest::Text)
        return;
    ++pendingBreaks_;
    // Every pending break but a last one makes a line; give up as soon as that is too many.
    if (lines_ + pendingBreaks_ > limits_.maxLines)
        throw PastLimits();
}

void Reader::AppendBreaks(qsizetype count) {
    text_.resize(text_.size() + count, u'\n');
    runs_.back().length += count;
    lines_ += count;
}

void Reader::CheckSize() const {
    if (text_.size() > limits_.maxCharacters || lines_ + 1 > limits_.maxLines)
        throw PastLimits();
}

int Reader::StateIndex(const CharState& state) {
    const auto [found, added] = stateIndex_.try_emplace(state, int(states_.size()));
    if (added)
        states_.push_back(state);
    return found->second;
}

int Reader::CodePageOf(int font) const {
    const auto found = fonts_.constFind(font < 0 ? defaultFont_ : font);
    if (found != fonts_.cend() && found->codePage != 0)
        return found->codePage;
    return docCodePage_;
}

QString Reader::Decode(const QByteArray& bytes, int codePage) {
    bool ascii = true;
    for (const char b : bytes) {
        if (static_cast<unsigned char>(b) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
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

void Reader::FlushBytes() {
    if (bytes_.isEmpty())
        return;
    if (g_.dest == Dest::FontTable && fontOpen_) {
        font_.name += Decode(bytes_, font_.codePage ? font_.codePage : docCodePage_);
    } else if (g_.dest == Dest::Text) {
        AppendText(Decode(bytes_, CodePageOf(g_.chr.font)));
    }
    bytes_.clear();
}

void Reader::AppendText(QStringView text) {
    if (g_.dest == Dest::FontTable) {
        if (fontOpen_)
            font_.name += text;
        return;
    }
    if (g_.dest != Dest::Text)
        return;
    if (runs_.empty() || states_[std::size_t(runs_.back().state)] != g_.chr)
        runs_.push_back(Run{StateIndex(g_.chr), 0});
    if (pendingBreaks_ > 0)
        AppendBreaks(std::exchange(pendingBreaks_, 0));
    // Every character the view holds belongs, control characters included; line ends
    // come only from the paragraph marks, so the characters a document takes for one
    // do not.
    const auto belongs = [](QChar c) {
        return c != u'\n' && c != u'\r' && c != QChar::ParagraphSeparator && c != QChar(0xFDD0) &&
               c != QChar(0xFDD1);
    };
    const qsizetype before = text_.size();
    qsizetype clean = 0;
    while (clean < text.size() && belongs(text[clean]))
        ++clean;
    text_ += text.first(clean);
    for (qsizetype i = clean; i < text.size(); ++i) {
        if (belongs(text[i]))
            text_ += text[i];
    }
    runs_.back().length += text_.size() - before;
    CheckSize();
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

QTextCharFormat Reader::Format(const CharState& state) const {
    QTextCharFormat format;
    const auto font = fonts_.constFind(state.font < 0 ? defaultFont_ : state.font);
    if (font != fonts_.cend() && !font->name.isEmpty())
        // The single family, not a list: the document tells formats apart by a hash that
        // gives every list of families the same value, so thousands of fonts would make
        // each insertion search them all.
        format.setProperty(QTextFormat::FontFamily, font->name);
    format.setFontPointSize(state.halfPoints / 2.0);
    format.setFontWeight(state.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(state.italic);
    format.setFontUnderline(state.underline);
    format.setFontStrikeOut(state.strike);
    if (state.colour >= 0 && state.colour < colours_.size() && colours_[state.colour])
        format.setForeground(QColor::fromRgb(*colours_[state.colour]));
    return format;
}

bool Reader::Fill(QTextDocument& doc) const {
    std::vector<QTextCharFormat> formats;
    formats.reserve(states_.size());
    for (const CharState& state : states_)
        formats.push_back(Format(state));
    doc.clear();
    // Undo records of a file read in would only double its memory.
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    if (!runs_.empty()) {
        const QTextCharFormat& first = formats[std::size_t(runs_.front().state)];
        cursor.setBlockCharFormat(first);
        cursor.setCharFormat(first);
    }
    bool done = true;
    qsizetype start = 0;
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        if (i % AbandonCheckRuns == AbandonCheckRuns - 1 && Abandoned()) {
            done = false;
            break;
        }
        const Run& run = runs_[i];
        cursor.insertText(text_.sliced(start, run.length), formats[std::size_t(run.state)]);
        start += run.length;
    }
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
    return done;
}

} // namespace

RtfResult ReadRtf(const QByteArray& data, QTextDocument& doc, QString* error,
                  const RtfLimits& limits) {
    bool filling = false;
    const auto failed = [&](RtfResult result, const QString& message) {
        // Half a document would pass for the file: better none.
        if (filling)
            doc.clear();
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
        filling = true;
        if (!reader.Fill(doc))
            return failed(RtfResult::Abandoned, QString());
        return RtfResult::Read;
    } catch (const PastLimits&) {
        return failed(RtfResult::TooLong, QString());
    } catch (const std::bad_alloc&) {
        return failed(RtfResult::Failed,
                      QStringLiteral("メモリが足りないため RTF ファイルを読み込めません。"));
    }
}

} // namespace mGlyfora

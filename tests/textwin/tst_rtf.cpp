// The RTF writer and reader: formatted text survives a round trip, files in the styles
// of common word processors read as they show there, the parser gives its runs without
// a document, and malformed input neither crashes nor touches the document when it
// cannot be read.
#include "textwin/RtfParser.h"
#include "textwin/RtfReader.h"
#include "textwin/RtfWriter.h"

#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <limits>
#include <utility>

using namespace mGlyfora;

Q_DECLARE_METATYPE(mGlyfora::RtfResult)

namespace {

// One run: text and how it looks, unset properties taken from the document's font.
QString RunText(const QString& text, const QTextCharFormat& f, const QFont& base) {
    QString family = base.family();
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty())
        family = families.first();
    else if (f.hasProperty(QTextFormat::FontFamily))
        family = f.stringProperty(QTextFormat::FontFamily);
    const double points =
        f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : base.pointSizeF();
    QString flags;
    if (f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() > QFont::Medium : base.bold())
        flags += u'b';
    if (f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : base.italic())
        flags += u'i';
    if (f.hasProperty(QTextFormat::TextUnderlineStyle) ? f.fontUnderline() : base.underline())
        flags += u'u';
    if (f.hasProperty(QTextFormat::FontStrikeOut) ? f.fontStrikeOut() : base.strikeOut())
        flags += u's';
    const QString colour = f.foreground().style() == Qt::NoBrush ? QStringLiteral("auto")
                                                                 : f.foreground().color().name();
    return text + u'|' + family + u'|' + QString::number(points) + u'|' + flags + u'|' + colour;
}

// The document as runs of equal look; "¶" between paragraphs.
QStringList Describe(const QTextDocument& doc) {
    QStringList out;
    const QFont base = doc.defaultFont();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block != doc.begin())
            out << QStringLiteral("¶");
        QString text;
        QTextCharFormat format;
        bool open = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat next = fragment.charFormat();
            if (open && RunText(QString(), next, base) != RunText(QString(), format, base)) {
                out << RunText(text, format, base);
                text.clear();
            }
            format = next;
            text += fragment.text();
            open = true;
        }
        if (open)
            out << RunText(text, format, base);
    }
    return out;
}

struct Piece {
    Piece(const QString& text, const QString& family = QString(), double points = 0,
          const QString& flags = QString(), const QColor& colour = QColor())
        : text(text), family(family), points(points), flags(flags), colour(colour) {}
    QString text;
    QString family; // empty: not set
    double points;  // 0: not set
    QString flags;  // b, i, u, s
    QColor colour;  // invalid: not set
};

// A document built from pieces; "\n" in a piece starts a new paragraph.
void Build(QTextDocument& doc, const QList<Piece>& pieces) {
    QTextCursor cursor(&doc);
    for (const Piece& piece : pieces) {
        QTextCharFormat f;
        if (!piece.family.isEmpty())
            f.setFontFamilies({piece.family});
        if (piece.points > 0)
            f.setFontPointSize(piece.points);
        if (piece.flags.contains(u'b'))
            f.setFontWeight(QFont::Bold);
        if (piece.flags.contains(u'i'))
            f.setFontItalic(true);
        if (piece.flags.contains(u'u'))
            f.setFontUnderline(true);
        if (piece.flags.contains(u's'))
            f.setFontStrikeOut(true);
        if (piece.colour.isValid())
            f.setForeground(piece.colour);
        cursor.insertText(piece.text, f);
    }
}

QFont BaseFont() {
    QFont font(QStringLiteral("BaseFace"));
    font.setPointSizeF(4);
    return font;
}

// The parser's runs, each as its text, family, half points, flags and colour.
QStringList DescribeRuns(const RtfText& parsed) {
    QStringList out;
    qsizetype start = 0;
    for (const RtfRun& run : parsed.runs) {
        const RtfFormat& f = parsed.formats.at(std::size_t(run.format));
        QString flags;
        for (const auto& [on, letter] : {std::pair{f.bold, u'b'}, std::pair{f.italic, u'i'},
                                         std::pair{f.underline, u'u'}, std::pair{f.strike, u's'}})
            if (on)
                flags += letter;
        const QString colour = f.colour ? QColor(*f.colour).name() : QStringLiteral("auto");
        out << parsed.text.sliced(start, run.length) + u'|' + f.family + u'|' +
                   QString::number(f.halfPoints) + u'|' + flags + u'|' + colour;
        start += run.length;
    }
    return out;
}

bool Balanced(const QByteArray& rtf) {
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i; // an escaped brace or backslash
        } else if (rtf[i] == '{') {
            ++depth;
        } else if (rtf[i] == '}') {
            if (--depth < 0)
                return false;
        }
    }
    return depth == 0;
}

} // namespace

class RtfTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void writerOutput();
    void readSample_data();
    void readSample();
    void readLibreOfficeFile();
    void parseRuns_data();
    void parseRuns();
    void malformed_data();
    void malformed();
    void nestingLimit();
    void failureLeavesDocument_data();
    void failureLeavesDocument();
    void replacesContent();
};

void RtfTest::roundTrip_data() {
    QTest::addColumn<QList<Piece>>("pieces");
    const QColor red(255, 0, 0), blue(0, 0, 255), odd(1, 2, 3);
    QTest::newRow("empty") << QList<Piece>{};
    QTest::newRow("plain lines, empty line between and at the end")
        << QList<Piece>{{QStringLiteral("line 1\n\nline 3 .:-=+*#%@\n")}};
    QTest::newRow("sizes and styles") << QList<Piece>{
        {QStringLiteral("four"), QStringLiteral("Terminal"), 4, QString(), {}},
        {QStringLiteral("nine bold"), QStringLiteral("Terminal"), 9, QStringLiteral("b"), {}},
        {QStringLiteral("\nitalic"), QString(), 10.5, QStringLiteral("i"), {}},
        {QStringLiteral("under"), QString(), 0, QStringLiteral("u"), {}},
        {QStringLiteral("strike"), QString(), 0, QStringLiteral("s"), {}},
        {QStringLiteral("all"), QStringLiteral("Other Face"), 72, QStringLiteral("bius"), {}}};
    QTest::newRow("colours") << QList<Piece>{
        {QStringLiteral("red"), QString(), 0, QString(), red},
        {QStringLiteral("auto"), QString(), 0, QString(), {}},
        {QStringLiteral("blue\n"), QString(), 0, QString(), blue},
        {QStringLiteral("red again"), QString(), 0, QString(), red},
        {QStringLiteral("odd"), QString(), 0, QString(), odd}};
    QTest::newRow("Japanese and beyond 16 bits") << QList<Piece>{
        {QStringLiteral("あいう漢字ｱ\n"), QStringLiteral("ＭＳ ゴシック"), 9, QString(), red},
        {QStringLiteral("𠮷野家 é € \u00A0\uFFFF"), QString(), 0, QString(), {}}};
    QTest::newRow("object replacement character") << QList<Piece>{{QStringLiteral("a\uFFFCb")}};
    QTest::newRow("characters RTF escapes") << QList<Piece>{
        {QStringLiteral("{a\\b}\tc;d\u2028e"), QStringLiteral("Face{1}\\"), 0, QString(), {}}};
    // Every character the view can hold comes back, form feed, ESC and SUB among them
    // (SUB is what code-page converters put for a byte they cannot map).
    QString controls;
    for (char16_t c = 0; c < 0x20; ++c) {
        if (c != u'\n' && c != u'\r')
            controls += QChar(c);
    }
    QTest::newRow("control characters") << QList<Piece>{
        {QStringLiteral("x") + controls + QStringLiteral("\x7f\u0085y"),
         QString(),
         0,
         QStringLiteral("b"),
         {}},
        {QStringLiteral("\x1b[0m\f\n\x1a"), QStringLiteral("Face"), 0, QString(), {}}};
    QTest::newRow("control word look-alikes in text")
        << QList<Piece>{{QStringLiteral("\\par"), QString(), 0, QStringLiteral("b"), {}},
                        {QStringLiteral("0 -1 x"), QString(), 0, QString(), {}},
                        {QStringLiteral(" lead space"), QString(), 0, QStringLiteral("i"), {}}};
}

void RtfTest::roundTrip() {
    QFETCH(QList<Piece>, pieces);
    QTextDocument original;
    original.setDefaultFont(BaseFont());
    Build(original, pieces);
    const QByteArray rtf = WriteRtf(original);
    QVERIFY(Balanced(rtf));

    QTextDocument read;
    read.setDefaultFont(BaseFont());
    QString error;
    QCOMPARE(ReadRtf(rtf, read, &error), RtfResult::Read);
    QCOMPARE(read.toPlainText(), original.toPlainText());
    QCOMPARE(Describe(read), Describe(original));

    // The document's own font is what a file read elsewhere must show for unset text.
    QTextDocument elsewhere;
    elsewhere.setDefaultFont(QFont(QStringLiteral("Elsewhere"), 20));
    QCOMPARE(ReadRtf(rtf, elsewhere, &error), RtfResult::Read);
    QCOMPARE(Describe(elsewhere), Describe(original));
}

void RtfTest::writerOutput() {
    QTextDocument doc;
    doc.setDefaultFont(BaseFont());
    Build(doc,
          {{QStringLiteral("A"), QStringLiteral("Face"), 9, QStringLiteral("b"), QColor(255, 0, 0)},
           {QStringLiteral("あ𠮷{\\}"), QString(), 0, QString(), {}},
           {QStringLiteral("\nx"), QString(), 0, QString(), QColor(0, 128, 255)}});
    const QByteArray rtf = WriteRtf(doc);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi"));
    QVERIFY(rtf.endsWith("}\r\n"));
    QVERIFY(Balanced(rtf));
    // Fonts: the document's own first, then the others used.
    QVERIFY(
        rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 BaseFace;}{\\f1\\fnil\\fcharset0 Face;}}"));
    QVERIFY(rtf.contains("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue255;}"));
    QVERIFY(rtf.contains("\\f1\\fs18\\b\\cf1 A"));
    // あ is U+3042 = 12354; 𠮷 is U+20BB7 = D842 DFB7, written as signed 16-bit units.
    QVERIFY(rtf.contains("\\u12354?\\u-10174?\\u-8265?\\{\\\\\\}"));
    // The base size is 4 points, 8 half points; every paragraph ends with \par.
    QVERIFY(rtf.contains("\\fs8"));
    QCOMPARE(rtf.count("\\par\r\n"), 2);
    for (const char c : rtf)
        QVERIFY(static_cast<unsigned char>(c) < 0x80);
}

void RtfTest::readSample_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("LibreOffice")
        << QByteArray(
               "{\\rtf1\\ansi\\deff4\\adeflang1025\n"
               "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\froman\\fprq2"
               "\\fcharset2 Symbol;}{\\f3\\fnil\\fprq2\\fcharset0 DejaVu Sans Mono;}{\\f4\\froman"
               "\\fprq2\\fcharset0 Liberation Serif{\\*\\falt Times New Roman};}}\n"
               "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\n"
               "{\\stylesheet{\\s0\\snext0\\loch\\f4\\fs24\\lang1033 Normal;}\n"
               "{\\s15\\sbasedon0\\snext16\\loch\\f3\\fs28 Heading;}}"
               "{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}"
               "{\\info{\\creatim\\yr2024\\mo1\\dy2\\hr3\\min4}{\\revtim\\yr0\\mo0\\dy0\\hr0\\min0}"
               "}"
               "{\\*\\userprops}\\deftab709\n\\hyphauto1\\viewscale100\n"
               "{\\*\\pgdsctbl\n{\\pgdsc0\\pgdscuse451\\pgwsxn11906 Default Page Style;}}\n"
               "\\formshade\\paperh16838\\sectd\\sbknone\\pgndec\\sftnnar\n"
               "{\\*\\ftnsep\\chftnsep}\\pgndec\\pard\\plain \\s0\\hich\\af5\\dbch\\af6\\afs24"
               "\\loch\\f4\\fs24\\lang1033\\pardeftab709{\\rtlch \\ltrch\\loch\\f3\\fs18\\cf2\\b\n"
               "Red bold}{\\rtlch \\ltrch\\loch\\f3\\fs18\n plain \\u12354\\'3f}\n"
               "\\par \\pard\\plain \\s0\\loch\\f4\\fs24{\\rtlch \\ltrch\\loch\\f3\\fs8\\i\\ul"
               "\\strike\nsmall}{\\rtlch \\ltrch\\loch\\f3\\fs8\\i\\ulnone\\strike0 "
               "{\\*\\bkmkstart b}"
               "{\\*\\bkmkend b}rest}\n\\par }")
        << QStringList{QStringLiteral("Red bold|DejaVu Sans Mono|9|b|#ff0000"),
                       QStringLiteral(" plain あ|DejaVu Sans Mono|9||auto"), QStringLiteral("¶"),
                       QStringLiteral("small|DejaVu Sans Mono|4|ius|auto"),
                       QStringLiteral("rest|DejaVu Sans Mono|4|i|auto")};

    // Shift-JIS bytes: ＭＳ ゴシック = 82 6C 82 72 20 83 53 83 56 83 62 83 4E, あ = 82 A0,
    // い = 82 A2, ア = 83 41 (the trail byte written as the letter A).
    QTest::newRow("WordPad, Japanese code page")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932\\deff0\\nouicompat\\deflang1033\\deflangfe1041"
                      "{\\fonttbl{\\f0\\fnil\\fcharset128 \\'82\\'6c\\'82\\'72 \\'83\\'53\\'83\\'56"
                      "\\'83\\'62\\'83\\'4e;}{\\f1\\fnil\\fcharset0 Calibri;}}\r\n"
                      "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
                      "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
                      "\\pard\\sa200\\sl276\\slmult1\\cf1\\f0\\fs18\\lang1041\\'82\\'a0\\'82\\'a2"
                      "\\'83A\\cf0\\f1\\fs22\\lang1033 abc\\par\r\n"
                      "\\f0\\fs18\\lang1041\\u12354?\\par\r\n}\r\n\0")
        << QStringList{QStringLiteral("あいア|ＭＳ ゴシック|9||#ff0000"),
                       QStringLiteral("abc|Calibri|11||auto"), QStringLiteral("¶"),
                       QStringLiteral("あ|ＭＳ ゴシック|9||auto")};

    QTest::newRow("nested groups restore the state")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\fs20 a{\\b b{\\i\\fs30 c}d}e}")
        << QStringList{QStringLiteral("a|Arial|10||auto"), QStringLiteral("b|Arial|10|b|auto"),
                       QStringLiteral("c|Arial|15|bi|auto"), QStringLiteral("d|Arial|10|b|auto"),
                       QStringLiteral("e|Arial|10||auto")};

    // \uc2 skips both fallback bytes; a group's \uc0 ends with the group.
    QTest::newRow("unicode fallbacks")
        << QByteArray("{\\rtf1 \\uc2\\u12354\\'82\\'a0x{\\uc0\\u12356 y}\\u8364??z\\uc1\\u-10174?"
                      "\\u-8265\\'3fw}")
        << QStringList{QStringLiteral("あxいy€z𠮷w|DefaultFace|12||auto")};

    QTest::newRow("fcharset128 without a code page")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 Gothic;}{\\f1 Arial;}}"
                      "\\f0\\'82\\'a0\\f1\\'e9\\'93q\\'94}")
        << QStringList{QStringLiteral("あ|Gothic|12||auto"), QStringLiteral("é“q”|Arial|12||auto")};

    QTest::newRow("hex digits in either case")
        << QByteArray("{\\rtf1\\ansi \\'C4\\'e4\\'Df}")
        << QStringList{QStringLiteral("Ääß|DefaultFace|12||auto")};

    QTest::newRow("skipped destinations")
        << QByteArray("{\\rtf1{\\*\\unknowndest hidden{\\b deeper}}{\\*\\generator Gen;}"
                      "vis{\\pict\\pngblip 89504e47}ible{\\info{\\title T}}{\\header H}\\par}")
        << QStringList{QStringLiteral("visible|DefaultFace|12||auto")};

    QTest::newRow("symbols and breaks")
        << QByteArray("{\\rtf1 a\\tab b\\line c\\~d\\emdash\\{\\}\\\\\\par\ne\\\nf\\-g\r\n}")
        << QStringList{QStringLiteral("a\tb\u2028c\u00A0d—{}\\|DefaultFace|12||auto"),
                       QStringLiteral("¶"), QStringLiteral("e|DefaultFace|12||auto"),
                       QStringLiteral("¶"), QStringLiteral("fg|DefaultFace|12||auto")};

    QTest::newRow("binary data") << QByteArray("{\\rtf1 a{\\*\\blipuid\\bin6 }}{{\\}}b}")
                                 << QStringList{QStringLiteral("ab|DefaultFace|12||auto")};

    QTest::newRow("plain and switches with values")
        << QByteArray("{\\rtf1{\\colortbl\\red1\\green2\\blue3;\\red999\\green-5\\blue300;}"
                      "\\b\\i\\ul\\strike\\cf1\\fs40 a\\plain b\\b1\\i1 c\\b0\\i0\\ul1 d\\ulnone"
                      "\\uldb e\\ul0\\cf0 f\\cf7 g}")
        << QStringList{QStringLiteral("a|DefaultFace|20|bius|#ff00ff"),
                       QStringLiteral("b|DefaultFace|12||auto"),
                       QStringLiteral("c|DefaultFace|12|bi|auto"),
                       QStringLiteral("de|DefaultFace|12|u|auto"),
                       QStringLiteral("f|DefaultFace|12||#010203"),
                       QStringLiteral("g|DefaultFace|12||auto")};

    QTest::newRow("flat font table, unknown font number")
        << QByteArray("{\\rtf1{\\fonttbl\\f0\\fswiss Arial;\\f1\\fmodern Courier New;}"
                      "\\f1 a\\f9 b}")
        << QStringList{QStringLiteral("a|Courier New|12||auto"),
                       QStringLiteral("b|DefaultFace|12||auto")};

    QTest::newRow("empty document") << QByteArray("{\\rtf1\\ansi\\par}") << QStringList{};
    QTest::newRow("final paragraph marks")
        << QByteArray("{\\rtf1 a\\par\\par}")
        << QStringList{QStringLiteral("a|DefaultFace|12||auto"), QStringLiteral("¶")};
}

void RtfTest::readSample() {
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, expected);
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DefaultFace"), 7));
    QString error;
    QCOMPARE(ReadRtf(rtf, doc, &error), RtfResult::Read);
    QCOMPARE(Describe(doc), expected);
}

// A file that LibreOffice 7.4 wrote after opening one of ours: three paragraphs of
// several fonts, sizes and colours, Japanese and a character beyond 16 bits.
void RtfTest::readLibreOfficeFile() {
    QFile file(QStringLiteral(GLYFORA_TEST_DATA "/libreoffice-7.4.rtf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DefaultFace"), 7));
    QString error;
    QCOMPARE(ReadRtf(file.readAll(), doc, &error), RtfResult::Read);
    const QStringList expected{
        QStringLiteral("Red bold 9pt DejaVu |DejaVu Sans Mono|9|b|#ff0000"),
        QStringLiteral("あいう漢字 blue italic underline 𠮷|IPAGothic|12|iu|#0000ff"),
        QStringLiteral("¶"),
        QStringLiteral("strike green default 4pt {braces} \\backslash|Terminal|4|s|#008000"),
        QStringLiteral("¶"),
        QStringLiteral(" .:-=+*#%@|Terminal|4|s|#008000")};
    QCOMPARE(Describe(doc), expected);
}

void RtfTest::parseRuns_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<RtfResult>("result");
    QTest::addColumn<QStringList>("runs");

    QTest::newRow("bold on and off")
        << QByteArray("{\\rtf1 a\\b b\\b0 c}") << RtfResult::Read
        << QStringList{QStringLiteral("a||24||auto"), QStringLiteral("b||24|b|auto"),
                       QStringLiteral("c||24||auto")};
    // Shift-JIS 82 A0 is あ.
    QTest::newRow("Shift-JIS font")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset128 Gothic;}}\\f0\\'82\\'a0}")
        << RtfResult::Read << QStringList{QStringLiteral("あ|Gothic|24||auto")};
    QTest::newRow("colour and paragraphs")
        << QByteArray("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf1\\fs17 x\\par y\\par}")
        << RtfResult::Read << QStringList{QStringLiteral("x\ny||17||#ff0000")};
    QTest::newRow("groups left open")
        << QByteArray("{\\rtf1 a{\\i b{\\ul c") << RtfResult::Read
        << QStringList{QStringLiteral("a||24||auto"), QStringLiteral("b||24|i|auto"),
                       QStringLiteral("c||24|iu|auto")};
    QTest::newRow("not RTF") << QByteArray("{\\rt a}") << RtfResult::Failed << QStringList{};
}

void RtfTest::parseRuns() {
    QFETCH(QByteArray, rtf);
    QFETCH(RtfResult, result);
    QFETCH(QStringList, runs);
    RtfText parsed;
    QString error;
    QCOMPARE(ParseRtf(rtf, parsed, &error), result);
    QCOMPARE(error.isEmpty(), result != RtfResult::Failed);
    QCOMPARE(DescribeRuns(parsed), runs);
}

void RtfTest::malformed_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QByteArray() << false << QString();
    QTest::newRow("cut in the signature") << QByteArray("{\\rt") << false << QString();
    QTest::newRow("plain text") << QByteArray("hello {\\rtf1}") << false << QString();
    QTest::newRow("byte-order mark first")
        << QByteArray("\xEF\xBB\xBF{\\rtf1 a}") << false << QString();
    QByteArray garbage(4096, 0);
    QRandomGenerator random(9);
    for (char& c : garbage)
        c = char(random.bounded(256));
    garbage[0] = 'x';
    QTest::newRow("binary garbage") << garbage << false << QString();
    QTest::newRow("signature then garbage")
        << QByteArray("{\\rtf") + garbage.mid(1) << true << QStringLiteral("*");
    QTest::newRow("cut in the text") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Hello wor")
                                     << true << QStringLiteral("Hello wor");
    QTest::newRow("cut in the font table")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Ari") << true << QString();
    QTest::newRow("cut in a byte") << QByteArray("{\\rtf1 ab\\'8") << true << QStringLiteral("ab");
    QTest::newRow("cut after a backslash")
        << QByteArray("{\\rtf1 ab\\") << true << QStringLiteral("ab");
    QTest::newRow("cut in a double-byte character")
        << QByteArray("{\\rtf1\\ansicpg932 a\\'82") << true << QStringLiteral("a");
    QTest::newRow("byte without a character in the code page")
        << QByteArray("{\\rtf1\\ansicpg932 a\\'a0b}") << true << QStringLiteral("a\uFFFDb");
    QTest::newRow("bad hex digits")
        << QByteArray("{\\rtf1 a\\'zzb}") << true << QStringLiteral("azzb");
    QTest::newRow("closing braces past the end")
        << QByteArray("{\\rtf1 a}}}b") << true << QStringLiteral("a");
    QTest::newRow("groups left open")
        << QByteArray("{\\rtf1 a{\\b b{\\i c") << true << QStringLiteral("abc");
    QTest::newRow("numbers beyond 32 bits")
        << QByteArray("{\\rtf1\\fs99999999999999999999 a\\f-99999999999 b\\cf99999999999 c"
                      "\\u99999999999 d\\u-99999999999 e\\uc99999999999 f\\u65 xyz}")
        << true << QStringLiteral("abc\uFFFD\uFFFDfA");
    QTest::newRow("binary length beyond the end")
        << QByteArray("{\\rtf1 a\\bin99999999999 bc}") << true << QStringLiteral("a");
    QTest::newRow("negative binary length")
        << QByteArray("{\\rtf1 a\\bin-5 b}") << true << QStringLiteral("ab");
    QTest::newRow("overlong control word")
        << QByteArray("{\\rtf1 a\\") + QByteArray(100000, 'x') + QByteArray(" b}") << true
        << QStringLiteral("ab");
    QTest::newRow("control characters")
        << QByteArray("{\\rtf1 a\0b\x1b\\'0d\\'0a\\'01c\x7f}", 26) << true
        << QStringLiteral("ab\x01"
                          "c\x7f");
    QTest::newRow("lone surrogates")
        << QByteArray("{\\rtf1 \\u-10174?a\\u-8265?}") << true << QStringLiteral("*");
}

void RtfTest::malformed() {
    QFETCH(QByteArray, rtf);
    QFETCH(bool, readable);
    QFETCH(QString, text);
    QTextDocument doc;
    QString error;
    QCOMPARE(ReadRtf(rtf, doc, &error) == RtfResult::Read, readable);
    QCOMPARE(error.isEmpty(), readable);
    if (text != QStringLiteral("*"))
        QCOMPARE(doc.toPlainText(), text);
    // Whatever was read can be written and read again to the same text.
    QTextDocument again;
    QCOMPARE(ReadRtf(WriteRtf(doc), again, nullptr), RtfResult::Read);
    QCOMPARE(again.toPlainText(), doc.toPlainText());
}

void RtfTest::nestingLimit() {
    // The outermost group counts: RtfMaxGroupDepth groups in all still read.
    const int inner = RtfMaxGroupDepth - 1;
    const QByteArray deepest =
        "{\\rtf1 a" + QByteArray(inner, '{') + "\\b x" + QByteArray(inner, '}') + "y}";
    QTextDocument doc;
    QString error;
    QCOMPARE(ReadRtf(deepest, doc, &error), RtfResult::Read);
    QCOMPARE(doc.toPlainText(), QStringLiteral("axy"));

    const QByteArray tooDeep = "{\\rtf1 a" + QByteArray(inner + 1, '{') + "x}";
    QCOMPARE(ReadRtf(tooDeep, doc, &error), RtfResult::Failed);
    QVERIFY(!error.isEmpty());
    QCOMPARE(doc.toPlainText(), QStringLiteral("axy"));

    // A million open groups: refused quickly, without using the stack.
    QCOMPARE(ReadRtf("{\\rtf1" + QByteArray(1000000, '{'), doc, &error), RtfResult::Failed);
}

void RtfTest::failureLeavesDocument_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("maxLines");
    QTest::addColumn<int>("maxCharacters");
    QTest::addColumn<int>("abandonAt"); // the abandon question answered yes; 0 never
    QTest::addColumn<RtfResult>("result");
    const int any = std::numeric_limits<int>::max();
    QTest::newRow("not RTF") << QByteArray("not rtf") << any << any << 0 << RtfResult::Failed;
    QTest::newRow("nested too deep")
        << "{\\rtf1" + QByteArray(5000, '{') << any << any << 0 << RtfResult::Failed;
    // Three lines, three characters: the last paragraph mark ends a line.
    QTest::newRow("three lines") << QByteArray("{\\rtf1 a\\par b\\par c\\par}") << 3 << any << 0
                                 << RtfResult::Read;
    QTest::newRow("four lines") << QByteArray("{\\rtf1 a\\par b\\par c\\par d}") << 3 << any << 0
                                << RtfResult::TooLong;
    QTest::newRow("empty lines count")
        << QByteArray("{\\rtf1 a\\par b\\par\\par\\par}") << 3 << any << 0 << RtfResult::TooLong;
    QTest::newRow("three characters")
        << QByteArray("{\\rtf1 a\\par b\\par}") << 3 << 3 << 0 << RtfResult::Read;
    QTest::newRow("four characters")
        << QByteArray("{\\rtf1 ab\\par c}") << 3 << 3 << 0 << RtfResult::TooLong;
    QTest::newRow("four on one line")
        << QByteArray("{\\rtf1 abcd}") << 3 << 3 << 0 << RtfResult::TooLong;
    QTest::newRow("abandoned at once")
        << QByteArray("{\\rtf1 a}") << any << any << 1 << RtfResult::Abandoned;
    // 1 MB of 100,000 runs: asked again and again while the file is read and while the
    // document is filled, not once at the start.
    const QByteArray large = "{\\rtf1 " + QByteArray("{\\b x}yyy ").repeated(100000) + "}";
    QTest::newRow("large, abandoned while read")
        << large << any << any << 2 << RtfResult::Abandoned;
    QTest::newRow("large, abandoned while filled")
        << large << any << any << -1 << RtfResult::Abandoned;
}

void RtfTest::failureLeavesDocument() {
    QFETCH(QByteArray, rtf);
    QFETCH(int, maxLines);
    QFETCH(int, maxCharacters);
    QFETCH(int, abandonAt);
    QFETCH(RtfResult, result);
    RtfLimits limits{maxCharacters, maxLines, {}};
    int asked = 0;
    if (abandonAt < 0) {
        // The last question of a read that is never told to end.
        limits.abandon = [&] { return ++asked, false; };
        QTextDocument counted;
        QCOMPARE(ReadRtf(rtf, counted, nullptr, limits), RtfResult::Read);
        abandonAt = std::exchange(asked, 0);
        QVERIFY(abandonAt > 20);
    }
    if (abandonAt > 0)
        limits.abandon = [&] { return ++asked == abandonAt; };

    QTextDocument doc;
    Build(doc, {{QStringLiteral("keep\nme"), QStringLiteral("Face"), 9, QStringLiteral("b"), {}}});
    const QStringList before = Describe(doc);
    QString error = QStringLiteral("<unset>");
    QCOMPARE(ReadRtf(rtf, doc, &error, limits), result);
    if (abandonAt > 0)
        QCOMPARE(asked, abandonAt);
    if (result == RtfResult::Read)
        return;
    // Only a file that cannot be read says why; the caller names a limit or an end.
    QCOMPARE(error.isEmpty(), result != RtfResult::Failed);
    // A read that fails leaves the document as it was, or empty once filling began.
    if (doc.isEmpty())
        QVERIFY(result != RtfResult::Failed);
    else
        QCOMPARE(Describe(doc), before);
}

void RtfTest::replacesContent() {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DefaultFace"), 7));
    Build(doc, {{QStringLiteral("old\ntext\n"), QStringLiteral("Face"), 30, QStringLiteral("bius"),
                 QColor(9, 9, 9)}});
    QCOMPARE(ReadRtf("{\\rtf1 new}", doc, nullptr), RtfResult::Read);
    QCOMPARE(Describe(doc), QStringList{QStringLiteral("new|DefaultFace|12||auto")});
    QCOMPARE(doc.blockCount(), 1);
    QCOMPARE(doc.begin().charFormat().fontPointSize(), 12.0);
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    RtfTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_rtf.moc"

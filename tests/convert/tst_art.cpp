// The looks beyond the program's scan on tiny pictures whose art is known by hand, and
// the glyph measures against the ink the test counts itself in Qt's drawing.
#include "convert/ArtEngine.h"
#include "tests/convert/ScanTestSupport.h"
#include "tests/support/TestEnvironment.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTest>
#include <bit>

using namespace mGlyfora;

namespace {

QByteArray Art(const QImage& picture, ArtStyle style, QSize cells,
               ArtEncoding encoding = ArtEncoding::Text, ArtPaper paper = ArtPaper::Light,
               std::shared_ptr<const GlyphMeasures> glyphs = {}, bool dither = false) {
    ArtRequest request;
    request.look.style = style;
    request.look.paper = paper;
    request.look.dither = dither;
    request.glyphs = std::move(glyphs);
    request.region = QRectF(QPointF(0, 0), picture.size());
    request.cells = cells;
    request.encoding = encoding;
    testsupport::CollectingSink sink;
    testsupport::RecordingHost host;
    const ScanOutcome outcome = StreamArt(picture, request, host, sink);
    if (outcome.status != ScanStatus::Done)
        return "failed: " + outcome.reason.toUtf8();
    return sink.bytes;
}

// A white picture with black pixels where `dots` (rows of '#' and '.') says.
QImage Drawn(const QStringList& dots) {
    QImage image(int(dots.first().size()), int(dots.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            line[x] = dots.at(y).at(x) == u'#' ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        }
    return image;
}

// The fraction of a cell (advance x line height) the character inks, counted here.
double InkCounted(const QFont& font, const QString& character) {
    const QFontMetricsF metrics(font);
    QImage cell(qRound(metrics.horizontalAdvance(u'M')), qRound(metrics.height()),
                QImage::Format_ARGB32);
    cell.fill(Qt::transparent);
    QPainter painter(&cell);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(0, metrics.ascent()), character);
    painter.end();
    double alpha = 0;
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            alpha += qAlpha(cell.pixel(x, y)) / 255.0;
    return alpha / (cell.width() * cell.height());
}

} // namespace

class TestArt : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::ResetProcessValues(); }

    void blocksAndBraille_data() {
        QTest::addColumn<QStringList>("picture");
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QByteArray>("art");
        const auto blocks = int(ArtStyle::Blocks), braille = int(ArtStyle::Braille);
        const auto text = int(ArtEncoding::Text);
        const QStringList halves{"##", "##", "..", ".."};
        QTest::newRow("black over white") << halves << blocks << text << QByteArray("▀\r\n");
        QTest::newRow("black over white, in colour")
            << halves << blocks << int(ArtEncoding::Terminal24)
            << QByteArray("\x1b[48;2;255;255;255m\x1b[38;2;0;0;0m▀\x1b[0m\r\n");
        // Either half fits white beside black exactly: the left half comes first, in white.
        QTest::newRow("white beside black, in colour")
            << QStringList{".#", ".#"} << blocks << int(ArtEncoding::Terminal24)
            << QByteArray("\x1b[48;2;0;0;0m\x1b[38;2;255;255;255m▌\x1b[0m\r\n");
        QTest::newRow("left half")
            << QStringList{"#.", "#."} << blocks << text << QByteArray("▌\r\n");
        QTest::newRow("one quadrant")
            << QStringList{"..", ".#"} << blocks << text << QByteArray("▗\r\n");
        QTest::newRow("white") << QStringList{".."} << blocks << text << QByteArray(" \r\n");
        // Dots 1, 5 and 8 (bits 0x01, 0x10, 0x80).
        QTest::newRow("dots 1 5 8") << QStringList{"#.", ".#", "..", ".#"} << braille << text
                                    << QString(QChar(0x2891)).toUtf8() + "\r\n";
        QTest::newRow("dots 3 4 7") << QStringList{".#", "..", "#.", "#."} << braille << text
                                    << QString(QChar(0x284C)).toUtf8() + "\r\n";
    }
    void blocksAndBraille() {
        QFETCH(QStringList, picture);
        QFETCH(int, style);
        QFETCH(int, encoding);
        QFETCH(QByteArray, art);
        QCOMPARE(Art(Drawn(picture), ArtStyle(style), QSize(1, 1), ArtEncoding(encoding)), art);
    }

    // On dark paper the ink is light: the same picture draws the other way round.
    void darkPaper() {
        const QImage white = Drawn({".."});
        QCOMPARE(Art(white, ArtStyle::Blocks, QSize(1, 1), ArtEncoding::Text, ArtPaper::Dark),
                 QByteArray("█\r\n"));
        QCOMPARE(Art(Drawn({"##", "##", "..", ".."}), ArtStyle::Blocks, QSize(1, 1),
                     ArtEncoding::Text, ArtPaper::Dark),
                 QByteArray("▄\r\n"));
        QCOMPARE(Art(white, ArtStyle::Braille, QSize(1, 1), ArtEncoding::Text, ArtPaper::Dark),
                 QString(QChar(0x28FF)).toUtf8() + "\r\n");
        const auto glyphs = MeasureGlyphs(*ArtFont(QString()), {" ", ".", "@"});
        QCOMPARE(Art(white, ArtStyle::Tone, QSize(3, 1), ArtEncoding::Text, ArtPaper::Dark, glyphs),
                 QByteArray("@@@\r\n"));
        QCOMPARE(
            Art(white, ArtStyle::Tone, QSize(3, 1), ArtEncoding::Text, ArtPaper::Light, glyphs),
            QByteArray("   \r\n"));
    }

    // In colour a light cell on dark paper takes the densest glyph, its colour the rest:
    // sRGB grey 198 is L* 80 (worked out by hand), where B would be nearer in ink.
    void toneColourDensest() {
        QImage grey(2, 2, QImage::Format_RGB32);
        grey.fill(qRgb(198, 198, 198));
        const auto glyphs = MeasureGlyphs(*ArtFont(QString()), {" ", "B", "@"});
        const QByteArray art =
            Art(grey, ArtStyle::Tone, QSize(1, 1), ArtEncoding::Terminal24, ArtPaper::Dark, glyphs);
        QVERIFY2(art.contains('@') && !art.contains('B'), art.constData());
    }

    // A diagonal stroke as dark as the font's strokes (the densest glyph standing for
    // black) takes the slash that leans its way.
    void shapeDiagonal_data() {
        QTest::addColumn<bool>("rising");
        QTest::newRow("rising") << true;
        QTest::newRow("falling") << false;
    }
    void shapeDiagonal() {
        QFETCH(bool, rising);
        QImage picture(40, 80, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 12));
        painter.drawLine(rising ? QPointF(2, 78) : QPointF(2, 2),
                         rising ? QPointF(38, 2) : QPointF(38, 78));
        painter.end();
        const auto glyphs = MeasureGlyphs(*ArtFont(QString()), ArtCharacters(ArtStyle::Shape, {}));
        QCOMPARE(
            Art(picture, ArtStyle::Shape, QSize(1, 1), ArtEncoding::Text, ArtPaper::Light, glyphs),
            QByteArray(rising ? "/\r\n" : "\\\r\n"));
    }

    // Each character's ink as the test counts it in Qt's own drawing.
    void calibration() {
        const QFont font = *ArtFont(QString());
        const QStringList ramp{" ", ".", ":", "U", "0", "B", "%", "@"};
        const auto measures = MeasureGlyphs(font, ramp);
        QCOMPARE(measures->glyphs.size(), size_t(ramp.size()));
        for (const GlyphMeasure& glyph : measures->glyphs)
            QVERIFY2(qAbs(glyph.ink - InkCounted(font, glyph.character)) < 0.005,
                     qPrintable(glyph.character));
    }

    // Flat grey under diffusion: the characters' ink, as counted here and with the densest
    // as black, averages to the grey's within a few percent.
    void toneDiffusionAverages_data() {
        QTest::addColumn<int>("grey");
        QTest::addColumn<double>("luminance"); // of the sRGB grey, worked out by hand
        QTest::newRow("mid grey") << 188 << 0.5029;
        QTest::newRow("dark grey") << 100 << 0.1274;
        QTest::newRow("light grey") << 230 << 0.7913;
    }
    void toneDiffusionAverages() {
        QFETCH(int, grey);
        QFETCH(double, luminance);
        QImage picture(80, 60, QImage::Format_RGB32);
        picture.fill(qRgb(grey, grey, grey));
        const QFont font = *ArtFont(QString());
        const QStringList ramp{" ", ".", ",", ":", ";", "!", "I", "U",
                               "0", "O", "Q", "R", "B", "&", "%", "@"};
        const QByteArray art = Art(picture, ArtStyle::Tone, QSize(40, 30), ArtEncoding::Text,
                                   ArtPaper::Light, MeasureGlyphs(font, ramp), true);
        QHash<QChar, double> ink;
        double densest = 0;
        for (const QString& c : ramp) {
            ink[c.at(0)] = InkCounted(font, c);
            densest = std::max(densest, ink[c.at(0)]);
        }
        double sum = 0;
        int count = 0;
        for (const QChar c : QString::fromUtf8(art)) {
            if (c == u'\r' || c == u'\n')
                continue;
            sum += ink.value(c) / densest;
            ++count;
        }
        QCOMPARE(count, 40 * 30);
        QVERIFY2(qAbs(1 - sum / count - luminance) < 0.03,
                 qPrintable(QString::number(sum / count)));
    }

    // Shape's carried error is held to what a glyph can lay: black, which no glyph covers
    // wholly, leaves nothing to spill into the white beside it.
    void shapeDiffusionStaysInItsArea() {
        QImage picture(320, 120, QImage::Format_RGB32);
        picture.fill(qRgb(255, 255, 255));
        for (int y = 0; y < picture.height(); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(picture.scanLine(y)), 240, qRgb(0, 0, 0));
        const auto glyphs =
            MeasureGlyphs(*ArtFont(QString()), ArtCharacters(ArtStyle::Shape, std::nullopt));
        const QByteArray art = Art(picture, ArtStyle::Shape, QSize(40, 12), ArtEncoding::Text,
                                   ArtPaper::Light, glyphs, true);
        // Columns 31 to 40 are white; the first of them may take the edge's last ink.
        for (const QByteArray& line : art.split('\n').mid(0, 12))
            QCOMPARE(line.mid(31, 9), QByteArray(9, ' '));
    }

    // Plain braille under diffusion lays less ink than the light asks for, the paper's
    // share raised to the power 0.55 (worked out by hand): its dots, counted, give it.
    void brailleDotShare_data() {
        QTest::addColumn<int>("grey");
        QTest::addColumn<double>("share"); // 1 - luminance, in linear light
        QTest::newRow("mid grey") << 188 << 0.4970;
        QTest::newRow("dark grey") << 100 << 0.8725;
        QTest::newRow("light grey") << 230 << 0.2087;
        QTest::newRow("black") << 0 << 1.0;
    }
    void brailleDotShare() {
        QFETCH(int, grey);
        QFETCH(double, share);
        QImage picture(80, 120, QImage::Format_RGB32);
        picture.fill(qRgb(grey, grey, grey));
        const QString art = QString::fromUtf8(Art(picture, ArtStyle::Braille, QSize(40, 30)));
        int dots = 0, cells = 0;
        for (const QChar c : art) {
            if (c.unicode() < 0x2800)
                continue;
            dots += std::popcount(unsigned(c.unicode() - 0x2800));
            ++cells;
        }
        QCOMPARE(cells, 40 * 30);
        QVERIFY2(qAbs(dots / (8.0 * cells) - share) < 0.02,
                 qPrintable(QString::number(dots / (8.0 * cells))));
    }

    // The preview: the art's rows from a reduced copy, the same as from the picture; an
    // abandoned one gives nothing.
    void preview() {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.fillRect(0, 0, 32, 24, Qt::black);
        painter.fillRect(40, 30, 16, 18, Qt::gray);
        painter.end();
        ArtRequest request;
        request.look.style = ArtStyle::Blocks;
        request.region = QRectF(0, 0, 64, 48);
        request.cells = QSize(8, 3);
        const QImage reduced =
            ReduceForArt(picture, request.region, PixelsNeeded(ArtStyle::Blocks, request.cells));
        // Blocks need 4 x 4 pixels a cell: 32 x 12 for 8 x 3 cells.
        QCOMPARE(reduced.size(), QSize(32, 12));
        std::atomic<bool> abandon{false};
        const std::optional<QStringList> full = PreviewArt(picture, request, abandon);
        ArtRequest fromReduced = request;
        fromReduced.region = QRectF(QPointF(0, 0), reduced.size());
        QVERIFY(full);
        QCOMPARE(PreviewArt(reduced, fromReduced, abandon), full);
        QCOMPARE(full->size(), 3);
        QCOMPARE(full->first(), QStringLiteral("████    "));
        abandon = true;
        QVERIFY(!PreviewArt(picture, request, abandon));
    }
};

GLYFORA_TEST_MAIN(TestArt)
#include "tst_art.moc"

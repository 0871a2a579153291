// How much character art looks like its picture. The art is drawn as a terminal or an
// editor shows it (the font's glyphs in fixed cells; block elements drawn as terminals draw
// them, exact rectangles), the picture reduced by area in linear light to the same pixels;
// both are blurred with a Gaussian of half a cell and each cell's mean is taken. Printed:
// the SSIM (Gaussian window, sigma 1.5 cells) of the cells' lightness (CIE L*), the same on
// a 2 x 2 grid inside each cell, and the mean CIEDE2000 of the cells' colours.
//
//   art_fidelity score PICTURE ART text|dark [FAMILY]
//     text: plain characters, black ink on white, the densest glyph (printable ASCII's, or
//           the art's own when denser) counting as black;
//     dark: escape sequences' colours on a black terminal whose own text is light grey.
#include "convert/AreaSampler.h"
#include "convert/ArtEngine.h"

#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace mGlyfora;

namespace {

constexpr int FontPixels = 16;

struct Cell {
    char32_t code = U' ';
    QRgb fg = 0, bg = 0;
};

struct Art {
    std::vector<std::vector<Cell>> rows;
    int columns = 0;
};

QRgb Palette(int n) {
    static const QRgb base[16] = {0x000000, 0xcd0000, 0x00cd00, 0xcdcd00, 0x0000ee, 0xcd00cd,
                                  0x00cdcd, 0xe5e5e5, 0x7f7f7f, 0xff0000, 0x00ff00, 0xffff00,
                                  0x5c5cff, 0xff00ff, 0x00ffff, 0xffffff};
    if (n < 16)
        return base[n] | 0xff000000;
    if (n < 232) {
        constexpr int levels[6] = {0, 95, 135, 175, 215, 255};
        n -= 16;
        return qRgb(levels[n / 36], levels[n / 6 % 6], levels[n % 6]);
    }
    const int grey = 8 + 10 * (n - 232);
    return qRgb(grey, grey, grey);
}

// Characters and the colours escape sequences give them; `paper` and `ink` the defaults.
Art Parse(const QByteArray& bytes, QRgb paper, QRgb ink) {
    Art art;
    const std::u32string text = QString::fromUtf8(bytes).toStdU32String();
    QRgb fg = ink, bg = paper;
    bool inverse = false;
    std::vector<Cell> row;
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == 0x1b && i + 1 < text.size() && text[i + 1] == U'[') {
            size_t end = i + 2;
            while (end < text.size() && !(text[end] >= 0x40 && text[end] <= 0x7e))
                ++end;
            if (end < text.size() && text[end] == U'm') {
                QList<int> p;
                for (const QString& part :
                     QString::fromStdU32String(text.substr(i + 2, end - i - 2)).split(u';'))
                    p << part.toInt();
                for (qsizetype k = 0; k < p.size(); ++k) {
                    const int v = p[k];
                    if (v == 0)
                        fg = ink, bg = paper, inverse = false;
                    else if (v == 7)
                        inverse = true;
                    else if (v == 27)
                        inverse = false;
                    else if (v >= 30 && v <= 37)
                        fg = Palette(v - 30);
                    else if (v >= 90 && v <= 97)
                        fg = Palette(v - 90 + 8);
                    else if (v >= 40 && v <= 47)
                        bg = Palette(v - 40);
                    else if (v >= 100 && v <= 107)
                        bg = Palette(v - 100 + 8);
                    else if (v == 39)
                        fg = ink;
                    else if (v == 49)
                        bg = paper;
                    else if ((v == 38 || v == 48) && k + 1 < p.size()) {
                        QRgb colour = 0;
                        if (p[k + 1] == 5 && k + 2 < p.size()) {
                            colour = Palette(p[k + 2]);
                            k += 2;
                        } else if (p[k + 1] == 2 && k + 4 < p.size()) {
                            colour = qRgb(p[k + 2], p[k + 3], p[k + 4]);
                            k += 4;
                        }
                        (v == 38 ? fg : bg) = colour;
                    }
                }
            }
            i = end;
            continue;
        }
        if (c == U'\r')
            continue;
        if (c == U'\n') {
            art.columns = std::max(art.columns, int(row.size()));
            art.rows.push_back(std::move(row));
            row.clear();
            continue;
        }
        if (c < 0x20)
            continue;
        row.push_back(Cell{c, inverse ? bg : fg, inverse ? fg : bg});
    }
    if (!row.empty()) {
        art.columns = std::max(art.columns, int(row.size()));
        art.rows.push_back(std::move(row));
    }
    return art;
}

// Block elements as exact rectangles, as terminals draw them; false for other characters.
bool DrawBlock(QPainter& p, const QRectF& r, char32_t c, QColor fg) {
    const auto part = [&](double x0, double y0, double x1, double y1) {
        p.fillRect(QRectF(r.x() + x0 * r.width(), r.y() + y0 * r.height(), (x1 - x0) * r.width(),
                          (y1 - y0) * r.height()),
                   fg);
    };
    if (c >= 0x2581 && c <= 0x2588) {
        part(0, 1 - (c - 0x2580) / 8.0, 1, 1);
    } else if (c >= 0x2589 && c <= 0x258f) {
        part(0, 0, (0x2590 - c) / 8.0, 1);
    } else if (c == 0x2580) {
        part(0, 0, 1, 0.5);
    } else if (c == 0x2590) {
        part(0.5, 0, 1, 1);
    } else if (c == 0x2594) {
        part(0, 0, 1, 1 / 8.0);
    } else if (c == 0x2595) {
        part(7 / 8.0, 0, 1, 1);
    } else if (c >= 0x2591 && c <= 0x2593) {
        // A pattern of dots: its share of the ink colour mixed in light.
        const QRgb under =
            p.device() ? static_cast<QImage*>(p.device())->pixel(r.toRect().center()) : 0;
        const float share = float(c - 0x2590) / 4;
        const auto mix = [&](int a, int b) {
            return SrgbFromLinear(share * LinearFromSrgb(a) + (1 - share) * LinearFromSrgb(b));
        };
        p.fillRect(r, QColor(mix(fg.red(), qRed(under)), mix(fg.green(), qGreen(under)),
                             mix(fg.blue(), qBlue(under))));
    } else if (c >= 0x2596 && c <= 0x259f) {
        // Quadrants: bits upper-left 1, upper-right 2, lower-left 4, lower-right 8.
        static const int bits[10] = {4,         8,         1, 1 | 4 | 8, 1 | 8,
                                     1 | 2 | 4, 1 | 2 | 8, 2, 2 | 4,     2 | 4 | 8};
        const int b = bits[c - 0x2596];
        if (b & 1)
            part(0, 0, 0.5, 0.5);
        if (b & 2)
            part(0.5, 0, 1, 0.5);
        if (b & 4)
            part(0, 0.5, 0.5, 1);
        if (b & 8)
            part(0.5, 0.5, 1, 1);
    } else {
        return false;
    }
    return true;
}

QImage Render(const Art& art, const QFont& font, QSize cell) {
    QImage image(art.columns * cell.width(), int(art.rows.size()) * cell.height(),
                 QImage::Format_RGB32);
    QPainter p(&image);
    p.setFont(font);
    const double ascent = QFontMetricsF(font).ascent();
    for (size_t y = 0; y < art.rows.size(); ++y)
        for (int x = 0; x < art.columns; ++x) {
            const QRectF r(x * cell.width(), double(y) * cell.height(), cell.width(),
                           cell.height());
            const Cell c = x < int(art.rows[y].size()) ? art.rows[y][size_t(x)]
                           : art.rows[y].empty()       ? Cell{}
                                                       : Cell{U' ', 0, art.rows[y].back().bg};
            p.fillRect(r, QColor(c.bg));
            if (DrawBlock(p, r, c.code, QColor(c.fg)))
                continue;
            p.setPen(QColor(c.fg));
            p.drawText(QPointF(r.x(), r.y() + ascent), QString::fromUcs4(&c.code, 1));
        }
    return image;
}

// Linear-light planes of an image.
struct Planes {
    int w = 0, h = 0;
    std::vector<float> c[3];
};

Planes Linear(const QImage& image) {
    Planes p;
    p.w = image.width();
    p.h = image.height();
    for (auto& c : p.c)
        c.resize(size_t(p.w) * size_t(p.h));
    for (int y = 0; y < p.h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < p.w; ++x) {
            const size_t k = size_t(y) * size_t(p.w) + size_t(x);
            p.c[0][k] = LinearFromSrgb(qRed(line[x]));
            p.c[1][k] = LinearFromSrgb(qGreen(line[x]));
            p.c[2][k] = LinearFromSrgb(qBlue(line[x]));
        }
    }
    return p;
}

void Blur(std::vector<float>& v, int w, int h, double sx, double sy) {
    const auto kernel = [](double s) {
        const int r = int(std::ceil(3 * s));
        std::vector<float> k(size_t(2 * r + 1));
        for (int i = -r; i <= r; ++i)
            k[size_t(i + r)] = float(std::exp(-i * i / (2 * s * s)));
        return k;
    };
    const auto pass = [&](const std::vector<float>& k, bool across) {
        const int r = int(k.size() / 2);
        std::vector<float> out(v.size());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                double sum = 0, weight = 0;
                for (int i = -r; i <= r; ++i) {
                    const int xx = across ? x + i : x, yy = across ? y : y + i;
                    if (xx < 0 || yy < 0 || xx >= w || yy >= h)
                        continue;
                    sum += k[size_t(i + r)] * v[size_t(yy) * size_t(w) + size_t(xx)];
                    weight += k[size_t(i + r)];
                }
                out[size_t(y) * size_t(w) + size_t(x)] = float(sum / weight);
            }
        v.swap(out);
    };
    pass(kernel(sx), true);
    pass(kernel(sy), false);
}

// Means over a grid of `gw` x `gh` boxes.
std::vector<double> BoxMeans(const std::vector<float>& v, int w, int h, int gw, int gh) {
    std::vector<double> sum(size_t(gw) * size_t(gh)), count(sum.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t k = size_t(y * gh / h) * size_t(gw) + size_t(x * gw / w);
            sum[k] += v[size_t(y) * size_t(w) + size_t(x)];
            count[k] += 1;
        }
    for (size_t k = 0; k < sum.size(); ++k)
        sum[k] /= count[k];
    return sum;
}

double Lightness(double y) {
    y = std::clamp(y, 0.0, 1.0);
    return y > 216.0 / 24389 ? 116 * std::cbrt(y) - 16 : y * 24389 / 27;
}

double Ssim(const std::vector<double>& a, const std::vector<double>& b, int w, int h) {
    constexpr double sigma = 1.5;
    const int r = 5;
    const double c1 = 1.0, c2 = 9.0; // (0.01 L)^2 and (0.03 L)^2 with L = 100
    double total = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double sw = 0, ma = 0, mb = 0, aa = 0, bb = 0, ab = 0;
            for (int j = -r; j <= r; ++j)
                for (int i = -r; i <= r; ++i) {
                    const int xx = x + i, yy = y + j;
                    if (xx < 0 || yy < 0 || xx >= w || yy >= h)
                        continue;
                    const double g = std::exp(-(i * i + j * j) / (2 * sigma * sigma));
                    const size_t k = size_t(yy) * size_t(w) + size_t(xx);
                    sw += g;
                    ma += g * a[k];
                    mb += g * b[k];
                    aa += g * a[k] * a[k];
                    bb += g * b[k] * b[k];
                    ab += g * a[k] * b[k];
                }
            ma /= sw, mb /= sw;
            const double va = aa / sw - ma * ma, vb = bb / sw - mb * mb, cov = ab / sw - ma * mb;
            total +=
                (2 * ma * mb + c1) * (2 * cov + c2) / ((ma * ma + mb * mb + c1) * (va + vb + c2));
        }
    return total / (w * h);
}

struct Lab {
    double L, a, b;
};

Lab ToLab(double r, double g, double b) {
    const double X = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double Y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double Z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const auto f = [](double t) {
        return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116;
    };
    return Lab{116 * f(Y) - 16, 500 * (f(X) - f(Y)), 200 * (f(Y) - f(Z))};
}

double Ciede2000(const Lab& x, const Lab& y) {
    const double pi = 3.14159265358979323846;
    const double c1 = std::hypot(x.a, x.b), c2 = std::hypot(y.a, y.b);
    const double cm = (c1 + c2) / 2;
    const double g = 0.5 * (1 - std::sqrt(std::pow(cm, 7) / (std::pow(cm, 7) + std::pow(25.0, 7))));
    const double a1 = (1 + g) * x.a, a2 = (1 + g) * y.a;
    const double C1 = std::hypot(a1, x.b), C2 = std::hypot(a2, y.b);
    const auto hue = [&](double b, double a) {
        if (a == 0 && b == 0)
            return 0.0;
        const double h = std::atan2(b, a) * 180 / pi;
        return h < 0 ? h + 360 : h;
    };
    const double h1 = hue(x.b, a1), h2 = hue(y.b, a2);
    const double dL = y.L - x.L, dC = C2 - C1;
    double dh = 0;
    if (C1 * C2 != 0) {
        dh = h2 - h1;
        if (dh > 180)
            dh -= 360;
        else if (dh < -180)
            dh += 360;
    }
    const double dH = 2 * std::sqrt(C1 * C2) * std::sin(dh / 2 * pi / 180);
    const double Lm = (x.L + y.L) / 2, Cm = (C1 + C2) / 2;
    double hm = h1 + h2;
    if (C1 * C2 != 0) {
        if (std::abs(h1 - h2) <= 180)
            hm /= 2;
        else
            hm = h1 + h2 < 360 ? (hm + 360) / 2 : (hm - 360) / 2;
    }
    const double t = 1 - 0.17 * std::cos((hm - 30) * pi / 180) +
                     0.24 * std::cos(2 * hm * pi / 180) + 0.32 * std::cos((3 * hm + 6) * pi / 180) -
                     0.20 * std::cos((4 * hm - 63) * pi / 180);
    const double dTheta = 30 * std::exp(-std::pow((hm - 275) / 25, 2));
    const double rc = 2 * std::sqrt(std::pow(Cm, 7) / (std::pow(Cm, 7) + std::pow(25.0, 7)));
    const double sl = 1 + 0.015 * (Lm - 50) * (Lm - 50) / std::sqrt(20 + (Lm - 50) * (Lm - 50));
    const double sc = 1 + 0.045 * Cm, sh = 1 + 0.015 * Cm * t;
    const double rt = -std::sin(2 * dTheta * pi / 180) * rc;
    return std::sqrt(std::pow(dL / sl, 2) + std::pow(dC / sc, 2) + std::pow(dH / sh, 2) +
                     rt * (dC / sc) * (dH / sh));
}

QImage ReadPicture(const char* path) {
    QImageReader reader(QString::fromLocal8Bit(path));
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter(&flat).drawImage(0, 0, image);
        return flat;
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

int Score(const char* picturePath, const char* artPath, bool dark, const QFont& font) {
    QFile file(QString::fromLocal8Bit(artPath));
    if (!file.open(QIODevice::ReadOnly))
        return std::fprintf(stderr, "cannot read %s\n", artPath), 2;
    const QRgb paper = dark ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    const QRgb ink = dark ? qRgb(0xd0, 0xd0, 0xd0) : qRgb(0, 0, 0);
    Art art = Parse(file.readAll(), paper, ink);
    if (!dark) { // plain text: the characters alone
        for (auto& row : art.rows)
            for (Cell& c : row)
                c.fg = ink, c.bg = paper;
    }
    const QImage picture = ReadPicture(picturePath);
    if (art.rows.empty() || art.columns == 0 || picture.isNull())
        return std::fprintf(stderr, "nothing to compare\n"), 2;
    const QFontMetricsF metrics(font);
    const QSize cell(int(std::lround(metrics.horizontalAdvance(u'M'))),
                     int(std::lround(metrics.height())));
    Planes shown = Linear(Render(art, font, cell));
    const int w = shown.w, h = shown.h;
    if (!dark) {
        // No glyph inks its whole cell: black is the densest glyph plain text can draw,
        // printable ASCII's or the art's own when denser (a full block). Not the densest
        // the art happens to use: a light picture's faint marks would then count as black,
        // and its score would hang on whether one dense character turns up.
        QList<char32_t> candidates;
        for (char32_t c = U' '; c <= U'~'; ++c)
            candidates << c;
        for (const auto& row : art.rows)
            for (const Cell& c : row)
                candidates << c.code;
        double densest = 0;
        QSet<char32_t> seen;
        for (const char32_t code : candidates) {
            if (seen.contains(code))
                continue;
            seen.insert(code);
            Art one;
            one.rows = {{Cell{code, ink, paper}}};
            one.columns = 1;
            const Planes p = Linear(Render(one, font, cell));
            double sum = 0;
            for (const float v : p.c[1])
                sum += 1 - v;
            densest = std::max(densest, sum / double(p.c[1].size()));
        }
        for (auto& plane : shown.c)
            for (float& v : plane)
                v = float(1 - (1 - v) / std::max(densest, 1e-6)); // linear: clamped as L*
    }
    Planes wanted;
    wanted.w = w, wanted.h = h;
    AreaSampler sampler(picture, QRectF(QPointF(0, 0), picture.size()), w, h);
    for (auto& c : wanted.c)
        c.resize(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const size_t at = size_t(y) * size_t(w);
        sampler.Row(y, &wanted.c[0][at], &wanted.c[1][at], &wanted.c[2][at]);
    }
    std::vector<float> lum[2];
    for (int k = 0; k < 2; ++k) {
        Planes& p = k == 0 ? shown : wanted;
        for (auto& c : p.c)
            Blur(c, w, h, cell.width() / 2.0, cell.height() / 2.0);
        lum[k].resize(size_t(w) * size_t(h));
        for (size_t i = 0; i < lum[k].size(); ++i)
            lum[k][i] = Luminance(p.c[0][i], p.c[1][i], p.c[2][i]);
    }
    double ssim[2];
    for (int fine = 0; fine < 2; ++fine) {
        const int gw = art.columns * (fine + 1), gh = int(art.rows.size()) * (fine + 1);
        std::vector<double> a = BoxMeans(lum[0], w, h, gw, gh);
        std::vector<double> b = BoxMeans(lum[1], w, h, gw, gh);
        for (double& v : a)
            v = Lightness(v);
        for (double& v : b)
            v = Lightness(v);
        ssim[fine] = Ssim(a, b, gw, gh);
    }
    double de = 0;
    const int gw = art.columns, gh = int(art.rows.size());
    std::vector<double> means[2][3];
    for (int k = 0; k < 2; ++k)
        for (int c = 0; c < 3; ++c)
            means[k][c] = BoxMeans((k == 0 ? shown : wanted).c[c], w, h, gw, gh);
    for (size_t i = 0; i < means[0][0].size(); ++i)
        de += Ciede2000(ToLab(means[0][0][i], means[0][1][i], means[0][2][i]),
                        ToLab(means[1][0][i], means[1][1][i], means[1][2][i]));
    std::printf("%.3f %.3f %.1f %dx%d\n", ssim[0], ssim[1], de / double(gw * gh), art.columns,
                int(art.rows.size()));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto family = [&](int at) {
        QFont font = ArtFont(args.value(at)).value_or(*ArtFont(QString()));
        font.setPixelSize(FontPixels);
        return font;
    };
    if (args.size() >= 5 && args[1] == QLatin1String("score"))
        return Score(argv[2], argv[3], args[4] == QLatin1String("dark"), family(5));
    std::fprintf(stderr, "usage: art_fidelity score PICTURE ART text|dark [FAMILY]\n");
    return 2;
}

// Area sampling in linear light: each picture row is reduced across once, then rows are
// summed down with the share of them each sample covers.
#include "convert/AreaSampler.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace mGlyfora {

namespace {

const std::array<float, 256>& DecodeTable() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double v = i / 255.0;
            t[size_t(i)] = float(v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
        }
        return t;
    }();
    return table;
}

} // namespace

float LinearFromSrgb(int component) {
    return DecodeTable()[size_t(std::clamp(component, 0, 255))];
}

int SrgbFromLinear(float linear) {
    const double v = std::clamp(double(linear), 0.0, 1.0);
    const double s = v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return int(std::lround(s * 255));
}

std::vector<AreaSampler::Span> AreaSampler::Spans(double start, double length, int samples,
                                                  int limit, std::vector<float>& weights) {
    std::vector<Span> spans(size_t(samples), Span{});
    const double step = length / samples;
    for (int i = 0; i < samples; ++i) {
        const double from = start + i * step;
        const double to = i + 1 == samples ? start + length : from + step;
        const int first = std::clamp(int(std::floor(from)), 0, limit - 1);
        const int end = std::clamp(int(std::ceil(to)), first + 1, limit);
        Span& span = spans[size_t(i)];
        span.first = first;
        span.count = end - first;
        span.weights = int(weights.size());
        for (int p = first; p < end; ++p) {
            const double w = std::min<double>(p + 1, to) - std::max<double>(p, from);
            weights.push_back(float(std::max(w, 0.0)));
            span.total += weights.back();
        }
        if (span.total <= 0) { // a sample thinner than rounding: its one pixel
            weights.back() = 1;
            span.total = 1;
        }
    }
    return spans;
}

AreaSampler::AreaSampler(const QImage& picture, const QRectF& region, int columns, int rows)
    : picture_(picture), columns_(columns) {
    across_ = Spans(region.left(), region.width(), columns, picture.width(), acrossWeights_);
    down_ = Spans(region.top(), region.height(), rows, picture.height(), downWeights_);
    cached_.resize(size_t(columns) * 3);
}

const float* AreaSampler::Reduced(int y) {
    if (y == cachedRow_)
        return cached_.data();
    cachedRow_ = y;
    const std::array<float, 256>& decode = DecodeTable();
    const auto* line = reinterpret_cast<const QRgb*>(picture_.constScanLine(y));
    float* out = cached_.data();
    for (const Span& span : across_) {
        float r = 0, g = 0, b = 0;
        const float* w = acrossWeights_.data() + span.weights;
        const QRgb* pixel = line + span.first;
        for (int i = 0; i < span.count; ++i) {
            const QRgb p = pixel[i];
            r += w[i] * decode[p >> 16 & 0xFF];
            g += w[i] * decode[p >> 8 & 0xFF];
            b += w[i] * decode[p & 0xFF];
        }
        const float scale = 1 / span.total;
        *out++ = r * scale;
        *out++ = g * scale;
        *out++ = b * scale;
    }
    return cached_.data();
}

void AreaSampler::Row(int row, float* r, float* g, float* b) {
    std::fill(r, r + columns_, 0.f);
    std::fill(g, g + columns_, 0.f);
    std::fill(b, b + columns_, 0.f);
    const Span& span = down_[size_t(row)];
    for (int i = 0; i < span.count; ++i) {
        const float w = downWeights_[size_t(span.weights + i)] / span.total;
        const float* reduced = Reduced(span.first + i);
        for (int x = 0; x < columns_; ++x) {
            r[x] += w * reduced[3 * x];
            g[x] += w * reduced[3 * x + 1];
            b[x] += w * reduced[3 * x + 2];
        }
    }
}

} // namespace mGlyfora

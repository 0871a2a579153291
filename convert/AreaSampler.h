// A region of a picture cut into a grid of samples, each the mean of the area it covers in
// linear light (sRGB decoded), with fractional edges: the samples the looks work on.
#pragma once

#include <QImage>
#include <QRectF>
#include <vector>

namespace mGlyfora {

// sRGB component 0..255 to linear light 0..1, and back (rounded, clamped).
float LinearFromSrgb(int component);
int SrgbFromLinear(float linear);

// Luminance of linear light, Rec. 709 weights.
inline float Luminance(float r, float g, float b) {
    return 0.2126f * r + 0.7152f * g + 0.0722f * b;
}

class AreaSampler {
public:
    // `picture` Format_RGB32; `region` inside it with a positive area; columns, rows >= 1.
    AreaSampler(const QImage& picture, const QRectF& region, int columns, int rows);

    // Sample row `row` (0..rows-1, in any order, quickest in increasing order) into
    // r, g, b (`columns` each).
    void Row(int row, float* r, float* g, float* b);

private:
    struct Span {
        int first = 0;   // first pixel
        int count = 0;   // pixels
        int weights = 0; // offset of their weights
        float total = 0;
    };
    static std::vector<Span> Spans(double start, double length, int samples, int limit,
                                   std::vector<float>& weights);
    const float* Reduced(int y);

    const QImage& picture_;
    int columns_;
    std::vector<Span> across_, down_;
    std::vector<float> acrossWeights_, downWeights_;
    // The last picture row reduced across, with its number.
    int cachedRow_ = -1;
    std::vector<float> cached_;
};

} // namespace mGlyfora

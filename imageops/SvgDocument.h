// An SVG picture reduced to its own content before Qt's SVG reader sees it. That reader
// follows an <image>'s reference to any local file by itself: a private picture would
// appear in the art, and a FIFO would block the program in its open. So the document is
// read here, inflated here when it is SVGZ (with a limit: a small file can inflate to
// gigabytes), and every reference other than "data:" and "#fragment" is removed. A data:
// picture that is itself an SVG is reduced the same way.
#pragma once

#include <QByteArray>

// The largest SVG document read, inflated or not. Far beyond any drawing a person makes;
// Qt's SVG reader holds a tree several times its size.
inline constexpr qint64 SvgDocumentLimitBytes = qint64(64) << 20;

struct SvgDocument {
    enum class Status { Ok, TooLarge, Damaged };
    Status status = Status::Damaged;
    QByteArray text; // the reduced document, plain SVG, when Ok
};

// Whether Qt's readers call this format an SVG ("svg", "svgz").
bool IsSvgFormat(const QByteArray& format);

// The document in `bytes` (SVG or gzip-compressed SVGZ) without external references.
SvgDocument ReduceSvgDocument(const QByteArray& bytes);

// Inflating SVGZ with a limit, and an SVG document rewritten without external references.
#include "imageops/SvgDocument.h"

#include <QBuffer>
#include <QImageReader>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <zlib.h>

namespace {

// An SVG inside a data: picture inside an SVG ...: deeper than this is not drawn.
constexpr int MaxNesting = 4;

bool IsGzip(const QByteArray& bytes) {
    return bytes.startsWith("\x1f\x8b");
}

// The gzip stream inflated, refused once it passes the document limit.
SvgDocument Inflate(const QByteArray& compressed) {
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return {};
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.constData()));
    stream.avail_in = uInt(compressed.size());
    SvgDocument result;
    constexpr qsizetype chunk = qsizetype(1) << 18;
    int status = Z_OK;
    while (status == Z_OK) {
        if (result.text.size() > SvgDocumentLimitBytes) {
            result.status = SvgDocument::Status::TooLarge;
            break;
        }
        const qsizetype used = result.text.size();
        result.text.resize(used + chunk);
        stream.next_out = reinterpret_cast<Bytef*>(result.text.data() + used);
        stream.avail_out = uInt(chunk);
        status = inflate(&stream, Z_NO_FLUSH);
        result.text.truncate(used + chunk - qsizetype(stream.avail_out));
        if (status == Z_STREAM_END)
            result.status = SvgDocument::Status::Ok;
    }
    inflateEnd(&stream);
    if (result.status == SvgDocument::Status::Ok && result.text.size() > SvgDocumentLimitBytes)
        result.status = SvgDocument::Status::TooLarge;
    if (result.status != SvgDocument::Status::Ok)
        result.text.clear();
    return result;
}

SvgDocument Reduce(const QByteArray& bytes, int depth);

// A data: picture that Qt would read as an SVG is reduced too; anything else stays.
// Empty when the reference must go.
QString ReducedDataReference(const QString& reference, int depth) {
    // Qt decodes what follows the last "base64,"; other data: pictures it does not draw.
    const qsizetype start = reference.lastIndexOf(QLatin1String("base64,"));
    if (start < 0)
        return reference;
    QByteArray payload = QByteArray::fromBase64(reference.mid(start + 7).toLatin1());
    QBuffer buffer(&payload);
    buffer.open(QIODevice::ReadOnly);
    if (!IsSvgFormat(QImageReader::imageFormat(&buffer)) && !IsGzip(payload))
        return reference;
    if (depth >= MaxNesting)
        return QString();
    const SvgDocument inner = Reduce(payload, depth + 1);
    if (inner.status != SvgDocument::Status::Ok)
        return QString();
    return QStringLiteral("data:image/svg+xml;base64,") +
           QString::fromLatin1(inner.text.toBase64());
}

SvgDocument Reduce(const QByteArray& stored, int depth) {
    SvgDocument inflated;
    if (IsGzip(stored)) {
        inflated = Inflate(stored);
        // One layer of compression, as Qt reads it: a file that inflates to itself ends.
        if (inflated.status != SvgDocument::Status::Ok || IsGzip(inflated.text))
            return SvgDocument{inflated.status, {}};
    }
    const QByteArray& bytes = IsGzip(stored) ? inflated.text : stored;
    if (bytes.size() > SvgDocumentLimitBytes)
        return SvgDocument{SvgDocument::Status::TooLarge, {}};
    SvgDocument result;
    QXmlStreamReader reader(bytes);
    // Read as Qt's SVG reader reads: names as written, an undeclared prefix no error.
    reader.setNamespaceProcessing(false);
    QXmlStreamWriter writer(&result.text);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) {
            writer.writeCurrentToken(reader);
            continue;
        }
        writer.writeStartElement(reader.qualifiedName().toString());
        for (const QXmlStreamAttribute& attribute : reader.attributes()) {
            const QString name = attribute.qualifiedName().toString();
            QString value = attribute.value().toString();
            if (name == QLatin1String("href") || name.endsWith(QLatin1String(":href"))) {
                if (value.startsWith(QLatin1String("data:")))
                    value = ReducedDataReference(value, depth);
                else if (!value.startsWith(u'#'))
                    continue;
                if (value.isEmpty())
                    continue;
            }
            writer.writeAttribute(name, value);
        }
        if (result.text.size() > SvgDocumentLimitBytes)
            return SvgDocument{SvgDocument::Status::TooLarge, {}};
    }
    if (reader.hasError())
        return {};
    result.status = SvgDocument::Status::Ok;
    return result;
}

} // namespace

bool IsSvgFormat(const QByteArray& format) {
    return format == "svg" || format == "svgz";
}

SvgDocument ReduceSvgDocument(const QByteArray& bytes) {
    return Reduce(bytes, 0);
}

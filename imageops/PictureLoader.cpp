// Picture file loading with Qt's image readers.
#include "imageops/PictureLoader.h"

#include "imageops/PictureCompleteness.h"
#include "imageops/SvgDocument.h"
#include "platform/ErrorText.h"
#include "platform/FileNames.h"
#include "platform/HugePages.h"
#include "platform/RegularFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <atomic>
#include <mutex>
#include <unistd.h>

namespace {

// The program shows these as written. glyfora-convert installs a catalogue that puts
// them in English under other locales; the program installs none.
const char* const NotFound = QT_TRANSLATE_NOOP("PictureLoader", "ファイルが見つかりません。");
const char* const IsFolder =
    QT_TRANSLATE_NOOP("PictureLoader", "フォルダーは画像として開けません。");
const char* const NotRegular = QT_TRANSLATE_NOOP(
    "PictureLoader", "通常のファイルではない (パイプ、デバイスなど) ため、画像として開けません。");
const char* const CannotOpen = QT_TRANSLATE_NOOP("PictureLoader", "ファイルを開けません: ");
const char* const IsEmpty =
    QT_TRANSLATE_NOOP("PictureLoader", "ファイルが空です。画像ではありません。");
const char* const CutOff = QT_TRANSLATE_NOOP("PictureLoader", "画像ファイルが途中で切れています。");
const char* const Damaged = QT_TRANSLATE_NOOP("PictureLoader", "画像ファイルが壊れています。");
const char* const OutOfMemory =
    QT_TRANSLATE_NOOP("PictureLoader", "メモリが不足しているため、画像を読み込めません。");
const char* const UnknownFormat =
    QT_TRANSLATE_NOOP("PictureLoader", "画像の形式が認識できません。");
const char* const TooLarge =
    QT_TRANSLATE_NOOP("PictureLoader", "画像が大きすぎて読み込めません (%1 x %2 ピクセル)。");
const char* const CannotRead = QT_TRANSLATE_NOOP("PictureLoader", "画像を読み込めません: ");
const char* const SvgTooLarge = QT_TRANSLATE_NOOP(
    "PictureLoader", "画像が大きすぎて読み込めません (SVG の文書が %1 MB を超えます)。");
const char* const SvgDamaged =
    QT_TRANSLATE_NOOP("PictureLoader", "SVG の文書が壊れているため、画像を読み込めません。");

QString Text(const char* text) {
    return QCoreApplication::translate("PictureLoader", text);
}

// While a picture is read, the decoders' messages (libjpeg's warnings, for example) are
// kept from the person's terminal and serve the error text. Qt's messages reach one
// handler; it hands each to the reading on the message's own thread, and any other
// thread's to the handler that was there before. Standard error itself is left alone:
// glyfora-convert's other threads write their lines there meanwhile.
class DecoderMessages {
public:
    DecoderMessages() {
        std::lock_guard lock(sharedLock_);
        if (readers_++ == 0)
            previous_ = qInstallMessageHandler(&Handler);
        current_ = this;
    }
    ~DecoderMessages() { Stop(); }
    DecoderMessages(const DecoderMessages&) = delete;
    DecoderMessages& operator=(const DecoderMessages&) = delete;

    // The last reading puts the earlier handler back.
    void Stop() {
        if (stopped_)
            return;
        stopped_ = true;
        current_ = nullptr;
        std::lock_guard lock(sharedLock_);
        if (--readers_ == 0)
            qInstallMessageHandler(previous_);
    }

    bool Said(QLatin1StringView words) const {
        for (const QString& message : said_) {
            if (message.contains(words, Qt::CaseInsensitive))
                return true;
        }
        return false;
    }
    QString First() const { return said_.value(0); }

private:
    static void Handler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (current_)
            current_->said_ << message;
        else if (const QtMessageHandler previous = previous_)
            previous(type, context, message); // another thread's, not a decoder's
    }

    static inline thread_local DecoderMessages* current_ = nullptr;
    static inline std::mutex sharedLock_;
    static inline int readers_ = 0;
    static inline std::atomic<QtMessageHandler> previous_ = nullptr;
    bool stopped_ = false;
    QStringList said_;
};

// The SVG file's own content without external references.
std::optional<QByteArray> ReduceSvgFile(QFile& file, qint64 size, QString* error) {
    const QString tooLarge = Text(SvgTooLarge).arg(SvgDocumentLimitBytes >> 20);
    if (size > SvgDocumentLimitBytes)
        return platform::Failed(error, tooLarge);
    if (!file.seek(0))
        return platform::Failed(error, Text(CannotRead) + file.errorString());
    const QByteArray bytes = file.readAll();
    if (bytes.size() != size)
        return platform::Failed(error, Text(CutOff));
    SvgDocument document = ReduceSvgDocument(bytes);
    if (document.status == SvgDocument::Status::TooLarge)
        return platform::Failed(error, tooLarge);
    if (document.status != SvgDocument::Status::Ok)
        return platform::Failed(error, Text(SvgDamaged));
    return std::move(document.text);
}

// The last suffix of a file name, in lower case: a hint for the reader, never the rule.
QByteArray SuffixHint(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot <= slash + 1)
        return QByteArray();
    return path.mid(dot + 1).toLower().toLatin1();
}

// The largest of libjpeg's reductions (2, 4, 8) that still gives `enough` of a picture
// stored at `stored`, turned by `turn`, each side rounded down; 1 when none does.
int JpegReduction(QSize stored, QImageIOHandler::Transformations turn, QSize enough) {
    if (turn & QImageIOHandler::TransformationRotate90)
        enough.transpose();
    int chosen = 1;
    for (int d = 2; d <= 8; d *= 2) {
        const QSize reduced(stored.width() / d, stored.height() / d);
        if (reduced.isEmpty() || reduced.width() < enough.width() ||
            reduced.height() < enough.height())
            break;
        chosen = d;
    }
    return chosen;
}

} // namespace

std::optional<LoadedPicture> LoadPictureFile(const QString& path, QString* error,
                                             const std::function<QSize(QSize)>& enough) {
    if (path.isEmpty())
        return platform::Failed(error, Text(NotFound));
    // The name's own bytes: Qt's file classes would re-encode a name that is not UTF-8
    // into another name.
    const QByteArray name = platform::EncodeFileName(path);
    platform::RegularFile opened = platform::RegularFile::Open(name);
    const platform::FileCheck& check = opened.Check();
    if (const QString refused = platform::RefusalText(
            check, {Text(NotFound), Text(IsFolder), Text(NotRegular), Text(CannotOpen)});
        !refused.isEmpty())
        return platform::Failed(error, refused);
    const int fd = opened.Release();
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return platform::Failed(error, Text(CannotOpen) + file.errorString());
    }
    if (check.size == 0)
        return platform::Failed(error, Text(IsEmpty));

    // Some decoders hand back a cut-off picture with the missing part as background.
    QByteArray format;
    const Completeness completeness = CheckPictureCompleteness(fd, check.size, &format);
    if (completeness == Completeness::Truncated)
        return platform::Failed(error, Text(CutOff));
    if (completeness == Completeness::Damaged)
        return platform::Failed(error, Text(Damaged));

    DecoderMessages messages;
    static std::once_flag limitSet;
    std::call_once(
        limitSet, [] { QImageReader::setAllocationLimit(int(PictureAllocationLimitBytes >> 20)); });
    // The content names the format; the suffix helps only formats without a signature.
    const bool recognised = !format.isEmpty();
    if (!recognised)
        format = QImageReader::imageFormat(&file);
    if (format.isEmpty())
        format = SuffixHint(path);
    QImageReader reader(&file, format);
    // A format the content already named needs no plugin to confirm it; asking them all
    // would load every image plugin and its libraries.
    reader.setAutoDetectImageFormat(!recognised);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        messages.Stop();
        // Qt's reason here is "Unknown error" or "Unsupported image format": nothing more.
        return platform::Failed(error, Text(UnknownFormat));
    }
    // Qt's SVG reader would follow the document's references itself (SvgDocument.h).
    QBuffer reduced;
    if (IsSvgFormat(reader.format())) {
        std::optional<QByteArray> own = ReduceSvgFile(file, check.size, error);
        if (!own) {
            messages.Stop();
            return std::nullopt;
        }
        reduced.setData(std::move(*own));
        reduced.open(QIODevice::ReadOnly);
        reader.setDevice(&reduced);
        reader.setFormat("svg");
        reader.setAutoDetectImageFormat(false);
        if (!reader.canRead()) {
            messages.Stop();
            return platform::Failed(error, Text(UnknownFormat));
        }
    }
    QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() * 4 > PictureAllocationLimitBytes) {
        messages.Stop();
        return platform::Failed(error, Text(TooLarge).arg(size.width()).arg(size.height()));
    }
    QSize shown; // known here only when a reduced picture may serve
    if (enough && size.isValid() && reader.format() == "jpeg") {
        shown = size;
        if (reader.transformation() & QImageIOHandler::TransformationRotate90)
            shown.transpose();
        const QSize wanted = enough(shown);
        if (wanted.isValid()) {
            const int d = JpegReduction(size, reader.transformation(), wanted);
            if (d > 1) {
                // Qt takes the reduction from the size asked, and rounded up would decode
                // larger and scale down. Sides that are not a multiple of it lose their
                // last part-pixel instead, so libjpeg's reduction is all the scaling.
                const QSize scaled(size.width() / d, size.height() / d);
                const QRect whole(QPoint(0, 0), scaled * d);
                if (whole.size() != size)
                    reader.setClipRect(whole);
                reader.setScaledSize(scaled);
                size = scaled;
            }
        }
    }

    // Decoding straight into huge-page memory spares most of the page faults of a big
    // picture; the reader fills an image of the right size and format in place.
    QImage image;
    if (size.isValid()) {
        image = platform::AllocateImage(size.width(), size.height(), reader.imageFormat());
        if (image.isNull() && reader.imageFormat() != QImage::Format_Invalid) {
            messages.Stop();
            return platform::Failed(error, Text(OutOfMemory));
        }
        // Pixels a decoder leaves unset (a run-length bitmap may set none) read as zero,
        // as in memory a decoder clears itself: colour 0 of a palette, else black or
        // transparent. Never what the memory held before.
        image.fill(0u);
    }
    if (!reader.read(&image))
        image = QImage();
    messages.Stop();
    if (messages.Said(QLatin1StringView("out of memory")))
        return platform::Failed(error, Text(OutOfMemory));
    if (image.isNull()) {
        QString why = reader.errorString();
        if (!messages.First().isEmpty())
            why += QStringLiteral(" (") + messages.First() + u')';
        return platform::Failed(error, Text(CannotRead) + why);
    }
    return LoadedPicture{image, shown.isValid() ? shown : image.size()};
}

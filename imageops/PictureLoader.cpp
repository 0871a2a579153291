// Picture file loading with Qt's image readers.
#include "imageops/PictureLoader.h"

#include "imageops/PictureCompleteness.h"
#include "platform/FileNames.h"
#include "platform/HugePages.h"
#include "platform/RegularFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/mman.h>
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
const char* const OutOfMemory =
    QT_TRANSLATE_NOOP("PictureLoader", "メモリが不足しているため、画像を読み込めません。");
const char* const UnknownFormat =
    QT_TRANSLATE_NOOP("PictureLoader", "画像の形式が認識できません。");
const char* const TooLarge =
    QT_TRANSLATE_NOOP("PictureLoader", "画像が大きすぎて読み込めません (%1 x %2 ピクセル)。");
const char* const CannotRead = QT_TRANSLATE_NOOP("PictureLoader", "画像を読み込めません: ");

QString Text(const char* text) {
    return QCoreApplication::translate("PictureLoader", text);
}

// While a picture is read, every message of the decoders is kept from the person's
// terminal: Qt's messages (libjpeg's warnings, for example) through a message handler,
// and what a library prints itself (libpng's errors) by pointing standard error at a
// memory file. What was said serves the error text. glyfora-convert reads several
// pictures at once on its threads: the redirection is then shared and undone when the
// last reading ends, Qt's messages go to the reading on their own thread, and what was
// printed counts only for a reading that had the redirection to itself.
class DecoderMessages {
public:
    DecoderMessages() {
        current_ = this;
        std::lock_guard lock(sharedLock_);
        if (readers_++ == 0) {
            previous_ = qInstallMessageHandler(&Handler);
            std::fflush(stderr);
            capture_ = ::memfd_create("glyfora-decoder", MFD_CLOEXEC);
            saved_ = capture_ >= 0 ? ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0) : -1;
            if (saved_ >= 0)
                ::dup2(capture_, STDERR_FILENO);
        }
        alone_ = readers_ == 1;
        entry_ = ++entries_;
        start_ = capture_ >= 0 ? ::lseek(capture_, 0, SEEK_CUR) : -1;
    }
    ~DecoderMessages() { Stop(); }
    DecoderMessages(const DecoderMessages&) = delete;
    DecoderMessages& operator=(const DecoderMessages&) = delete;

    // Collects what was printed and, for the last reading, puts standard error and the
    // message handler back.
    void Stop() {
        if (stopped_)
            return;
        stopped_ = true;
        current_ = nullptr;
        std::lock_guard lock(sharedLock_);
        std::fflush(stderr);
        if (alone_ && entries_ == entry_ && capture_ >= 0 && start_ >= 0) {
            QByteArray printed(1024, '\0');
            const ssize_t got = ::pread(capture_, printed.data(), size_t(printed.size()), start_);
            printed.truncate(got > 0 ? got : 0);
            for (const QByteArray& line : printed.split('\n')) {
                if (!line.trimmed().isEmpty())
                    said_ << QString::fromUtf8(line.trimmed());
            }
        }
        if (--readers_ > 0)
            return;
        if (saved_ >= 0) {
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
            saved_ = -1;
        }
        qInstallMessageHandler(previous_);
        if (capture_ >= 0) {
            ::close(capture_);
            capture_ = -1;
        }
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
    static inline quint64 entries_ = 0;
    static inline std::atomic<QtMessageHandler> previous_ = nullptr;
    static inline int capture_ = -1;
    static inline int saved_ = -1;
    bool stopped_ = false;
    bool alone_ = false;
    quint64 entry_ = 0;
    off_t start_ = -1;
    QStringList said_;
};

LoadedPicture Failure(const QString& error) {
    return LoadedPicture{QImage(), error, QSize()};
}

// The last suffix of a file name, in lower case: a hint for the reader, never the rule.
QByteArray SuffixHint(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot <= slash + 1)
        return QByteArray();
    return path.mid(dot + 1).toLower().toLatin1();
}

// The smallest of libjpeg's reductions (1/2, 1/4, 1/8) that still gives `enough` of a
// picture stored at `stored`, turned by `turn`; the stored size when none does.
QSize ReducedJpegSize(QSize stored, QImageIOHandler::Transformations turn, QSize enough) {
    if (turn & QImageIOHandler::TransformationRotate90)
        enough.transpose();
    QSize chosen = stored;
    for (int d = 2; d <= 8; d *= 2) {
        const QSize reduced((stored.width() + d - 1) / d, (stored.height() + d - 1) / d);
        if (reduced.width() < enough.width() || reduced.height() < enough.height())
            break;
        chosen = reduced;
    }
    return chosen;
}

} // namespace

LoadedPicture LoadPictureFile(const QString& path) {
    return LoadPictureFile(path, {});
}

LoadedPicture LoadPictureFile(const QString& path, const std::function<QSize(QSize)>& enough) {
    if (path.isEmpty())
        return Failure(Text(NotFound));
    // The name's own bytes: Qt's file classes would re-encode a name that is not UTF-8
    // into another name.
    const QByteArray name = platform::EncodeFileName(path);
    platform::RegularFile opened = platform::RegularFile::Open(name);
    const platform::FileCheck& check = opened.Check();
    if (const QString refused = platform::RefusalText(
            check, {Text(NotFound), Text(IsFolder), Text(NotRegular), Text(CannotOpen)});
        !refused.isEmpty())
        return Failure(refused);
    const int fd = opened.Release();
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Failure(Text(CannotOpen) + file.errorString());
    }
    if (check.size == 0)
        return Failure(Text(IsEmpty));

    // Some decoders hand back a cut-off picture with the missing part as background.
    QByteArray format;
    if (CheckPictureCompleteness(fd, check.size, &format) == Completeness::Truncated)
        return Failure(Text(CutOff));

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
        return Failure(Text(UnknownFormat));
    }
    QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() * 4 > PictureAllocationLimitBytes) {
        messages.Stop();
        return Failure(Text(TooLarge).arg(size.width()).arg(size.height()));
    }
    QSize shown; // known here only when a reduced picture may serve
    if (enough && size.isValid() && reader.format() == "jpeg") {
        shown = size;
        if (reader.transformation() & QImageIOHandler::TransformationRotate90)
            shown.transpose();
        const QSize wanted = enough(shown);
        if (wanted.isValid()) {
            const QSize reduced = ReducedJpegSize(size, reader.transformation(), wanted);
            if (reduced != size) {
                reader.setScaledSize(reduced);
                size = reduced;
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
            return Failure(Text(OutOfMemory));
        }
    }
    if (!reader.read(&image))
        image = QImage();
    messages.Stop();
    if (messages.Said(QLatin1StringView("out of memory")))
        return Failure(Text(OutOfMemory));
    if (image.isNull()) {
        QString why = reader.errorString();
        if (!messages.First().isEmpty())
            why += QStringLiteral(" (") + messages.First() + u')';
        return Failure(Text(CannotRead) + why);
    }
    return LoadedPicture{image, QString(), shown.isValid() ? shown : image.size()};
}

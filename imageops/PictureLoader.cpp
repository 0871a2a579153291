// Picture file loading with Qt's image readers.
#include "imageops/PictureLoader.h"

#include "platform/HugePages.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

// libjpeg reports a cut-off file only as a warning and hands back a picture whose
// missing part is grey; this catches that warning while one picture is read.
class TruncationWatch {
public:
    TruncationWatch() {
        active_ = this;
        previous_ = qInstallMessageHandler(&Handler);
    }
    ~TruncationWatch() {
        qInstallMessageHandler(previous_);
        active_ = nullptr;
    }
    TruncationWatch(const TruncationWatch&) = delete;
    TruncationWatch& operator=(const TruncationWatch&) = delete;

    bool Truncated() const { return truncated_; }

private:
    static void Handler(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
        if (active_ && msg.contains(QLatin1String("premature end of"), Qt::CaseInsensitive)) {
            active_->truncated_ = true;
            return;
        }
        if (active_ && active_->previous_)
            active_->previous_(type, context, msg);
    }

    static inline TruncationWatch* active_ = nullptr;
    QtMessageHandler previous_ = nullptr;
    bool truncated_ = false;
};

LoadedPicture Failure(const QString& error) {
    return LoadedPicture{QImage(), error};
}

} // namespace

LoadedPicture LoadPictureFile(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return Failure(QStringLiteral("ファイルが見つかりません。"));
    if (info.isDir())
        return Failure(QStringLiteral("フォルダーは画像として開けません。"));
    {
        QFile probe(path);
        if (!probe.open(QIODevice::ReadOnly))
            return Failure(QStringLiteral("ファイルを開けません: ") + probe.errorString());
        if (probe.size() == 0)
            return Failure(QStringLiteral("ファイルが空です。画像ではありません。"));
    }

    QImageReader::setAllocationLimit(int(PictureAllocationLimitBytes >> 20));
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        return Failure(QStringLiteral("画像の形式が認識できません: ") + reader.errorString());
    }
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() * 4 > PictureAllocationLimitBytes) {
        return Failure(QStringLiteral("画像が大きすぎて読み込めません (%1 x %2 ピクセル)。")
                           .arg(size.width())
                           .arg(size.height()));
    }

    // Decoding straight into huge-page memory spares most of the page faults of a big
    // picture; the reader fills an image of the right size and format in place.
    QImage image;
    if (size.isValid())
        image = platform::AllocateImage(size.width(), size.height(), reader.imageFormat());
    bool truncated = false;
    {
        TruncationWatch watch;
        if (!reader.read(&image))
            image = QImage();
        truncated = watch.Truncated();
    }
    if (image.isNull()) {
        const QString why = reader.errorString();
        return Failure(QStringLiteral("画像を読み込めません: ") + why);
    }
    if (truncated)
        return Failure(QStringLiteral("画像ファイルが途中で切れています。"));
    return LoadedPicture{image, QString()};
}

// UTF-8 text files with CR LF line ends, whole-file reads that refuse anything but a
// regular file, and atomic saves through OutputFile.
#include "textwin/TextFile.h"

#include "platform/FileNames.h"
#include "platform/OutputFile.h"
#include "platform/RegularFile.h"

#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <new>
#include <unistd.h>

namespace mGlyfora {

namespace {

// Far beyond any text the view can show; a larger file is refused rather than
// exhausting memory.
constexpr qint64 MaxTextFileBytes = qint64(1) << 30;

// What the conversion window shows when a file cannot be read or saved.
const QString NoName = QStringLiteral("ファイル名がありません。");
const QString IsFolder = QStringLiteral("フォルダーはファイルとして開けません。");
const QString NotRegular = QStringLiteral("通常のファイルではないため開けません。");
const QString NotFound = QStringLiteral("ファイルが見つかりません。");
const QString CannotOpen = QStringLiteral("ファイルを開けません: ");
const QString TooLarge = QStringLiteral("ファイルが大きすぎて読み込めません。");
const QString CannotRead = QStringLiteral("ファイルを読み込めません: ");
const QString OutOfMemory = QStringLiteral("メモリが足りないため読み込めません。");
const QString CannotSave = QStringLiteral("ファイルを保存できません: ");

void SetError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

} // namespace

QString DecodeTextFile(const QByteArray& bytes) {
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    // The decoder keeps a second mark as the character it is (fromUtf8 would drop it too).
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(view);
    if (!text.contains(u'\r'))
        return text;
    // CR LF and a lone CR become '\n', in place: the text only gets shorter.
    QChar* out = text.data();
    const QChar* in = out;
    const QChar* const end = in + text.size();
    QChar* const start = out;
    while (in < end) {
        const QChar c = *in++;
        if (c == u'\r') {
            *out++ = u'\n';
            if (in < end && *in == u'\n')
                ++in;
        } else {
            *out++ = c;
        }
    }
    text.truncate(out - start);
    return text;
}

QByteArray EncodeTextFile(const QString& textWithCrLf) {
    // A text starting with U+FEFF gets a byte-order mark before it, which the reading
    // drops, so that the character itself survives.
    if (textWithCrLf.startsWith(QChar(0xFEFF)))
        return QByteArrayLiteral("\xEF\xBB\xBF") + textWithCrLf.toUtf8();
    return textWithCrLf.toUtf8();
}

std::optional<QByteArray> ReadWholeFile(const QString& path, QString* error) {
    const QByteArray name = platform::EncodeFileName(path);
    if (name.isEmpty()) {
        SetError(error, NoName);
        return std::nullopt;
    }
    platform::RegularFile opened = platform::RegularFile::Open(name);
    const platform::FileCheck& check = opened.Check();
    if (const QString refused =
            platform::RefusalText(check, {NotFound, IsFolder, NotRegular, CannotOpen});
        !refused.isEmpty()) {
        SetError(error, refused);
        return std::nullopt;
    }
    const int fd = opened.Descriptor();
    if (check.size > MaxTextFileBytes) {
        SetError(error, TooLarge);
        return std::nullopt;
    }

    QByteArray bytes;
    try {
        // The size is a hint: a file that grows meanwhile is read to its end. One byte
        // more than the size lets the end show without growing the buffer.
        qint64 capacity = qMax<qint64>(check.size + 1, 4096);
        bytes.resize(capacity);
        qint64 used = 0;
        for (;;) {
            if (used == capacity) {
                if (capacity > MaxTextFileBytes) {
                    SetError(error, TooLarge);
                    return std::nullopt;
                }
                capacity = qMin(capacity * 2, MaxTextFileBytes + 1);
                bytes.resize(capacity);
            }
            const ssize_t got = ::read(fd, bytes.data() + used, size_t(capacity - used));
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                SetError(error, CannotRead + platform::SystemError(errno));
                return std::nullopt;
            }
            if (got == 0)
                break;
            used += got;
        }
        bytes.truncate(used);
    } catch (const std::bad_alloc&) {
        SetError(error, OutOfMemory);
        return std::nullopt;
    }
    return bytes;
}

bool SaveFileBytes(const QString& path, const QByteArray& bytes, QString* error) {
    platform::OutputFile file(path, platform::OutputFile::Durability::Synced);
    if (file.Open() && file.Write(bytes) && file.Commit())
        return true;
    SetError(error, CannotSave + file.ErrorString());
    return false;
}

} // namespace mGlyfora

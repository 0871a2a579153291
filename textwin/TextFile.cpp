// UTF-8 text files with CR LF line ends, whole-file reads that refuse anything but a
// regular file, and atomic saves through OutputFile.
#include "textwin/TextFile.h"

#include "platform/BoundedRead.h"
#include "platform/ErrorText.h"
#include "platform/FileNames.h"
#include "platform/OutputFile.h"

#include <QStringDecoder>

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
    if (name.isEmpty())
        return platform::Failed(error, NoName);
    return platform::ReadBounded(
        name, MaxTextFileBytes,
        {{NotFound, IsFolder, NotRegular, CannotOpen}, TooLarge, CannotRead, OutOfMemory}, error);
}

bool SaveFileBytes(const QString& path, const QByteArray& bytes, QString* error) {
    platform::OutputFile file(path, platform::OutputFile::Durability::Synced);
    if (file.Open() && file.Write(bytes) && file.Commit())
        return true;
    platform::Failed(error, CannotSave + file.ErrorString());
    return false;
}

} // namespace mGlyfora

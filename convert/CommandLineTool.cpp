// Option parsing, picture loading, the scan and the output of glyfora-convert.
#include "convert/CommandLineTool.h"

#include "convert/CharacterTable.h"
#include "convert/ConversionSettings.h"
#include "convert/ConvertScan.h"
#include "convert/HtmlPage.h"
#include "imageops/PictureLoader.h"
#include "imageops/PictureSurface.h"
#include "platform/AtomicFile.h"
#include "platform/SettingsStore.h"

#include <QIODevice>
#include <QRegularExpression>
#include <cmath>
#include <optional>

namespace mGlyfora {

namespace {

const QString ToolName = QStringLiteral("glyfora-convert");

struct ToolOptions {
    bool help = false;
    bool version = false;
    bool html = false;
    bool page = false;
    std::optional<QPair<int, int>> cell;
    std::optional<bool> reverse;
    std::optional<QString> ramp;
    std::optional<SelectionRect> select;
    QString output;
    QString picture;
};

void WriteLine(QIODevice& device, const QString& line) {
    WriteUtf8(device, line);
    device.write("\n", 1);
}

// The scan's message box text as one line of standard error.
class StreamScanHost : public NullScanHost {
public:
    StreamScanHost(QIODevice& err, const QString& picture) : err_(err), picture_(picture) {}
    void ReportError(const QString& message) override {
        WriteLine(err_, picture_ + QStringLiteral(": ") +
                            QString(message).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    }

private:
    QIODevice& err_;
    QString picture_;
};

std::optional<QPair<int, int>> ParseCell(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2})[xX](\\d{1,2})$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int x = match.captured(1).toInt(), y = match.captured(2).toInt();
    if (x < 1 || x > 10 || y < 1 || y > 10)
        return std::nullopt;
    return QPair<int, int>(x, y);
}

std::optional<SelectionRect> ParseSelect(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    float values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts.at(i).trimmed().toFloat(&ok);
        if (!ok || !std::isfinite(values[i]))
            return std::nullopt;
    }
    if (values[2] < 0 || values[3] < 0)
        return std::nullopt;
    return SelectionRect{true, values[0], values[1], values[2], values[3]};
}

// Fills options, or answers the usage error's text.
QString ParseArguments(const QStringList& args, ToolOptions& options) {
    bool onlyNames = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString arg = args.at(i);
        if (onlyNames || arg == QLatin1String("-") || !arg.startsWith(QLatin1Char('-'))) {
            if (!options.picture.isEmpty())
                return QStringLiteral("more than one picture given");
            options.picture = arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            onlyNames = true;
            continue;
        }
        std::optional<QString> inlineValue;
        if (arg.startsWith(QLatin1String("--")) && arg.contains(QLatin1Char('='))) {
            const qsizetype eq = arg.indexOf(QLatin1Char('='));
            inlineValue = arg.mid(eq + 1);
            arg.truncate(eq);
        }
        const auto value = [&](QString& into) {
            if (inlineValue) {
                into = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size())
                return false;
            into = args.at(++i);
            return true;
        };
        const auto flag = [&] { return !inlineValue; };
        QString text;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.help = true;
        } else if (arg == QLatin1String("--version")) {
            options.version = true;
        } else if (arg == QLatin1String("--html") && flag()) {
            options.html = true;
        } else if (arg == QLatin1String("--page") && flag()) {
            options.page = true;
        } else if ((arg == QLatin1String("--reverse") || arg == QLatin1String("--no-reverse")) &&
                   flag()) {
            const bool reverse = arg == QLatin1String("--reverse");
            if (options.reverse && *options.reverse != reverse)
                return QStringLiteral("--reverse and --no-reverse exclude each other");
            options.reverse = reverse;
        } else if (arg == QLatin1String("--cell")) {
            if (!value(text))
                return QStringLiteral("--cell needs a value");
            options.cell = ParseCell(text);
            if (!options.cell)
                return QStringLiteral("cell size must be XxY with X and Y from 1 to 10: ") + text;
        } else if (arg == QLatin1String("--ramp")) {
            if (!value(text))
                return QStringLiteral("--ramp needs a value");
            if (!IsUsableRamp(text))
                return QStringLiteral("the ramp must hold 1 to %1 characters and no control "
                                      "characters")
                    .arg(MaxRampCharacters);
            options.ramp = text;
        } else if (arg == QLatin1String("--select")) {
            if (!value(text))
                return QStringLiteral("--select needs a value");
            options.select = ParseSelect(text);
            if (!options.select)
                return QStringLiteral("selection must be L,T,W,H (numbers, W and H not "
                                      "negative): ") +
                       text;
        } else if (arg == QLatin1String("-o") || arg == QLatin1String("--output")) {
            if (!value(options.output) || options.output.isEmpty())
                return QStringLiteral("-o needs a file name");
        } else {
            return QStringLiteral("unknown option: ") + args.at(i);
        }
    }
    if (options.help || options.version)
        return QString();
    if (options.picture.isEmpty())
        return QStringLiteral("no picture given");
    return QString();
}

// Runs the scan with its result streamed to `device`: the page's opening template goes
// out just before the first byte of the result, so a scan that produces nothing writes
// nothing. `wrote` tells whether anything was produced.
ScanOutcome ScanInto(QIODevice& device, const ToolOptions& options, const PictureSurface& picture,
                     const SelectionRect& selection, ScanHost& host, bool& wrote) {
    const ConversionSettingsRecord& cs = ConversionSettings;
    const QString& before = options.html ? cs.BeforeHTML : cs.Before;
    const QString& after = options.html ? cs.AfterHTML : cs.After;
    const QStringView lineBreak = u"\r\n";
    wrote = false;
    const ResultSink sink = [&](const char* data, qsizetype size) {
        if (!wrote) {
            wrote = true;
            if (options.page && !(WriteUtf8(device, before) && WriteUtf8(device, lineBreak)))
                return false;
        }
        return device.write(data, size) == size;
    };
    ScanOutcome outcome = options.html ? ScanToHTML(picture, selection, host, &sink)
                                       : ScanToText(picture, selection, host, &sink);
    if (outcome.status == ScanStatus::Done && wrote && options.page &&
        !(WriteUtf8(device, after) && WriteUtf8(device, lineBreak)))
        return ScanOutcome{QString(), ScanStatus::FileError, device.errorString()};
    return outcome;
}

} // namespace

QString ConvertToolUsage() {
    return QStringLiteral(
        "Usage: glyfora-convert [--html] [--cell XxY] [--reverse | --no-reverse] [--ramp TEXT]\n"
        "                       [--select L,T,W,H] [--page] [-o FILE] PICTURE\n"
        "Turns a picture into character art, or into coloured HTML cells with --html.\n"
        "  --html            coloured HTML cells instead of characters\n"
        "  --cell XxY        cell width and height in pixels, each 1 to 10\n"
        "  --reverse         darkest character for the brightest cells\n"
        "  --no-reverse      first character for the brightest cells\n"
        "  --ramp TEXT       the characters, brightest first, 1 to 64 of them\n"
        "  --select L,T,W,H  convert only this rectangle of the picture, in pixels\n"
        "  --page            wrap the result in the HTML templates, as an HTML save does\n"
        "  -o FILE           write to FILE instead of standard output\n"
        "  --help            show this text\n"
        "  --version         show the version\n"
        "Options not given take the values glyfora itself would use.\n");
}

int RunConvertTool(const QStringList& args, QIODevice& out, QIODevice& err) {
    ToolOptions options;
    if (const QString problem = ParseArguments(args, options); !problem.isEmpty()) {
        WriteLine(err, ToolName + QStringLiteral(": ") + problem);
        WriteUtf8(err, ConvertToolUsage());
        return ToolUsageError;
    }
    if (options.help) {
        WriteUtf8(out, ConvertToolUsage());
        return ToolSuccess;
    }
    if (options.version) {
        WriteLine(out, QStringLiteral(GLYFORA_VERSION));
        return ToolSuccess;
    }

    platform::SettingsStore store;
    LoadConversionSettings(store);
    ConversionSettingsRecord& cs = ConversionSettings;
    if (options.cell) {
        cs.X = quint8(options.cell->first);
        cs.Y = quint8(options.cell->second);
    }
    if (options.reverse)
        cs.Reverse = *options.reverse;
    if (options.ramp)
        cs.Charactor = *options.ramp;

    const QString& path = options.picture;
    const auto fail = [&](const QString& reason) {
        WriteLine(err, path + QStringLiteral(": ") + reason);
        return ToolFailure;
    };
    LoadedPicture loaded = LoadPictureFile(path);
    if (loaded.image.isNull())
        return fail(loaded.error);
    PictureSurface picture;
    if (!picture.Assign(loaded.image))
        return fail(QStringLiteral("メモリが不足しているため、画像を読み込めません。"));
    loaded.image = QImage();

    StreamScanHost host(err, path);
    const SelectionRect selection = options.select.value_or(SelectionRect{});
    const auto finish = [&](const ScanOutcome& outcome, bool wrote) {
        if (outcome.status == ScanStatus::OutOfMemory)
            return ToolFailure; // the host has shown the message
        if (outcome.status != ScanStatus::Done)
            return fail(outcome.reason);
        if (!wrote)
            return fail(QStringLiteral("the conversion produced nothing"));
        return ToolSuccess;
    };
    bool wrote = false;
    if (options.output.isEmpty()) {
        const ScanOutcome outcome = ScanInto(out, options, picture, selection, host, wrote);
        return finish(outcome, wrote);
    }

    // The output can be made again from the picture, so it is not forced to disk first.
    platform::AtomicFile file(options.output, platform::AtomicFile::Durability::Unsynced);
    if (!file.Open())
        return fail(options.output + QStringLiteral(": ") + file.ErrorString());
    const ScanOutcome outcome = ScanInto(file.Device(), options, picture, selection, host, wrote);
    const int status = finish(outcome, wrote);
    if (status != ToolSuccess)
        return status;
    if (!file.Commit())
        return fail(options.output + QStringLiteral(": ") + file.ErrorString());
    return ToolSuccess;
}

} // namespace mGlyfora

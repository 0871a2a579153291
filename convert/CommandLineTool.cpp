// Option parsing, picture loading, the scan and the output of glyfora-convert.
#include "convert/CommandLineTool.h"

#include "convert/CharacterTable.h"
#include "convert/ConversionSettings.h"
#include "convert/ConvertScan.h"
#include "convert/HtmlPage.h"
#include "convert/ScanRegion.h"
#include "imageops/PictureLoader.h"
#include "imageops/PictureSurface.h"
#include "platform/FileNames.h"
#include "platform/OutputFile.h"
#include "platform/SettingsStore.h"

#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <optional>
#include <unistd.h>

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

// Messages carry names with their own bytes, even where these are not UTF-8.
void WriteMessage(int err, const QString& text) {
    const QByteArray bytes = platform::EncodeFileName(text);
    for (qsizetype at = 0; at < bytes.size();) {
        const ssize_t n = ::write(err, bytes.constData() + at, size_t(bytes.size() - at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // nowhere left to say it
        at += n;
    }
}

void WriteLine(int err, const QString& line) {
    WriteMessage(err, line + QLatin1Char('\n'));
}

// The scan's rows straight into the output. With a page, the opening template goes out
// just before the first byte of the result, so a scan that produces nothing writes
// nothing.
class OutputSink : public ScanSink {
public:
    OutputSink(platform::OutputFile& file, const QByteArray& opening)
        : file_(file), opening_(opening) {}
    bool Write(const char* data, qsizetype size) override {
        if (!started_) {
            started_ = true;
            if (!opening_.isEmpty() && !Checked(file_.Write(opening_)))
                return false;
        }
        return Checked(file_.Write(data, size));
    }
    QString ErrorString() const override { return file_.ErrorString(); }
    // Whether a write to the output failed (rather than the scan itself).
    bool Failed() const { return failed_; }

private:
    bool Checked(bool ok) {
        failed_ = failed_ || !ok;
        return ok;
    }

    platform::OutputFile& file_;
    QByteArray opening_;
    bool started_ = false;
    bool failed_ = false;
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
            if (!IsUsableRamp(text) || !text.isValidUtf16())
                return QStringLiteral("the ramp must hold 1 to %1 characters of UTF-8 and no "
                                      "control characters")
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

// The selection kept inside the picture, as a drag in the window is kept inside
// [0, width] x [0, height]; an edge already inside keeps its exact value. Nothing when no
// cell of the picture is left.
std::optional<SelectionRect> ClampSelection(const SelectionRect& cut, int width, int height) {
    const auto clampAxis = [](float start, float extent, int limit, float& newStart,
                              float& newExtent) {
        const double from = std::clamp(double(start), 0.0, double(limit));
        const double to = std::clamp(double(start) + double(extent), 0.0, double(limit));
        newStart = float(from);
        newExtent = from == double(start) && to == double(start) + double(extent)
                        ? extent
                        : float(std::max(0.0, to - from));
    };
    SelectionRect clamped{true, 0, 0, 0, 0};
    clampAxis(cut.Left, cut.Width, width, clamped.Left, clamped.Width);
    clampAxis(cut.Top, cut.Height, height, clamped.Top, clamped.Height);
    const std::optional<ScanRegion> region = FixRegion(clamped, width, height);
    if (!region || region->Right <= region->Left || region->Bottom <= region->Top)
        return std::nullopt;
    return clamped;
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

int RunConvertTool(const QStringList& args, int out, int err) {
    const QString standardOutput = QStringLiteral("standard output");
    platform::OutputFile stdoutFile(out);
    // The help and version texts go to standard output, checked like any result.
    const auto print = [&](const QString& text) {
        if (stdoutFile.Open() && stdoutFile.Write(text.toUtf8()) && stdoutFile.Commit())
            return ToolSuccess;
        WriteLine(err, standardOutput + QStringLiteral(": ") + stdoutFile.ErrorString());
        return ToolFailure;
    };
    ToolOptions options;
    if (const QString problem = ParseArguments(args, options); !problem.isEmpty()) {
        WriteLine(err, ToolName + QStringLiteral(": ") + problem);
        WriteMessage(err, ConvertToolUsage());
        return ToolUsageError;
    }
    if (options.help)
        return print(ConvertToolUsage());
    if (options.version)
        return print(QStringLiteral(GLYFORA_VERSION "\n"));

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
    const QString nothing = QStringLiteral("the conversion produced nothing");
    LoadedPicture loaded = LoadPictureFile(path);
    if (loaded.image.isNull())
        return fail(loaded.error);
    PictureSurface picture;
    if (!picture.Assign(loaded.image))
        return fail(QStringLiteral("メモリが不足しているため、画像を読み込めません。"));
    loaded.image = QImage();
    SelectionRect selection;
    if (options.select) {
        const std::optional<SelectionRect> inside =
            ClampSelection(*options.select, picture.ScaleWidth(), picture.ScaleHeight());
        if (!inside)
            return fail(nothing + QStringLiteral(": the selection holds no part of the picture"));
        selection = *inside;
    }

    // The output can be made again from the picture, so it is not forced to disk first.
    std::optional<platform::OutputFile> named;
    if (!options.output.isEmpty())
        named.emplace(options.output, platform::OutputFile::Durability::Unsynced);
    platform::OutputFile& file = named ? *named : stdoutFile;
    const QString& outputName = named ? options.output : standardOutput;
    const auto outputFailed = [&] {
        WriteLine(err, outputName + QStringLiteral(": ") + file.ErrorString());
        return ToolFailure;
    };
    if (!file.Open())
        return outputFailed();

    const QString& before = options.html ? cs.BeforeHTML : cs.Before;
    const QString& after = options.html ? cs.AfterHTML : cs.After;
    OutputSink sink(file, options.page ? TemplateLine(before) : QByteArray());
    NullScanHost host;
    const ScanOutcome outcome = options.html ? StreamHTML(picture, selection, host, sink)
                                             : StreamText(picture, selection, host, sink);
    if (sink.Failed())
        return outputFailed();
    if (outcome.status == ScanStatus::EmptyRegion)
        return fail(nothing);
    if (outcome.status != ScanStatus::Done)
        return fail(outcome.reason);
    if (options.page && !file.Write(TemplateLine(after)))
        return outputFailed();
    if (!file.Commit())
        return outputFailed();
    return ToolSuccess;
}

} // namespace mGlyfora

// Option parsing of glyfora-convert, and the run of one picture or of a batch.
#include "cli/CommandLineTool.h"

#include "cli/BatchNames.h"
#include "cli/BatchRun.h"
#include "convert/CharacterTable.h"
#include "convert/ConversionSettings.h"
#include "convert/HtmlPage.h"
#include "cli/PictureConversion.h"
#include "platform/FileNames.h"
#include "platform/OutputFile.h"
#include "platform/SettingsStore.h"

#include <QRegularExpression>
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
    bool quiet = false;
    std::optional<int> jobs;
    QString output;
    QString outputFolder;
    QStringList pictures;
};

// More conversions at once than this only add memory, never speed.
constexpr int MaxJobs = 256;

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
            // Standard input can be read only once.
            if (arg == QLatin1String("-") && options.pictures.contains(arg))
                return QStringLiteral("standard input (-) given more than once");
            options.pictures << arg;
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
        } else if (arg == QLatin1String("-O") || arg == QLatin1String("--output-folder")) {
            if (!value(options.outputFolder) || options.outputFolder.isEmpty())
                return QStringLiteral("-O needs a folder");
        } else if (arg == QLatin1String("-j") || arg == QLatin1String("--jobs")) {
            bool ok = false;
            const int jobs = value(text) ? text.toInt(&ok) : 0;
            if (!ok || jobs < 1 || jobs > MaxJobs)
                return QStringLiteral("-j needs a number from 1 to %1").arg(MaxJobs);
            options.jobs = jobs;
        } else if ((arg == QLatin1String("--quiet") || arg == QLatin1String("-q")) && flag()) {
            options.quiet = true;
        } else {
            return QStringLiteral("unknown option: ") + args.at(i);
        }
    }
    if (options.help || options.version)
        return QString();
    if (options.pictures.isEmpty())
        return QStringLiteral("no picture given");
    if (!options.output.isEmpty() && !options.outputFolder.isEmpty())
        return QStringLiteral("-o and -O exclude each other");
    // One file cannot hold several results; each would replace the one before.
    if (!options.output.isEmpty() && options.pictures.size() > 1)
        return QStringLiteral("-o takes one picture; use -O DIR for several");
    return QString();
}

} // namespace

QString ConvertToolUsage() {
    return QStringLiteral(
        "Usage: glyfora-convert [--html] [--cell XxY] [--reverse | --no-reverse] [--ramp TEXT]\n"
        "                       [--select L,T,W,H] [--page] [-o FILE | -O DIR] [-j N]\n"
        "                       [--quiet] PICTURE...\n"
        "Turns pictures into character art, or into coloured HTML cells with --html.\n"
        "  --html            coloured HTML cells instead of characters\n"
        "  --cell XxY        cell width and height in pixels, each 1 to 10\n"
        "  --reverse         darkest character for the brightest cells\n"
        "  --no-reverse      first character for the brightest cells\n"
        "  --ramp TEXT       the characters, brightest first, 1 to 64 of them\n"
        "  --select L,T,W,H  convert only this rectangle of each picture, in pixels\n"
        "  --page            wrap each result in the HTML templates, as an HTML save does\n"
        "  -o FILE           write the one picture's result to FILE\n"
        "  -O DIR            write each result to DIR/NAME.txt (NAME.html with --html), NAME\n"
        "                    the picture's name without folder and extension; a name\n"
        "                    already used gets -2, -3, ...\n"
        "  -j N              convert N pictures at once (default: the number of processors)\n"
        "  --quiet           no progress line on a terminal\n"
        "  --help            show this text\n"
        "  --version         show the version\n"
        "A PICTURE of - is read from standard input. Without -o and -O the results go to\n"
        "standard output one after another, in the order given. A picture that fails is\n"
        "reported on standard error and the others are still converted (exit status 1).\n"
        "Options not given take the values glyfora itself would use.\n"
        "Example, a folder of photos into a folder of text files:\n"
        "  mkdir -p ascii && glyfora-convert --cell 1x2 -O ascii photos/*.jpg\n");
}

int RunConvertTool(const QStringList& args, int out, int err) {
    const QString standardOutput = QStringLiteral("standard output");
    // The help and version texts go to standard output, checked like any result.
    const auto print = [&](const QString& text) {
        platform::OutputFile stdoutFile(out);
        if (stdoutFile.Open() && stdoutFile.Write(text.toUtf8()) && stdoutFile.Commit())
            return ToolSuccess;
        WriteLine(err, standardOutput + QStringLiteral(": ") + stdoutFile.ErrorString());
        return ToolFailure;
    };
    ToolOptions options;
    if (const QString problem = ParseArguments(args, options); !problem.isEmpty()) {
        WriteLine(err, ToolName + QStringLiteral(": ") + problem);
        WriteMessage(err, ConvertToolUsage());
        if (out >= 0)
            ::close(out);
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

    PictureOptions picture;
    picture.html = options.html;
    picture.select = options.select;
    if (options.page) {
        picture.opening = TemplateLine(options.html ? cs.BeforeHTML : cs.Before);
        picture.closing = TemplateLine(options.html ? cs.AfterHTML : cs.After);
        picture.textOnPage = !options.html;
    }

    if (options.pictures.size() > 1 || !options.outputFolder.isEmpty()) {
        BatchJob batch;
        batch.pictures = options.pictures;
        batch.options = picture;
        batch.outputFolder = options.outputFolder;
        batch.suffix = options.html ? QStringLiteral(".html") : QStringLiteral(".txt");
        batch.jobs = options.jobs.value_or(DefaultJobCount());
        batch.progress = !options.quiet;
        return RunBatch(batch, out, err);
    }

    // One picture, its result streamed to standard output or to FILE.
    const QString& path = options.pictures.constFirst();
    platform::OutputFile stdoutFile(out);
    // The output can be made again from the picture, so it is not forced to disk first.
    std::optional<platform::OutputFile> named;
    if (!options.output.isEmpty())
        named.emplace(options.output, platform::OutputFile::Durability::Unsynced);
    FileOutput output(named ? *named : stdoutFile);
    const PictureOutcome outcome = ConvertPicture(path, picture, output);
    if (outcome.ok)
        return ToolSuccess;
    const QString culprit = outcome.outputFailed
                                ? (named ? options.output : standardOutput)
                                : (path == QLatin1String("-") ? StandardInputName : path);
    WriteLine(err, culprit + QStringLiteral(": ") + outcome.reason);
    return ToolFailure;
}

} // namespace mGlyfora

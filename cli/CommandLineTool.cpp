// Option parsing of glyfora-convert, and the run of one picture or of a batch.
#include "cli/CommandLineTool.h"

#include "cli/BatchNames.h"
#include "cli/BatchRun.h"
#include "cli/PictureConversion.h"
#include "cli/TerminalPaper.h"
#include "cli/TerminalSize.h"
#include "cli/ToolExit.h"
#include "cli/ToolText.h"
#include "convert/ArtEngine.h"
#include "convert/ConversionSettings.h"
#include "convert/HtmlPage.h"
#include "convert/ProgramLooks.h"
#include "platform/FileNames.h"
#include "platform/HeldSignals.h"
#include "platform/OutputFile.h"
#include "platform/SettingsStore.h"
#include "platform/WriteAll.h"

#include <algorithm>
#include <cmath>
#include <future>
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
    std::optional<QSize> cell;
    int columns = 0;
    int rows = 0;
    double aspect = 0;
    CellSample sample = CellSample::Pixel;
    std::optional<bool> luminance; // exact's brightness
    ColourWhen colour = ColourWhen::Auto;
    BackgroundWhen background = BackgroundWhen::Auto;
    int colourDepth = 0;
    std::optional<bool> reverse;
    std::optional<QString> ramp;
    std::optional<SelectionRect> select;
    bool quiet = false;
    std::optional<int> jobs;
    ArtStyle style = ArtStyle::Exact;
    bool styleGiven = false;
    std::optional<bool> dither;
    std::optional<QString> font;
    bool fgOnly = false;
    QString output;
    QString outputFolder;
    QStringList pictures;
};

// More conversions at once than this only add memory, never speed.
constexpr int MaxJobs = 256;
// Beyond these a picture has one cell, or a line no terminal could show.
constexpr int MaxCellSide = 1000000;
constexpr int MaxColumnsOrRows = 1000000;
constexpr double MaxAspect = 100;

// Messages carry names with their own bytes, even where these are not UTF-8.
void WriteMessage(int err, const QString& text) {
    // Nowhere left to say it when this fails.
    platform::WriteAll(err, platform::EncodeFileName(text));
}

void WriteLine(int err, const QString& line) {
    WriteMessage(err, line + QLatin1Char('\n'));
}

// A whole number from 1 to `limit` written in decimal digits alone.
std::optional<int> ParseCount(QStringView text, int limit) {
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value < 1 || value > limit)
        return std::nullopt;
    return int(value);
}

std::optional<QSize> ParseCell(const QString& text) {
    const qsizetype x = text.indexOf(QLatin1Char('x'), 0, Qt::CaseInsensitive);
    if (x < 0)
        return std::nullopt;
    const auto width = ParseCount(QStringView(text).left(x), MaxCellSide);
    const auto height = ParseCount(QStringView(text).mid(x + 1), MaxCellSide);
    if (!width || !height)
        return std::nullopt;
    return QSize(*width, *height);
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

constexpr std::pair<const char*, ArtStyle> StyleNames[] = {
    {"exact", ArtStyle::Exact},   {"tone", ArtStyle::Tone},       {"shape", ArtStyle::Shape},
    {"blocks", ArtStyle::Blocks}, {"braille", ArtStyle::Braille},
};

std::optional<ArtStyle> StyleNamed(const QString& name) {
    for (const auto& [text, style] : StyleNames) {
        if (name == QLatin1String(text))
            return style;
    }
    return std::nullopt;
}

QString StyleName(ArtStyle style) {
    for (const auto& [text, named] : StyleNames) {
        if (named == style)
            return QLatin1String(text);
    }
    return QString();
}

// Fills options, or answers the usage error's text.
QString ParseArguments(const QStringList& args, ToolOptions& options) {
    bool onlyNames = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString arg = args.at(i);
        if (onlyNames || arg == QLatin1String("-") || !arg.startsWith(QLatin1Char('-'))) {
            // Standard input can be read only once.
            if (arg == QLatin1String("-") && options.pictures.contains(arg))
                return ToolText::tr("standard input (-) given more than once");
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
        const auto needsValue = [&] { return ToolText::tr("%1 needs a value").arg(arg); };
        const auto is = [&](const char* name) { return arg == QLatin1String(name); };
        QString text;
        if (is("--help") || is("-h")) {
            options.help = true;
        } else if (is("--version")) {
            options.version = true;
        } else if (is("--html") && flag()) {
            options.html = true;
        } else if (is("--page") && flag()) {
            options.page = true;
        } else if ((is("--reverse") || is("--no-reverse")) && flag()) {
            const bool reverse = is("--reverse");
            if (options.reverse && *options.reverse != reverse)
                return ToolText::tr("--reverse and --no-reverse exclude each other");
            options.reverse = reverse;
        } else if (is("--cell")) {
            if (!value(text))
                return needsValue();
            options.cell = ParseCell(text);
            if (!options.cell)
                return ToolText::tr("cell size must be XxY with X and Y from 1 to %1: %2")
                    .arg(MaxCellSide)
                    .arg(text);
        } else if (is("--width") || is("--height")) {
            if (!value(text))
                return needsValue();
            const std::optional<int> count = ParseCount(text, MaxColumnsOrRows);
            if (!count)
                return ToolText::tr("%1 needs a whole number from 1 to %2: %3")
                    .arg(arg)
                    .arg(MaxColumnsOrRows)
                    .arg(text);
            (is("--width") ? options.columns : options.rows) = *count;
        } else if (is("--aspect")) {
            if (!value(text))
                return needsValue();
            bool ok = false;
            options.aspect = text.toDouble(&ok);
            if (!ok || !(options.aspect > 0 && options.aspect <= MaxAspect))
                return ToolText::tr("--aspect needs a number above 0 and at most %1: %2")
                    .arg(MaxAspect)
                    .arg(text);
        } else if (is("--sample")) {
            if (!value(text))
                return needsValue();
            if (text != QLatin1String("pixel") && text != QLatin1String("mean"))
                return ToolText::tr("--sample must be pixel or mean: %1").arg(text);
            options.sample = text == QLatin1String("mean") ? CellSample::Mean : CellSample::Pixel;
        } else if (is("--brightness")) {
            if (!value(text))
                return needsValue();
            if (text != QLatin1String("max") && text != QLatin1String("luminance"))
                return ToolText::tr("--brightness must be max or luminance: %1").arg(text);
            options.luminance = text == QLatin1String("luminance");
        } else if (is("--color")) {
            // A bare --color asks for colour, as in other tools.
            const QString when = inlineValue.value_or(QStringLiteral("always"));
            if (when == QLatin1String("auto"))
                options.colour = ColourWhen::Auto;
            else if (when == QLatin1String("always"))
                options.colour = ColourWhen::Always;
            else if (when == QLatin1String("never"))
                options.colour = ColourWhen::Never;
            else
                return ToolText::tr("--color must be auto, always or never: %1").arg(when);
        } else if (is("--background")) {
            if (!value(text))
                return needsValue();
            if (text == QLatin1String("auto"))
                options.background = BackgroundWhen::Auto;
            else if (text == QLatin1String("dark"))
                options.background = BackgroundWhen::Dark;
            else if (text == QLatin1String("light"))
                options.background = BackgroundWhen::Light;
            else
                return ToolText::tr("--background must be dark, light or auto: %1").arg(text);
        } else if (is("--color-depth")) {
            if (!value(text))
                return needsValue();
            if (text != QLatin1String("24") && text != QLatin1String("256"))
                return ToolText::tr("--color-depth must be 24 or 256: %1").arg(text);
            options.colourDepth = text.toInt();
        } else if (is("--ramp")) {
            if (!value(text))
                return needsValue();
            if (!platform::IsUsableRamp(text) || !text.isValidUtf16())
                return ToolText::tr("the ramp must hold 1 to %1 characters of UTF-8 and no "
                                    "control characters")
                    .arg(platform::MaxRampCharacters);
            options.ramp = text;
        } else if (is("--select")) {
            if (!value(text))
                return needsValue();
            options.select = ParseSelect(text);
            if (!options.select)
                return ToolText::tr("selection must be L,T,W,H (numbers, W and H not "
                                    "negative): %1")
                    .arg(text);
        } else if (is("-o") || is("--output")) {
            if (!value(options.output) || options.output.isEmpty())
                return ToolText::tr("-o needs a file name");
        } else if (is("-O") || is("--output-folder")) {
            if (!value(options.outputFolder) || options.outputFolder.isEmpty())
                return ToolText::tr("-O needs a folder");
        } else if (is("-j") || is("--jobs")) {
            const std::optional<int> jobs = value(text) ? ParseCount(text, MaxJobs) : std::nullopt;
            if (!jobs)
                return ToolText::tr("-j needs a number from 1 to %1").arg(MaxJobs);
            options.jobs = *jobs;
        } else if (is("--style")) {
            if (!value(text))
                return needsValue();
            const std::optional<ArtStyle> style = StyleNamed(text);
            if (!style)
                return ToolText::tr("--style must be exact, tone, shape, blocks or braille: %1")
                    .arg(text);
            options.style = *style;
            options.styleGiven = true;
        } else if (is("--dither")) {
            if (!value(text))
                return needsValue();
            if (text != QLatin1String("none") && text != QLatin1String("diffusion"))
                return ToolText::tr("--dither must be none or diffusion: %1").arg(text);
            options.dither = text == QLatin1String("diffusion");
        } else if (is("--font")) {
            if (!value(text))
                return needsValue();
            options.font = text;
        } else if (is("--fg-only") && flag()) {
            options.fgOnly = true;
        } else if ((is("--quiet") || is("-q")) && flag()) {
            options.quiet = true;
        } else {
            return ToolText::tr("unknown option: %1").arg(args.at(i));
        }
    }
    if (options.help || options.version)
        return QString();
    if (options.pictures.isEmpty())
        return ToolText::tr("no picture given");
    if (!options.output.isEmpty() && !options.outputFolder.isEmpty())
        return ToolText::tr("-o and -O exclude each other");
    // One file cannot hold several results; each would replace the one before.
    if (!options.output.isEmpty() && options.pictures.size() > 1)
        return ToolText::tr("-o takes one picture; use -O DIR for several");
    if (options.aspect > 0 && options.columns == 0 && options.rows == 0)
        return ToolText::tr("--aspect needs --width or --height");
    // Without --style, the style glyfora converts text in.
    if (!options.styleGiven)
        options.style = StyleFromSetting(
            int(ReadInteger(platform::SettingsStore(), platform::Setting::ConversionStyle)));
    // Blocks and braille draw with their own characters: a ramp would be silently lost.
    if (options.ramp && (options.style == ArtStyle::Blocks || options.style == ArtStyle::Braille))
        return ToolText::tr("--ramp has no meaning with --style %1").arg(StyleName(options.style));
    return QString();
}

// Tone and shape draw with the glyphs of a font.
bool MeasuresGlyphs(ArtStyle style) {
    return style == ArtStyle::Tone || style == ArtStyle::Shape;
}

} // namespace

QString ConvertToolUsage() {
    return ToolText::tr(
        "Usage: glyfora-convert [OPTION]... PICTURE...\n"
        "Turns pictures into character art, or into coloured HTML cells with --html.\n"
        "Cells:\n"
        "  --cell XxY        cell width and height in pixels (from 1 to 1000000)\n"
        "  --width N         cells for at most N columns\n"
        "  --height N        cells for at most N rows; with --width the picture fits both\n"
        "                    (default on a terminal: its columns and its rows less one;\n"
        "                    else the cell glyfora uses)\n"
        "  --aspect R        a cell's height over its width for --width and --height\n"
        "                    (default: the shape of --cell, else 2, or 1 for --html)\n"
        "  --sample pixel    each cell takes its top-left pixel, as glyfora (default)\n"
        "  --sample mean     each cell takes the mean colour of its pixels\n"
        "Characters and colours:\n"
        "  --ramp TEXT       the characters, brightest first, 1 to 64 of them\n"
        "  --reverse         darkest character for the brightest cells\n"
        "  --no-reverse      first character for the brightest cells\n"
        "  --background B    the paper: dark, light or auto (default: a terminal's own,\n"
        "                    asked of it; else light, or dark with colours); on dark the\n"
        "                    ramp runs the other way unless --reverse or --no-reverse\n"
        "  --color[=WHEN]    each character in its cell's colour: auto (default: on a\n"
        "                    terminal unless NO_COLOR is set), always (also --color),\n"
        "                    never\n"
        "  --color-depth D   24 (24-bit colours) or 256 (the 256-colour palette); default\n"
        "                    24 when COLORTERM is truecolor or 24bit, else 256\n"
        "  --html            coloured HTML cells instead of characters; with a style\n"
        "                    other than exact, the art as coloured text\n"
        "  --page            wrap each result in the HTML templates, as an HTML save does\n"
        "Looks:\n"
        "  --style exact     glyfora's own scan, byte for byte (default)\n"
        "  --style tone      the ramp's characters by tone, measured in the font\n"
        "  --style shape     the character whose drawn glyph best matches each cell\n"
        "  --style blocks    block elements, two colours a cell: colour terminals\n"
        "  --style braille   2 x 4 braille dots a cell: fine line drawings\n"
        "                    Styles other than exact sample each cell's area: --width N\n"
        "                    gives exactly N columns, --height N exactly N rows.\n"
        "  --dither D        none, or diffusion (each cell's error carried to the next);\n"
        "                    default diffusion for tone and blocks, else none\n"
        "  --brightness B    exact's brightness: max (the largest of red, green and\n"
        "                    blue) or luminance; default glyfora's setting, else max\n"
        "  --font FAMILY     the font tone and shape measure their characters in\n"
        "                    (default: fontconfig's monospace); one not installed is\n"
        "                    refused\n"
        "  --fg-only         with colour, only the characters' colour, not the cells'\n"
        "Pictures and results:\n"
        "  --select L,T,W,H  convert only this rectangle of each picture, in pixels\n"
        "  -o FILE           write the one picture's result to FILE\n"
        "  -O DIR            write each result to DIR/NAME.txt (NAME.html with --html),\n"
        "                    NAME the picture's name without folder and extension; a name\n"
        "                    already used gets -2, -3, ...\n"
        "  -j N              convert N pictures at once (default: one per processor)\n"
        "  --quiet           no progress line on a terminal\n"
        "  --help            show this text\n"
        "  --version         show the version\n"
        "A PICTURE of - is read from standard input. Without -o and -O the results go to\n"
        "standard output one after another, in the order given. A picture that fails is\n"
        "reported on standard error and the others are still converted (exit status 1);\n"
        "a usage error ends with exit status 2. Options not given take the values\n"
        "glyfora itself would use. Messages are in Japanese under a Japanese locale,\n"
        "else English.\n"
        "Examples:\n"
        "  glyfora-convert photo.jpg\n"
        "  glyfora-convert --width 80 photo.jpg\n"
        "  glyfora-convert --height 40 --sample mean --color=always photo.jpg | less -R\n"
        "  glyfora-convert --cell 8x16 --ramp ' .:-=+*#%@' -o photo.txt photo.jpg\n"
        "  glyfora-convert --style shape --width 100 -o photo.txt photo.jpg\n"
        "  glyfora-convert --style blocks --width 100 --color=always photo.jpg\n"
        "  glyfora-convert --html --page --width 160 -o photo.html photo.jpg\n"
        "  mkdir -p ascii && glyfora-convert --cell 1x2 -O ascii photos/*.jpg\n");
}

bool ConvertToolDrawsGlyphs(const QStringList& args) {
    ToolOptions options;
    return ParseArguments(args, options).isEmpty() && !options.help && !options.version &&
           MeasuresGlyphs(options.style);
}

int RunConvertTool(const QStringList& args, int out, int err) {
    const QString standardOutput = ToolText::tr("standard output");
    // The help and version texts go to standard output, checked like any result.
    const auto print = [&](const QString& text) {
        platform::OutputFile stdoutFile(out);
        if (stdoutFile.Open() && stdoutFile.Write(text.toUtf8()) && stdoutFile.Commit())
            return ToolSuccess;
        WriteLine(err, standardOutput + QStringLiteral(": ") + stdoutFile.ErrorString());
        return ToolFailure;
    };
    ToolOptions options;
    const auto usageError = [&](const QString& problem) {
        WriteLine(err, ToolName + QStringLiteral(": ") + problem);
        WriteLine(err, ToolText::tr("Try '%1 --help' for more information.").arg(ToolName));
        if (out >= 0)
            ::close(out);
        return ToolUsageError;
    };
    if (const QString problem = ParseArguments(args, options); !problem.isEmpty())
        return usageError(problem);
    if (options.help)
        return print(ConvertToolUsage());
    if (options.version)
        return print(ToolName + QStringLiteral(" " GLYFORA_VERSION "\n"));

    // glyfora's own settings; its defaults when there is no usable settings file. The
    // run's changes stay in its own copy, which the scans are given.
    LoadConversionSettings(platform::SettingsStore());
    ConversionSettingsRecord cs = ConversionSettings;
    if (options.reverse)
        cs.Reverse = *options.reverse;
    if (options.luminance)
        cs.Luminance = *options.luminance;
    if (options.ramp)
        cs.Charactor = *options.ramp;

    PictureOptions picture;
    picture.html = options.html;
    picture.select = options.select;
    picture.cell.cell = options.cell.value_or(QSize(cs.X, cs.Y));
    picture.cell.cellGiven = options.cell.has_value();
    picture.cell.columns = options.columns;
    picture.cell.rows = options.rows;
    picture.cell.aspect = options.aspect;
    picture.sample = options.sample;
    picture.look.style = options.style;
    // The mosaic's cells are square on the page.
    if (options.html && picture.look.style == ArtStyle::Exact)
        picture.cell.usualAspect = 1;
    // Tone and blocks diffuse their error by default: they have few tones (blocks drawn
    // in colour have two colours a cell and no error to carry). Tone follows glyfora's
    // setting, as glyfora converts.
    picture.look.dither = options.dither.value_or((options.style == ArtStyle::Tone && cs.Dither) ||
                                                  options.style == ArtStyle::Blocks);
    picture.look.fgOnly = options.fgOnly;
    if (MeasuresGlyphs(options.style)) {
        // Measured once, on a thread of their own while the first picture decodes; every
        // picture of the run shares the measures. Tone takes the ramp's characters; shape
        // the ramp's when one is given, or when glyfora's stored ramp is one of a person's
        // own, as glyfora does. Without a free thread they are measured when first needed.
        const QString family = options.font.value_or(QString());
        const QStringList characters = options.ramp
                                           ? ArtCharacters(options.style, cs.Charactor)
                                           : ProgramCharacters(options.style, cs.Charactor);
        {
            // The measuring thread takes no signal: one that ends the process while the
            // terminal is asked for its colour must reach the thread that restores it.
            const platform::HeldSignals held;
            picture.glyphs = std::async(std::launch::async | std::launch::deferred, [=] {
                                 const std::optional<QFont> font = ArtFont(family);
                                 return font ? MeasureGlyphs(*font, characters)
                                             : std::shared_ptr<const GlyphMeasures>();
                             }).share();
        }
        // A family that is not installed is refused before any picture is read: another
        // family's glyphs would quietly give other art. fontconfig's "monospace" always
        // answers.
        if (options.font && !picture.glyphs.get())
            return usageError(
                ToolText::tr("no font family named %1 is installed (fc-list lists them)")
                    .arg(*options.font));
        picture.look.font = family;
    }
    // Each picture's cells are sampled before the scan, which then takes them one by one.
    cs.X = 1;
    cs.Y = 1;
    // Text art shown on a terminal, rather than kept in a file or a page.
    const bool artOnTerminal = !options.html && !options.page && options.output.isEmpty() &&
                               options.outputFolder.isEmpty() && ::isatty(out) == 1;
    if (options.page) {
        picture.opening = TemplateLine(options.html ? cs.BeforeHTML : cs.Before);
        picture.closing = TemplateLine(options.html ? cs.AfterHTML : cs.After);
        picture.textOnPage = !options.html;
    } else if (!options.html) {
        picture.colour = ChooseColour(options.colour, options.colourDepth, artOnTerminal);
    }
    picture.look.paper =
        ChoosePaper(options.background, artOnTerminal, picture.colour != ColourDepth::None, out);
    // The stored direction is the person's look on light paper: on dark paper the ramp
    // runs the other way, unless its direction was given. For tone and shape a reversed
    // look is light drawn on dark, as glyfora draws it: given, it names the paper.
    const bool dark = picture.look.paper == ArtPaper::Dark;
    if (picture.look.style == ArtStyle::Exact) {
        if (dark && !options.reverse)
            cs.Reverse = !cs.Reverse;
    } else if (MeasuresGlyphs(picture.look.style)) {
        if (options.reverse)
            picture.look.paper = *options.reverse ? ArtPaper::Dark : ArtPaper::Light;
        else if (cs.Reverse)
            picture.look.paper = dark ? ArtPaper::Light : ArtPaper::Dark;
    }
    picture.scan = cs;
    // With no size given, the art fits the terminal and leaves a line for the prompt.
    const std::optional<TerminalGrid> grid =
        artOnTerminal && !options.cell && options.columns == 0 && options.rows == 0
            ? TerminalGridOf(out)
            : std::nullopt;
    if (grid) {
        picture.cell.columns = grid->columns;
        picture.cell.rows = std::max(1, grid->rows - 1);
        picture.cell.box = true;
        if (grid->cellAspect > 0 && grid->cellAspect <= MaxAspect)
            picture.cell.aspect = grid->cellAspect;
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
    const PictureOutcome outcome =
        named && PictureFiles({path}).Find(options.output) == 0
            ? PictureOutcome{false, true, ReplacesPictureText({path}, 0, 0)}
            : ConvertPicture(path, picture, output);
    if (outcome.ok)
        return ToolSuccess;
    const QString culprit =
        outcome.outputFailed
            ? (named ? platform::ShownFileName(options.output) : standardOutput)
            : (path == QLatin1String("-") ? StandardInputName() : platform::ShownFileName(path));
    WriteLine(err, culprit + QStringLiteral(": ") + outcome.reason);
    return ToolFailure;
}

} // namespace mGlyfora

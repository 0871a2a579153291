// One picture of glyfora-convert from its file to its result: load, cut, scan and write,
// with the reason when any step fails. Safe to run on several threads at once.
#pragma once

#include "cli/CellSize.h"
#include "cli/TerminalColour.h"
#include "convert/ArtEngine.h"
#include "convert/CellSampling.h"
#include "convert/ConversionSettings.h"
#include "imageops/SelectionRect.h"

#include <QByteArray>
#include <QString>
#include <future>
#include <optional>
#include <utility>

namespace platform {
class OutputFile;
}

namespace mGlyfora {

struct PictureOptions {
    bool html = false;
    std::optional<SelectionRect> select;
    CellRequest cell; // chosen for each picture's region
    CellSample sample = CellSample::Pixel;
    ColourDepth colour = ColourDepth::None; // text results only
    QByteArray opening;                     // the page's opening template line, or nothing
    QByteArray closing;                     // the page's closing template line, or nothing
    // A text result on a page: "<" written as "&lt;", as the program's HTML save writes it.
    bool textOnPage = false;
    LookOptions look; // the style and the paper it is drawn for
    // Tone and shape: the font's glyphs, measured once for the run (perhaps still being
    // measured) and shared.
    std::shared_future<std::shared_ptr<const GlyphMeasures>> glyphs;
    // Exact: the scan's ramp, its direction and brightness, at cells of 1 x 1.
    ConversionSettingsRecord scan;
};

// Where a result goes. Open is called only once the picture has loaded, so a picture
// that cannot be read leaves the output untouched; Commit only when all of it was made.
class ResultOutput {
public:
    virtual ~ResultOutput() = default;
    virtual bool Open() = 0;
    virtual bool Write(const char* data, qsizetype size) = 0;
    virtual bool Commit() = 0;
    virtual QString ErrorString() const = 0;
};

// An output file (or standard output) written as OutputFile writes it.
class FileOutput : public ResultOutput {
public:
    explicit FileOutput(platform::OutputFile& file) : file_(file) {}
    bool Open() override;
    bool Write(const char* data, qsizetype size) override;
    bool Commit() override;
    QString ErrorString() const override;

private:
    platform::OutputFile& file_;
};

// The result kept in memory, until its turn comes on standard output.
class MemoryOutput : public ResultOutput {
public:
    bool Open() override { return true; }
    bool Write(const char* data, qsizetype size) override;
    bool Commit() override { return true; }
    QString ErrorString() const override { return error_; }
    QByteArray Take() { return std::exchange(bytes_, QByteArray()); }

private:
    QByteArray bytes_;
    QString error_;
};

struct PictureOutcome {
    bool ok = true;
    bool outputFailed = false; // the output refused, rather than the picture
    QString reason;            // for the person, when not ok
};

// Converts the picture at `path` (a name as DecodeFileName gives it; "-" for standard
// input) into `output`. Exact: the cells are sampled first and scanned one pixel each, so
// the scan's cell size must be 1 x 1. Other looks: the picture is decoded no larger than
// they need, where its format allows.
PictureOutcome ConvertPicture(const QString& path, const PictureOptions& options,
                              ResultOutput& output);

} // namespace mGlyfora

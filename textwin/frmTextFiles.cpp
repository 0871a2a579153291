// Conversion window: opening and saving text and RTF files, and printing the text.
#include "platform/Dialogs.h"
#include "platform/ErrorText.h"
#include "platform/Paths.h"
#include "platform/TerminationRequest.h"
#include "platform/mGlyfora.h"
#include "textwin/RtfReader.h"
#include "textwin/RtfWriter.h"
#include "textwin/TextFile.h"
#include "textwin/frmText.h"
#include "textwin/frmTextTexts.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <new>

using namespace frmTextTexts;

namespace {
// Print dialog: no selection-only, no page-range and no print-to-file choice asked for;
// the Qt dialog keeps print-to-file all the same (see DisablePrintToFile).
constexpr unsigned PrintDialogFlags = platform::PrintFlags::NoSelection |
                                      platform::PrintFlags::NoPageNums |
                                      platform::PrintFlags::DisablePrintToFile;

platform::FileDialogRequest FileRequest(const QString& title, const QString& folder,
                                        unsigned flags) {
    platform::FileDialogRequest request;
    request.DialogTitle = title;
    request.InitDir = folder;
    request.Filter = FileFilter;
    request.FilterIndex = 1;
    request.Flags = flags;
    return request;
}

TextFileType FileTypeOf(int filterIndex) {
    return filterIndex == 1 ? TextFileType::Plain : TextFileType::Rtf;
}

// The part of `line` that can reach into a page `width` wide: what lies past the right
// edge would be cut anyway, and a conversion line is far longer than a page.
QString VisiblePart(const QString& line, const QFontMetricsF& metrics, qreal width) {
    // A few characters to spare for kerning and overhangs.
    const qreal limit = width + 4 * metrics.maxWidth();
    qreal advance = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        advance += metrics.horizontalAdvance(line.at(i));
        if (advance > limit)
            return line.left(i + 1);
    }
    return line;
}

// Prints `copies` times, one new page between copies, lines from the top-left of the
// printable area and onto new pages past the bottom. Empty answer on success, and when
// a termination request ended the print between pages: then a print to a file leaves no
// file of part of the text (a print server gets the pages made so far, since Qt's
// engines cannot take a job back).
QString PrintCopies(QPrinter& printer, const QFont& font, const QString& text, int copies) {
    QPainter painter;
    if (!painter.begin(&printer))
        return PrintFailed;
    painter.setFont(font);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    bool abandoned = false;
    // A long print (many copies of a photo's text are thousands of pages) ends between
    // pages when the program is told to end.
    const auto nextPage = [&] {
        abandoned = platform::TerminationRequested();
        return !abandoned && printer.newPage();
    };
    for (int copy = 1; copy <= copies; ++copy) {
        if (copy > 1 && !nextPage())
            break;
        qreal baseline = metrics.ascent();
        bool pageHasLines = false;
        for (const QString& line : lines) {
            if (pageHasLines && baseline + metrics.descent() > page.height()) {
                if (!nextPage())
                    break;
                baseline = metrics.ascent();
            }
            painter.drawText(QPointF(0, baseline), VisiblePart(line, metrics, page.width()));
            pageHasLines = true;
            baseline += metrics.lineSpacing();
        }
        if (abandoned)
            break;
    }
    const bool ended = painter.end();
    if (abandoned) {
        if (!printer.outputFileName().isEmpty())
            QFile::remove(printer.outputFileName());
        return {};
    }
    if (!ended || printer.printerState() == QPrinter::Error)
        return PrintFailed;
    return {};
}
} // namespace

void frmText::mnuFileOpen_Click() {
    const auto chosen = dialogs_.ShowOpen(
        this, FileRequest(OpenTitle, mGlyfora::OpenDirectory,
                          platform::FileFlags::FileMustExist | platform::FileFlags::HideReadOnly));
    if (!chosen)
        return;
    mGlyfora::OpenDirectory = platform::FolderOfPath(chosen->FileName);
    QString error;
    if (!LoadTextFile(chosen->FileName, FileTypeOf(chosen->FilterIndex), &error) &&
        !error.isEmpty())
        ShowError(error);
}

void frmText::mnuSaveAs_Click() {
    const auto chosen = dialogs_.ShowSave(
        this, FileRequest(SaveTitle, mGlyfora::SaveDirectory,
                          platform::FileFlags::OverwritePrompt | platform::FileFlags::HideReadOnly |
                              platform::FileFlags::PathMustExist));
    if (!chosen)
        return;
    mGlyfora::SaveDirectory = platform::FolderOfPath(chosen->FileName);
    QString error;
    if (!SaveTextFile(chosen->FileName, FileTypeOf(chosen->FilterIndex), &error))
        ShowError(error);
}

bool frmText::LoadTextFile(const QString& fileName, TextFileType fileType, QString* error) {
    const std::optional<QByteArray> bytes = mGlyfora::ReadWholeFile(fileName, error);
    if (!bytes)
        return false;
    ViewStatus status;
    try {
        if (fileType == TextFileType::Plain) {
            status = rtfView->SetText(mGlyfora::DecodeTextFile(*bytes));
        } else {
            // Read straight into the view's next document; a termination request ends a
            // long read.
            const mGlyfora::RtfLimits limits{MaxViewText, MaxViewLines,
                                             [] { return platform::TerminationRequested(); }};
            mGlyfora::RtfResult read = mGlyfora::RtfResult::Read;
            status = rtfView->SetContent([&](QTextDocument& doc) {
                read = mGlyfora::ReadRtf(*bytes, doc, error, limits);
                return read == mGlyfora::RtfResult::Read;
            });
            if (read == mGlyfora::RtfResult::TooLong)
                status = ViewStatus::TooLong;
        }
    } catch (const std::bad_alloc&) {
        status = ViewStatus::TooLong; // too large for memory is too large for the view
    }
    if (status == ViewStatus::TooLong)
        platform::Failed(error, TooLarge);
    return status == ViewStatus::Shown;
}

bool frmText::SaveTextFile(const QString& fileName, TextFileType fileType, QString* error) {
    const QByteArray bytes = fileType == TextFileType::Plain
                                 ? mGlyfora::EncodeTextFile(rtfView->Text())
                                 : mGlyfora::WriteRtf(*rtfView->document());
    return mGlyfora::SaveFileBytes(fileName, bytes, error);
}

void frmText::mnuPrint_Click() {
    QPrinter printer(QPrinter::HighResolution);
    const auto chosen =
        dialogs_.ShowPrinter(this, printer, platform::PrintDialogRequest{PrintDialogFlags, 1});
    if (!chosen)
        return;
    // The copies are made here, one pass each: the printer itself makes one, so that a
    // print server never multiplies them.
    printer.setCopyCount(1);
    // Printed in the view's face, size, bold, italic and underline only: a printout takes
    // these five, never strikethrough or colours.
    platform::FontRecord printed = platform::FontRecord::From(rtfView->BaseFont());
    printed.Strikethrough = false;
    const QFont font = printed.ToQFont();
    if (chosen->Copies <= 0)
        return;
    const QString error = PrintCopies(printer, font, rtfView->Text(), chosen->Copies);
    if (!error.isEmpty())
        ShowError(error);
}

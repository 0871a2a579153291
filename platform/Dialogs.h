// The one door through which the program asks the person something or hands work to
// the desktop. The Qt implementation shows real dialogs; tests install a scripted one
// that answers from a queue and records every question.
#pragma once

#include "platform/Colour.h"
#include "platform/FontRecord.h"

#include <QString>
#include <functional>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

namespace platform {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class MsgAnswer { OK, Cancel, Yes, No };

struct MessageRequest {
    QString text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::OK;
    int defaultButton = 0; // 0 = first button, 1 = second, 2 = third
};

// Flags of the file dialogs, with the values the program's callers pass.
namespace FileFlags {
inline constexpr unsigned OverwritePrompt = 0x2; // save: ask before replacing a file
inline constexpr unsigned HideReadOnly = 0x4;    // no read-only box (Qt never shows one)
inline constexpr unsigned PathMustExist = 0x800;
inline constexpr unsigned FileMustExist = 0x1000; // open: only existing files
} // namespace FileFlags

// A file dialog as the program describes it. Filter is "label|patterns|label|patterns"
// with patterns separated by ";"; FilterIndex is 1-based.
struct FileDialogRequest {
    QString DialogTitle;
    QString InitDir;
    QString FileName; // name proposed in the dialog
    QString Filter;
    int FilterIndex = 1;
    unsigned Flags = 0;
    QString DefaultExt; // appended to a name typed without an extension
};

struct FileDialogResult {
    QString FileName;  // absolute path of the chosen file
    QString FileTitle; // the name without its folder
    int FilterIndex = 1;
};

// Flags of the font dialog.
namespace FontFlags {
inline constexpr unsigned ScreenFonts = 0x1;
inline constexpr unsigned Effects = 0x100; // underline, strikethrough and the colour choice
inline constexpr unsigned ForceFontExist = 0x10000;
} // namespace FontFlags

// A font with the effects and the text colour the font dialog offers.
struct FontChoice {
    FontRecord Font;
    Colour Color = 0; // plain colour, or a system colour number on the way in
};

struct FontDialogRequest {
    FontChoice Start; // what the dialog starts with
    unsigned Flags = 0;
};

// Flags of the colour dialog.
namespace ColorFlags {
inline constexpr unsigned RgbInit = 0x1; // start on Color
}

struct ColorDialogRequest {
    Colour Color = 0; // plain colour or a system colour number
    unsigned Flags = 0;
};

// Flags of the print dialog.
namespace PrintFlags {
inline constexpr unsigned NoSelection = 0x4; // no "selection only" choice
inline constexpr unsigned NoPageNums = 0x8;  // no page-range choice
// Asked for, but not applied by the Qt dialog: on Linux printing to a file is the PDF
// printer, and without a print server the only printer there is.
inline constexpr unsigned DisablePrintToFile = 0x80000;
} // namespace PrintFlags

struct PrintDialogRequest {
    unsigned Flags = 0;
    int Copies = 1; // copies proposed
};

struct PrintDialogResult {
    int Copies = 1; // copies chosen; the printer passed in is set up as chosen
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal message box titled with the application's title.
    virtual MsgAnswer MsgBox(QWidget* parent, const MessageRequest& request) = 0;
    // nullopt when the person cancels.
    virtual std::optional<FileDialogResult> ShowOpen(QWidget* parent,
                                                     const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogResult> ShowSave(QWidget* parent,
                                                     const FileDialogRequest& request) = 0;
    // Font with effects and text colour; nullopt when cancelled. The colour returned is
    // always a plain colour.
    virtual std::optional<FontChoice> ShowFont(QWidget* parent,
                                               const FontDialogRequest& request) = 0;
    // A plain colour; nullopt when cancelled.
    virtual std::optional<Colour> ShowColor(QWidget* parent, const ColorDialogRequest& request) = 0;
    // Sets up `printer` as the person chooses; nullopt when cancelled.
    virtual std::optional<PrintDialogResult> ShowPrinter(QWidget* parent, QPrinter& printer,
                                                         const PrintDialogRequest& request) = 0;
    // Runs a dialog modally; returns its result code (QDialog::Accepted or Rejected).
    virtual int ShowModal(QDialog& dialog) = 0;
    // Opens a file with the desktop's default application, never waiting for it; false when
    // it could not be started. A failure known only later (the launcher gives up) calls
    // `failedLater` when it arrives.
    virtual bool OpenWithDefaultApp(const QString& path, const QString& workingFolder,
                                    std::function<void()> failedLater = {}) = 0;

    // Short form for a message with an OK button.
    void Message(QWidget* parent, const QString& text, MsgIcon icon) {
        MsgBox(parent, MessageRequest{text, icon, MsgButtons::OK, 0});
    }
};

} // namespace platform

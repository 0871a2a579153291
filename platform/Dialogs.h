// The one door through which the program asks the person something or hands work to
// the desktop. The Qt implementation shows real dialogs; tests install a scripted one
// that answers from a queue and records every question.
#pragma once

#include <QString>
#include <optional>

class QDialog;
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

// A file dialog as the program describes it. The filter is "label|patterns|label|patterns"
// with patterns separated by ";"; filterIndex is 1-based.
struct FileDialogRequest {
    QString title;
    QString initDir;
    QString fileName;
    QString filter;
    int filterIndex = 1;
    unsigned flags = 0;
    QString defaultExt;
};

struct FileDialogResult {
    QString fileName;  // absolute path of the chosen file
    QString fileTitle; // the name without its folder
    int filterIndex = 1;
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
    // Runs a dialog modally; returns its result code (QDialog::Accepted or Rejected).
    virtual int ShowModal(QDialog& dialog) = 0;
    // Opens a file with the desktop's default application; false when that failed.
    virtual bool OpenWithDefaultApp(const QString& path, const QString& workingFolder) = 0;

    // Short form for a message with an OK button.
    void Message(QWidget* parent, const QString& text, MsgIcon icon) {
        MsgBox(parent, MessageRequest{text, icon, MsgButtons::OK, 0});
    }
};

} // namespace platform

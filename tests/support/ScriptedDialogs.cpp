// Scripted dialog answers for tests.
#include "tests/support/ScriptedDialogs.h"

#include <QDialog>
#include <QFileInfo>
#include <QPrinter>

namespace testsupport {

using namespace platform;

MsgAnswer ScriptedDialogs::MsgBox(QWidget*, const MessageRequest& request) {
    messages << request;
    if (onMessage)
        onMessage(request);
    if (!messageAnswers.isEmpty())
        return messageAnswers.takeFirst();
    static const QList<MsgAnswer> okCancel = {MsgAnswer::OK, MsgAnswer::Cancel};
    static const QList<MsgAnswer> yesNoCancel = {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel};
    switch (request.buttons) {
    case MsgButtons::OK:
        return MsgAnswer::OK;
    case MsgButtons::OKCancel:
        return okCancel.value(request.defaultButton, MsgAnswer::OK);
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return yesNoCancel.value(request.defaultButton, MsgAnswer::Yes);
    }
    return MsgAnswer::OK;
}

std::optional<FileDialogResult> ScriptedDialogs::NextFile() {
    return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.takeFirst();
}

std::optional<FileDialogResult> ScriptedDialogs::ShowOpen(QWidget*,
                                                          const FileDialogRequest& request) {
    openRequests << request;
    return NextFile();
}

std::optional<FileDialogResult> ScriptedDialogs::ShowSave(QWidget*,
                                                          const FileDialogRequest& request) {
    saveRequests << request;
    return NextFile();
}

std::optional<FontChoice> ScriptedDialogs::ShowFont(QWidget*, const FontDialogRequest& request) {
    fontRequests << request;
    return fontAnswers.isEmpty() ? std::nullopt : fontAnswers.takeFirst();
}

std::optional<Colour> ScriptedDialogs::ShowColor(QWidget*, const ColorDialogRequest& request) {
    colorRequests << request;
    return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.takeFirst();
}

std::optional<PrintDialogResult> ScriptedDialogs::ShowPrinter(QWidget*, QPrinter& printer,
                                                              const PrintDialogRequest& request) {
    printRequests << request;
    std::optional<PrintDialogResult> answer =
        printAnswers.isEmpty() ? std::nullopt : printAnswers.takeFirst();
    if (answer) {
        if (!printToFile.isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printToFile);
        }
        printer.setCopyCount(answer->Copies);
    }
    return answer;
}

int ScriptedDialogs::ShowModal(QDialog& dialog) {
    return modal ? modal(dialog) : int(QDialog::Rejected);
}

bool ScriptedDialogs::OpenWithDefaultApp(const QString& path, const QString& workingFolder,
                                         std::function<void()> failedLater) {
    openedFiles << path;
    openFolders << workingFolder;
    if (openSucceeds && openFailsLater && failedLater)
        failedLater();
    return openSucceeds;
}

FileDialogResult ScriptedDialogs::Chosen(const QString& path, int filterIndex) {
    return FileDialogResult{path, QFileInfo(path).fileName(), filterIndex};
}

} // namespace testsupport

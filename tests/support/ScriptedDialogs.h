// A dialog service for tests: answers from queues that the test fills, records every
// question, and never shows a window.
#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace testsupport {

class ScriptedDialogs : public platform::Dialogs {
public:
    platform::MsgAnswer MsgBox(QWidget* parent, const platform::MessageRequest& request) override;
    std::optional<platform::FileDialogResult>
    ShowOpen(QWidget* parent, const platform::FileDialogRequest& request) override;
    std::optional<platform::FileDialogResult>
    ShowSave(QWidget* parent, const platform::FileDialogRequest& request) override;
    std::optional<platform::FontChoice>
    ShowFont(QWidget* parent, const platform::FontDialogRequest& request) override;
    std::optional<Colour> ShowColor(QWidget* parent,
                                    const platform::ColorDialogRequest& request) override;
    std::optional<platform::PrintDialogResult>
    ShowPrinter(QWidget* parent, QPrinter& printer,
                const platform::PrintDialogRequest& request) override;
    int ShowModal(QDialog& dialog) override;
    bool OpenWithDefaultApp(const QString& path, const QString& workingFolder,
                            std::function<void()> failedLater) override;

    // Answers, taken in order; when a queue is empty a message box answers with its
    // default button and every other dialog is cancelled.
    QList<platform::MsgAnswer> messageAnswers;
    QList<std::optional<platform::FileDialogResult>> fileAnswers;
    QList<std::optional<platform::FontChoice>> fontAnswers;
    QList<std::optional<Colour>> colorAnswers;
    QList<std::optional<platform::PrintDialogResult>> printAnswers;
    // Called as each message box is asked, before it answers.
    std::function<void(const platform::MessageRequest&)> onMessage;
    // A confirmed print dialog sends the printer's output to this PDF file.
    QString printToFile;
    // Runs a modal dialog in place of exec(); by default the dialog is rejected.
    std::function<int(QDialog&)> modal;
    bool openSucceeds = true;
    // The launcher starts but then reports a failure (no application for the file).
    bool openFailsLater = false;
    QStringList openFolders;

    // What was asked.
    QList<platform::MessageRequest> messages;
    QList<platform::FileDialogRequest> openRequests;
    QList<platform::FileDialogRequest> saveRequests;
    QList<platform::FontDialogRequest> fontRequests;
    QList<platform::ColorDialogRequest> colorRequests;
    QList<platform::PrintDialogRequest> printRequests;
    QStringList openedFiles;

    // A file-dialog answer for an absolute path.
    static platform::FileDialogResult Chosen(const QString& path, int filterIndex = 1);

private:
    std::optional<platform::FileDialogResult> NextFile();
};

} // namespace testsupport

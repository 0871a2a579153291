// Saving a result as an HTML page and opening it in the browser.
#include "convert/HtmlOutput.h"

#include "convert/ConversionSettings.h"
#include "convert/HtmlOutputTexts.h"
#include "convert/HtmlPage.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"
#include "platform/OutputFile.h"
#include "platform/Paths.h"
#include "platform/mGlyfora.h"

#include <QPointer>
#include <QWidget>

namespace mGlyfora {

namespace {

// The flags of the save dialog: ask before replacing, no read-only box, the folder must exist.
constexpr unsigned SaveFlags = platform::FileFlags::OverwritePrompt |
                               platform::FileFlags::HideReadOnly |
                               platform::FileFlags::PathMustExist;

void SaveAsHTML(QWidget* parent, platform::Dialogs& dialogs, const QString& before,
                const PageBody& body, const QString& after) {
    platform::FileDialogRequest request;
    request.DialogTitle = HtmlOutputTexts::SaveTitle;
    request.InitDir = SaveDirectory;
    request.FileName = ImageBaseName + QStringLiteral(".html");
    request.Filter = HtmlOutputTexts::Filter;
    request.FilterIndex = 1;
    request.Flags = SaveFlags;
    const auto chosen = dialogs.ShowSave(parent, request);
    if (!chosen)
        return;
    const QString path = chosen->FileName;
    SaveDirectory = platform::FolderOfPath(path);

    // A page is a person's work: on disk before it replaces an earlier file.
    platform::OutputFile file(path, platform::OutputFile::Durability::Synced);
    QString why;
    BodyStatus status = BodyStatus::Failed;
    if (file.Open() && file.Write(TemplateLine(before)))
        status = body(file, &why);
    if (status == BodyStatus::Cancelled)
        return;
    if (status != BodyStatus::Written || !file.Write(TemplateLine(after)) || !file.Commit()) {
        dialogs.Message(parent,
                        HtmlOutputTexts::NotSaved + u'\n' + platform::ShownFileName(path) +
                            QStringLiteral(": ") + (why.isEmpty() ? file.ErrorString() : why),
                        platform::MsgIcon::Critical);
        return;
    }

    // A launcher that gives up later reports it when it does: over the window while it is
    // still there, else without a parent.
    QPointer<QWidget> owner(parent);
    const auto failed = [&dialogs, owner] {
        dialogs.Message(owner, HtmlOutputTexts::BrowserFailed, platform::MsgIcon::Critical);
    };
    if (!dialogs.OpenWithDefaultApp(path, SaveDirectory, failed))
        failed();
}

} // namespace

void SaveTextAsHTML(QWidget* parent, platform::Dialogs& dialogs, const QString& text) {
    const ConversionSettingsRecord& settings = ConversionSettings;
    const auto body = [&text](platform::OutputFile& page, QString*) {
        return WriteUtf8(page, TextForPage(text)) && page.Write("\r\n", 2) ? BodyStatus::Written
                                                                           : BodyStatus::Failed;
    };
    SaveAsHTML(parent, dialogs, settings.Before, body, settings.After);
}

void SaveColorAsHTML(QWidget* parent, platform::Dialogs& dialogs, const PageBody& body) {
    const ConversionSettingsRecord& settings = ConversionSettings;
    SaveAsHTML(parent, dialogs, settings.BeforeHTML, body, settings.AfterHTML);
}

} // namespace mGlyfora

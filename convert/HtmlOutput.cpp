// Saving a result as an HTML page and opening it in the browser.
#include "convert/HtmlOutput.h"

#include "convert/ConversionSettings.h"
#include "convert/HtmlOutputTexts.h"
#include "convert/HtmlPage.h"
#include "platform/Dialogs.h"
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
                const QString& body, const QString& after) {
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
    if (!file.Open() || !WriteHtmlPage(file, before, body, after) || !file.Commit()) {
        dialogs.Message(parent,
                        HtmlOutputTexts::NotSaved + u'\n' + path + QStringLiteral(": ") +
                            file.ErrorString(),
                        platform::MsgIcon::Critical);
        return;
    }

    // A launcher that gives up later reports it when it does, if the window is still there.
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
    SaveAsHTML(parent, dialogs, settings.Before, TextForPage(text), settings.After);
}

void SaveColorAsHTML(QWidget* parent, platform::Dialogs& dialogs, const QString& html) {
    const ConversionSettingsRecord& settings = ConversionSettings;
    SaveAsHTML(parent, dialogs, settings.BeforeHTML, html, settings.AfterHTML);
}

} // namespace mGlyfora

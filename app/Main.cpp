// Start-up of the program.
#include "app/Main.h"

#include "app/Settings.h"
#include "app/frmMain.h"
#include "app/mGlyfora.h"
#include "convert/ConversionState.h"
#include "convert/IntermediateFile.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

// The application icon lives in a resource of the static UI library; naming it here keeps
// the linker from dropping it. (Resources are registered outside any namespace.)
static void InitApplicationResources() {
    Q_INIT_RESOURCE(glyfora);
}

namespace mGlyfora {

void PrepareApplication(QApplication& app) {
    InitApplicationResources();
    // Every window, dialogs included, carries the program's icon.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/glyfora/glyfora.svg")));
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);

    // The names the program stores and shows stand for fixed-pitch fonts with Japanese glyphs.
    const QStringList fixedPitch = {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                                    QStringLiteral("Noto Sans Mono CJK JP"),
                                    QStringLiteral("DejaVu Sans Mono"),
                                    QStringLiteral("Monospace")};
    QFont::insertSubstitutions(QStringLiteral("Terminal"), fixedPitch);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), fixedPitch);
}

std::unique_ptr<frmMain> Main(platform::Dialogs& dialogs, platform::SettingsStore& store,
                              const QString& commandLinePath) {
    const QString folder = platform::ProgramFolder();
    HelpFilePath = folder + (folder.endsWith(u'/') ? QString() : QStringLiteral("/")) +
                   QStringLiteral("glyfora.hlp");
    LoadSettings(store);
    // A result left by a copy of the program that was killed; one that a running copy
    // is writing stays.
    IntermediateFile::RemoveUnused(IntermediateFilePath());
    auto form = std::make_unique<frmMain>(dialogs, store);
    form->Form_Load(commandLinePath);
    form->show();
    return form;
}

} // namespace mGlyfora

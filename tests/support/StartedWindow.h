// A main window started as the program starts it (settings loaded, Form_Load run), with
// scripted dialogs, for the tests of the main window.
#pragma once

#include "app/Settings.h"
#include "app/frmMain.h"
#include "platform/SettingsStore.h"
#include "tests/support/ScriptedDialogs.h"

#include <memory>

namespace testsupport {

struct StartedWindow {
    ScriptedDialogs dialogs;
    platform::SettingsStore store;
    std::unique_ptr<frmMain> form;

    explicit StartedWindow(const QString& commandLine = QString()) {
        mGlyfora::LoadSettings(store);
        form = std::make_unique<frmMain>(dialogs, store);
        form->Form_Load(commandLine);
    }
    void Unload() {
        form->Form_Unload();
        form.reset();
    }
    bool Shown() const { return form->picView->isVisibleTo(form.get()); }
};

} // namespace testsupport

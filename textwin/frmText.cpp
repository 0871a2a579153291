// Conversion window: construction, the stored settings, the life cycle
// (a person's close hides, File > Close and the main window's unload end it).
#include "textwin/frmText.h"

#include "platform/Dialogs.h"
#include "platform/FrameFit.h"
#include "platform/SettingsStore.h"
#include "platform/TerminationRequest.h"
#include "textwin/TextWindowSettings.h"
#include "textwin/frmTextTexts.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>

using namespace frmTextTexts;

namespace {
// Design client area in twips (below the menu bar; the toolbar is inside it).
constexpr double DesignClientWidthTwips = 8280;
constexpr double DesignClientHeightTwips = 4830;
} // namespace

frmText::frmText(platform::Dialogs& dialogs, platform::SettingsStore& store)
    : QMainWindow(nullptr), dialogs_(dialogs), store_(store) {
    setObjectName(QStringLiteral("frmText"));
    setWindowTitle(Caption);
    setContextMenuPolicy(Qt::NoContextMenu);
    rtfView = new ConversionView(this);
    rtfView->setObjectName(QStringLiteral("rtfView"));
    setCentralWidget(rtfView);
    rtfView->installEventFilter(this);
    BuildMenus();
    Form_Load();
}

frmText::~frmText() = default;

void frmText::Form_Load() {
    LoadWindowSettings();
    SetupToolbar();
    // The toolbar's Cut, Copy and Paste follow the clipboard and the selection as they
    // change, whether the window is shown or not.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &frmText::tmrText_Timer);
    connect(rtfView, &QPlainTextEdit::copyAvailable, this, &frmText::tmrText_Timer);
    connect(rtfView, &QPlainTextEdit::selectionChanged, this, &frmText::tmrText_Timer);
    tmrText_Timer();
}

void frmText::mnuClose_Click() {
    Q_EMIT UnloadRequested();
}

void frmText::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    SaveWindowSettings();
    // The toolbar stops following the clipboard and the selection.
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
    disconnect(rtfView, nullptr, this, nullptr);
    closing_ = true;
}

void frmText::closeEvent(QCloseEvent* event) {
    // A logout (the session saving its state) or a termination signal closes for good,
    // so that it never waits on this window; the main window's unload then stores the
    // settings.
    if (closing_ || platform::TerminationRequested() || qGuiApp->isSavingSession()) {
        event->accept();
        return;
    }
    event->ignore();
    hide();
}

void frmText::LoadWindowSettings() {
    const mGlyfora::TextWindowSettings s = mGlyfora::LoadTextWindowSettings(store_);
    resize(platform::DesignSize(*this, DesignClientWidthTwips, DesignClientHeightTwips));
    platform::RestoreGeometry(*this, s.Geometry, frameFit_,
                              platform::DefaultEdges::CentredWithin16Bits);

    rtfView->SetBaseFont(s.Font.ToQFont());
    rtfView->SetBackColor(s.BackColor);
    rtfView->SetSelColor(s.ForeColor);
}

void frmText::SaveWindowSettings() {
    mGlyfora::TextWindowSettings s;
    s.Geometry = platform::CaptureGeometry(*this);
    s.Font = platform::FontRecord::From(rtfView->BaseFont());
    s.BackColor = rtfView->BackColor();
    // With colours mixed in the selection, the colour it starts with goes on.
    s.ForeColor = rtfView->SelColor().value_or(rtfView->LeadColor());
    mGlyfora::SaveTextWindowSettings(store_, s);
}

void frmText::ShowError(const QString& message) {
    dialogs_.Message(this, message, platform::MsgIcon::Critical);
}

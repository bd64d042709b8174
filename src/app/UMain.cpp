// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UMain.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QScreen>
#include <cstdio>

#include "app/Application.h"
#include "app/FormAccessibility.h"
#include "app/FormPictures.h"
#include "app/StatusBarPanels.h"
#include "app/WindowOpacity.h"
#include "hotkey/GlobalHotKey.h"
#include "monitor/CpuPercent.h"
#include "monitor/CpuUsage.h"
#include "monitor/FreeMemoryReading.h"
#include "monitor/NamedColors.h"
#include "monitor/TextTrayIcon.h"
#include "recovery/RamRecovery.h"
#include "recovery/RecoveryAmounts.h"
#include "sysinfo/CpuClockMeasure.h"
#include "sysinfo/CpuIdent.h"
#include "settings/AppRegistry.h"
#include "settings/MemoryTweaks.h"
#include "widgets/Timer.h"

namespace {

const QString kTitle = QStringLiteral("Mnemora XP");
constexpr int kBalloonSeconds = 10;

}  // namespace

TfMainMem::TfMainMem(const TFormServices& services, QWidget* parent)
    : QMainWindow(parent),
      Os(services.windows),
      cpuUsage_(services.cpuUsage),
      cpuFallback_(services.perfData, services.clock),
      clock_(services.clock),
      version_(services.version),
      system_(services.systemInfo),
      processor_(services.processor),
      registry_(services.registry),
      downloader_(services.downloader),
      shell_(services.shell)
{
    ui.setupUi(this);
    menus.SetupMenus(ui, this);
    FormPictures::Load(ui);
    FormAccessibility::NameControls(ui, this);
    new TStatusBarPanels(ui.StatusBar, {ui.StatusPanel0, ui.StatusPanel1}, ui.StatusPanel2);
    // A layout file sizes only the first column of a list; the second is as fixed as the first.
    ui.ListView1->header()->resizeSection(1, 200);
    // A fixed-size window with the system menu and a minimise button, no maximise, placed in the
    // centre of the desktop.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    if (const QScreen* desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());

    RamRecovery1 = new TRamRecovery(services.memory, services.events, this);
    TrayIcon1 = new TTextTrayIcon(services.tray, this);
    TrayIcon1->SetPopupMenu(menus.PopupMenu1);
    TrayIcon1->SetMinimizeToTray(true);
    TrayIcon1->SetText(QStringLiteral("0"));
    TrayIcon1->SetColor(clLime);
    TrayIcon1->SetFontColor(clBlack);
    TrayIcon1->SetBorder(true);
    TrayIcon1->SetBorderColor(clSilver);
    TrayIcon1->Options().SetOffsetX(1);
    TrayIcon1->Options().SetOffsetY(1);
    // The icon is not put in the tray before FormCreate: it would take it out again at once, and
    // the tray would dock a first icon window there and a second one when the window goes to the
    // tray. It docks once, when the start-up hides the window (Timer4).
    ui.HotKey1->KeyOfScanCode = [&hotKeys = services.hotKeys](std::uint32_t scanCode) { return hotKeys.KeyOf(scanCode); };
    GlobalHotKey1 = new TGlobalHotKey(
        services.hotKeys, [](const std::exception& error) { TApplication::ShowError(QString::fromLocal8Bit(error.what())); },
        this);
    Timer1 = new TTimer(this, 1000, false);
    Timer2 = new TTimer(this, 1000, false);
    Timer3 = new TTimer(this, 30000, false);
    Timer4 = new TTimer(this, 500, false);
    Timer5 = new TTimer(this, 1000, false);
    settingsControls_ = std::make_unique<TFormSettingsControls>(ui, *Timer5);
    tweakControls_ = std::make_unique<TFormTweakControls>(ui);
    CpuIdent1 = std::make_unique<TCpuIdent>(processor_, system_.ProcessorType());
    CpuIdent1->Loaded();
    CpuClock1 = new TCpuClockMeasure(clock_, processor_, this);
    LoadLogos();
    CreateNewsFeed();

    BindHandlers();
    // An error in a step ends the sequence there; the window is still created and shown.
    TApplication::RunGuarded([this] {
        FormCreate();
        return true;
    });
}

TfMainMem::~TfMainMem()
{
    // The window is going and the event loop with it: a save that fails can only be told on
    // standard error.
    try {
        FormDestroy();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Mnemora XP: %s\n", error.what());
    }
}

// ---- start-up, activation and end -----------------------------------------------------------

void TfMainMem::FormCreate()
{
    loadAverage_ = TLoadAverage();
    AppRegistry = std::make_unique<TAppRegistry>(registry_);
    ui.Label2->setText(ui.Label2->text() + QLatin1String(kVersion) + QLatin1Char(' ') + QLatin1String(kDateText));
    TrayIcon1->SetIconVisible(false);
    setWindowTitle(kTitle);
    ui.Normale1->setChecked(true);
    // Opacity and balloons came with Windows 2000; every Linux desktop Qt runs on has them.
    if (Os.OsIsWinXP || Os.OsIsWin2000 || !Os.OsIsWindows) {
        ui.TrackBar2->setEnabled(true);
        ui.cbxballoon->setEnabled(true);
    }
    ShowSystemLogo();
    ShowVendorLogo();
    ui.Memoire->setCurrentIndex(0);
    InstalledMb = InstalledMegabytes(RamRecovery1->TotalMemory());
    if (TMemoryTweaks::KernelPagingOffered(OsIsNtFamily(), InstalledMb))
        ui.Cbxnoyau->setEnabled(true);
    GetInfoSystem();
    ui.StatusPanel1->SetText(QStringLiteral(" 100 %"));
    ui.TrackBar1->setRange(0, static_cast<int>(InstalledMb));
    ui.TrackBar1->setValue(SystemMethodMegabytes(InstalledMb));
    LoadSettings();
    ApplyStayOnTop();
    setWindowOpacity(WindowOpacity(ui.TrackBar2->value()));
    GetCpuInfo();
    run_.Finish();
    ui.BitBtn3->setEnabled(false);
    ui.PerfChart1->Init();
    ui.PerfChart1->setVisible(true);
    ui.PerfChart1->SetPlotColor(clLime);
    Timer1->SetEnabled(true);
    Timer2->SetEnabled(true);
    Timer3->SetEnabled(true);
    Timer4->SetEnabled(true);
    HotKey1Change();
    ui.StatusPanel0->SetText(ui.RadioGroup2->ItemIndex() == 0 ? QStringLiteral(" 0 %") : QStringLiteral(" 0 MB"));
    ui.StatusPanel2->SetText(QStringLiteral(" "));
}

void TfMainMem::FormActivate()
{
    ApplyStayOnTop();
}

void TfMainMem::FormDestroy()
{
    cpuUsage_.StopCpuStatistic();
    SaveSettings();
}

void TfMainMem::Timer4Timer()
{
    Timer4->SetEnabled(false);
    TrayIcon1->SetIconVisible(true);
    // With no notification area the window is the only way back to the program: it stays. So it
    // does when the user started the program to see it.
    if (TrayIcon1->TrayAvailable() && !KeepWindowAtStart)
        hide();
}

void TfMainMem::BringBack()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    ui.Memoire->setCurrentIndex(0);
    TrayIcon1->SetIconVisible(true);
    show();
    raise();
    activateWindow();
}

void TfMainMem::TrayIcon1HostGone()
{
    // The tray went away (a panel quit or restarting): a window hidden in it could be reached only
    // by a second start. It comes back, as when no tray was there at start; the icon returns with
    // the next tray.
    if (!isVisible() && !Timer4->Enabled())
        BringBack();
}

void TfMainMem::WMUser()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    activateWindow();
    show();
    TrayIcon1->SetIconVisible(true);
    raise();
}

void TfMainMem::exit_appli()
{
    TrayIcon1->SetIconVisible(false);
    RamRecovery1->CancelDefrag();
    CancelKernelRun();
    ReleaseNewsFeed();
    // The destroy handling (and its save) comes before the window closes: once the quit is under
    // way no message box can open, and a failed save would go untold, as it would not from
    // "&Enregistrer".
    TApplication::RunGuarded([this] {
        FormDestroy();
        return true;
    });
    hide();
    close();
    QCoreApplication::quit();
}

bool TfMainMem::WMQueryEndSession()
{
    ReleaseNewsFeed();
    return true;
}

void TfMainMem::WMEndSession()
{
    // A system that is ending the session (or this program) must not wait for a run that keeps
    // taking memory: the run stops at its next test, as on the quit command.
    RamRecovery1->CancelDefrag();
    CancelKernelRun();
    // The session is going whatever happens here: a save that fails is told on standard error
    // rather than in a message box nobody will answer, and the window still closes.
    try {
        SaveSettings();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Mnemora XP: %s\n", error.what());
    }
    close();
}

void TfMainMem::closeEvent(QCloseEvent* event)
{
    // Closing the main window ends the program; a run in progress still goes to its end first,
    // because the engine keeps the quit request for the main loop.
    event->accept();
    QCoreApplication::quit();
}

void TfMainMem::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TfMainMem::PopBalloon(const QString& text)
{
    TrayIcon1->PopBalloon(kTitle, text, platform::BalloonIcon::Information, kBalloonSeconds);
}

// ---- live monitor ---------------------------------------------------------------------------

void TfMainMem::Timer1Timer()
{
    const TFreeMemoryReading reading = TFreeMemoryReading::Of(RamRecovery1->FreeMemory(), RamRecovery1->TotalMemory());
    FreeBytes = reading.freeBytes;
    TrayIcon1->SetHint(reading.Hint(InstalledMb));
    FreePercent = reading.freePercent;
    ui.PerfChart1->Plot(static_cast<std::int32_t>(FreePercent), static_cast<std::int32_t>(CpuPercent),
                        ui.SpinEdit1->Value());
    ui.Gauge1->setValue(static_cast<int>(FreePercent));
    if (FreeBytes != ShownFreeBytes) {
        ShownFreeBytes = FreeBytes;
        TrayIcon1->SetColor(reading.TrayColour());
        const int displayMode = ui.RadioGroup2->ItemIndex();
        ui.StatusPanel0->SetText(reading.PanelText(displayMode));
        TrayIcon1->SetText(reading.TrayText(displayMode));
    }
    ui.Label31->setText(reading.LabelText());
}

void TfMainMem::Timer2Timer()
{
    CpuPercent = MeasureCpuPercent(cpuUsage_, cpuFallback_);
    GetMemoryTweaks();
    ui.Gauge2->setValue(static_cast<int>(CpuPercent));
    ui.StatusPanel1->SetText(LoadPanelText(CpuPercent));
    ui.Gauge3->setValue(static_cast<int>(loadAverage_.Add(CpuPercent)));
}

void TfMainMem::SetRefreshSpeed(int intervalMs, QAction* checkedItem)
{
    Timer1->SetInterval(intervalMs);
    Timer2->SetInterval(intervalMs);
    for (QAction* item : {ui.Basse1, ui.Normale1, ui.Haute1})
        item->setChecked(item == checkedItem);
}

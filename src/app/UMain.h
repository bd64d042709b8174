// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QMainWindow>
#include <cstdint>
#include <memory>

#include "app/FormMenus.h"
#include "app/FormSettingsControls.h"
#include "app/FormTweakControls.h"
#include "monitor/CpuFallback.h"
#include "monitor/LoadAverage.h"
#include "settings/TweakWatch.h"
#include "platform/Platform.h"
#include "platform/Version.h"
#include "recovery/RunReport.h"
#include "sysinfo/OsVersion.h"
#include "ui_UMain.h"

class TAppRegistry;
class TCpuClockMeasure;
class TCpuIdent;
class TCpuUsage;
class TGlobalHotKey;
class TKernelRecovery;
class TLabelMouse;
class TNewsFeed;
class TRamRecovery;
class TTextTrayIcon;
class TTimer;

// What the main window takes from the system: the Linux realisations in the program, fakes in
// the tests.
struct TFormServices {
    platform::IMemory& memory;
    platform::IEventQueue& events;
    platform::ITrayHost& tray;
    platform::IHotKeyGrabber& hotKeys;
    TCpuUsage& cpuUsage;  // set up before the window exists, stopped when it goes
    platform::IPerfDataRegistry& perfData;
    platform::ITickClock& clock;
    platform::IVersionInfo& version;
    platform::ISystemInfo& systemInfo;
    platform::IProcessor& processor;
    TWindowsVersion windows;  // identified before the window exists
    platform::IRegistry& registry;  // the hives the settings and the tuning values live in
    platform::IDownloader& downloader;
    platform::IShellOpener& shell;
};

// The main window: six pages and a status bar, living in the tray. It owns every component and
// holds the program's readings and run state; its handlers are named after control and event.
class TfMainMem : public QMainWindow {
public:
    static constexpr const char* kVersion = platform::kProgramVersion;
    static constexpr const char* kDateText = "du 07/02/2003.";

    explicit TfMainMem(const TFormServices& services, QWidget* parent = nullptr);
    ~TfMainMem() override;

    // Recovery by the kernel, asked by "mnemora-xp --recover --kernel" (UMainKernelRun.cpp): the
    // same run in the window (status texts, gauge, balloons, cancel), sized by the chosen method;
    // a plain run where the kernel cannot be asked, said in the status bar's tooltip.
    void SetKernelReclaim(platform::IKernelReclaim& kernel, platform::IEventQueue& events);
    void RecupRamByKernel();

    // The controls of UMain.ui that the handlers use, page by page:
    // - "Système": Gauge1 / Label31 free memory in % and MB, Gauge2 / Gauge3 load and average
    //   load, PerfChart1 the history chart (its menu PopupMenu2: Basse1, Normale1, Haute1 set the
    //   refresh speed), BitBtn1 starts a run, BitBtn3 cancels it, Button4 quits.
    // - "Réglages": RadioButton1..3 the run's method (Système, Manuel, Tout), TrackBar1 / Label4
    //   the MB of a Manuel run; CheckBox3 / SpinEdit1 the alarm trigger and its level in % free,
    //   CheckBox5 / SpinEdit2 the interval trigger and its minutes, SpinEdit3 the processor ceiling
    //   of both; CbCache, cbxCacheNiveau2, RGLargeSystemCache, Cbxnoyau, cbxSwap the memory tweaks.
    // - "Paramètres": CheckBox1 start with the session, CheckBox2 stay on top, HotKey1 the global
    //   hot key, TrackBar2 opacity, cbxballoon balloons, RadioGroup2 the tray shows % or MB,
    //   Button2 saves the settings.
    // - "Informations": Button3 refreshes the page. About: Label2 the version, Label32 the web
    //   site, Label11 the mail link, Button1 the news.
    // - StatusPanel0 free memory, StatusPanel1 load, StatusPanel2 a run's progress and gain.
    // - The tray menu PopupMenu1: Open1, RecoverRam1 (a run), Cancel1, Exit1.
    Ui::TfMainMem ui;
    TFormMenus menus;
    TRamRecovery* RamRecovery1 = nullptr;  // the recovery engine
    TKernelRecovery* KernelRecovery1 = nullptr;  // made by SetKernelReclaim: none in the window's own runs
    TTextTrayIcon* TrayIcon1 = nullptr;    // the tray icon: free memory as text on a coloured square
    TGlobalHotKey* GlobalHotKey1 = nullptr;  // starts a run from any program
    TNewsFeed* NewsFeed1 = nullptr;  // released at the quit command and at the session's end
    TTimer* Timer1 = nullptr;  // the free-memory reading, every second (500 ms to 2 s by PopupMenu2)
    TTimer* Timer2 = nullptr;  // the processor-load reading, at Timer1's pace
    TTimer* Timer3 = nullptr;  // the alarm trigger's check, every 30 s
    TTimer* Timer4 = nullptr;  // once, 500 ms after start-up: into the tray
    TTimer* Timer5 = nullptr;  // the interval trigger, every SpinEdit2 minutes while CheckBox5 is ticked
    std::unique_ptr<TCpuIdent> CpuIdent1;  // the processor's identification for its page
    TCpuClockMeasure* CpuClock1 = nullptr;  // the information page's processor clock, measured on a timer
    const TWindowsVersion Os;
    std::unique_ptr<TAppRegistry> AppRegistry;  // made by FormCreate, used by the settings and tuning code

    // Started by "mnemora-xp --show": Timer4 puts the icon in the tray but leaves the window shown.
    bool KeepWindowAtStart = false;

    // The current or last run as the window tells it: RecoveryRunning, the free memory before
    // and after.
    const TRunReport& RunReport() const { return run_; }

    // Start-up, activation and end.
    void FormCreate();
    void FormActivate();
    void FormDestroy();
    void Timer4Timer();
    void TrayIcon1DblClick() { BringBack(); }
    void Open1Click() { BringBack(); }
    void TrayIcon1BalloonHintClick() { BringBack(); }
    void TrayIcon1HostGone();
    void WMUser();
    void Exit1Click() { exit_appli(); }
    void Button4Click() { exit_appli(); }
    void exit_appli();
    bool WMQueryEndSession();
    void WMEndSession();

    // Settings, the start with the session and the memory tweaks.
    bool LoadSettings();
    void SaveSettings();
    void Button2Click() { SaveSettings(); }
    void CheckBox1Click();
    void CbCacheChange();
    void cbxCacheNiveau2Click();
    void RGLargeSystemCacheClick();
    void CbxnoyauClick();
    void cbxSwapClick();
    void GetMemoryTweaks();

    // The information and processor pages.
    void GetInfoSystem();
    void Button3Click() { GetInfoSystem(); }
    void GetCpuInfo();
    void AddFeature2(const QString& code, const QString& description, bool supported);

    // Recovery runs.
    void RecupRam();
    void AnnulRam();
    void RamRecovery1BeforeDefrag();
    void RamRecovery1Progress(int progress);
    void RamRecovery1AfterDefrag();
    void RadioButtonClick();
    void TrackBar1Change();

    // Live monitor.
    void Timer1Timer();
    void Timer2Timer();
    void Basse1Click() { SetRefreshSpeed(2000, ui.Basse1); }
    void Moyen1Click() { SetRefreshSpeed(1000, ui.Normale1); }
    void Haute1Click() { SetRefreshSpeed(500, ui.Haute1); }

    // Automatic recovery.
    void Timer3Timer();
    void Timer5Timer();
    void CheckBox5Click();
    void SpinEdit2Change();
    void SpinEdit1Change();

    // Conveniences.
    void CheckBox2Click() { ApplyStayOnTop(); }
    void TrackBar2Change();
    void HotKey1Change();
    void GlobalHotKey1KeyDown() { RecupRam(); }
    void Label32Click();
    void Label32MouseEnter() { HighlightLink(ui.Label32, true); }
    void Label32MouseLeave() { HighlightLink(ui.Label32, false); }
    void Label11Click();
    void Label11MouseEnter() { HighlightLink(ui.Label11, true); }
    void Label11MouseLeave() { HighlightLink(ui.Label11, false); }
    void Button1Click();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BindHandlers();
    void BringBack();
    void ApplyStayOnTop();
    void PopBalloon(const QString& text);
    void SetRunControls(bool running);
    void SetRefreshSpeed(int intervalMs, QAction* checkedItem);
    void LoadLogos();
    void ShowSystemLogo();
    void ShowVendorLogo();
    void CreateNewsFeed();
    void ReleaseNewsFeed();
    void HighlightLink(QLabel* label, bool highlighted);
    void CancelKernelRun();

    bool OsIsNtFamily() const;

    std::int64_t InstalledMb = 0;
    TRunReport run_;  // RecoveryRunning and the free memory before and after a run

    // Live readings, refreshed by Timer1 and Timer2 and read by the automatic triggers.
    std::int64_t FreeBytes = 0;
    std::int64_t FreePercent = 0;
    std::int64_t ShownFreeBytes = 0;
    std::int64_t CpuPercent = 0;
    TLoadAverage loadAverage_;

    // Cache sizes in KB, settled by the processor page at start.
    int CacheL1Code = 0;
    int CacheL1Data = 0;
    int CacheLevel1 = 0;
    std::int32_t CacheLevel2 = 0;

    TCpuUsage& cpuUsage_;
    TCpuFallback cpuFallback_;
    platform::ITickClock& clock_;
    platform::IVersionInfo& version_;
    platform::ISystemInfo& system_;
    platform::IProcessor& processor_;
    platform::IRegistry& registry_;
    platform::IDownloader& downloader_;
    platform::IShellOpener& shell_;
    platform::IKernelReclaim* kernel_ = nullptr;
    std::unique_ptr<TFormSettingsControls> settingsControls_;
    std::unique_ptr<TFormTweakControls> tweakControls_;
    TTweakWatch tweakWatch_;
};

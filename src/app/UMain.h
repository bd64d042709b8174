// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QMainWindow>
#include <cstdint>
#include <memory>

#include "app/FormMenus.h"
#include "app/FormSettingsControls.h"
#include "app/FormTweakControls.h"
#include "monitor/CpuFallback.h"
#include "settings/TweakWatch.h"
#include "platform/Platform.h"
#include "platform/Version.h"
#include "sysinfo/OsVersion.h"
#include "ui_UMain.h"

class TAppRegistry;
class TCpuClockMeasure;
class TCpuIdent;
class TCpuUsage;
class TGlobalHotKey;
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

    Ui::TfMainMem ui;
    TFormMenus menus;
    TRamRecovery* RamRecovery1 = nullptr;
    TTextTrayIcon* TrayIcon1 = nullptr;
    TGlobalHotKey* GlobalHotKey1 = nullptr;
    TNewsFeed* NewsFeed1 = nullptr;  // released at the quit command and at the session's end
    TTimer* Timer1 = nullptr;
    TTimer* Timer2 = nullptr;
    TTimer* Timer3 = nullptr;
    TTimer* Timer4 = nullptr;
    TTimer* Timer5 = nullptr;
    std::unique_ptr<TCpuIdent> CpuIdent1;
    TCpuClockMeasure* CpuClock1 = nullptr;  // the information page's processor clock, measured on a timer
    const TWindowsVersion Os;
    std::unique_ptr<TAppRegistry> AppRegistry;  // made by FormCreate, used by the settings and tuning code

    std::int64_t InstalledMb = 0;
    bool RecoveryRunning = false;
    std::int64_t FreeBeforeRecovery = 0;
    std::int64_t FreeAfterRecovery = 0;

    // Live readings, refreshed by Timer1 and Timer2 and read by the automatic triggers.
    std::int64_t FreeBytes = 0;
    std::int64_t FreePercent = 0;
    std::int64_t ShownFreeBytes = 0;
    std::int64_t CpuPercent = 0;
    double CpuFractionSum = 0;
    std::int64_t CpuSampleCount = 0;

    // Cache sizes in KB, settled by the processor page at start.
    int CacheL1Code = 0;
    int CacheL1Data = 0;
    int CacheLevel1 = 0;
    std::int32_t CacheLevel2 = 0;

    // Start-up, activation and end.
    void FormCreate();
    void FormActivate();
    void FormDestroy();
    void Timer4Timer();
    void TrayIcon1DblClick() { BringBack(); }
    void Open1Click() { BringBack(); }
    void TrayIcon1BalloonHintClick() { BringBack(); }
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

    bool OsIsNtFamily() const;

    TCpuUsage& cpuUsage_;
    TCpuFallback cpuFallback_;
    platform::ITickClock& clock_;
    platform::IVersionInfo& version_;
    platform::ISystemInfo& system_;
    platform::IProcessor& processor_;
    platform::IRegistry& registry_;
    platform::IDownloader& downloader_;
    platform::IShellOpener& shell_;
    std::unique_ptr<TFormSettingsControls> settingsControls_;
    std::unique_ptr<TFormTweakControls> tweakControls_;
    TTweakWatch tweakWatch_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UMain.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QScreen>
#include <QWindow>
#include <cstdio>

#include "app/Application.h"
#include "app/AuthorLinks.h"
#include "app/FormAccessibility.h"
#include "app/FormPictures.h"
#include "app/LabelMouse.h"
#include "app/Timer.h"
#include "hotkey/GlobalHotKey.h"
#include "hotkey/ShortCut.h"
#include "monitor/CpuPercent.h"
#include "monitor/CpuUsage.h"
#include "monitor/NamedColors.h"
#include "monitor/TextTrayIcon.h"
#include "news/NewsFeed.h"
#include "recovery/RamRecovery.h"
#include "recovery/RecoveryAmounts.h"
#include "sysinfo/CpuClockMeasure.h"
#include "sysinfo/CpuIdent.h"
#include "settings/AppRegistry.h"
#include "settings/MemoryTweaks.h"
#include "settings/RunKey.h"
#include "settings/SettingsStore.h"

namespace {

const QString kTitle = QStringLiteral("Mnemora XP");
constexpr int kBalloonSeconds = 10;
const QString kHotKeyInactiveHint =
    QStringLiteral("Ce raccourci n'est pas actif sur ce bureau : associez la commande « mnemora-xp --recover » "
                   "à une touche dans les raccourcis clavier du bureau.");

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
    // Loaded visible, the icon shows as soon as the window exists; FormCreate hides it again.
    TrayIcon1->SetIconVisible(true);
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

void TfMainMem::BindHandlers()
{
    RamRecovery1->OnBeforeDefrag = [this](QObject*) { RamRecovery1BeforeDefrag(); };
    RamRecovery1->OnProgress = [this](QObject*, int progress) { RamRecovery1Progress(progress); };
    RamRecovery1->OnAfterDefrag = [this](QObject*) { RamRecovery1AfterDefrag(); };
    TrayIcon1->OnDblClick = [this](QObject*) { TrayIcon1DblClick(); };
    TrayIcon1->OnBalloonHintClick = [this](QObject*) { TrayIcon1BalloonHintClick(); };
    GlobalHotKey1->OnKeyDown = [this](QObject*, std::uint16_t, Qt::KeyboardModifiers) { GlobalHotKey1KeyDown(); };
    Timer1->OnTimer = [this](QObject*) { Timer1Timer(); };
    Timer2->OnTimer = [this](QObject*) { Timer2Timer(); };
    Timer3->OnTimer = [this](QObject*) { Timer3Timer(); };
    Timer4->OnTimer = [this](QObject*) { Timer4Timer(); };
    Timer5->OnTimer = [this](QObject*) { Timer5Timer(); };

    connect(ui.BitBtn1, &QPushButton::clicked, this, &TfMainMem::RecupRam);
    connect(ui.RecoverRam1, &QAction::triggered, this, &TfMainMem::RecupRam);
    connect(ui.BitBtn3, &QPushButton::clicked, this, &TfMainMem::AnnulRam);
    connect(ui.Cancel1, &QAction::triggered, this, &TfMainMem::AnnulRam);
    connect(ui.Open1, &QAction::triggered, this, &TfMainMem::Open1Click);
    connect(ui.Exit1, &QAction::triggered, this, &TfMainMem::Exit1Click);
    connect(ui.Button4, &QPushButton::clicked, this, &TfMainMem::Button4Click);
    connect(ui.Button1, &QPushButton::clicked, this, &TfMainMem::Button1Click);
    auto* webLink = new TLabelMouse(ui.Label32);
    webLink->OnMouseEnter = [this] { Label32MouseEnter(); };
    webLink->OnMouseLeave = [this] { Label32MouseLeave(); };
    webLink->OnClick = [this] { Label32Click(); };
    auto* mailLink = new TLabelMouse(ui.Label11);
    mailLink->OnMouseEnter = [this] { Label11MouseEnter(); };
    mailLink->OnMouseLeave = [this] { Label11MouseLeave(); };
    mailLink->OnClick = [this] { Label11Click(); };
    for (QRadioButton* method : {ui.RadioButton1, ui.RadioButton2, ui.RadioButton3}) {
        connect(method, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                RadioButtonClick();
        });
    }
    connect(ui.TrackBar1, &QSlider::valueChanged, this, &TfMainMem::TrackBar1Change);
    connect(ui.CheckBox2, &QCheckBox::toggled, this, &TfMainMem::CheckBox2Click);
    connect(ui.TrackBar2, &QSlider::valueChanged, this, &TfMainMem::TrackBar2Change);
    connect(ui.HotKey1, &QKeySequenceEdit::keySequenceChanged, this, &TfMainMem::HotKey1Change);
    connect(ui.Basse1, &QAction::triggered, this, &TfMainMem::Basse1Click);
    connect(ui.Normale1, &QAction::triggered, this, &TfMainMem::Moyen1Click);
    connect(ui.Haute1, &QAction::triggered, this, &TfMainMem::Haute1Click);
    connect(ui.CheckBox5, &QCheckBox::toggled, this, &TfMainMem::CheckBox5Click);
    connect(ui.SpinEdit2, &QSpinBox::valueChanged, this, &TfMainMem::SpinEdit2Change);
    connect(ui.SpinEdit1, &QSpinBox::valueChanged, this, &TfMainMem::SpinEdit1Change);
    connect(ui.Button2, &QPushButton::clicked, this, &TfMainMem::Button2Click);
    connect(ui.CheckBox1, &QCheckBox::toggled, this, &TfMainMem::CheckBox1Click);
    connect(ui.CbCache, &QComboBox::activated, this, &TfMainMem::CbCacheChange);
    connect(ui.CbCache->lineEdit(), &QLineEdit::textEdited, this, &TfMainMem::CbCacheChange);
    connect(ui.cbxCacheNiveau2, &QCheckBox::toggled, this, &TfMainMem::cbxCacheNiveau2Click);
    connect(ui.RGLargeSystemCache->Buttons(), &QButtonGroup::idClicked, this, &TfMainMem::RGLargeSystemCacheClick);
    connect(ui.Cbxnoyau, &QCheckBox::toggled, this, &TfMainMem::CbxnoyauClick);
    connect(ui.cbxSwap, &QCheckBox::toggled, this, &TfMainMem::cbxSwapClick);
    connect(ui.Button3, &QPushButton::clicked, this, &TfMainMem::Button3Click);
}

// ---- start-up, activation and end -----------------------------------------------------------

void TfMainMem::FormCreate()
{
    CpuSampleCount = 1;
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
    setWindowOpacity(ui.TrackBar2->value() / 255.0);
    GetCpuInfo();
    RecoveryRunning = false;
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
    // With no notification area the window is the only way back to the program: it stays.
    if (TrayIcon1->TrayAvailable())
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
    ReleaseNewsFeed();
    hide();
    close();
    FormDestroy();
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
    // The session is going whatever happens here: a save that fails is told on standard error
    // rather than in a message box nobody will answer, and the window still closes.
    try {
        SaveSettings();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Mnemora XP: %s\n", error.what());
    }
    close();
}

// ---- settings, start with the session, memory tweaks ----------------------------------------

bool TfMainMem::LoadSettings()
{
    return TSettingsStore(*AppRegistry, *settingsControls_, QCoreApplication::applicationFilePath()).LoadSettings();
}

void TfMainMem::SaveSettings()
{
    TSettingsStore(*AppRegistry, *settingsControls_, QCoreApplication::applicationFilePath()).SaveSettings();
}

void TfMainMem::CheckBox1Click()
{
    if (ui.CheckBox1->isChecked())
        AddToRunKey(*AppRegistry, QCoreApplication::applicationFilePath());
    else
        RemoveFromRunKey(*AppRegistry);
}

void TfMainMem::CbCacheChange()
{
    TMemoryTweaks(*AppRegistry, *tweakControls_).WriteCacheSize();
}

void TfMainMem::cbxCacheNiveau2Click()
{
    TMemoryTweaks(*AppRegistry, *tweakControls_).WriteSecondLevelCache(CacheLevel2);
}

void TfMainMem::RGLargeSystemCacheClick()
{
    TMemoryTweaks(*AppRegistry, *tweakControls_).WriteLargeSystemCache();
}

void TfMainMem::CbxnoyauClick()
{
    TMemoryTweaks(*AppRegistry, *tweakControls_).WriteKernelPaging();
}

void TfMainMem::cbxSwapClick()
{
    TMemoryTweaks(*AppRegistry, *tweakControls_).WriteClearSwap();
}

void TfMainMem::GetMemoryTweaks()
{
    // Every tick, but the key is read only when it (or what the controls show) may have changed.
    if (!tweakWatch_.NeedsRefresh(*AppRegistry, *tweakControls_))
        return;
    TMemoryTweaks(*AppRegistry, *tweakControls_).Refresh(CacheLevel2, OsIsNtFamily());
    tweakWatch_.Refreshed(*AppRegistry, *tweakControls_);
}

bool TfMainMem::OsIsNtFamily() const
{
    return Os.OsIsWinXP || Os.OsIsWin2000 || Os.OsIsWinNT;
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

// ---- recovery runs --------------------------------------------------------------------------

void TfMainMem::SetRunControls(bool running)
{
    ui.BitBtn3->setEnabled(running);
    ui.BitBtn1->setEnabled(!running);
    ui.RecoverRam1->setEnabled(!running);
    ui.Cancel1->setEnabled(running);
}

void TfMainMem::RecupRam()
{
    SetRunControls(true);
    if (RecoveryRunning)
        return;
    // Each test is made after the previous run has returned: a method chosen during a run that is
    // tested later starts a second run.
    if (ui.RadioButton1->isChecked())
        RamRecovery1->Defrag(SystemMethodMegabytes(InstalledMb));
    if (ui.RadioButton2->isChecked())
        RamRecovery1->Defrag(ui.TrackBar1->value());
    if (ui.RadioButton3->isChecked())
        RamRecovery1->DefragAll();
}

void TfMainMem::AnnulRam()
{
    SetRunControls(false);
    RamRecovery1->CancelDefrag();
}

void TfMainMem::PopBalloon(const QString& text)
{
    TrayIcon1->PopBalloon(kTitle, text, platform::BalloonIcon::Information, kBalloonSeconds);
}

void TfMainMem::RamRecovery1BeforeDefrag()
{
    RecoveryRunning = true;
    if (ui.cbxballoon->isChecked())
        PopBalloon(QStringLiteral("Optimisation en cours ..."));
    FreeBeforeRecovery = RamRecovery1->FreeMemory();
    ui.StatusPanel2->SetText(QStringLiteral(" optimisation en cours ... %"));
    ui.BitBtn1->setEnabled(false);
    ui.BitBtn3->setEnabled(true);
    ui.Gauge1->SetTransparentPicture(true);
}

void TfMainMem::RamRecovery1Progress(int progress)
{
    ui.StatusPanel2->SetPosition(progress);
    ui.StatusPanel2->SetText(QStringLiteral(" optimisation en cours ...%1 %").arg(progress));
}

void TfMainMem::RamRecovery1AfterDefrag()
{
    ui.BitBtn3->setEnabled(false);
    ui.BitBtn1->setEnabled(true);
    FreeAfterRecovery = RamRecovery1->FreeMemory();
    const std::int64_t gained = GainMegabytes(FreeBeforeRecovery, FreeAfterRecovery);
    ui.StatusPanel2->SetText(QStringLiteral(" Quantité récupérée : %1 MB").arg(gained));
    if (ui.cbxballoon->isChecked())
        PopBalloon(QStringLiteral("Optimisation terminée!\n\rQuantitée récupérée : %1 MB.").arg(gained));
    ui.RecoverRam1->setEnabled(true);
    ui.Cancel1->setEnabled(false);
    RecoveryRunning = false;
}

void TfMainMem::RadioButtonClick()
{
    ui.TrackBar1->setEnabled(ui.RadioButton2->isChecked());
}

void TfMainMem::TrackBar1Change()
{
    const int position = ui.TrackBar1->value();
    ui.TrackBar1->setToolTip(QString::number(position));
    ui.Label4->setText(QStringLiteral("%1 MB").arg(position));
}

// ---- live monitor ---------------------------------------------------------------------------

void TfMainMem::Timer1Timer()
{
    FreeBytes = RamRecovery1->FreeMemory();
    const std::int64_t freeMb = RoundHalfEven(static_cast<double>(FreeBytes) / 1024 / 1024);
    const QString mbText = QString::number(freeMb).left(5);
    TrayIcon1->SetHint(QStringLiteral("RAM Libre : ") + mbText + QStringLiteral(" MB") + QStringLiteral(" sur ") +
                       QString::number(InstalledMb) + QStringLiteral(" MB") + QStringLiteral(" RAM Installée"));
    // A system that reports no total memory reads as 0 % free rather than dividing by zero.
    const std::int64_t total = RamRecovery1->TotalMemory();
    FreePercent = total > 0 ? RoundHalfEven(static_cast<double>(FreeBytes) / static_cast<double>(total) * 100) : 0;
    ui.PerfChart1->Plot(static_cast<std::int32_t>(FreePercent), static_cast<std::int32_t>(CpuPercent),
                        ui.SpinEdit1->Value());
    ui.Gauge1->setValue(static_cast<int>(FreePercent));
    if (FreeBytes != ShownFreeBytes) {
        ShownFreeBytes = FreeBytes;
        TrayIcon1->SetColor(FreePercent <= 25 ? clRed : FreePercent <= 45 ? clYellow : clLime);
        if (ui.RadioGroup2->ItemIndex() == 1) {
            ui.StatusPanel0->SetText(QStringLiteral(" ") + mbText + QStringLiteral(" MB"));
            TrayIcon1->SetText(mbText);
        } else {
            ui.StatusPanel0->SetText(QStringLiteral(" %1 %").arg(FreePercent));
            TrayIcon1->SetText(QStringLiteral("%1%").arg(FreePercent));
        }
    }
    ui.Label31->setText(QStringLiteral("%1 MB").arg(freeMb));
}

void TfMainMem::Timer2Timer()
{
    CpuPercent = MeasureCpuPercent(cpuUsage_, cpuFallback_);
    GetMemoryTweaks();
    ui.Gauge2->setValue(static_cast<int>(CpuPercent));
    ui.StatusPanel1->SetText(QStringLiteral(" %1 %").arg(CpuPercent));
    CpuFractionSum += static_cast<double>(CpuPercent) / 100;
    ui.Gauge3->setValue(static_cast<int>(RoundHalfEven(CpuFractionSum / static_cast<double>(CpuSampleCount) * 100)));
    ++CpuSampleCount;
}

void TfMainMem::SetRefreshSpeed(int intervalMs, QAction* checkedItem)
{
    Timer1->SetInterval(intervalMs);
    Timer2->SetInterval(intervalMs);
    for (QAction* item : {ui.Basse1, ui.Normale1, ui.Haute1})
        item->setChecked(item == checkedItem);
}

// ---- automatic recovery ---------------------------------------------------------------------

void TfMainMem::Timer3Timer()
{
    if (!ui.CheckBox3->isChecked())
        return;
    if (!(FreePercent < ui.SpinEdit1->Value()))
        return;
    if (CpuPercent > ui.SpinEdit3->Value())
        return;
    RecupRam();
}

void TfMainMem::Timer5Timer()
{
    if (CpuPercent > ui.SpinEdit3->Value())
        return;
    if (RecoveryRunning)
        return;
    RecupRam();
}

void TfMainMem::CheckBox5Click()
{
    if (ui.CheckBox5->isChecked()) {
        Timer5->SetInterval(ui.SpinEdit2->Value() * 60000);
        Timer5->SetEnabled(true);
    } else {
        Timer5->SetEnabled(false);
    }
}

void TfMainMem::SpinEdit2Change()
{
    Timer5->SetInterval(ui.SpinEdit2->Value() * 60000);
}

void TfMainMem::SpinEdit1Change()
{
    ui.PerfChart1->Init();
}

// ---- conveniences ---------------------------------------------------------------------------

void TfMainMem::ApplyStayOnTop()
{
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, ui.CheckBox2->isChecked());
    if (flags == windowFlags())
        return;
    // Setting a widget's window flags re-creates its native window, which flickers and takes the
    // focus away: the window that exists only changes its level.
    overrideWindowFlags(flags);
    if (QWindow* window = windowHandle())
        window->setFlags(flags);
}

void TfMainMem::TrackBar2Change()
{
    const int position = ui.TrackBar2->value();
    setWindowOpacity(position / 255.0);
    ui.TrackBar2->setToolTip(QStringLiteral("%1%").arg(RoundHalfEven(position / 255.0 * 100)));
}

void TfMainMem::HotKey1Change()
{
    // Where the desktop holds no key for a program, its own shortcut settings can run the command.
    if (!GlobalHotKey1->CanBeHeld())
        ui.HotKey1->setToolTip(kHotKeyInactiveHint);
    const TShortCut shortCut = ui.HotKey1->ShortCut();
    // Held without Ctrl or Alt, a key that types text would stop typing it in every program: the
    // field shows it, but the combination held before stays.
    if (TypesText(shortCut))
        return;
    GlobalHotKey1->SetHotKey(shortCut);
}

void TfMainMem::HighlightLink(QLabel* label, bool highlighted)
{
    label->setCursor(highlighted ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, highlighted ? clRed : clBlack);
    label->setPalette(colours);
}

void TfMainMem::Label32Click()
{
    shell_.Open(QString::fromLatin1(kAuthorWebAddress));
}

void TfMainMem::Label11Click()
{
    shell_.Open(AuthorMailLink(QString::fromLatin1(kAuthorEmail), QString::fromLatin1(kVersion)));
}

// ---- news -----------------------------------------------------------------------------------

void TfMainMem::CreateNewsFeed()
{
    NewsFeed1 = new TNewsFeed(downloader_, shell_, this);
    NewsFeed1->SetTitle(QStringLiteral("Mnemora XP News"));
    NewsFeed1->SetURL(TNewsFeed::ConfiguredURL());
}

void TfMainMem::ReleaseNewsFeed()
{
    delete NewsFeed1;
    NewsFeed1 = nullptr;
}

void TfMainMem::Button1Click()
{
    // Released when the session was about to end; a session that went on gets it back.
    if (!NewsFeed1)
        CreateNewsFeed();
    NewsFeed1->Show();
}

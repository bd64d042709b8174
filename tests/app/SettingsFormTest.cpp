// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "../sysinfo/ComposedProcessor.h"
#include "app/MainWindowFixture.h"
#include "platform/fake/FakeDynDataRegistry.h"
#include "support/StoredSettings.h"

namespace {

using platform::RegistryRoot;
using platform::RegistryData;

using stored_settings::kProperty;
using stored_settings::kRun;
using stored_settings::kSettings;
const QString kMemory = QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management");

// The settings as the user meets them: the real window offscreen, a registry in memory.
class SettingsForm : public MainWindowFixture {
protected:
    void Put(const QString& key, const char* name, const RegistryData& value)
    {
        registry.Put(RegistryRoot::CurrentUser, key, name, value);
    }
    std::optional<RegistryData> Get(const QString& key, const char* name) const
    {
        return registry.Get(RegistryRoot::CurrentUser, key, name);
    }
    void StoreEverything() { stored_settings::StoreEverything(registry, 128); }
    QString QuotedExecutable() const { return '"' + QCoreApplication::applicationFilePath() + '"'; }
};

TEST_F(SettingsForm, AFreshUsersFirstExitWritesEveryValueAndTheStartEntry)
{
    Form();
    EXPECT_TRUE(registry.writes.empty()) << "the start writes nothing";
    form.reset();
    EXPECT_EQ(registry.ValueCount(RegistryRoot::CurrentUser, kSettings) + registry.ValueCount(RegistryRoot::CurrentUser, kProperty),
              14u);
    EXPECT_EQ(Get(kSettings, "Path"), RegistryData(QuotedExecutable()));
    EXPECT_EQ(Get(kSettings, "Version"), RegistryData(QStringLiteral("4.0.0")));
    EXPECT_EQ(Get(kSettings, "Recover MB"), RegistryData(512));
    EXPECT_EQ(Get(kSettings, "Opacite"), RegistryData(255));
    EXPECT_EQ(Get(kProperty, "Pcpu"), RegistryData(15));
    EXPECT_EQ(Get(kRun, "MnemoraXp"), RegistryData(QuotedExecutable()));
    EXPECT_TRUE(errors.empty());
}

TEST_F(SettingsForm, TheLoadGoesThroughTheControlsSoTheirHandlersRun)
{
    StoreEverything();
    TfMainMem& form = Form();
    EXPECT_EQ(form.ui.TrackBar1->value(), 300);
    EXPECT_EQ(form.ui.Label4->text(), "300 MB") << "the track bar's handler ran";
    EXPECT_TRUE(form.ui.RadioButton2->isChecked());
    EXPECT_TRUE(form.ui.TrackBar1->isEnabled()) << "\"Manuel\" enables the track bar";
    EXPECT_EQ(form.ui.TrackBar2->value(), 128);
    EXPECT_NEAR(form.windowOpacity(), 128 / 255.0, 0.01);
    EXPECT_FALSE(form.ui.CheckBox2->isChecked());
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form.ui.RadioGroup2->ItemIndex(), 1);
    EXPECT_EQ(form.ui.StatusPanel0->Text(), " 0 MB") << "the start-up after the load sees the choice";
    EXPECT_TRUE(form.ui.cbxballoon->isChecked());
    EXPECT_EQ(form.ui.SpinEdit1->Value(), 20);
    EXPECT_EQ(form.ui.SpinEdit2->Value(), 10);
    EXPECT_EQ(form.ui.SpinEdit3->Value(), 50);
    EXPECT_FALSE(form.ui.CheckBox3->isChecked());
    EXPECT_TRUE(form.ui.CheckBox5->isChecked());
    EXPECT_TRUE(form.Timer5->Enabled());
    EXPECT_EQ(form.Timer5->Interval(), 600000);
    EXPECT_TRUE(errors.empty());
}

TEST_F(SettingsForm, TheControlsClampWhatTheyAreGiven)
{
    StoreEverything();
    Put(kSettings, "Recover MB", 5000);
    Put(kSettings, "Opacite", 300);
    Put(kSettings, "tray", 5);
    Put(kProperty, "Pourcentage", 150);
    TfMainMem& form = Form();
    EXPECT_EQ(form.ui.TrackBar1->value(), 1023) << "no more than the installed memory";
    EXPECT_EQ(form.ui.TrackBar2->value(), 255);
    EXPECT_EQ(form.ui.RadioGroup2->ItemIndex(), 1);
    EXPECT_EQ(form.ui.SpinEdit1->Value(), 100);
    form.SaveSettings();
    EXPECT_EQ(Get(kSettings, "Recover MB"), RegistryData(1023));

    Put(kSettings, "tray", -3);
    form.LoadSettings();
    EXPECT_EQ(form.ui.RadioGroup2->ItemIndex(), -1);
    form.SaveSettings();
    EXPECT_EQ(Get(kSettings, "tray"), RegistryData(1));
}

// Seen: "Opacite" deleted used to stop the start-up at the load (no tray, no timers), and the next
// save wrote defaults over every setting after it.
TEST_F(SettingsForm, AMissingOpacityIsToldAndTheStartUpGoesOn)
{
    StoreEverything();
    registry.Remove(RegistryRoot::CurrentUser, kSettings, "Opacite");
    TfMainMem& form = Form();
    QCoreApplication::processEvents();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Failed to get data for 'Opacite'");
    EXPECT_EQ(form.ui.TrackBar2->value(), 255) << "the control keeps its default";
    EXPECT_EQ(form.ui.TrackBar1->value(), 300);
    EXPECT_TRUE(form.ui.RadioButton2->isChecked()) << "what comes after it loads";
    EXPECT_FALSE(form.ui.CheckBox2->isChecked());
    EXPECT_EQ(form.ui.SpinEdit3->Value(), 50);
    for (TTimer* timer : {form.Timer1, form.Timer2, form.Timer3, form.Timer4, form.Timer5})
        EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(form.ui.StatusPanel2->Text(), " ") << "the start-up ran to its end";
    EXPECT_TRUE(hotKeys.held.has_value());
    this->form.reset();
    EXPECT_EQ(Get(kSettings, "StayOnTop"), RegistryData(0)) << "nothing stored is overwritten by a default";
    EXPECT_EQ(Get(kSettings, "tray"), RegistryData(1));
    EXPECT_EQ(Get(kProperty, "Time value"), RegistryData(10));
}

TEST_F(SettingsForm, AStoredOpacityOfZeroIsKeptButTheWindowStaysVisible)
{
    StoreEverything();
    Put(kSettings, "Opacite", 0);
    TfMainMem& form = Form();
    EXPECT_EQ(form.ui.TrackBar2->value(), 0);
    EXPECT_GE(form.windowOpacity(), 0.1);
    form.SaveSettings();
    EXPECT_EQ(Get(kSettings, "Opacite"), RegistryData(0)) << "the stored value is the user's";
}

TEST_F(SettingsForm, AnIntervalOfZeroArmsATimerThatNeverFires)
{
    StoreEverything();
    Put(kProperty, "Time value", 0);
    TfMainMem& form = Form();
    EXPECT_TRUE(form.Timer5->Enabled());
    EXPECT_EQ(form.Timer5->Interval(), 0);
    EXPECT_FALSE(form.Timer5->IsCounting());
}

TEST_F(SettingsForm, EnregistrerSavesWhatTheControlsHold)
{
    TfMainMem& form = Form();
    form.ui.RadioButton3->setChecked(true);
    form.ui.SpinEdit2->setValue(90);
    form.ui.cbxballoon->setChecked(true);
    form.ui.Button2->click();
    EXPECT_EQ(Get(kSettings, "Recover Method"), RegistryData(3));
    EXPECT_EQ(Get(kProperty, "Time value"), RegistryData(90));
    EXPECT_EQ(Get(kSettings, "balloon"), RegistryData(1));
}

TEST_F(SettingsForm, TheStartBoxAppliesAtOnce)
{
    TfMainMem& form = Form();
    form.ui.CheckBox1->click();
    EXPECT_FALSE(Get(kRun, "MnemoraXp").has_value());
    EXPECT_TRUE(registry.HasKey(RegistryRoot::CurrentUser, kRun)) << "clearing makes an empty Run key";
    form.ui.CheckBox1->click();
    EXPECT_EQ(Get(kRun, "MnemoraXp"), RegistryData(QuotedExecutable()));

    registry.Remove(RegistryRoot::CurrentUser, kRun, "MnemoraXp");
    form.SaveSettings();
    EXPECT_EQ(Get(kRun, "MnemoraXp"), RegistryData(QuotedExecutable())) << "the next save writes it again";
}

TEST_F(SettingsForm, ASaveThatFailsIsShownWhenTheUserQuits)
{
    TfMainMem& form = Form();
    registry.failWrites = true;
    // As the application's handler does for every event.
    const auto asAnEvent = [](const std::function<void()>& handler) {
        TApplication::RunGuarded([&] {
            handler();
            return true;
        });
    };
    asAnEvent([&] { form.ui.Button2->click(); });
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Failed to set data for 'Path'");
    asAnEvent([&] { form.Button4Click(); });
    EXPECT_EQ(errors.size(), 2u) << "the quit command saves and shows the failure";
    registry.failWrites = false;
}

TEST_F(SettingsForm, TheEndOfTheSessionSavesAndClosesEvenWhenTheSaveFails)
{
    TfMainMem& form = Form();
    form.show();
    form.ui.SpinEdit1->setValue(42);
    form.WMEndSession();
    EXPECT_EQ(Get(kProperty, "Pourcentage"), RegistryData(42));
    EXPECT_FALSE(form.isVisible());

    form.show();
    registry.failWrites = true;
    form.WMEndSession();
    EXPECT_FALSE(form.isVisible()) << "no one is left to answer a message box";
    EXPECT_TRUE(errors.empty());
    registry.failWrites = false;
}

TEST_F(SettingsForm, TheQuitCommandSavesTheSettings)
{
    TfMainMem& form = Form();
    form.ui.SpinEdit3->setValue(77);
    form.Exit1Click();
    EXPECT_EQ(Get(kProperty, "Pcpu"), RegistryData(77));
}

TEST_F(SettingsForm, TheDestroyHandlingStopsTheStatisticBeforeSaving)
{
    platform::FakeDynDataRegistry dynData;
    TCpuUsage sampler9x(perfData, TCpuUsage::Family::Windows9x, &dynData);
    sampler9x.SetUp();
    sampler9x.TakeCpuSample();  // the first sample switches the statistic on
    ASSERT_TRUE(dynData.statisticOn);
    std::optional<bool> onAtFirstWrite;
    registry.onWrite = [&](const platform::FakeRegistry::Write&) {
        if (!onAtFirstWrite)
            onAtFirstWrite = dynData.statisticOn;
    };
    {
        TfMainMem window(TFormServices{memory, events, tray, hotKeys, sampler9x, perfData, clock, version, systemInfo,
                                       processor, IdentifyWindowsVersion(version), registry, downloader,
                                       shell});
    }
    ASSERT_TRUE(onAtFirstWrite.has_value());
    EXPECT_FALSE(*onAtFirstWrite);
    registry.onWrite = nullptr;
    sampler9x.TearDown();
}

TEST_F(SettingsForm, TheTweaksFollowTheMachineKeyOnEveryCpuTick)
{
    for (const char* name : {"ClearPageFileAtShutdown", "DisablePagingExecutive", "LargeSystemCache", "SecondLevelDataCache"})
        registry.Put(RegistryRoot::LocalMachine, kMemory, name, 0);
    registry.Put(RegistryRoot::LocalMachine, kMemory, "IOPageLockLimit", 16384);
    registry.Put(RegistryRoot::LocalMachine, kMemory, "ClearPageFileAtShutdown", 1);
    ComposedProcessor p;  // a Pentium III with 512 KB of second-level cache
    p.Vendor("GenuineIntel", 2).Leaf(1, 0x00000683, 0x00000002, 0, 0x0387FBFF).Leaf(2, 0x03020101, 0, 0, 0x0C040843);
    processor.table = p.cpu.table;
    TfMainMem& form = Form();
    EXPECT_EQ(form.ui.CbCache->ItemIndex(), -1) << "before the first tick the list shows its first text";
    EXPECT_EQ(form.ui.CbCache->Text(), "65536 KB ( RAM > 256 MB )");
    form.Timer2Timer();
    EXPECT_EQ(form.ui.CbCache->ItemIndex(), 2);
    EXPECT_EQ(form.ui.CbCache->Text(), "16384 KB ( RAM > 64 MB )");
    EXPECT_TRUE(form.ui.cbxSwap->isChecked());
    EXPECT_FALSE(form.ui.cbxCacheNiveau2->isChecked());
    EXPECT_FALSE(form.ui.RGLargeSystemCache->isEnabled()) << "Linux is outside the NT family";
    EXPECT_FALSE(form.ui.Cbxnoyau->isEnabled());

    form.ui.cbxCacheNiveau2->click();
    EXPECT_EQ(registry.Get(RegistryRoot::LocalMachine, kMemory, "SecondLevelDataCache"), RegistryData(512));
    registry.Put(RegistryRoot::LocalMachine, kMemory, "SecondLevelDataCache", 256);
    form.Timer2Timer();
    EXPECT_FALSE(form.ui.cbxCacheNiveau2->isChecked());
    EXPECT_EQ(registry.Get(RegistryRoot::LocalMachine, kMemory, "SecondLevelDataCache"), RegistryData(0));

    registry.writes.clear();
    form.Timer2Timer();
    form.Timer2Timer();
    EXPECT_TRUE(registry.writes.empty()) << "nothing changed, nothing written";
}

TEST_F(SettingsForm, TheCacheListWritesWhatIsPickedAndNothingForTypedText)
{
    registry.Put(RegistryRoot::LocalMachine, kMemory, "IOPageLockLimit", 512);
    TfMainMem& form = Form();
    form.show();
    // What a pick from the list does.
    form.ui.CbCache->SetItemIndex(1);
    emit form.ui.CbCache->activated(1);
    EXPECT_EQ(registry.Get(RegistryRoot::LocalMachine, kMemory, "IOPageLockLimit"), RegistryData(8192));

    registry.writes.clear();
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_9, Qt::NoModifier, QStringLiteral("9"));
    QApplication::sendEvent(form.ui.CbCache->lineEdit(), &typed);
    EXPECT_TRUE(form.ui.CbCache->Text().endsWith('9'));
    EXPECT_EQ(form.ui.CbCache->ItemIndex(), -1);
    EXPECT_TRUE(registry.writes.empty());
}

TEST_F(SettingsForm, APlainUserWritesNothingToTheMachine)
{
    registry.isAdministrator = false;
    registry.Put(RegistryRoot::LocalMachine, kMemory, "ClearPageFileAtShutdown", 1);
    TfMainMem& form = Form();
    form.Timer2Timer();
    EXPECT_FALSE(form.ui.cbxSwap->isChecked());
    EXPECT_TRUE(form.ui.RGLargeSystemCache->isEnabled());
    form.ui.cbxSwap->click();
    form.ui.RGLargeSystemCache->Button(1)->click();
    form.ui.CDechargeDll->click();
    form.SaveSettings();
    for (const auto& write : registry.writes)
        EXPECT_EQ(write.root, RegistryRoot::CurrentUser) << write.name.toStdString();
    EXPECT_TRUE(errors.empty());
}

}  // namespace

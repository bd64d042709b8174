// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>

#include <functional>
#include <map>

#include "platform/fake/FakeRegistry.h"
#include "settings/AppRegistry.h"
#include "settings/RunKey.h"
#include "settings/SettingsControls.h"
#include "settings/SettingsStore.h"
#include "support/StoredSettings.h"

namespace {

using platform::RegistryRoot;
using platform::RegistryData;
using Flag = ISettingsControls::Flag;
using Number = ISettingsControls::Number;
using ::testing::ElementsAre;

using stored_settings::kProperty;
using stored_settings::kRun;
using stored_settings::kSettings;
const QString kExplorer = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer");
const QString kExe = QStringLiteral("/opt/mnemora xp/mnemora-xp");

// Controls in their first states, logging every change the store makes. Like the real window,
// a change of "Démarre avec Win ?" runs its handler on the shared accessor.
class RecordingControls : public ISettingsControls {
public:
    bool IsTicked(Flag flag) const override { return flags.at(flag); }
    void SetTicked(Flag flag, bool ticked) override
    {
        log.push_back("tick " + std::to_string(static_cast<int>(flag)) + "=" + std::to_string(ticked));
        const bool changed = flags[flag] != ticked;
        flags[flag] = ticked;
        if (changed && flag == Flag::StartWithSession && onStartWithSession)
            onStartWithSession(ticked);
    }
    int ValueOf(Number number) const override { return numbers.at(number); }
    void SetValueOf(Number number, int value) override
    {
        log.push_back("set " + std::to_string(static_cast<int>(number)) + "=" + std::to_string(value));
        numbers[number] = value;
    }
    int RecoverMethod() const override { return method; }
    void SetRecoverMethod(int newMethod) override
    {
        log.push_back("method=" + std::to_string(newMethod));
        method = newMethod;
    }
    int TrayDisplay() const override { return tray; }
    void SetTrayDisplay(int index) override
    {
        log.push_back("tray=" + std::to_string(index));
        tray = index;
    }
    void ArmIntervalTimer(int minutes) override
    {
        log.push_back("arm " + std::to_string(minutes));
        armedMinutes = minutes;
    }

    std::map<Flag, bool> flags{{Flag::StayOnTop, true},  {Flag::StartWithSession, true}, {Flag::Balloon, false},
                               {Flag::AlarmOn, true},    {Flag::IntervalOn, false},      {Flag::UnloadDlls, false}};
    std::map<Number, int> numbers{{Number::RecoverMb, 512},    {Number::Opacity, 255},  {Number::AlarmPercent, 35},
                                  {Number::IntervalMinutes, 45}, {Number::CpuCeiling, 15}};
    int method = 1;
    int tray = 0;
    std::optional<int> armedMinutes;
    std::vector<std::string> log;
    std::function<void(bool)> onStartWithSession;
};

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        controls.onStartWithSession = [this](bool ticked) {
            if (ticked)
                AddToRunKey(registry, kExe);
            else
                RemoveFromRunKey(registry);
        };
    }

    void StoreEverything() { stored_settings::StoreEverything(store, 200); }
    void Put(const QString& key, const char* name, const RegistryData& value)
    {
        store.Put(RegistryRoot::CurrentUser, key, name, value);
    }
    std::optional<RegistryData> Get(const QString& key, const char* name) const
    {
        return store.Get(RegistryRoot::CurrentUser, key, name);
    }
    std::vector<QString> WrittenNames() const
    {
        std::vector<QString> names;
        for (const auto& write : store.writes)
            names.push_back(write.name);
        return names;
    }
    std::string LoadError() { return ErrorOf([this] { settings.LoadSettings(); }); }
    std::string SaveError() { return ErrorOf([this] { settings.SaveSettings(); }); }
    static std::string ErrorOf(const std::function<void()>& work)
    {
        try {
            work();
        } catch (const ERegistryException& error) {
            return error.what();
        }
        return {};
    }

    platform::FakeRegistry store;
    TAppRegistry registry{store};
    RecordingControls controls;
    TSettingsStore settings{registry, controls, kExe};
};

TEST_F(SettingsStoreTest, FirstRunKeepsTheFirstStatesAndTheFirstSaveWritesAllFourteenValuesAndTheRunEntry)
{
    EXPECT_FALSE(settings.LoadSettings());
    EXPECT_THAT(controls.log, ElementsAre("tick 5=0")) << "only the library box is set: no key, no value";

    settings.SaveSettings();
    EXPECT_THAT(WrittenNames(), ElementsAre("Path", "Version", "Recover MB", "StayOnTop", "StartWithWindows", "Opacite",
                                            "Recover Method", "tray", "balloon", "Free%", "Pourcentage", "Time",
                                            "Time value", "Pcpu", "MnemoraXp"));
    EXPECT_EQ(store.ValueCount(RegistryRoot::CurrentUser, kSettings) + store.ValueCount(RegistryRoot::CurrentUser, kProperty),
              14u);
    EXPECT_EQ(Get(kSettings, "Path"), RegistryData(QStringLiteral("\"/opt/mnemora xp/mnemora-xp\"")));
    EXPECT_EQ(Get(kSettings, "Version"), RegistryData(QStringLiteral("4.0.0")));
    EXPECT_EQ(Get(kSettings, "Recover MB"), RegistryData(512));
    EXPECT_EQ(Get(kSettings, "StayOnTop"), RegistryData(1));
    EXPECT_EQ(Get(kSettings, "StartWithWindows"), RegistryData(1));
    EXPECT_EQ(Get(kSettings, "Opacite"), RegistryData(255));
    EXPECT_EQ(Get(kSettings, "Recover Method"), RegistryData(1));
    EXPECT_EQ(Get(kSettings, "tray"), RegistryData(0));
    EXPECT_EQ(Get(kSettings, "balloon"), RegistryData(0));
    EXPECT_EQ(Get(kProperty, "Free%"), RegistryData(1));
    EXPECT_EQ(Get(kProperty, "Pourcentage"), RegistryData(35));
    EXPECT_EQ(Get(kProperty, "Time"), RegistryData(0));
    EXPECT_EQ(Get(kProperty, "Time value"), RegistryData(45));
    EXPECT_EQ(Get(kProperty, "Pcpu"), RegistryData(15));
    EXPECT_EQ(Get(kRun, "MnemoraXp"), RegistryData(QStringLiteral("\"/opt/mnemora xp/mnemora-xp\"")));
    EXPECT_EQ(store.openKeys, 0);
}

TEST_F(SettingsStoreTest, LoadAppliesEachValueInItsOrderThenArmsTheIntervalTimer)
{
    StoreEverything();
    EXPECT_TRUE(settings.LoadSettings());
    EXPECT_THAT(controls.log, ElementsAre("set 0=300", "set 1=200", "method=2", "tick 0=0", "tick 1=1", "tray=1",
                                          "tick 2=1", "set 2=20", "set 3=10", "set 4=50", "tick 3=0", "tick 4=1",
                                          "tick 5=0", "arm 10"));
    EXPECT_EQ(store.openKeys, 0);
    EXPECT_TRUE(store.writes.empty()) << "the load writes nothing when the start box keeps its state";
}

TEST_F(SettingsStoreTest, ASubKeyWithoutPcpuStopsThereAndFallsBackToFifteen)
{
    StoreEverything();
    store.Remove(RegistryRoot::CurrentUser, kProperty, "Pcpu");
    controls.numbers[Number::CpuCeiling] = 80;
    settings.LoadSettings();
    EXPECT_EQ(controls.numbers[Number::AlarmPercent], 20);
    EXPECT_EQ(controls.numbers[Number::IntervalMinutes], 10);
    EXPECT_EQ(controls.numbers[Number::CpuCeiling], 15);
    EXPECT_TRUE(controls.flags[Flag::AlarmOn]) << "\"Free%\" is not read";
    EXPECT_FALSE(controls.flags[Flag::IntervalOn]) << "\"Time\" is not read";
    EXPECT_FALSE(controls.armedMinutes.has_value());
}

TEST_F(SettingsStoreTest, ARecoverMethodOutsideOneToThreeChangesNothing)
{
    for (const int stored : {0, 7}) {
        StoreEverything();
        Put(kSettings, "Recover Method", stored);
        controls.method = 1;
        controls.log.clear();
        settings.LoadSettings();
        EXPECT_EQ(controls.method, 1);
        EXPECT_THAT(controls.log, ::testing::Not(::testing::Contains(::testing::StartsWith("method"))));
        settings.SaveSettings();
        EXPECT_EQ(Get(kSettings, "Recover Method"), RegistryData(1));
    }
}

TEST_F(SettingsStoreTest, TrayAndBalloonReadsAndFallbacks)
{
    StoreEverything();
    Put(kSettings, "balloon", 2);
    Put(kSettings, "StayOnTop", 2);
    settings.LoadSettings();
    EXPECT_FALSE(controls.flags[Flag::Balloon]) << "ticked only by exactly 1";
    EXPECT_TRUE(controls.flags[Flag::StayOnTop]) << "any non-zero number ticks";

    Put(kSettings, "tray", -3);
    settings.LoadSettings();
    EXPECT_EQ(controls.tray, -3) << "handed to the group, which clamps";
    settings.SaveSettings();
    EXPECT_EQ(Get(kSettings, "tray"), RegistryData(1)) << "any item but the first is written as 1";

    store.Remove(RegistryRoot::CurrentUser, kSettings, "tray");
    Put(kSettings, "balloon", QStringLiteral("1"));
    controls.flags[Flag::Balloon] = true;
    EXPECT_EQ(LoadError(), "");
    EXPECT_EQ(controls.tray, 0) << "missing: the first item";
    EXPECT_FALSE(controls.flags[Flag::Balloon]) << "not a number: cleared";
    EXPECT_EQ(controls.numbers[Number::CpuCeiling], 50) << "the load went on";
}

// One value that cannot be read costs that value alone: its control keeps its default, the
// others load, and the save then writes back what the user stored, not the defaults.
TEST_F(SettingsStoreTest, AMissingMainValueKeepsItsDefaultAndTheRestLoads)
{
    StoreEverything();
    store.Remove(RegistryRoot::CurrentUser, kSettings, "Opacite");
    EXPECT_EQ(LoadError(), "") << "the load does not stop";
    EXPECT_EQ(settings.Problems(), QStringList{"Failed to get data for 'Opacite'"});
    EXPECT_EQ(controls.numbers[Number::Opacity], 255) << "the default stays";
    EXPECT_EQ(controls.numbers[Number::RecoverMb], 300);
    EXPECT_EQ(controls.method, 2);
    EXPECT_FALSE(controls.flags[Flag::StayOnTop]);
    EXPECT_EQ(controls.tray, 1);
    EXPECT_EQ(controls.numbers[Number::IntervalMinutes], 10);
    EXPECT_EQ(controls.armedMinutes, 10) << "the interval trigger is armed";
    settings.SaveSettings();
    EXPECT_EQ(Get(kSettings, "StayOnTop"), RegistryData(0));
    EXPECT_EQ(Get(kSettings, "tray"), RegistryData(1));
    EXPECT_EQ(Get(kProperty, "Time value"), RegistryData(10));
    EXPECT_EQ(Get(kSettings, "Opacite"), RegistryData(255));

    StoreEverything();
    Put(kSettings, "StartWithWindows", QStringLiteral("yes"));
    Put(kSettings, "Recover Method", QStringLiteral("2"));
    controls = RecordingControls{};
    EXPECT_EQ(LoadError(), "");
    EXPECT_EQ(settings.Problems(),
              (QStringList{"Invalid data type for 'Recover Method'", "Invalid data type for 'StartWithWindows'"}));
    EXPECT_EQ(controls.method, 1);
    EXPECT_TRUE(controls.flags[Flag::StartWithSession]);
    EXPECT_TRUE(controls.flags[Flag::Balloon]);

    StoreEverything();
    EXPECT_EQ(LoadError(), "");
    EXPECT_TRUE(settings.Problems().isEmpty()) << "a good load clears what the last one found";
}

TEST_F(SettingsStoreTest, AnIntervalOfZeroMinutesIsStillArmed)
{
    StoreEverything();
    Put(kProperty, "Time value", 0);
    settings.LoadSettings();
    EXPECT_EQ(controls.armedMinutes, 0);
}

// Clearing "Démarre avec Win ?" runs its handler, which reopens the shared accessor on the Run
// key: "tray" and "balloon" must still come from the settings key.
TEST_F(SettingsStoreTest, AUserWhoDoesNotStartWithTheSessionKeepsTrayAndBalloon)
{
    StoreEverything();
    Put(kSettings, "StartWithWindows", 0);
    Put(kRun, "MnemoraXp", QStringLiteral("\"/old/path\""));
    settings.LoadSettings();
    EXPECT_FALSE(controls.flags[Flag::StartWithSession]);
    EXPECT_FALSE(Get(kRun, "MnemoraXp").has_value()) << "the handler removed the entry";
    EXPECT_EQ(controls.tray, 1);
    EXPECT_TRUE(controls.flags[Flag::Balloon]);
    EXPECT_EQ(store.openKeys, 0);
}

TEST_F(SettingsStoreTest, AFailedWriteStopsTheSaveWithTheValueNamed)
{
    store.failWrites = true;
    EXPECT_EQ(SaveError(), "Failed to set data for 'Path'");
    EXPECT_FALSE(store.HasKey(RegistryRoot::CurrentUser, kProperty)) << "the writes after it are skipped";
}

// The save is one change of the user's settings: cut short anywhere, it leaves the previous
// settings whole; kept, it lands whole. The start entry and the library value come after it.
TEST_F(SettingsStoreTest, ASaveLandsWholeOrLeavesThePreviousSettings)
{
    StoreEverything();
    controls.numbers[Number::CpuCeiling] = 80;
    controls.numbers[Number::RecoverMb] = 100;
    int written = 0;
    store.onWrite = [&](const platform::FakeRegistry::Write&) {
        if (++written == 12)  // from the sub-key's "Time value" on, every write fails
            store.failWrites = true;
    };
    EXPECT_THROW(settings.SaveSettings(), ERegistryException);
    EXPECT_EQ(Get(kSettings, "Recover MB"), RegistryData(300));
    EXPECT_EQ(Get(kProperty, "Pcpu"), RegistryData(50));
    EXPECT_FALSE(Get(kSettings, "Path").has_value());

    // The first save, cut short: no key at all rather than a key with some of its values.
    store = platform::FakeRegistry();
    written = 0;
    store.onWrite = [&](const platform::FakeRegistry::Write&) { store.failWrites = ++written == 5; };
    EXPECT_THROW(settings.SaveSettings(), ERegistryException);
    EXPECT_FALSE(store.HasKey(RegistryRoot::CurrentUser, kSettings));

    // Kept whole; the start entry and the library value are written after the change.
    store = platform::FakeRegistry();
    settings.SaveSettings();
    ASSERT_EQ(store.changes.size(), 1u);
    EXPECT_EQ(store.changes[0], std::make_pair(RegistryRoot::CurrentUser, true));
    EXPECT_EQ(store.ValueCount(RegistryRoot::CurrentUser, kSettings) + store.ValueCount(RegistryRoot::CurrentUser, kProperty),
              14u);

    // A change that cannot be kept is a failed save, said with the key's name.
    store = platform::FakeRegistry();
    store.failKeeping = true;
    EXPECT_EQ(SaveError(), "Failed to set data for 'Software\\Mnemora XP\\settings'");
    EXPECT_FALSE(store.HasKey(RegistryRoot::CurrentUser, kSettings));
}

TEST_F(SettingsStoreTest, TheSaveAppliesTheStartEntryAndTheLibraryValueFromTheirBoxes)
{
    store.AddKey(RegistryRoot::LocalMachine, kExplorer);
    controls.flags[Flag::UnloadDlls] = true;
    settings.SaveSettings();
    EXPECT_EQ(store.Get(RegistryRoot::LocalMachine, kExplorer, "AlwaysUnloadDLL"), RegistryData(1));

    controls.flags[Flag::StartWithSession] = false;
    controls.flags[Flag::UnloadDlls] = false;
    settings.SaveSettings();
    EXPECT_FALSE(Get(kRun, "MnemoraXp").has_value());
    EXPECT_EQ(store.Get(RegistryRoot::LocalMachine, kExplorer, "AlwaysUnloadDLL"), RegistryData(0));
    EXPECT_EQ(Get(kSettings, "StartWithWindows"), RegistryData(0));
}

TEST_F(SettingsStoreTest, AnUnloadValueOfTwoShowsClearedAndIsSavedAsZero)
{
    store.Put(RegistryRoot::LocalMachine, kExplorer, "AlwaysUnloadDLL", 2);
    controls.flags[Flag::UnloadDlls] = true;
    settings.LoadSettings();
    EXPECT_FALSE(controls.flags[Flag::UnloadDlls]);
    settings.SaveSettings();
    EXPECT_EQ(store.Get(RegistryRoot::LocalMachine, kExplorer, "AlwaysUnloadDLL"), RegistryData(0));
}

TEST_F(SettingsStoreTest, APlainUserNeverTouchesTheMachineKeys)
{
    store.Put(RegistryRoot::LocalMachine, kExplorer, "AlwaysUnloadDLL", 1);
    store.isAdministrator = false;
    settings.LoadSettings();
    EXPECT_FALSE(controls.flags[Flag::UnloadDlls]);
    controls.flags[Flag::UnloadDlls] = true;
    settings.SaveSettings();
    for (const auto& write : store.writes)
        EXPECT_EQ(write.root, RegistryRoot::CurrentUser) << write.name.toStdString();
    EXPECT_EQ(store.Get(RegistryRoot::LocalMachine, kExplorer, "AlwaysUnloadDLL"), RegistryData(1));
}

}  // namespace

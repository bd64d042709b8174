// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <map>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Version.h"
#include "platform/linux/LinuxRegistry.h"
#include "settings/AppRegistry.h"
#include "settings/RunKey.h"
#include "settings/SettingsControls.h"
#include "settings/SettingsStore.h"
#include "support/KilledChild.h"
#include "support/TestEnvironment.h"

namespace {

using platform::LinuxRegistry;
using platform::RegistryData;
using platform::RegistryRoot;
using Flag = ISettingsControls::Flag;
using Number = ISettingsControls::Number;

const QString kSettings = QStringLiteral("Software\\Mnemora XP\\settings");
const QString kProperty = QStringLiteral("Software\\Mnemora XP\\settings\\Recover Property");

// Controls whose every value follows from the round of saving, so that any value read back
// tells which round wrote it.
class RoundControls : public ISettingsControls {
public:
    bool IsTicked(Flag flag) const override
    {
        return flag != Flag::StartWithSession && flag != Flag::UnloadDlls && (round + static_cast<int>(flag)) % 2 == 0;
    }
    void SetTicked(Flag, bool) override {}
    int ValueOf(Number number) const override
    {
        switch (number) {
        case Number::IntervalMinutes:
            return round;
        case Number::Opacity:
            return round % 256;
        default:
            return (round * 7 + static_cast<int>(number)) % 101;
        }
    }
    void SetValueOf(Number, int) override {}
    int RecoverMethod() const override { return 1 + round % 3; }
    void SetRecoverMethod(int) override {}
    int TrayDisplay() const override { return round % 2; }
    void SetTrayDisplay(int) override {}
    void ArmIntervalTimer(int) override {}

    int round = 0;
};

// The fourteen values as the save of `round` writes them.
std::map<QString, RegistryData> Expected(int round, const QString& executable)
{
    RoundControls controls;
    controls.round = round;
    const auto flag = [&](Flag f) { return RegistryData(controls.IsTicked(f) ? 1 : 0); };
    return {
        {"Path", RegistryData(QuotedPath(executable))},
        {"Version", RegistryData(QString::fromLatin1(platform::kProgramVersion))},
        {"Recover MB", RegistryData(controls.ValueOf(Number::RecoverMb))},
        {"StayOnTop", flag(Flag::StayOnTop)},
        {"StartWithWindows", flag(Flag::StartWithSession)},
        {"Opacite", RegistryData(controls.ValueOf(Number::Opacity))},
        {"Recover Method", RegistryData(controls.RecoverMethod())},
        {"tray", RegistryData(controls.TrayDisplay())},
        {"balloon", flag(Flag::Balloon)},
        {"Free%", flag(Flag::AlarmOn)},
        {"Pourcentage", RegistryData(controls.ValueOf(Number::AlarmPercent))},
        {"Time", flag(Flag::IntervalOn)},
        {"Time value", RegistryData(controls.ValueOf(Number::IntervalMinutes))},
        {"Pcpu", RegistryData(controls.ValueOf(Number::CpuCeiling))},
    };
}

const QString kExecutable = QStringLiteral("/usr/bin/mnemora-xp");

// The child: saves the settings round after round, as the program does at every exit, until it
// is killed; never returns.
[[noreturn]] void SaveForever(const LinuxRegistry::Locations& where, int readyPipe)
{
    LinuxRegistry hives(where, false);
    TAppRegistry registry(hives);
    RoundControls controls;
    TSettingsStore store(registry, controls, kExecutable);
    if (const auto key = hives.OpenKey(RegistryRoot::CurrentUser, kProperty, false)) {
        if (const auto last = hives.QueryValue(*key, "Time value"))
            controls.round = std::get<std::int32_t>(*last);
        hives.CloseKey(*key);
    }
    (void)!::write(readyPipe, "x", 1);
    for (int saves = 0; saves < 1'000'000; ++saves) {
        ++controls.round;
        try {
            store.SaveSettings();
        } catch (const std::exception&) {
        }
    }
    ::_exit(0);
}

// What a start finds: every value that is there, by name.
std::map<QString, RegistryData> Stored(LinuxRegistry& hives)
{
    std::map<QString, RegistryData> found;
    for (const QString& path : {kSettings, kProperty}) {
        const auto key = hives.OpenKey(RegistryRoot::CurrentUser, path, false);
        if (!key)
            continue;
        for (const auto& [name, value] : Expected(0, kExecutable)) {
            if (const auto stored = hives.QueryValue(*key, name))
                found.emplace(name, *stored);
        }
        hives.CloseKey(*key);
    }
    return found;
}

// A save killed at any moment, the very first one included (the hive is being made), leaves the
// settings of one whole save or none at all: never a key with some values and not the others,
// which would stop every later start at the first missing one.
TEST(SettingsSaveCrash, AKillDuringASaveLeavesOneWholeSetOrNone)
{
    QTemporaryDir home(TestHome() + "/save-crash-XXXXXX");
    const LinuxRegistry::Locations where{home.filePath("hive/user-hive.sqlite3"), home.filePath("machine/machine-hive.sqlite3"),
                                         home.filePath("autostart/mnemora-xp.desktop")};
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> moment(0, 30000);  // microseconds after the child is ready
    std::uniform_int_distribution<int> early(0, 3000);    // the same, during a first save
    int wholeSets = 0;
    int empty = 0;

    for (int kill = 0; kill < 120; ++kill) {
        // Every fourth kill falls on a first save: no hive yet.
        if (kill % 4 == 0)
            QDir(home.filePath("hive")).removeRecursively();
        ASSERT_TRUE(KillWhileWorking([&](int ready) { SaveForever(where, ready); }, static_cast<useconds_t>(kill % 4 == 0 ? early(random) : moment(random))));

        LinuxRegistry hives(where, false);
        const std::map<QString, RegistryData> stored = Stored(hives);
        if (stored.empty()) {
            ++empty;
            continue;
        }
        ASSERT_TRUE(stored.contains("Time value")) << "kill " << kill << ": " << stored.size() << " values without the round";
        const int round = std::get<std::int32_t>(stored.at("Time value"));
        EXPECT_EQ(stored, Expected(round, kExecutable)) << "kill " << kill << ": " << stored.size() << " of 14 values, round "
                                                         << round;
        ++wholeSets;
    }
    EXPECT_GT(wholeSets, 0) << "no kill fell after a save";
    RecordProperty("killed before any save had landed", empty);
}

}  // namespace

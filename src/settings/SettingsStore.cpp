// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsStore.h"

#include "platform/Version.h"
#include "settings/AppRegistry.h"
#include "settings/RunKey.h"
#include "settings/SettingsControls.h"

namespace {

using Flag = ISettingsControls::Flag;
using Number = ISettingsControls::Number;

const QString kSettingsKey = QStringLiteral("\\Software\\Mnemora XP\\settings");
const QString kRecoverPropertyKey = QStringLiteral("\\Software\\Mnemora XP\\settings\\Recover Property");
constexpr int kCpuCeilingFallback = 15;

}  // namespace

TSettingsStore::TSettingsStore(TAppRegistry& registry, ISettingsControls& controls, QString executablePath)
    : registry_(registry), controls_(controls), executablePath_(std::move(executablePath))
{
}

void TSettingsStore::ReadOrKeep(const std::function<void()>& readAndApply)
{
    try {
        readAndApply();
    } catch (const ERegistryException& error) {
        problems_ << QString::fromLocal8Bit(error.what());
    }
}

bool TSettingsStore::LoadSettings()
{
    problems_.clear();
    registry_.SetRootKey(platform::RegistryRoot::CurrentUser);
    const bool opened = registry_.OpenKey(kSettingsKey, false);
    if (opened) {
        // No fallback of their own for these five: a value that cannot be read keeps its
        // control's default, and is told.
        ReadOrKeep([this] { controls_.SetValueOf(Number::RecoverMb, registry_.ReadInteger(QStringLiteral("Recover MB"))); });
        ReadOrKeep([this] { controls_.SetValueOf(Number::Opacity, registry_.ReadInteger(QStringLiteral("Opacite"))); });
        ReadOrKeep([this] {
            const std::int32_t method = registry_.ReadInteger(QStringLiteral("Recover Method"));
            if (method >= 1 && method <= 3)
                controls_.SetRecoverMethod(method);
        });
        ReadOrKeep([this] { controls_.SetTicked(Flag::StayOnTop, registry_.ReadBool(QStringLiteral("StayOnTop"))); });
        ReadOrKeep([this] {
            controls_.SetTicked(Flag::StartWithSession, registry_.ReadBool(QStringLiteral("StartWithWindows")));
        });
        // Clearing "Démarre avec Win ?" runs its handler, which opens the Run key through the
        // same accessor and so closes this one: without opening it again, "tray" and "balloon"
        // would fall back at every start of a user who does not start with the session.
        registry_.SetRootKey(platform::RegistryRoot::CurrentUser);
        registry_.OpenKey(kSettingsKey, false);
        try {
            controls_.SetTrayDisplay(registry_.ReadInteger(QStringLiteral("tray")));
        } catch (const ERegistryException&) {
            controls_.SetTrayDisplay(0);
        }
        try {
            controls_.SetTicked(Flag::Balloon, registry_.ReadInteger(QStringLiteral("balloon")) == 1);
        } catch (const ERegistryException&) {
            controls_.SetTicked(Flag::Balloon, false);
        }
        registry_.CloseKey();
    }

    if (registry_.OpenKey(kRecoverPropertyKey, false)) {
        try {
            controls_.SetValueOf(Number::AlarmPercent, registry_.ReadInteger(QStringLiteral("Pourcentage")));
            controls_.SetValueOf(Number::IntervalMinutes, registry_.ReadInteger(QStringLiteral("Time value")));
            controls_.SetValueOf(Number::CpuCeiling, registry_.ReadInteger(QStringLiteral("Pcpu")));
            controls_.SetTicked(Flag::AlarmOn, registry_.ReadBool(QStringLiteral("Free%")));
            controls_.SetTicked(Flag::IntervalOn, registry_.ReadBool(QStringLiteral("Time")));
        } catch (const ERegistryException&) {
            controls_.SetValueOf(Number::CpuCeiling, kCpuCeilingFallback);
        }
        registry_.CloseKey();
    }

    controls_.SetTicked(Flag::UnloadDlls, ReadAlwaysUnloadDll(registry_) == 1);
    if (controls_.IsTicked(Flag::IntervalOn))
        controls_.ArmIntervalTimer(controls_.ValueOf(Number::IntervalMinutes));
    return opened;
}

void TSettingsStore::SaveSettings()
{
    // The fourteen values land together or not at all: a save cut short (the program killed,
    // a write refused) leaves the previous settings whole, never a key with half of them.
    TAppRegistry::Change change(registry_, platform::RegistryRoot::CurrentUser);
    registry_.SetRootKey(platform::RegistryRoot::CurrentUser);
    if (registry_.OpenKey(kSettingsKey, true)) {
        registry_.WriteString(QStringLiteral("Path"), QuotedPath(executablePath_));
        registry_.WriteString(QStringLiteral("Version"), QLatin1String(platform::kProgramVersion));
        registry_.WriteInteger(QStringLiteral("Recover MB"), controls_.ValueOf(Number::RecoverMb));
        registry_.WriteBool(QStringLiteral("StayOnTop"), controls_.IsTicked(Flag::StayOnTop));
        registry_.WriteBool(QStringLiteral("StartWithWindows"), controls_.IsTicked(Flag::StartWithSession));
        registry_.WriteInteger(QStringLiteral("Opacite"), controls_.ValueOf(Number::Opacity));
        registry_.WriteInteger(QStringLiteral("Recover Method"), controls_.RecoverMethod());
        registry_.WriteInteger(QStringLiteral("tray"), controls_.TrayDisplay() == 0 ? 0 : 1);
        registry_.WriteBool(QStringLiteral("balloon"), controls_.IsTicked(Flag::Balloon));
        registry_.CloseKey();
    }

    registry_.SetRootKey(platform::RegistryRoot::CurrentUser);
    if (registry_.OpenKey(kRecoverPropertyKey, true)) {
        registry_.WriteBool(QStringLiteral("Free%"), controls_.IsTicked(Flag::AlarmOn));
        registry_.WriteInteger(QStringLiteral("Pourcentage"), controls_.ValueOf(Number::AlarmPercent));
        registry_.WriteBool(QStringLiteral("Time"), controls_.IsTicked(Flag::IntervalOn));
        registry_.WriteInteger(QStringLiteral("Time value"), controls_.ValueOf(Number::IntervalMinutes));
        registry_.WriteInteger(QStringLiteral("Pcpu"), controls_.ValueOf(Number::CpuCeiling));
        registry_.CloseKey();
    }
    change.Keep(kSettingsKey.mid(1));

    if (controls_.IsTicked(Flag::StartWithSession))
        AddToRunKey(registry_, executablePath_);
    else
        RemoveFromRunKey(registry_);
    WriteAlwaysUnloadDll(registry_, controls_.IsTicked(Flag::UnloadDlls) ? 1 : 0);
}

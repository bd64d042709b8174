// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

#include "platform/fake/FakeRegistry.h"

// The keys the user's settings live in, and a user who has stored every one of them.
namespace stored_settings {

inline const QString kSettings = QStringLiteral("Software\\Mnemora XP\\settings");
inline const QString kProperty = QStringLiteral("Software\\Mnemora XP\\settings\\Recover Property");
inline const QString kRun = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");

// A main key with every value and a sub-key with every value, each unlike the window's first
// state.
inline void StoreEverything(platform::FakeRegistry& registry, int opacity)
{
    const auto put = [&registry](const QString& key, const char* name, int value) {
        registry.Put(platform::RegistryRoot::CurrentUser, key, QLatin1String(name), value);
    };
    put(kSettings, "Recover MB", 300);
    put(kSettings, "Opacite", opacity);
    put(kSettings, "Recover Method", 2);
    put(kSettings, "StayOnTop", 0);
    put(kSettings, "StartWithWindows", 1);
    put(kSettings, "tray", 1);
    put(kSettings, "balloon", 1);
    put(kProperty, "Free%", 0);
    put(kProperty, "Pourcentage", 20);
    put(kProperty, "Time", 1);
    put(kProperty, "Time value", 10);
    put(kProperty, "Pcpu", 50);
}

}  // namespace stored_settings

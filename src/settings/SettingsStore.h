// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

class ISettingsControls;
class TAppRegistry;

// Copies the program's settings between the window's controls and the user's key
// "\Software\Mnemora XP\settings" (with its sub-key "Recover Property"). There is no settings
// object: the settings live in the controls. The save also applies the start-with-the-session
// entry and the library-unloading value, and the load reads the latter back.
class TSettingsStore {
public:
    TSettingsStore(TAppRegistry& registry, ISettingsControls& controls, QString executablePath);

    // True when the settings key existed. A value of the main key that the load cannot do
    // without raises the accessor's error: what was applied before it stays, nothing after it is
    // loaded.
    bool LoadSettings();
    // Writes every value, changed or not. A failed write raises the accessor's error and the
    // writes after it are skipped.
    void SaveSettings();

private:
    TAppRegistry& registry_;
    ISettingsControls& controls_;
    QString executablePath_;
};

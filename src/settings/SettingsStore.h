// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class ISettingsControls;
class TAppRegistry;

// Copies the program's settings between the window's controls and the user's key
// "\Software\Mnemora XP\settings" (with its sub-key "Recover Property"). There is no settings
// object: the settings live in the controls. The save also applies the start-with-the-session
// entry and the library-unloading value, and the load reads the latter back.
class TSettingsStore {
public:
    TSettingsStore(TAppRegistry& registry, ISettingsControls& controls, QString executablePath);

    // True when the settings key existed. A value of the main key that is missing or not a
    // number leaves its control as it was (its default at start) and the load goes on with the
    // others: one bad value must not cost the user every setting stored after it. The accessor's
    // message for each such value is kept in Problems(), for the start-up to show.
    bool LoadSettings();
    // The messages of the last load, in reading order; empty when every value was read.
    const QStringList& Problems() const { return problems_; }
    // Writes every value, changed or not. A failed write raises the accessor's error and the
    // writes after it are skipped.
    void SaveSettings();

private:
    void ReadOrKeep(const std::function<void()>& readAndApply);

    TAppRegistry& registry_;
    ISettingsControls& controls_;
    QString executablePath_;
    QStringList problems_;
};

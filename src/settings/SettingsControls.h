// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window's controls that hold the program's settings, as the settings store sees them.
// Every setter goes through the control's own setter, so the handler bound to the control runs
// whenever the value changes, as it would for the user.
class ISettingsControls {
public:
    enum class Flag {
        StayOnTop,         // CheckBox2 "Toujours visible?"
        StartWithSession,  // CheckBox1 "Démarre avec Win ?"
        Balloon,           // cbxballoon "Tray Balloon?"
        AlarmOn,           // CheckBox3 "Niveau alarme en %"
        IntervalOn,        // CheckBox5 "Libère toutes les "
        UnloadDlls,        // CDechargeDll "Décharge Dll inutilisées"
    };
    enum class Number {
        RecoverMb,        // TrackBar1, clamped to 0 .. installed megabytes
        Opacity,          // TrackBar2, clamped to 0 .. 255
        AlarmPercent,     // SpinEdit1
        IntervalMinutes,  // SpinEdit2
        CpuCeiling,       // SpinEdit3
    };

    virtual ~ISettingsControls() = default;

    virtual bool IsTicked(Flag flag) const = 0;
    virtual void SetTicked(Flag flag, bool ticked) = 0;
    virtual int ValueOf(Number number) const = 0;
    virtual void SetValueOf(Number number, int value) = 0;
    // 1 "Système", 2 "Manuel", 3 "Tout".
    virtual int RecoverMethod() const = 0;
    virtual void SetRecoverMethod(int method) = 0;
    // RadioGroup2's item index, -1 when no item is selected; the group clamps what it is given.
    virtual int TrayDisplay() const = 0;
    virtual void SetTrayDisplay(int index) = 0;
    // Timer5 set to the minutes and switched on.
    virtual void ArmIntervalTimer(int minutes) = 0;
};

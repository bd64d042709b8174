// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "settings/SettingsControls.h"

namespace Ui {
class TfMainMem;
}
class TTimer;

// The settings store's view of the main window: each setting is the control it lives in, set
// through the control's own setter.
class TFormSettingsControls : public ISettingsControls {
public:
    TFormSettingsControls(Ui::TfMainMem& ui, TTimer& intervalTimer) : ui_(ui), intervalTimer_(intervalTimer) {}

    bool IsTicked(Flag flag) const override;
    void SetTicked(Flag flag, bool ticked) override;
    int ValueOf(Number number) const override;
    void SetValueOf(Number number, int value) override;
    int RecoverMethod() const override;
    void SetRecoverMethod(int method) override;
    int TrayDisplay() const override;
    void SetTrayDisplay(int index) override;
    void ArmIntervalTimer(int minutes) override;

private:
    class QCheckBox* Box(Flag flag) const;

    Ui::TfMainMem& ui_;
    TTimer& intervalTimer_;
};

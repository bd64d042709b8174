// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FormSettingsControls.h"

#include "ui_UMain.h"
#include "widgets/Timer.h"

QCheckBox* TFormSettingsControls::Box(Flag flag) const
{
    switch (flag) {
    case Flag::StayOnTop: return ui_.CheckBox2;
    case Flag::StartWithSession: return ui_.CheckBox1;
    case Flag::Balloon: return ui_.cbxballoon;
    case Flag::AlarmOn: return ui_.CheckBox3;
    case Flag::IntervalOn: return ui_.CheckBox5;
    case Flag::UnloadDlls: return ui_.CDechargeDll;
    }
    return nullptr;
}

bool TFormSettingsControls::IsTicked(Flag flag) const
{
    return Box(flag)->isChecked();
}

void TFormSettingsControls::SetTicked(Flag flag, bool ticked)
{
    Box(flag)->setChecked(ticked);
}

int TFormSettingsControls::ValueOf(Number number) const
{
    switch (number) {
    case Number::RecoverMb: return ui_.TrackBar1->value();
    case Number::Opacity: return ui_.TrackBar2->value();
    case Number::AlarmPercent: return ui_.SpinEdit1->Value();
    case Number::IntervalMinutes: return ui_.SpinEdit2->Value();
    case Number::CpuCeiling: return ui_.SpinEdit3->Value();
    }
    return 0;
}

void TFormSettingsControls::SetValueOf(Number number, int value)
{
    switch (number) {
    case Number::RecoverMb: ui_.TrackBar1->setValue(value); break;
    case Number::Opacity: ui_.TrackBar2->setValue(value); break;
    case Number::AlarmPercent: ui_.SpinEdit1->setValue(value); break;
    case Number::IntervalMinutes: ui_.SpinEdit2->setValue(value); break;
    case Number::CpuCeiling: ui_.SpinEdit3->setValue(value); break;
    }
}

int TFormSettingsControls::RecoverMethod() const
{
    if (ui_.RadioButton1->isChecked())
        return 1;
    return ui_.RadioButton2->isChecked() ? 2 : 3;
}

void TFormSettingsControls::SetRecoverMethod(int method)
{
    QRadioButton* const buttons[] = {ui_.RadioButton1, ui_.RadioButton2, ui_.RadioButton3};
    buttons[method - 1]->setChecked(true);
}

int TFormSettingsControls::TrayDisplay() const
{
    return ui_.RadioGroup2->ItemIndex();
}

void TFormSettingsControls::SetTrayDisplay(int index)
{
    ui_.RadioGroup2->SetItemIndex(index);
}

void TFormSettingsControls::ArmIntervalTimer(int minutes)
{
    intervalTimer_.SetInterval(minutes * 60000);
    intervalTimer_.SetEnabled(true);
}

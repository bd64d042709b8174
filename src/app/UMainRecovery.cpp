// SPDX-License-Identifier: GPL-3.0-or-later
// The window's recovery runs (start, cancel, the engine's events) and its automatic triggers.
#include "app/UMain.h"
#include "recovery/RamRecovery.h"
#include "recovery/RecoveryAmounts.h"
#include "recovery/RecoveryTriggers.h"
#include "widgets/Timer.h"

void TfMainMem::SetRunControls(bool running)
{
    ui.BitBtn3->setEnabled(running);
    ui.BitBtn1->setEnabled(!running);
    ui.RecoverRam1->setEnabled(!running);
    ui.Cancel1->setEnabled(running);
}

void TfMainMem::RecupRam()
{
    SetRunControls(true);
    if (run_.Running())
        return;
    // Each test is made after the previous run has returned: a method chosen during a run that is
    // tested later starts a second run.
    if (ui.RadioButton1->isChecked())
        RamRecovery1->Defrag(SystemMethodMegabytes(InstalledMb));
    if (ui.RadioButton2->isChecked())
        RamRecovery1->Defrag(ui.TrackBar1->value());
    if (ui.RadioButton3->isChecked())
        RamRecovery1->DefragAll();
}

void TfMainMem::AnnulRam()
{
    SetRunControls(false);
    RamRecovery1->CancelDefrag();
    CancelKernelRun();
}

void TfMainMem::RamRecovery1BeforeDefrag()
{
    run_.Start();
    if (ui.cbxballoon->isChecked())
        PopBalloon(RunStartBalloon());
    run_.MeasureBefore(RamRecovery1->FreeMemory());
    ui.StatusPanel2->SetText(RunStartText());
    ui.BitBtn1->setEnabled(false);
    ui.BitBtn3->setEnabled(true);
    ui.Gauge1->SetTransparentPicture(true);
}

void TfMainMem::RamRecovery1Progress(int progress)
{
    ui.StatusPanel2->SetPosition(progress);
    ui.StatusPanel2->SetText(RunProgressText(progress));
}

void TfMainMem::RamRecovery1AfterDefrag()
{
    ui.BitBtn3->setEnabled(false);
    ui.BitBtn1->setEnabled(true);
    const std::int64_t gained = run_.Gain(RamRecovery1->FreeMemory());
    ui.StatusPanel2->SetText(RunGainText(gained));
    if (ui.cbxballoon->isChecked())
        PopBalloon(RunEndBalloon(gained));
    ui.RecoverRam1->setEnabled(true);
    ui.Cancel1->setEnabled(false);
    run_.Finish();
}

void TfMainMem::RadioButtonClick()
{
    ui.TrackBar1->setEnabled(ui.RadioButton2->isChecked());
}

void TfMainMem::TrackBar1Change()
{
    const int position = ui.TrackBar1->value();
    ui.TrackBar1->setToolTip(QString::number(position));
    ui.Label4->setText(QStringLiteral("%1 MB").arg(position));
}

// ---- automatic recovery ---------------------------------------------------------------------

void TfMainMem::Timer3Timer()
{
    if (AlarmDue(ui.CheckBox3->isChecked(), FreePercent, ui.SpinEdit1->Value(), CpuPercent, ui.SpinEdit3->Value()))
        RecupRam();
}

void TfMainMem::Timer5Timer()
{
    if (IntervalDue(CpuPercent, ui.SpinEdit3->Value(), run_.Running()))
        RecupRam();
}

void TfMainMem::CheckBox5Click()
{
    if (ui.CheckBox5->isChecked())
        SpinEdit2Change();
    Timer5->SetEnabled(ui.CheckBox5->isChecked());
}

void TfMainMem::SpinEdit2Change()
{
    Timer5->SetInterval(IntervalPeriodMs(ui.SpinEdit2->Value()));
}

void TfMainMem::SpinEdit1Change()
{
    ui.PerfChart1->Init();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's recovery by the kernel: "mnemora-xp --recover --kernel".
#include "app/UMain.h"
#include "recovery/KernelRecovery.h"
#include "recovery/RamRecovery.h"
#include "recovery/RecoveryAmounts.h"

void TfMainMem::SetKernelReclaim(platform::IKernelReclaim& kernel, platform::IEventQueue& events)
{
    kernel_ = &kernel;
    delete KernelRecovery1;
    KernelRecovery1 = new TKernelRecovery(kernel, events, this);
    // The user sees the same job as a run: the same handlers show it.
    KernelRecovery1->OnBeforeDefrag = [this](QObject*) { RamRecovery1BeforeDefrag(); };
    KernelRecovery1->OnProgress = [this](QObject*, int progress) { RamRecovery1Progress(progress); };
    KernelRecovery1->OnAfterDefrag = [this](QObject*) { RamRecovery1AfterDefrag(); };
}

void TfMainMem::RecupRamByKernel()
{
    const QString unavailable = kernel_ == nullptr ? QStringLiteral("non prévue dans ce programme") : kernel_->Unavailable();
    if (!unavailable.isEmpty()) {
        ui.StatusBar->setToolTip(
            QStringLiteral("Reprise par le noyau impossible (%1) : récupération ordinaire.").arg(unavailable));
        RecupRam();
        return;
    }
    ui.StatusBar->setToolTip(
        QStringLiteral("Reprise par le noyau dans : %1").arg(kernel_->Groups().join(QStringLiteral(", "))));
    SetRunControls(true);
    if (run_.Running())
        return;
    // Sized as the window's run would be, by the method chosen.
    std::int64_t megabytes = InstalledMb;
    if (ui.RadioButton1->isChecked())
        megabytes = SystemMethodMegabytes(InstalledMb);
    else if (ui.RadioButton2->isChecked())
        megabytes = ui.TrackBar1->value();
    KernelRecovery1->Reclaim(static_cast<std::int32_t>(std::clamp<std::int64_t>(megabytes, 0, INT32_MAX)));
}

void TfMainMem::CancelKernelRun()
{
    if (KernelRecovery1 != nullptr)
        KernelRecovery1->CancelReclaim();
}

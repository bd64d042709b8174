// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindowFixture.h"
#include "platform/fake/FakeKernelReclaim.h"
#include "recovery/KernelRecovery.h"

namespace {

// "mnemora-xp --recover --kernel" as the window shows it: the kernel's run through the same
// status texts, gauge, balloons and cancel as a run; a plain run where the kernel cannot help.
class KernelRun : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        kernel.groups = {{"/user.slice/user-1000.slice/user@1000.service/app.slice", 900 * kMiB, 300 * kMiB}};
        TfMainMem& window = Form();
        window.SetKernelReclaim(kernel, events);
        window.ui.cbxballoon->setChecked(true);
        window.ui.RadioButton2->setChecked(true);
        window.ui.TrackBar1->setValue(256);
        window.Timer4Timer();  // in the tray, where balloons show
    }
    std::vector<QString> BalloonTexts() const
    {
        std::vector<QString> result;
        for (const platform::TrayBalloon& balloon : tray.balloons)
            result.push_back(balloon.text);
        return result;
    }

    platform::FakeKernelReclaim kernel;
};

TEST_F(KernelRun, TheKernelsRunShowsAsARunAndTakesNoMemory)
{
    std::vector<QString> texts;
    events.onDrain = [this, &texts](int) {
        memory.status.availPhys += 64 * kMiB;  // what the kernel gave back shows as free memory
        texts.push_back(form->ui.StatusPanel2->Text());
        EXPECT_TRUE(form->RunReport().Running());
        EXPECT_FALSE(form->ui.BitBtn1->isEnabled());
        EXPECT_TRUE(form->ui.BitBtn3->isEnabled());
        return false;
    };
    form->RecupRamByKernel();
    EXPECT_EQ(kernel.calls.size(), 4u) << "256 MB from the method chosen, in steps of 64";
    EXPECT_EQ(memory.commits, 0) << "no block of the engine's";
    EXPECT_EQ(texts.front(), QStringLiteral(" optimisation en cours ... %"));
    EXPECT_EQ(form->ui.StatusPanel2->Text(), QStringLiteral(" Quantité récupérée : 256 MB"));
    EXPECT_EQ(BalloonTexts(), (std::vector<QString>{QStringLiteral("Optimisation en cours ..."),
                                                    QStringLiteral("Optimisation terminée!\n\rQuantitée récupérée : 256 MB.")}));
    EXPECT_TRUE(form->ui.StatusBar->toolTip().contains(QLatin1String("app.slice")));
    EXPECT_FALSE(form->RunReport().Running());
    EXPECT_TRUE(form->ui.BitBtn1->isEnabled());
}

TEST_F(KernelRun, TheWindowsCancelStopsItBetweenSteps)
{
    events.onDrain = [this](int) {
        form->ui.BitBtn3->click();
        return false;
    };
    form->RecupRamByKernel();
    EXPECT_EQ(kernel.calls.size(), 1u);
    EXPECT_FALSE(form->RunReport().Running());
    EXPECT_TRUE(form->ui.BitBtn1->isEnabled());
}

TEST_F(KernelRun, WhereTheKernelCannotBeAskedAPlainRunIsMadeAndTheTooltipSaysSo)
{
    kernel.unavailable = QStringLiteral("pas de cgroup v2");
    form->RecupRamByKernel();
    EXPECT_TRUE(kernel.calls.empty());
    EXPECT_EQ(memory.commits, 256) << "the window's own run, sized by the same method";
    EXPECT_TRUE(form->ui.StatusBar->toolTip().contains(QLatin1String("pas de cgroup v2")));
    EXPECT_TRUE(form->ui.StatusBar->toolTip().contains(QStringLiteral("récupération ordinaire")));
    EXPECT_EQ(BalloonTexts().size(), 2u);
}

}  // namespace

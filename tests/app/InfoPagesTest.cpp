// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAccessible>
#include <QLocale>
#include <QTreeWidget>

#include "../sysinfo/ComposedProcessor.h"
#include "MainWindowFixture.h"
#include "app/FormPictures.h"
#include "support/EventWait.h"

namespace {

constexpr std::int64_t kMiB = 1 << 20;
const std::string kCsdKey = "SYSTEM\\CurrentControlSet\\Control\\Windows\\";
const QString kMemoryKey = QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management");
using platform::RegistryData;
using platform::RegistryRoot;

class InfoPages : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        systemInfo.computerName = "poste-7";
        systemInfo.userName = "amelie";
        systemInfo.hostAddresses = std::vector<std::string>{"10.0.0.7", "192.168.1.20"};
        systemInfo.AddDisk("/", 1000 * kMiB, 20000 * kMiB);
        version.systemName = "Debian GNU/Linux 12 (bookworm) 6.1.0-18-amd64";
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::c());
        MainWindowFixture::TearDown();
    }
    void SetWindows(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor)
    {
        version.version = platform::VersionRecord{platformId, major, minor, ""};
        version.systemName.clear();
    }
    std::vector<QLabel*> SystemLogos()
    {
        const auto& ui = Form().ui;
        return {ui.LogoWinNT, ui.LogoWin98, ui.LogoWin95, ui.LogoWinXP, ui.LogoWin2K, ui.LogoLinux};
    }
    // The one system logo shown; nullptr when it is not exactly one.
    QLabel* ShownSystemLogo()
    {
        QLabel* shown = nullptr;
        for (QLabel* logo : SystemLogos()) {
            if (!logo->isHidden()) {
                if (shown)
                    return nullptr;
                shown = logo;
            }
        }
        return shown;
    }
};

TEST_F(InfoPages, LinuxShowsItsOwnNameAndLogo)
{
    auto& ui = Form().ui;
    EXPECT_EQ(ui.Label_version_os->text(), QStringLiteral("Debian GNU/Linux 12 (bookworm) 6.1.0-18-amd64  "));
    EXPECT_EQ(ShownSystemLogo(), ui.LogoLinux);
    ShowPageOf(ui.LogoLinux);
    EXPECT_FALSE(ui.LogoLinux->pixmap().isNull());
    EXPECT_LE(ui.LogoLinux->pixmap().width(), 145);
    EXPECT_TRUE(ui.TrackBar2->isEnabled());
    EXPECT_TRUE(ui.cbxballoon->isEnabled());
}

TEST_F(InfoPages, TheLabelTextsFromThePlatformsAnswers)
{
    auto& ui = Form().ui;
    EXPECT_EQ(ui.Label_nom_machine->text(), QStringLiteral("Nom Machine : poste-7"));
    EXPECT_EQ(ui.Label_nom_utilisateur->text(), QStringLiteral("Nom Utilisateur : amelie"));
    EXPECT_EQ(ui.Label_ip_adresse->text(), QStringLiteral("Addresse IP : 192.168.1.20"));
    EXPECT_EQ(ui.Label_disque_c->text(), QStringLiteral("/ : 1000 Mo libres | 20000 Mo "));
    EXPECT_FALSE(ui.Label_disque_c->isHidden());
    EXPECT_EQ(ui.Label_ram->text(), QStringLiteral("RAM Installée : 1023 MB"));
    EXPECT_EQ(ui.Label_cpu_speed->text(), QStringLiteral("Vitesse réelle Processeur : 0 Mhz"));  // no counter
}

TEST_F(InfoPages, NothingKnownLeavesEmptyTextsAndTheDesignCaption)
{
    systemInfo = platform::FakeSystemInfo();
    auto& ui = Form().ui;
    EXPECT_EQ(ui.Label_nom_machine->text(), QStringLiteral("Nom Machine : "));
    EXPECT_EQ(ui.Label_ip_adresse->text(), QStringLiteral("Addresse IP : "));
    EXPECT_EQ(ui.Label_disque_c->text(), QStringLiteral("info freespace/ totalspace on disk C:"));
    EXPECT_FALSE(ui.Label_disque_c->isHidden());
}

TEST_F(InfoPages, RefreshRebuildsThePage)
{
    auto& ui = Form().ui;
    systemInfo.hostAddresses.reset();
    systemInfo.space["/"] = {500 * kMiB, 20000 * kMiB};
    systemInfo.AddDisk("/home", 7 * kMiB, 9 * kMiB);
    processor.timeStampCounter = 0;
    processor.counterStep = 1'994'870'000;
    clock.stepPerRead = 10;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    ui.Button3->click();
    EXPECT_EQ(ui.Label_ip_adresse->text(), QStringLiteral("Addresse IP : "));
    EXPECT_EQ(ui.Label_disque_c->text(), QStringLiteral("/ : 500 Mo libres | 20000 Mo \r\n/home : 7 Mo libres | 9 Mo"));
    // The clock takes its second on a timer: the line keeps its last figure until the new one.
    EXPECT_EQ(ui.Label_cpu_speed->text(), QStringLiteral("Vitesse réelle Processeur : 0 Mhz"));
    EXPECT_TRUE(WaitUntil([&] { return ui.Label_cpu_speed->text() != QStringLiteral("Vitesse réelle Processeur : 0 Mhz"); }));
    EXPECT_EQ(ui.Label_cpu_speed->text(), QStringLiteral("Vitesse réelle Processeur : 1994,87 Mhz"));
}

TEST_F(InfoPages, WindowsVersionsAndTheirLogos)
{
    struct TCase {
        std::uint32_t platformId, major, minor;
        std::uint32_t csdVersion;  // 0: no value
        std::optional<std::uint16_t> servicePack;
        const char* label;
        QLabel* Ui::TfMainMem::*logo;
        bool layered;  // opacity and balloons offered
    };
    using platform::VersionRecord;
    const TCase cases[] = {
        {VersionRecord::kPlatformNt, 5, 1, 0, 2, "Windows XP  SP2", &Ui::TfMainMem::LogoWinXP, true},
        {VersionRecord::kPlatformNt, 5, 0, 0, std::nullopt, "Windows 2000  ", &Ui::TfMainMem::LogoWin2K, true},
        {VersionRecord::kPlatformNt, 4, 0, 0x0600, std::nullopt, "Windows NT 4.0  SP6", &Ui::TfMainMem::LogoWinNT, false},
        {VersionRecord::kPlatformNt, 5, 2, 0, 1, "  ", &Ui::TfMainMem::LogoWinNT, false},  // Server 2003
        {VersionRecord::kPlatformWindows, 4, 10, 0, std::nullopt, "Windows 98  ", &Ui::TfMainMem::LogoWin98, false},
        {VersionRecord::kPlatformWindows, 4, 90, 0, std::nullopt, "Windows ME  ", &Ui::TfMainMem::LogoWin95, false},
        {VersionRecord::kPlatformWindows, 4, 0, 0, std::nullopt, "Windows 95  ", &Ui::TfMainMem::LogoWin95, false},
    };
    for (const TCase& c : cases) {
        form.reset();
        SetWindows(c.platformId, c.major, c.minor);
        version.servicePackMajor = c.servicePack;
        version.machineValues.clear();
        if (c.csdVersion)
            version.SetMachineDword(kCsdKey, "CSDVersion", c.csdVersion);
        auto& ui = Form().ui;
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ui.Label_version_os->text().toStdString(), c.label);
        EXPECT_EQ(ShownSystemLogo(), ui.*c.logo);
        EXPECT_EQ(ui.TrackBar2->isEnabled(), c.layered);
        EXPECT_EQ(ui.cbxballoon->isEnabled(), c.layered);
    }
}

TEST_F(InfoPages, ProcessorPageOfAPentiumIII)
{
    ComposedProcessor p;
    p.Vendor("GenuineIntel", 2).Leaf(1, 0x00000683, 0x00000002, 0, 0x0387FBFF).Leaf(2, 0x03020101, 0, 0, 0x0C040882);
    processor.table = p.cpu.table;
    auto& f = Form();
    EXPECT_EQ(f.ui.lblName->text(), QStringLiteral("Intel Pentium III"));
    EXPECT_EQ(f.ui.LblMMX->text(), QStringLiteral("MMX Instructions Supportées"));
    EXPECT_EQ(f.ui.lblSIMD->text(), QStringLiteral("SIMD Instructions Supportées"));
    EXPECT_EQ(f.ui.lbl3DNow->text(), QStringLiteral("3DNow! Instructions pas supportées"));
    EXPECT_EQ(f.ui.lblL1Code->text(), QStringLiteral("16 Kb"));
    EXPECT_EQ(f.ui.lblL1Data->text(), QStringLiteral("16 Kb"));
    EXPECT_EQ(f.ui.lblLevel1->text(), QStringLiteral("0 Kb"));
    EXPECT_EQ(f.ui.lblLevel2->text(), QStringLiteral("256 Kb"));
    registry.Put(RegistryRoot::LocalMachine, kMemoryKey, "SecondLevelDataCache", 0);
    f.ui.cbxCacheNiveau2->click();  // the box writes the second-level cache the page found
    EXPECT_EQ(registry.Get(RegistryRoot::LocalMachine, kMemoryKey, "SecondLevelDataCache"), RegistryData(256));
    EXPECT_FALSE(f.ui.LogoIntel->isHidden());
    EXPECT_TRUE(f.ui.LogoAMD->isHidden());
    EXPECT_TRUE(f.ui.LogoCyrix->isHidden());

    ASSERT_EQ(f.ui.ListView1->topLevelItemCount(), 30);
    const QTreeWidgetItem* first = f.ui.ListView1->topLevelItem(0);
    EXPECT_EQ(first->text(0), QStringLiteral("FPU"));
    EXPECT_EQ(first->text(1), QStringLiteral("Floating Point Processor"));
    const QTreeWidgetItem* sse2 = f.ui.ListView1->topLevelItem(24);
    EXPECT_EQ(sse2->text(0), QStringLiteral("SIMD2"));
    // The tick and the cross differ, and a screen reader hears the verdict.
    EXPECT_EQ(first->icon(0).pixmap(16).toImage(), FormPictures::ImageList1(4).pixmap(16).toImage());
    EXPECT_EQ(sse2->icon(0).pixmap(16).toImage(), FormPictures::ImageList1(5).pixmap(16).toImage());
    EXPECT_EQ(first->data(0, Qt::AccessibleTextRole).toString(), QStringLiteral("FPU supported"));
    EXPECT_EQ(sse2->data(0, Qt::AccessibleTextRole).toString(), QStringLiteral("SIMD2 not supported"));
    EXPECT_EQ(sse2->data(1, Qt::AccessibleDescriptionRole).toString(), QStringLiteral("not supported"));

    // What the list tells a screen reader, cell by cell, on the page as shown.
    f.ui.Memoire->setCurrentWidget(f.ui.TabSheet4);
    f.show();
    QCoreApplication::processEvents();
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(f.ui.ListView1);
    ASSERT_NE(list, nullptr);
    QStringList spoken;
    for (int i = 0; i < list->childCount(); ++i)
        spoken << list->child(i)->text(QAccessible::Name);
    EXPECT_TRUE(spoken.contains(QStringLiteral("FPU supported")));
    EXPECT_TRUE(spoken.contains(QStringLiteral("SERIAL supported")));
    EXPECT_TRUE(spoken.contains(QStringLiteral("CLFLUSH Instruction, not supported")));
}

TEST_F(InfoPages, VendorLogoByTheVendorsName)
{
    struct TCase {
        const char* id;
        QLabel* Ui::TfMainMem::*logo;
    };
    for (const TCase& c : {TCase{"AuthenticAMD", &Ui::TfMainMem::LogoAMD}, TCase{"CyrixInstead", &Ui::TfMainMem::LogoCyrix},
                           TCase{"CentaurHauls", nullptr}}) {
        form.reset();
        ComposedProcessor p;
        p.Vendor(c.id, 1);
        processor.table = p.cpu.table;
        auto& ui = Form().ui;
        int shown = 0;
        for (QLabel* logo : {ui.LogoIntel, ui.LogoAMD, ui.LogoCyrix})
            shown += logo->isHidden() ? 0 : 1;
        EXPECT_EQ(shown, c.logo ? 1 : 0) << c.id;
        if (c.logo) {
            EXPECT_FALSE((ui.*c.logo)->isHidden()) << c.id;
        }
    }
}

TEST_F(InfoPages, WithoutCpuidTheProcessorPageSaysSo)
{
    processor.present = false;
    auto& ui = Form().ui;
    EXPECT_EQ(ui.lblName->text(), QStringLiteral("Unknown Pentium class"));
    EXPECT_EQ(ui.LblMMX->text(), QStringLiteral("MMX Instructions pas supported"));
    EXPECT_EQ(ui.lblLevel2->text(), QStringLiteral("0 Kb"));
}

}  // namespace

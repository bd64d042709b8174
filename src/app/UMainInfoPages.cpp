// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's information and processor pages, and the logos on them.
#include <QLocale>

#include "app/FormPictures.h"
#include "app/JpegPicture.h"
#include "app/UMain.h"
#include "sysinfo/CpuClockMeasure.h"
#include "sysinfo/CpuIdent.h"
#include "sysinfo/CpuPage.h"
#include "sysinfo/SysInfo.h"

namespace {

// The green tick and the red cross of ImageList1.
constexpr int kSupportedImage = 4;
constexpr int kUnsupportedImage = 5;

// Decoded when its place is first shown, scaled to fit it, the proportions kept; a picture that
// cannot be read leaves the place empty.
void SetPicture(QLabel* place, const QString& path)
{
    FormPictures::SetWhenShown(place, [place, path] {
        const QImage picture = LoadJpeg(path);
        return picture.isNull() ? QPixmap()
                                : QPixmap::fromImage(picture.scaled(place->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    });
}

}  // namespace

void TfMainMem::LoadLogos()
{
    SetPicture(ui.LogoWinNT, QStringLiteral(":/logos/winnt.jpg"));
    SetPicture(ui.LogoWin98, QStringLiteral(":/logos/win98.jpg"));
    SetPicture(ui.LogoWin95, QStringLiteral(":/logos/win95.jpg"));
    SetPicture(ui.LogoWinXP, QStringLiteral(":/logos/winxp.jpg"));
    SetPicture(ui.LogoWin2K, QStringLiteral(":/logos/win2k.jpg"));
    SetPicture(ui.LogoLinux, QStringLiteral(":/logos/linux.jpg"));
    SetPicture(ui.LogoIntel, QStringLiteral(":/logos/intel.jpg"));
    SetPicture(ui.LogoAMD, QStringLiteral(":/logos/amd.jpg"));
    SetPicture(ui.LogoCyrix, QStringLiteral(":/logos/cyrix.jpg"));
}

void TfMainMem::ShowSystemLogo()
{
    for (QLabel* logo : {ui.LogoWinNT, ui.LogoWin98, ui.LogoWin95, ui.LogoWinXP, ui.LogoWin2K, ui.LogoLinux})
        logo->setVisible(false);
    if (Os.OsIsWinXP)
        ui.LogoWinXP->setVisible(true);
    else if (Os.OsIsWin2000)
        ui.LogoWin2K->setVisible(true);
    else if (Os.OsIsWinNT)
        ui.LogoWinNT->setVisible(true);
    else if (Os.OsIsWin98)
        ui.LogoWin98->setVisible(true);
    else if (!Os.OsIsWindows)
        ui.LogoLinux->setVisible(true);  // the Windows 95 logo is no answer on Linux
    else
        ui.LogoWin95->setVisible(true);
}

void TfMainMem::ShowVendorLogo()
{
    const QString& vendor = CpuIdent1->Vendor();
    if (vendor == QLatin1String("Advanced Micro Devices"))
        ui.LogoAMD->setVisible(true);
    else if (vendor == QLatin1String("Cyrix Corporation"))
        ui.LogoCyrix->setVisible(true);
    else if (vendor == QLatin1String("Intel Corporation"))
        ui.LogoIntel->setVisible(true);
}

void TfMainMem::GetInfoSystem()
{
    const QString computerName = QString::fromStdString(system_.ComputerName()).left(255);
    const QString userName = QString::fromStdString(system_.UserName()).left(255);
    // Linux is no Windows version: its own name stands where the Windows name would.
    const QString systemName = QString::fromStdString(version_.SystemName());
    const QString osName = Os.OsVersion == osUnknown && !systemName.isEmpty() ? systemName : OsVersionName(Os);
    ui.Label_version_os->setText(osName + QLatin1Char(' ') + QLatin1Char(' ') +
                                 ServicePackText(ServicePackNumber(Os, version_)));
    ui.Label_nom_machine->setText(QStringLiteral("Nom Machine : ") + computerName);
    ui.Label_nom_utilisateur->setText(QStringLiteral("Nom Utilisateur : ") + userName);
    ui.Label_ip_adresse->setText(QStringLiteral("Addresse IP : ") + LocalIpAddress(system_));
    ui.Label_disque_c->setText(DiskLines(ui.Label_disque_c->text(), system_));
    ui.Label_disque_c->setVisible(true);
    ui.Label_ram->setText(QStringLiteral("RAM Installée : ") + QString::number(InstalledMb) + QStringLiteral(" MB"));
    // Measured over a second on a timer rather than by spinning: the window shows at once and
    // the line gets its figure when the second is over (a refresh keeps the last one till then).
    if (!ui.Label_cpu_speed->text().startsWith(CpuSpeedCaption()))
        ui.Label_cpu_speed->setText(CpuSpeedCaption());
    CpuClock1->Start([this](double mhz) { ui.Label_cpu_speed->setText(CpuSpeedText(mhz, QLocale())); });
}

void TfMainMem::GetCpuInfo()
{
    const TCpuPage page = CpuPage(*CpuIdent1);
    ui.lblName->setText(page.name);
    ui.LblMMX->setText(page.mmx);
    ui.lblSIMD->setText(page.simd);
    ui.lbl3DNow->setText(page.threeDNow);
    CacheLevel1 = page.CacheLevel1;
    CacheL1Code = page.CacheL1Code;
    CacheL1Data = page.CacheL1Data;
    CacheLevel2 = page.CacheLevel2;
    ui.lblL1Code->setText(CacheText(CacheL1Code));
    ui.lblL1Data->setText(CacheText(CacheL1Data));
    ui.lblLevel1->setText(CacheText(CacheLevel1));
    ui.lblLevel2->setText(CacheText(CacheLevel2));
    for (const TFeatureRow& row : page.features)
        AddFeature2(row.code, row.description, row.supported);
}

void TfMainMem::AddFeature2(const QString& code, const QString& description, bool supported)
{
    auto* row = new QTreeWidgetItem(ui.ListView1, {code, description});
    row->setIcon(0, FormPictures::ImageList1(supported ? kSupportedImage : kUnsupportedImage));
    // The tick and the cross are pictures: a screen reader is told in words.
    const QString verdict = supported ? QStringLiteral("supported") : QStringLiteral("not supported");
    row->setData(0, Qt::AccessibleTextRole, code + QLatin1Char(' ') + verdict);
    row->setData(1, Qt::AccessibleTextRole, description + QStringLiteral(", ") + verdict);
    for (int column = 0; column < 2; ++column)
        row->setData(column, Qt::AccessibleDescriptionRole, verdict);
}

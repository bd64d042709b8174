// SPDX-License-Identifier: GPL-3.0-or-later
// The window's settings handlers: the settings store, the start with the session, the memory tweaks.
#include <QCoreApplication>

#include "app/Application.h"
#include "app/UMain.h"
#include "settings/AppRegistry.h"
#include "settings/MemoryTweaks.h"
#include "settings/RunKey.h"
#include "settings/SettingsStore.h"

bool TfMainMem::LoadSettings()
{
    TSettingsStore store(*AppRegistry, *settingsControls_, QCoreApplication::applicationFilePath());
    const bool opened = store.LoadSettings();
    // A value that could not be read is told once the window is up; the start-up goes on, so the
    // timers, the tray icon and the hot key work as with a good value.
    if (!store.Problems().isEmpty())
        QMetaObject::invokeMethod(
            this, [text = store.Problems().join(QLatin1Char('\n'))] { TApplication::ShowError(text); },
            Qt::QueuedConnection);
    return opened;
}

void TfMainMem::SaveSettings()
{
    TSettingsStore(*AppRegistry, *settingsControls_, QCoreApplication::applicationFilePath()).SaveSettings();
}

void TfMainMem::CheckBox1Click()
{
    if (ui.CheckBox1->isChecked())
        AddToRunKey(*AppRegistry, QCoreApplication::applicationFilePath());
    else
        RemoveFromRunKey(*AppRegistry);
}

void TfMainMem::CbCacheChange()
{
    TMemoryTweaks(*AppRegistry, *tweakControls_).WriteCacheSize();
}

void TfMainMem::cbxCacheNiveau2Click()
{
    TMemoryTweaks(*AppRegistry, *tweakControls_).WriteSecondLevelCache(CacheLevel2);
}

void TfMainMem::RGLargeSystemCacheClick()
{
    TMemoryTweaks(*AppRegistry, *tweakControls_).WriteLargeSystemCache();
}

void TfMainMem::CbxnoyauClick()
{
    TMemoryTweaks(*AppRegistry, *tweakControls_).WriteKernelPaging();
}

void TfMainMem::cbxSwapClick()
{
    TMemoryTweaks(*AppRegistry, *tweakControls_).WriteClearSwap();
}

void TfMainMem::GetMemoryTweaks()
{
    // Every tick, but the key is read only when it (or what the controls show) may have changed.
    if (!tweakWatch_.NeedsRefresh(*AppRegistry, *tweakControls_))
        return;
    TMemoryTweaks(*AppRegistry, *tweakControls_).Refresh(CacheLevel2, OsIsNtFamily());
    tweakWatch_.Refreshed(*AppRegistry, *tweakControls_);
}

bool TfMainMem::OsIsNtFamily() const
{
    return Os.OsIsWinXP || Os.OsIsWin2000 || Os.OsIsWinNT;
}

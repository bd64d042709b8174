// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FormTweakControls.h"

#include "ui_UMain.h"

QCheckBox* TFormTweakControls::CheckBox(Box box) const
{
    switch (box) {
    case Box::KernelPaging: return ui_.Cbxnoyau;
    case Box::SecondLevelCache: return ui_.cbxCacheNiveau2;
    case Box::ClearSwap: return ui_.cbxSwap;
    }
    return nullptr;
}

bool TFormTweakControls::IsTicked(Box box) const
{
    return CheckBox(box)->isChecked();
}

void TFormTweakControls::SetTicked(Box box, bool ticked)
{
    CheckBox(box)->setChecked(ticked);
}

int TFormTweakControls::CacheItem() const
{
    return ui_.CbCache->ItemIndex();
}

void TFormTweakControls::SelectCacheItem(int index)
{
    ui_.CbCache->SetItemIndex(index);
}

int TFormTweakControls::LargeCacheItem() const
{
    return ui_.RGLargeSystemCache->ItemIndex();
}

void TFormTweakControls::SelectLargeCacheItem(int index)
{
    ui_.RGLargeSystemCache->SetItemIndex(index);
}

void TFormTweakControls::DisableLargeCache()
{
    ui_.RGLargeSystemCache->setEnabled(false);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Which handler each event of the window's controls, timers and components runs.
#include <QButtonGroup>
#include <QLineEdit>

#include "app/UMain.h"
#include "hotkey/GlobalHotKey.h"
#include "monitor/TextTrayIcon.h"
#include "recovery/RamRecovery.h"
#include "widgets/LabelMouse.h"
#include "widgets/Timer.h"

void TfMainMem::BindHandlers()
{
    RamRecovery1->OnBeforeDefrag = [this](QObject*) { RamRecovery1BeforeDefrag(); };
    RamRecovery1->OnProgress = [this](QObject*, int progress) { RamRecovery1Progress(progress); };
    RamRecovery1->OnAfterDefrag = [this](QObject*) { RamRecovery1AfterDefrag(); };
    TrayIcon1->OnDblClick = [this](QObject*) { TrayIcon1DblClick(); };
    TrayIcon1->OnBalloonHintClick = [this](QObject*) { TrayIcon1BalloonHintClick(); };
    TrayIcon1->OnHostGone = [this](QObject*) { TrayIcon1HostGone(); };
    GlobalHotKey1->OnKeyDown = [this](QObject*, std::uint16_t, Qt::KeyboardModifiers) { GlobalHotKey1KeyDown(); };
    Timer1->OnTimer = [this](QObject*) { Timer1Timer(); };
    Timer2->OnTimer = [this](QObject*) { Timer2Timer(); };
    Timer3->OnTimer = [this](QObject*) { Timer3Timer(); };
    Timer4->OnTimer = [this](QObject*) { Timer4Timer(); };
    Timer5->OnTimer = [this](QObject*) { Timer5Timer(); };

    connect(ui.BitBtn1, &QPushButton::clicked, this, &TfMainMem::RecupRam);
    connect(ui.RecoverRam1, &QAction::triggered, this, &TfMainMem::RecupRam);
    connect(ui.BitBtn3, &QPushButton::clicked, this, &TfMainMem::AnnulRam);
    connect(ui.Cancel1, &QAction::triggered, this, &TfMainMem::AnnulRam);
    connect(ui.Open1, &QAction::triggered, this, &TfMainMem::Open1Click);
    connect(ui.Exit1, &QAction::triggered, this, &TfMainMem::Exit1Click);
    connect(ui.Button4, &QPushButton::clicked, this, &TfMainMem::Button4Click);
    connect(ui.Button1, &QPushButton::clicked, this, &TfMainMem::Button1Click);
    auto* webLink = new TLabelMouse(ui.Label32);
    webLink->OnMouseEnter = [this] { Label32MouseEnter(); };
    webLink->OnMouseLeave = [this] { Label32MouseLeave(); };
    webLink->OnClick = [this] { Label32Click(); };
    auto* mailLink = new TLabelMouse(ui.Label11);
    mailLink->OnMouseEnter = [this] { Label11MouseEnter(); };
    mailLink->OnMouseLeave = [this] { Label11MouseLeave(); };
    mailLink->OnClick = [this] { Label11Click(); };
    for (QRadioButton* method : {ui.RadioButton1, ui.RadioButton2, ui.RadioButton3}) {
        connect(method, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                RadioButtonClick();
        });
    }
    connect(ui.TrackBar1, &QSlider::valueChanged, this, &TfMainMem::TrackBar1Change);
    connect(ui.CheckBox2, &QCheckBox::toggled, this, &TfMainMem::CheckBox2Click);
    connect(ui.TrackBar2, &QSlider::valueChanged, this, &TfMainMem::TrackBar2Change);
    connect(ui.HotKey1, &QKeySequenceEdit::keySequenceChanged, this, &TfMainMem::HotKey1Change);
    connect(ui.Basse1, &QAction::triggered, this, &TfMainMem::Basse1Click);
    connect(ui.Normale1, &QAction::triggered, this, &TfMainMem::Moyen1Click);
    connect(ui.Haute1, &QAction::triggered, this, &TfMainMem::Haute1Click);
    connect(ui.CheckBox5, &QCheckBox::toggled, this, &TfMainMem::CheckBox5Click);
    connect(ui.SpinEdit2, &QSpinBox::valueChanged, this, &TfMainMem::SpinEdit2Change);
    connect(ui.SpinEdit1, &QSpinBox::valueChanged, this, &TfMainMem::SpinEdit1Change);
    connect(ui.Button2, &QPushButton::clicked, this, &TfMainMem::Button2Click);
    connect(ui.CheckBox1, &QCheckBox::toggled, this, &TfMainMem::CheckBox1Click);
    connect(ui.CbCache, &QComboBox::activated, this, &TfMainMem::CbCacheChange);
    connect(ui.CbCache->lineEdit(), &QLineEdit::textEdited, this, &TfMainMem::CbCacheChange);
    connect(ui.cbxCacheNiveau2, &QCheckBox::toggled, this, &TfMainMem::cbxCacheNiveau2Click);
    connect(ui.RGLargeSystemCache->Buttons(), &QButtonGroup::idClicked, this, &TfMainMem::RGLargeSystemCacheClick);
    connect(ui.Cbxnoyau, &QCheckBox::toggled, this, &TfMainMem::CbxnoyauClick);
    connect(ui.cbxSwap, &QCheckBox::toggled, this, &TfMainMem::cbxSwapClick);
    connect(ui.Button3, &QPushButton::clicked, this, &TfMainMem::Button3Click);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "ui_UMain.h"

class QMainWindow;
class QMenu;

// The form's two pop-up menus. Their items are actions of the form's layout file (Open1,
// RecoverRam1, Cancel1, Exit1 and Basse1, Normale1, Haute1); a layout file cannot hold a menu
// that belongs to no menu bar, so the menus are put together here, right after setupUi, and bound
// to the controls that open them on a right click.
class TFormMenus {
public:
    // The tray icon's menu; also opened over the page control (its tabs and every page that has
    // no menu of its own) and over the "Paramètres" page.
    QMenu* PopupMenu1 = nullptr;
    // The history chart's menu: how often the live readings refresh.
    QMenu* PopupMenu2 = nullptr;

    void SetupMenus(Ui::TfMainMem& ui, QMainWindow* window);
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FormMenus.h"

#include <QMainWindow>
#include <QMenu>

#include "widgets/MenuStyle.h"

namespace {

QMenu* MakeMenu(const char* name, QMainWindow* window, QStyle* look, const QList<QAction*>& items)
{
    auto* menu = new QMenu(window);
    menu->setObjectName(QString::fromLatin1(name));
    menu->addActions(items);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    menu->setFont(font);
    menu->setStyle(look);
    return menu;
}

void OpenOnRightClick(QWidget* widget, QMenu* menu)
{
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(widget, &QWidget::customContextMenuRequested, menu,
                     [widget, menu](const QPoint& position) { menu->popup(widget->mapToGlobal(position)); });
}

}  // namespace

void TFormMenus::SetupMenus(Ui::TfMainMem& ui, QMainWindow* window)
{
    // One look for both menus; a widget does not own the style it is given, the window does.
    auto* look = new TMenuStyle;
    look->setParent(window);
    PopupMenu1 = MakeMenu("PopupMenu1", window, look, {ui.Open1, ui.RecoverRam1, ui.Cancel1, ui.Exit1});
    // The items' hints show as tool tips; an item without one shows none.
    PopupMenu1->setToolTipsVisible(true);
    PopupMenu2 = MakeMenu("PopupMenu2", window, look, {ui.Basse1, ui.Normale1, ui.Haute1});

    OpenOnRightClick(ui.Memoire, PopupMenu1);
    OpenOnRightClick(ui.TabSheet3, PopupMenu1);
    OpenOnRightClick(ui.PerfChart1, PopupMenu2);
}

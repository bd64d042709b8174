// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QIcon>
#include <QPixmap>
#include <functional>

#include "ui_UMain.h"

// The window's pictures, drawn for this program (assets/pictures, built in under :/pictures,
// each at 1x and 2x): the six buttons', the status panels', the banner, the "about" sign and the
// tray menu's.
namespace FormPictures {

// The picture of that name (a file name without ".png"), with its 1x and 2x drawings.
QIcon Picture(const QString& name);

// ImageList1: seven 16 x 16 pictures used by index: 0 the window, 1 a recovery, 2 memory,
// 3 quit, 4 a supported feature, 5 cancel and an unsupported feature, 6 the processor. An index
// out of range gives an empty picture.
constexpr int kImageList1Count = 7;
QIcon ImageList1(int index);

// Gives the label its picture the first time it is shown (at once if it is on screen already):
// a picture on a page never opened is never decoded, nor kept in memory.
void SetWhenShown(QLabel* label, std::function<QPixmap()> picture);

// Puts every picture in its place on a window built from the layout file.
void Load(Ui::TfMainMem& ui);

}  // namespace FormPictures

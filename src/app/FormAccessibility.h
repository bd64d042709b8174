// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "ui_UMain.h"

namespace FormAccessibility {

// Screen readers hear each group box by its own title and each control without a text of its own
// by the caption written beside it. Left alone, Qt names such a control after the nearest group
// box's title, and a group box inside another after the outer one's.
void NameControls(Ui::TfMainMem& ui, QWidget* form);

}  // namespace FormAccessibility

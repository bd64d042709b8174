// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "ui_UMain.h"

namespace FormAccessibility {

// Screen readers hear each group box by its own title and each control without a text of its own
// by the caption written beside it. Left alone, Qt names such a control after the nearest group
// box's title, and a group box inside another after the outer one's. Pictures are named for what
// they show, or left out of the tree when they only decorate; the status panels, the chart, the
// links and the page tabs are given the roles and states a screen reader expects of them.
void NameControls(Ui::TfMainMem& ui, QWidget* form);

// The column captions of the processor's feature table (its header is hidden; screen readers
// still read them).
inline constexpr const char* kFeatureColumns[] = {"Fonction", "Description"};

}  // namespace FormAccessibility

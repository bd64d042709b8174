// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window is laid out for Arial (bold 11 pixels in the gauges and the status bar, 9 pixels in
// the group boxes). Linux desktops rarely have Arial; Liberation Sans has its metrics, and with it
// every text shows whole where the layout puts it. Fontconfig usually makes that substitution
// itself; this makes it whatever its configuration.
void SubstituteArial();

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QtGlobal>

// Stands guard while the application object connects to the display. A display that cannot be
// opened (DISPLAY unset in a desktop launcher, a wrong one) is a fatal error to Qt, which aborts
// with a core dump; here it ends the program with one clear line on stderr and status 1. Qt's
// other messages of that moment are held and passed on once the display is open.
class DisplayOpenGuard {
public:
    DisplayOpenGuard();
    ~DisplayOpenGuard();
    DisplayOpenGuard(const DisplayOpenGuard&) = delete;
    DisplayOpenGuard& operator=(const DisplayOpenGuard&) = delete;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <atomic>
#include <latch>
#include <thread>

// The window's first text waits for fontconfig to read its whole configuration (some fifty
// files) and for Qt to list the machine's fonts: both are done on a second processor while the
// display, the application and the program's services are set up.
class TFontWarmUp {
public:
    // Starts reading fontconfig's configuration; needs no application.
    TFontWarmUp();
    // Qt's font list may be read as well: the application exists and stays until Finish.
    void ApplicationReady();
    // Waits for the work started (before the window's first text).
    void Finish();
    // A start that ends before ApplicationReady leaves Qt's font list unread.
    ~TFontWarmUp();

    TFontWarmUp(const TFontWarmUp&) = delete;
    TFontWarmUp& operator=(const TFontWarmUp&) = delete;

private:
    std::latch applicationDecided_{1};
    std::atomic<bool> applicationReady_{false};
    bool decided_ = false;
    std::jthread thread_;
};

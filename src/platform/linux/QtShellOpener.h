// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/ShellOpener.h"

namespace platform {

// QDesktopServices::openUrl: xdg-open, the desktop portal, or whatever handler the desktop has.
class QtShellOpener : public IShellOpener {
public:
    bool Open(const QString& link) override;

    // Whether a link is of a kind the program may hand to the desktop: http, https or ftp with a
    // host, or mailto with an address. A news file is written by whoever controls a server or
    // the network path, so nothing that would run or show a local file gets through.
    static bool IsOpenable(const QString& link);
};

}  // namespace platform

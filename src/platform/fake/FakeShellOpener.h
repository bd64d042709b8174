// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QStringList>

#include "platform/ShellOpener.h"

namespace platform {

// A desktop that only writes down the links it was asked to open.
class FakeShellOpener : public IShellOpener {
public:
    bool Open(const QString& link) override
    {
        opened.append(link);
        return true;
    }

    QStringList opened;
};

}  // namespace platform

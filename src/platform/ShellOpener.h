// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QtCore/QString>

namespace platform {

// Hands a link to the desktop's default handler (the browser, the mail program).
class IShellOpener {
public:
    virtual ~IShellOpener() = default;
    // True when the desktop took the link. Only web, FTP and mail links are ever handed over:
    // anything else (a path, file:, javascript:, a desktop file...) is refused.
    virtual bool Open(const QString& link) = 0;
};

}  // namespace platform

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/QtShellOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

bool QtShellOpener::IsOpenable(const QString& link)
{
    // Tolerant: the mail link carries its subject's blanks unencoded.
    const QUrl url(link, QUrl::TolerantMode);
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("ftp"))
        return !url.host().isEmpty();
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty();
    return false;
}

bool QtShellOpener::Open(const QString& link)
{
    if (!IsOpenable(link))
        return false;
    return QDesktopServices::openUrl(QUrl(link, QUrl::TolerantMode));
}

}  // namespace platform

// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/OpenedLinks.h"

#include <QDesktopServices>

namespace {

const QStringList kSchemes = {"http", "https", "ftp", "mailto", "file", "javascript", "data", "smb", "ssh"};

}  // namespace

OpenedLinks::OpenedLinks()
{
    for (const QString& scheme : kSchemes)
        QDesktopServices::setUrlHandler(scheme, this, "Open");
}

OpenedLinks::~OpenedLinks()
{
    for (const QString& scheme : kSchemes)
        QDesktopServices::unsetUrlHandler(scheme);
}

void OpenedLinks::Open(const QUrl& url)
{
    links.append(url.toString());
}

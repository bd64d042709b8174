// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AuthorLinks.h"

namespace {

constexpr qsizetype kMaxUpToVersion = 63;

}  // namespace

QString AuthorMailLink(const QString& email, const QString& version)
{
    // Cut at 63, the part before "&body=" keeps the whole link within 69 characters.
    const QString upToVersion =
        (QStringLiteral("mailto:") + email + QStringLiteral("?subject=Mnemora Xp Version : ") + version).left(kMaxUpToVersion);
    return upToVersion + QStringLiteral("&body=");
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/linux/QtShellOpener.h"
#include "support/OpenedLinks.h"

namespace {

TEST(QtShellOpener, WebFtpAndMailLinksAreHandedToTheDesktop)
{
    OpenedLinks desktop;
    platform::QtShellOpener opener;
    EXPECT_TRUE(opener.Open("http://example.org/news.html"));
    EXPECT_TRUE(opener.Open("HTTPS://example.org/"));
    EXPECT_TRUE(opener.Open("ftp://ftp.example.org/pub/setup.exe"));
    EXPECT_TRUE(opener.Open("mailto:auteur@example.org?subject=Mnemora Xp Version : 4.0.0&body="));
    ASSERT_EQ(desktop.links.size(), 4);
    EXPECT_EQ(desktop.links[0], "http://example.org/news.html");
    EXPECT_TRUE(desktop.links[3].startsWith("mailto:auteur@example.org?subject=Mnemora"));
}

TEST(QtShellOpener, AnythingElseIsRefused)
{
    OpenedLinks desktop;
    platform::QtShellOpener opener;
    for (const char* link : {"file:///etc/passwd", "file://fileserver/share/run.sh", "/usr/bin/xterm", "../../.bashrc", "javascript:alert(1)",
                             "data:text/html,<script>x</script>", "smb://host/share", "ssh://host",
                             "/usr/share/applications/xterm.desktop", "xterm.desktop", "http:", "http:///path",
                             "mailto:", "", "C:\\Windows\\notepad.exe"}) {
        EXPECT_FALSE(opener.Open(QString::fromLatin1(link))) << link;
    }
    EXPECT_TRUE(desktop.links.isEmpty()) << desktop.links.join('\n').toStdString();
}

}  // namespace

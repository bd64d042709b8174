// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

// The author's addresses shown on the about page.
inline constexpr const char* kAuthorWebAddress = "https://mnemora-xp.example.org/";
inline constexpr const char* kAuthorEmail = "auteur@example.org";

// "mailto:" + address + "?subject=Mnemora Xp Version : " + version + "&body=", the subject's
// blanks left as they are. The mail link was always built in fixed buffers: the text up to the
// version holds at most 63 characters and the whole link 69; what is longer is cut.
QString AuthorMailLink(const QString& email, const QString& version);

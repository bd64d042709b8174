// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <sys/stat.h>
#include <sys/types.h>

namespace platform {

// A folder only its owner can change, in the way ssh-agent and tmux keep theirs: the program
// trusts nothing in a folder that another user could have written or swapped.
struct PrivateDirectory {
    int fd = -1;      // the folder, opened without following a symbolic link; -1 when refused
    QString problem;  // why it was refused, as one French sentence

    // Creates the folder with mode 0700 when it is missing, then checks what is really there: a
    // folder, not a symbolic link, owned by owner, writable by no one else. The caller owns fd.
    static PrivateDirectory Open(const QString& path, uid_t owner);

    // Why a folder in this state is not private, as the end of a French sentence; empty when it
    // is. It must belong to owner, or to root where trustRoot holds (root can change anything
    // anyway), and no one else, not even its group, may write to it.
    static QString Problem(const struct stat& folder, uid_t owner, bool trustRoot = false);
};

}  // namespace platform

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QLocalServer>
#include <QString>
#include <sys/types.h>
#include <unistd.h>

#include "platform/SingleInstance.h"

namespace platform {

// The single-instance guard: a lock file and a local socket in a private per-user folder. The
// claim is the lock, which the kernel holds for the running instance and drops when it ends in
// any way, so simultaneous starts cannot both win and a crashed instance leaves nothing that
// stops the next one. The socket carries a later start's request (InstanceProtocol.h).
class LocalSocketInstance : public ISingleInstance {
public:
    // folder: where the lock and the socket live; it is checked before anything in it is
    // trusted (see PrivateDirectory). owner: the user it must belong to.
    explicit LocalSocketInstance(QString folder = DefaultFolder(), uid_t owner = ::getuid());
    ~LocalSocketInstance() override;

    ClaimResult Claim() override;
    bool SignalRunning(Request request = Request::Show) override;
    QString Problem() const override { return problem_; }

    QString SocketPath() const;
    // $XDG_RUNTIME_DIR when it is set, else the folder mnemora-xp-<uid> in the temporary folder.
    static QString DefaultFolder();

private:
    bool CheckFolder();
    void TakeClients();
    void ReleaseClaim();

    QString folder_;
    uid_t owner_;
    QString problem_;
    int lockFd_ = -1;
    QLocalServer server_;
    int clients_ = 0;
};

}  // namespace platform

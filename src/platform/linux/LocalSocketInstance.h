// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <list>
#include <memory>
#include <sys/types.h>
#include <unistd.h>

#include "platform/SingleInstance.h"

namespace platform {

// The single-instance guard: a lock file and a local socket in a private per-user folder. The
// claim is the lock, which the kernel holds for the running instance and drops when it ends in
// any way, so simultaneous starts cannot both win and a crashed instance leaves nothing that
// stops the next one. The socket (a plain Unix stream socket, watched by the event loop) carries
// a later start's request (InstanceProtocol.h).
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
    // One later start being heard: its request so far, and the time it is given.
    struct TClient {
        int fd = -1;
        QByteArray request;
        // Deleted later: the client may end from within their own signals.
        QSocketNotifier* readable = nullptr;
        QTimer* timeout = nullptr;
    };

    bool CheckFolder();
    bool Listen();
    void TakeClients();
    void ReadFrom(TClient& client);
    void End(TClient& client);
    void ReleaseClaim();

    QString folder_;
    uid_t owner_;
    QString problem_;
    int lockFd_ = -1;
    int serverFd_ = -1;
    std::unique_ptr<QSocketNotifier> waiting_;  // a client waits to be taken
    std::list<TClient> clients_;
};

}  // namespace platform

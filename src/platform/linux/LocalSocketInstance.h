#pragma once
#include <QLocalServer>
#include <QString>

#include "platform/SingleInstance.h"

namespace platform {

// The single-instance guard on a per-user local socket. A socket left behind by an instance that
// crashed answers no one: it is removed and taken over, never obeyed.
class LocalSocketInstance : public ISingleInstance {
public:
    // The default socket lives in $XDG_RUNTIME_DIR (or the temporary folder, named by user id).
    explicit LocalSocketInstance(QString socketPath = DefaultSocketPath());

    bool SignalRunning() override;
    bool Claim() override;

    static QString DefaultSocketPath();

private:
    QString socketPath_;
    QLocalServer server_;
};

}  // namespace platform

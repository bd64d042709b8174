// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/InstanceProtocol.h"

#include <QList>

namespace platform::InstanceProtocol {
namespace {

constexpr char kProgram[] = "mnemora-xp";

QByteArray VerbOf(ISingleInstance::Request request)
{
    switch (request) {
    case ISingleInstance::Request::Recover:
        return QByteArrayLiteral("recover");
    case ISingleInstance::Request::RecoverByKernel:
        return QByteArrayLiteral("recover-kernel");
    default:
        return QByteArrayLiteral("show");
    }
}

// The first version of the protocol that has the request's verb.
int VersionOf(ISingleInstance::Request request)
{
    return request == ISingleInstance::Request::RecoverByKernel ? 2 : 1;
}

}  // namespace

QByteArray RequestLine(ISingleInstance::Request request)
{
    return QByteArray(kProgram) + ' ' + QByteArray::number(VersionOf(request)) + ' ' + VerbOf(request) + '\n';
}

Reading Read(QByteArrayView line)
{
    Reading reading;
    if (line.size() > kMaxLineBytes)
        return reading;
    const QList<QByteArray> words = line.toByteArray().split(' ');
    bool numbered = false;
    const int version = words.size() == 3 ? words[1].toInt(&numbered) : 0;
    if (words.size() != 3 || words[0] != kProgram || !numbered || version < 1)
        return reading;
    if (version > kVersion) {
        reading.verdict = Verdict::OtherVersion;
        return reading;
    }
    for (const ISingleInstance::Request request : {ISingleInstance::Request::Show, ISingleInstance::Request::Recover,
                                                   ISingleInstance::Request::RecoverByKernel}) {
        if (words[2] == VerbOf(request) && version >= VersionOf(request)) {
            reading.verdict = Verdict::Taken;
            reading.request = request;
            return reading;
        }
    }
    return reading;  // a verb its version does not have is garbage
}

}  // namespace platform::InstanceProtocol

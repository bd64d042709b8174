// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/InstanceProtocol.h"

#include <QList>

namespace platform::InstanceProtocol {
namespace {

constexpr char kProgram[] = "mnemora-xp";

QByteArray VerbOf(ISingleInstance::Request request)
{
    return request == ISingleInstance::Request::Recover ? QByteArrayLiteral("recover") : QByteArrayLiteral("show");
}

}  // namespace

QByteArray RequestLine(ISingleInstance::Request request)
{
    return QByteArray(kProgram) + ' ' + QByteArray::number(kVersion) + ' ' + VerbOf(request) + '\n';
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
    if (version != kVersion) {
        reading.verdict = Verdict::OtherVersion;
        return reading;
    }
    for (const ISingleInstance::Request request : {ISingleInstance::Request::Show, ISingleInstance::Request::Recover}) {
        if (words[2] == VerbOf(request)) {
            reading.verdict = Verdict::Taken;
            reading.request = request;
            return reading;
        }
    }
    return reading;  // a version adds no verb without a new number: this one is garbage
}

}  // namespace platform::InstanceProtocol

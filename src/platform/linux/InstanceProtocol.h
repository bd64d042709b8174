// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <optional>

#include "platform/SingleInstance.h"

namespace platform {

// What a later start says to the running instance over its socket: one line,
// "mnemora-xp <version> <request>\n", answered by "ok\n" when the request was taken or "no\n"
// when it is a request of another version of the program. Anything else gets no answer.
// Version 1 has "show" and "recover"; version 2 adds "recover-kernel". A request is sent with the
// first version that has its verb, so that an instance of version 1 still takes the first two.
namespace InstanceProtocol {

inline constexpr int kVersion = 2;  // the highest this program speaks
inline constexpr qsizetype kMaxLineBytes = 64;  // a longer line is no request
inline constexpr char kTaken[] = "ok\n";
inline constexpr char kRefused[] = "no\n";

QByteArray RequestLine(ISingleInstance::Request request);  // with its line feed

enum class Verdict { Taken, OtherVersion, Garbage };
struct Reading {
    Verdict verdict = Verdict::Garbage;
    ISingleInstance::Request request = ISingleInstance::Request::Show;
};
// line: without its line feed.
Reading Read(QByteArrayView line);

}  // namespace InstanceProtocol
}  // namespace platform

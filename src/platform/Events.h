// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>

class QObject;

// Component events: a handler bound by the owner, fired only when assigned.
using TNotifyEvent = std::function<void(QObject* sender)>;

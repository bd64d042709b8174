// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>

// Runs the event loop until the condition holds or the deadline passes; returns the condition.
// A deadline, not a measurement: it only keeps a broken test from hanging.
bool WaitUntil(const std::function<bool()>& condition, int deadlineMs = 10000);

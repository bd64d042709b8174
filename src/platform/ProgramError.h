// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <stdexcept>

// The program's one error type. Its text reaches the user through the application's general
// handler, which shows it in a message box and carries on.
class ProgramError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

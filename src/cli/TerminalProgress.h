// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdio>

// A one-line progress bar redrawn in place, for when the output is a terminal.
class TerminalProgress {
public:
    explicit TerminalProgress(std::FILE* out, int width = 40) : out_(out), width_(width) {}
    void Draw(int percent);
    void Finish();  // ends the bar's line, if one was drawn

private:
    std::FILE* out_;
    int width_;
    bool drawn_ = false;
};

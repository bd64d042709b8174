// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TerminalProgress.h"

#include <algorithm>
#include <string>

void TerminalProgress::Draw(int percent)
{
    percent = std::clamp(percent, 0, 100);
    const int filled = percent * width_ / 100;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(width_ - filled), '.');
    std::fprintf(out_, "\r[%s] %3d %%", bar.c_str(), percent);
    std::fflush(out_);
    drawn_ = true;
}

void TerminalProgress::Finish()
{
    if (drawn_)
        std::fputc('\n', out_);
    drawn_ = false;
}

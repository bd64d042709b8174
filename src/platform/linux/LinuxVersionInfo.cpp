// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/LinuxVersionInfo.h"

#include <sys/utsname.h>

#include <fstream>
#include <sstream>

namespace platform {

namespace {

// A value as os-release writes it: bare, or in single or double quotes with backslash escapes.
std::string Unquote(const std::string& value)
{
    if (value.size() < 2 || (value.front() != '"' && value.front() != '\'') || value.back() != value.front())
        return value;
    std::string text;
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == '\\' && i + 2 < value.size())
            ++i;
        text += value[i];
    }
    return text;
}

}  // namespace

std::string LinuxVersionInfo::PrettyName(const std::string& osRelease)
{
    std::istringstream lines(osRelease);
    std::string line;
    while (std::getline(lines, line)) {
        constexpr std::string_view kKey = "PRETTY_NAME=";
        if (line.starts_with(kKey)) {
            const std::string name = Unquote(line.substr(kKey.size()));
            if (!name.empty())
                return name;
        }
    }
    return "Linux";
}

std::string LinuxVersionInfo::SystemName()
{
    std::string osRelease;
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        std::ifstream file(path);
        if (file) {
            std::ostringstream text;
            text << file.rdbuf();
            osRelease = text.str();
            break;
        }
    }
    std::string name = PrettyName(osRelease);
    utsname names{};
    if (::uname(&names) == 0)
        name += std::string(" ") + names.release;
    return name;
}

}  // namespace platform

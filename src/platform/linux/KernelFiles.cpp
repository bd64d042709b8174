// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/KernelFiles.h"

#include <QFile>
#include <charconv>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

std::string ReadKernelFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string text(8192, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == text.size())
            text.resize(text.size() * 2);
        const ssize_t got = ::read(fd, text.data() + used, text.size() - used);
        if (got <= 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    ::close(fd);
    text.resize(used);
    return text;
}

KernelFile::~KernelFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

KernelFile::KernelFile(KernelFile&& other) noexcept
    : path_(std::move(other.path_)),
      ifMissing_(other.ifMissing_),
      missing_(other.missing_),
      fd_(std::exchange(other.fd_, -1)),
      size_(other.size_),
      buffer_(std::move(other.buffer_))
{
}

bool KernelFile::Opens()
{
    if (fd_ < 0 && !missing_) {
        fd_ = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_CLOEXEC);
        missing_ = fd_ < 0 && ifMissing_ == IfMissing::StaysMissing;
    }
    return fd_ >= 0;
}

std::string_view KernelFile::Read()
{
    if (!Opens())
        return {};
    for (;;) {
        if (buffer_.size() < size_)
            buffer_.resize(size_);
        const ssize_t got = ::pread(fd_, buffer_.data(), size_, 0);
        if (got < 0)
            return {};
        // A full buffer may have cut the file: read it whole into a larger one.
        if (static_cast<std::size_t>(got) < size_)
            return {buffer_.data(), static_cast<std::size_t>(got)};
        size_ *= 2;
    }
}

std::int64_t KernelField(std::string_view text, std::string_view key)
{
    std::size_t at = 0;
    while ((at = text.find(key, at)) != std::string_view::npos) {
        const bool lineStart = at == 0 || text[at - 1] == '\n';
        at += key.size();
        if (!lineStart || at >= text.size() || (text[at] != ':' && text[at] != ' '))
            continue;
        ++at;
        while (at < text.size() && text[at] == ' ')
            ++at;
        return KernelValue(text.substr(at));
    }
    return -1;
}

std::int64_t KernelValue(std::string_view text)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && value >= 0 ? value : -1;
}

}  // namespace platform

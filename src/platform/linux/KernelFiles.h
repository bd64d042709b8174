// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The small text files of /proc and /sys, read with plain read(2): they are read once per 16 MiB
// of a recovery run, and QFile's buffering costs more than the read itself. Empty when unreadable.
std::string ReadKernelFile(const QString& path);

// A small kernel file read again and again (every second, by the live monitor): kept open and
// read from its start with one pread(2) each time, where opening it anew costs four calls.
class KernelFile {
public:
    // What a file that does not open is taken to be: looked for again at the next reading, or
    // missing for good (a control group's files come and go with the group itself).
    enum class IfMissing { LookAgain, StaysMissing };

    explicit KernelFile(QString path, IfMissing ifMissing = IfMissing::LookAgain)
        : path_(std::move(path)), ifMissing_(ifMissing)
    {
    }
    ~KernelFile();
    KernelFile(KernelFile&& other) noexcept;
    KernelFile& operator=(KernelFile&&) = delete;
    KernelFile(const KernelFile&) = delete;
    KernelFile& operator=(const KernelFile&) = delete;

    // The whole file as it is now, valid until the next reading of this file; empty when
    // unreadable. The buffer is kept from one reading to the next.
    std::string_view Read();
    // Whether the file opens (it then stays open for the readings).
    bool Opens();

private:
    QString path_;
    IfMissing ifMissing_;
    bool missing_ = false;  // did not open, and is not looked for again
    int fd_ = -1;
    std::size_t size_ = 4096;  // grows to what the file needs
    std::string buffer_;
};

// The number on the line that starts with key, followed by ':' or a blank ("MemTotal:  24 kB",
// "inactive_file 4096"); -1 when the key is absent or its value is not a number that fits.
std::int64_t KernelField(std::string_view text, std::string_view key);

// The first number of a one-value file (memory.max, memory.limit_in_bytes); -1 when there is
// none ("max", empty, unreadable, out of range).
std::int64_t KernelValue(std::string_view text);

}  // namespace platform

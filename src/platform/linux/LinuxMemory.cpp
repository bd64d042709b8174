#include "platform/linux/LinuxMemory.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <string_view>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kBlocksPerReading = 16;

// Small files under /proc and /sys are read with plain read(2): this runs once per 16 MiB of a
// recovery run, and QFile's buffering costs more than the read itself.
std::string ReadSmallFile(const QString& path)
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

// "MemTotal:       24578016 kB" -> bytes; -1 when the key is absent.
std::int64_t MeminfoField(std::string_view text, std::string_view key)
{
    std::size_t at = 0;
    while ((at = text.find(key, at)) != std::string_view::npos) {
        const bool lineStart = at == 0 || text[at - 1] == '\n';
        at += key.size();
        if (!lineStart || at >= text.size() || text[at] != ':')
            continue;
        ++at;
        while (at < text.size() && text[at] == ' ')
            ++at;
        std::int64_t kib = 0;
        const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), kib);
        if (error != std::errc())
            return -1;
        return kib * 1024;
    }
    return -1;
}

// A cgroup value: a number of bytes, or -1 for "max", absent or unreadable.
std::int64_t CgroupValue(const QString& path)
{
    const std::string text = ReadSmallFile(path);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() ? value : -1;
}

}  // namespace

LinuxMemory::LinuxMemory(QString procDir, QString cgroupDir)
    : meminfoPath_(procDir + QStringLiteral("/meminfo")), cgroupDir_(std::move(cgroupDir))
{
    // cgroup v2 names the process's group on the line "0::/path".
    const std::string self = ReadSmallFile(procDir + QStringLiteral("/self/cgroup"));
    const std::size_t at = self.find("0::");
    if (at != std::string::npos && (at == 0 || self[at - 1] == '\n')) {
        const std::size_t end = self.find('\n', at);
        selfCgroupPath_ = QString::fromStdString(self.substr(at + 3, end - at - 3));
    }
}

void LinuxMemory::ReadCgroup(Reading& reading) const
{
    if (selfCgroupPath_.isEmpty())
        return;
    // Every ancestor's limit binds the process too; the tightest one counts.
    QString group = selfCgroupPath_;
    for (;;) {
        const QString dir = cgroupDir_ + group;
        const std::int64_t max = CgroupValue(dir + QStringLiteral("/memory.max"));
        if (max >= 0) {
            const std::int64_t current = std::max<std::int64_t>(0, CgroupValue(dir + QStringLiteral("/memory.current")));
            const std::int64_t left = std::max<std::int64_t>(0, max - current);
            reading.cgroupLimit = reading.cgroupLimit < 0 ? max : std::min(reading.cgroupLimit, max);
            reading.cgroupHeadroom = reading.cgroupHeadroom < 0 ? left : std::min(reading.cgroupHeadroom, left);
        }
        if (group == QLatin1String("/") || group.isEmpty())
            break;
        const int slash = group.lastIndexOf(QLatin1Char('/'));
        group = slash <= 0 ? QStringLiteral("/") : group.left(slash);
    }
}

LinuxMemory::Reading LinuxMemory::Read() const
{
    const std::string text = ReadSmallFile(meminfoPath_);
    Reading reading;
    reading.total = std::max<std::int64_t>(0, MeminfoField(text, "MemTotal"));
    reading.available = std::max<std::int64_t>(0, MeminfoField(text, "MemAvailable"));
    reading.swapFree = std::max<std::int64_t>(0, MeminfoField(text, "SwapFree"));
    reading.cached = std::max<std::int64_t>(0, MeminfoField(text, "Cached"));
    ReadCgroup(reading);
    return reading;
}

MemoryStatus LinuxMemory::Status()
{
    const Reading reading = Read();
    MemoryStatus status{reading.total, reading.available, reading.cached};
    if (reading.cgroupLimit >= 0) {
        status.totalPhys = std::min(status.totalPhys, reading.cgroupLimit);
        status.availPhys = std::min(status.availPhys, reading.cgroupHeadroom);
    }
    return status;
}

std::int64_t LinuxMemory::SafetyFloor()
{
    return FloorFor(Read().total);
}

std::int64_t LinuxMemory::FloorFor(std::int64_t total)
{
    return std::max(kMinFloor, total / 20);
}

void* LinuxMemory::CommitBlock()
{
    if (blocksSinceReading_ == 0 || blocksSinceReading_ >= kBlocksPerReading || headroom_ < kBlockSize) {
        const Reading reading = Read();
        std::int64_t reserve = reading.available + reading.swapFree;
        if (reading.cgroupHeadroom >= 0)
            reserve = std::min(reserve, reading.cgroupHeadroom);
        headroom_ = reserve - FloorFor(reading.total);
        blocksSinceReading_ = 0;
    }
    if (headroom_ < kBlockSize) {
        blocksSinceReading_ = 0;  // read afresh next time: memory may have come back
        return nullptr;
    }
    void* block = ::mmap(nullptr, kBlockSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return nullptr;
    // A kernel before 5.14 does not know the advice (EINVAL): the block is then backed page by
    // page as it is written. Out of memory, the kernel could not back it: the block is refused.
    if (Populate(block) == ENOMEM) {
        ::munmap(block, kBlockSize);
        blocksSinceReading_ = 0;
        return nullptr;
    }
    headroom_ -= kBlockSize;
    ++blocksSinceReading_;
    return block;
}

int LinuxMemory::Populate(void* block)
{
    return ::madvise(block, kBlockSize, MADV_POPULATE_WRITE) == 0 ? 0 : errno;
}

void LinuxMemory::ReleaseBlock(void* block)
{
    ::munmap(block, kBlockSize);
}

}  // namespace platform

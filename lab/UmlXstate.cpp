// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into linux.uml by the lab. Debian's User-mode Linux 6.1 writes its processes'
// extended register state (NT_X86_XSTATE) from a buffer sized for the processors of its day; a
// host whose processors have more state (AMX) takes only a buffer of its whole size and answers
// EFAULT, and the guest's first process dies. On that answer this reads the whole state of the
// process, lays the guest's part over its start, and writes the whole of it: the guest's
// registers are set, the parts it does not know keep the value they had.
#include <dlfcn.h>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <sys/ptrace.h>
#include <sys/types.h>
#include <sys/uio.h>

enum { kXstateNote = 0x202 };  // NT_X86_XSTATE

extern "C" long ptrace(enum __ptrace_request request, ...) noexcept
{
    va_list arguments;
    va_start(arguments, request);
    const pid_t pid = va_arg(arguments, pid_t);
    void* const address = va_arg(arguments, void*);
    void* const data = va_arg(arguments, void*);
    va_end(arguments);

    using Ptrace = long (*)(enum __ptrace_request, ...);
    static Ptrace real = nullptr;
    if (real == nullptr)
        real = reinterpret_cast<Ptrace>(::dlsym(RTLD_NEXT, "ptrace"));
    const long result = real(request, pid, address, data);
    if (result == 0 || errno != EFAULT || request != PTRACE_SETREGSET || reinterpret_cast<long>(address) != kXstateNote)
        return result;

    // UML traces its processes from one thread: one buffer will do.
    alignas(64) static unsigned char whole[1 << 16];
    const auto* given = static_cast<const iovec*>(data);
    iovec all{whole, sizeof whole};
    if (real(PTRACE_GETREGSET, pid, address, &all) != 0 || given->iov_len > all.iov_len) {
        errno = EFAULT;
        return -1;
    }
    std::memcpy(whole, given->iov_base, given->iov_len);
    return real(PTRACE_SETREGSET, pid, address, &all);
}

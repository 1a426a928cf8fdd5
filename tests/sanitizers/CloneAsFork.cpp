// Linked into the race detector's test programs only (tests/CMakeLists.txt).
//
// Qt starts a process (QProcess) with clone(CLONE_VM | CLONE_VFORK): the child runs in the
// parent's memory until it execs. The race detector does not know such a child, and the
// functions it watches, called by the child, change the state it keeps for the parent's
// thread: from then on it misses that thread's locks, and reports races on data those locks
// guard. Every test that starts a process (the media clips are made by one before the first
// test) would report false races. Here such a child gets a copy of the memory instead, as a
// fork does; it still only execs.
#include <sched.h>

#include <cstdarg>
#include <dlfcn.h>
#include <sys/types.h>

extern "C" int clone(int (*function)(void*), void* stack, int flags, void* argument, ...) {
    va_list more;
    va_start(more, argument);
    auto* parentTid = va_arg(more, pid_t*);
    void* tls = va_arg(more, void*);
    auto* childTid = va_arg(more, pid_t*);
    va_end(more);
    using Clone = int (*)(int (*)(void*), void*, int, void*, ...);
    static const auto real = reinterpret_cast<Clone>(::dlsym(RTLD_NEXT, "clone"));
    const int sharedChild = CLONE_VM | CLONE_VFORK;
    if ((flags & sharedChild) == sharedChild && (flags & CLONE_THREAD) == 0) flags &= ~sharedChild;
    return real(function, stack, flags, argument, parentTid, tls, childTid);
}

// The canary that -fstack-protector-strong checks, set up the way the
// Microsoft compiler sets up its security cookie: from the clock, the
// process and thread ids and the randomised stack address. MinGW's libssp
// would fill it with CryptGenRandom from a constructor, which loads a
// crypto provider (by name on older systems) before WinMain could narrow
// the library search; these definitions keep libssp out of the programs.
#include <windows.h>

extern "C" {

UINT_PTR __stack_chk_guard = 0x2B992DDFu;

// A corrupted stack frame: end at once, with no handler of the program's
// (or an attacker's) in the way.
__attribute__((noreturn)) void __stack_chk_fail(void)
{
    ::TerminateProcess(::GetCurrentProcess(), 3);
    for (;;) {
    }
}
}

namespace {

// Runs before any other constructor of the program's own objects, called
// from the runtime's start-up code, which has no canaries; it must have
// none itself, since it changes the value its own check would compare.
__attribute__((constructor(101), no_stack_protector)) void InitStackGuard()
{
    FILETIME ft;
    ::GetSystemTimeAsFileTime(&ft);
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    UINT_PTR value = ft.dwLowDateTime ^ ft.dwHighDateTime;
    value ^= ::GetCurrentProcessId() ^ (static_cast<UINT_PTR>(::GetCurrentThreadId()) << 8);
    value ^= ::GetTickCount();
    value ^= static_cast<UINT_PTR>(counter.LowPart) ^ (static_cast<UINT_PTR>(counter.HighPart) << 12);
    value ^= reinterpret_cast<UINT_PTR>(&value);
    if (value == 0)
        value = 0x2B992DDFu;
    __stack_chk_guard = value;
}

}  // namespace

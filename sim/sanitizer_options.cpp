// Defaults for AddressSanitizer builds. LeakSanitizer cannot stop the world under qemu's
// user mode, which runs these 32-bit programs on kernels without 32-bit support, so it is
// off.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
// A report of undefined behaviour says how the program got there.
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1"; }

/* Exits 0 when a signal handler of this 32-bit program is told the processor's trap number
 * (14, a page fault) of the fault it handles. Wine's own handler needs that number: Debian
 * 12's qemu-user leaves -1 there, and Wine under it stops at its first fault ("unexpected
 * trap -1"). qemu_reports_trap_numbers (scripts/qemu-user.sh) runs this before Wine starts
 * under qemu; scripts/qemu-trap-numbers.sh builds a qemu-i386 that passes it. */
#define _GNU_SOURCE
#include <signal.h>
#include <ucontext.h>
#include <unistd.h>

static void onFault(int signal, siginfo_t *info, void *context)
{
    (void)signal;
    (void)info;
    _exit(((ucontext_t *)context)->uc_mcontext.gregs[REG_TRAPNO] == 14 ? 0 : 1);
}

int main(void)
{
    struct sigaction action = {0};
    action.sa_sigaction = onFault;
    action.sa_flags = SA_SIGINFO;
    sigaction(SIGSEGV, &action, 0);
    *(volatile int *)16 = 1;
    return 2;
}

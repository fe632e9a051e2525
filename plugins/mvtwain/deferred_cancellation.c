// SANE backends stop their reader thread with pthread_cancel after asking
// for asynchronous cancellation. A thread cancelled asynchronously inside
// malloc or free leaves the allocator's lock held, and the next allocation in
// the process waits forever: a scan that ends or is cancelled can hang the
// program now and then. Programs that scan link this file, which turns every
// request for asynchronous cancellation into deferred cancellation: the
// reader then stops at its next read, write or poll, where it holds no lock.
// The program must export the symbol (-Wl,--export-dynamic-symbol) so that
// backends loaded at run time find it before the C library's.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <pthread.h>

typedef int (*SetCancelType)(int type, int* oldtype);

unsigned long MvtwainAsynchronousCancelRequestsDeferred(void);

static unsigned long deferredRequests;

int pthread_setcanceltype(int type, int* oldtype) {
    static SetCancelType next;
    SetCancelType real = __atomic_load_n(&next, __ATOMIC_ACQUIRE);
    if (!real) {
        real = (SetCancelType)dlsym(RTLD_NEXT, "pthread_setcanceltype");
        __atomic_store_n(&next, real, __ATOMIC_RELEASE);
    }
    if (type == PTHREAD_CANCEL_ASYNCHRONOUS) {
        __atomic_add_fetch(&deferredRequests, 1, __ATOMIC_RELAXED);
        type = PTHREAD_CANCEL_DEFERRED;
    }
    return real(type, oldtype);
}

unsigned long MvtwainAsynchronousCancelRequestsDeferred(void) {
    return __atomic_load_n(&deferredRequests, __ATOMIC_RELAXED);
}

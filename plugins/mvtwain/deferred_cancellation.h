#pragma once
// See deferred_cancellation.c: SANE reader threads are cancelled only at
// cancellation points in programs that link it.
#ifdef __cplusplus
extern "C" {
#endif

// How many requests for asynchronous cancellation were made deferred.
unsigned long MvtwainAsynchronousCancelRequestsDeferred(void);

#ifdef __cplusplus
}
#endif

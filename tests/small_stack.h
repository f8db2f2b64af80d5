// Runs a function on a thread with a 1 MiB stack, the size of the host's main
// thread, so deep-chain tests fail here if code recurses per chain level.
#pragma once

#include <functional>

#if defined(_WIN32)
#include <windows.h>
#else
#include <pthread.h>
#endif

inline void runOnSmallStack(const std::function<void()>& body) {
    constexpr unsigned kStackBytes = 1u << 20;
#if defined(_WIN32)
    struct Thunk {
        static DWORD WINAPI run(LPVOID arg) {
            (*static_cast<const std::function<void()>*>(arg))();
            return 0;
        }
    };
    HANDLE thread = CreateThread(nullptr, kStackBytes, Thunk::run, const_cast<std::function<void()>*>(&body),
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
#else
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, kStackBytes);
    pthread_t thread;
    struct Thunk {
        static void* run(void* arg) {
            (*static_cast<const std::function<void()>*>(arg))();
            return nullptr;
        }
    };
    pthread_create(&thread, &attr, Thunk::run, const_cast<std::function<void()>*>(&body));
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
#endif
}

#pragma once
// Stopping a thread that waits on a condition variable. The stop is requested while the mutex is
// held and the waiters are woken after it, so a waiter either sees the request when it checks its
// condition or is woken once it waits: waits test `stop.stop_requested()` in their predicate.
//
// std::condition_variable_any's waits that take a stop token are not used: with MinGW-w64's
// GCC 12 runtime the stop callback they register can leave the woken thread blocked for good in
// std::atomic::wait (that runtime has no native wait), and the join never returns.
#include <condition_variable>
#include <mutex>
#include <span>
#include <thread>

namespace vaultwing {

inline void StopAndWake(std::span<std::jthread> threads, std::mutex& mutex, std::condition_variable& changed) {
    {
        std::lock_guard lock(mutex);
        for (std::jthread& thread : threads)
            thread.request_stop();
    }
    changed.notify_all();
}

} // namespace vaultwing

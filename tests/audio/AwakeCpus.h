#pragma once

#include <pthread.h>
#include <sched.h>

#include <atomic>
#include <thread>
#include <vector>

// Keeps every CPU awake while it lives: one thread per CPU spins at SCHED_IDLE priority, so it
// runs only when nothing else wants the CPU and gives way to any other thread at once.
//
// On a virtual machine, an idle virtual CPU halts and the host may take tens of milliseconds to
// run it again when its timer fires. The sound server's and the output's threads then miss their
// deadlines, and the stream runs dry although nothing is busy (seen here: a dropout in three of
// every five 5 s takes on an idle machine, none with the CPUs kept awake, none with the machine
// busy). Measurements of sound through the server run in its lifetime, so that what they judge is
// the player, not the host's scheduler.
class AwakeCpus {
public:
    AwakeCpus()
    {
        const unsigned count = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned i = 0; i < count; ++i)
            m_threads.emplace_back([this] {
                const sched_param idle{};
                pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
                while (!m_stop.load(std::memory_order_relaxed)) {
                }
            });
    }
    ~AwakeCpus()
    {
        m_stop = true;
        for (auto& thread : m_threads)
            thread.join();
    }
    AwakeCpus(const AwakeCpus&) = delete;
    AwakeCpus& operator=(const AwakeCpus&) = delete;

private:
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_threads;
};

#pragma once

#include <array>
#include <atomic>
#include <cstddef>

namespace morvela {

// A bounded queue between exactly one producer thread and one consumer thread. Neither side
// ever waits, locks or allocates: push() fails when the queue is full, pop() when it is empty.
// Holds up to Capacity - 1 items.
template <typename T, std::size_t Capacity> class SpscQueue {
    static_assert(Capacity >= 2 && (Capacity & (Capacity - 1)) == 0, "Capacity must be a power of two");

public:
    // Producer thread only.
    bool push(const T& item)
    {
        const std::size_t tail = m_tail.load(std::memory_order_relaxed);
        const std::size_t next = (tail + 1) & (Capacity - 1);
        if (next == m_head.load(std::memory_order_acquire))
            return false;
        m_items[tail] = item;
        m_tail.store(next, std::memory_order_release);
        return true;
    }

    // Consumer thread only.
    bool pop(T& item)
    {
        const std::size_t head = m_head.load(std::memory_order_relaxed);
        if (head == m_tail.load(std::memory_order_acquire))
            return false;
        item = m_items[head];
        m_head.store((head + 1) & (Capacity - 1), std::memory_order_release);
        return true;
    }

    static constexpr std::size_t capacity() { return Capacity - 1; }

private:
    std::array<T, Capacity> m_items{};
    alignas(64) std::atomic<std::size_t> m_head{0};
    alignas(64) std::atomic<std::size_t> m_tail{0};
};

} // namespace morvela

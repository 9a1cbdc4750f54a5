// Mutexes that carry their rank in the platform's lock order (LockRank, platform/native.h). A
// thread takes a lock only while every lock it holds ranks lower; debug builds check this on each
// lock, a thread-local mask of the ranks held being all it costs.
#pragma once

#include <cassert>
#include <cstdint>
#include <mutex>
#include <type_traits>

namespace zn::platform {

#ifndef NDEBUG
// The ranks the calling thread holds, and how many locks of each.
inline thread_local uint32_t heldRanks = 0;
inline thread_local uint8_t heldOfRank[32] = {};
#endif

template <class Mutex, int Rank> class Ranked {
    static_assert(Rank > 0 && Rank < 32, "a rank is a bit of the held mask");

  public:
    void lock() {
#ifndef NDEBUG
        // Taking a lock of the same rank again is allowed only for the recursive one.
        const uint32_t higher = ~((1u << Rank) - 1) & ~(recursive() ? 1u << Rank : 0u);
        assert((heldRanks & higher) == 0 && "lock taken out of the layer's order");
#endif
        mutex.lock();
#ifndef NDEBUG
        if (heldOfRank[Rank]++ == 0)
            heldRanks |= 1u << Rank;
#endif
    }
    void unlock() {
#ifndef NDEBUG
        if (--heldOfRank[Rank] == 0)
            heldRanks &= ~(1u << Rank);
#endif
        mutex.unlock();
    }

  private:
    static constexpr bool recursive() {
        return std::is_same_v<Mutex, std::recursive_mutex>;
    }

    Mutex mutex;
};

template <int Rank> using RankedMutex = Ranked<std::mutex, Rank>;
template <int Rank> using RankedRecursiveMutex = Ranked<std::recursive_mutex, Rank>;

} // namespace zn::platform

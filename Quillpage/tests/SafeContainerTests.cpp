// The counted handle: one object, destroyed once, when the last holder on any thread lets go.
#include <core/SafeContainer.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using Orvane::CSafeContainer;

namespace {

struct Probe {
    explicit Probe(std::atomic<int>& destroyed) : destroyed_(destroyed) {}
    ~Probe() { ++destroyed_; }
    std::atomic<int>& destroyed_;
};

TEST(SafeContainer, LastHolderDestroysTheObjectOnce)
{
    std::atomic<int> destroyed{0};
    {
        CSafeContainer<Probe> first(new Probe(destroyed));
        {
            CSafeContainer<Probe> second(first);
            CSafeContainer<Probe> third(new Probe(destroyed));
            third = second;  // the other object has no holder left
            EXPECT_EQ(destroyed, 1);
            EXPECT_EQ(first.UseCount(), 3);
            EXPECT_EQ(third.Get(), first.Get());
            third = third;
            EXPECT_EQ(first.UseCount(), 3);
        }
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(first.UseCount(), 1);
    }
    EXPECT_EQ(destroyed, 2);
}

TEST(SafeContainer, CopiesOnManyThreadsKeepTheCountExact)
{
    std::atomic<int> destroyed{0};
    {
        CSafeContainer<Probe> shared(new Probe(destroyed));
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([&shared] {
                for (int i = 0; i < 20000; ++i) {
                    CSafeContainer<Probe> copy(shared);
                    CSafeContainer<Probe> another(copy);
                }
            });
        for (auto& thread : threads)
            thread.join();
        EXPECT_EQ(shared.UseCount(), 1);
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
}

}

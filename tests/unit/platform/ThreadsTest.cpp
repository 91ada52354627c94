// The thread primitives of each backend (std::thread natively, CreateThread
// and events on Win32): a signal given before the wait is kept, and a
// hand-over between two threads loses no wake-up.
#include "platform/Threads.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(Threads, ASignalGivenBeforeTheWaitIsKept) {
    sw::TSignal signal;
    bool ran = false;
    {
        sw::TThread giver([&] {
            ran = true;
            signal.Give();
        });
        ASSERT_TRUE(giver.Started());
    }
    // The thread has ended: a signal that was not kept would wait for ever.
    signal.Wait();
    EXPECT_TRUE(ran);
}

TEST(Threads, ProducerAndConsumerHandOverEveryItem) {
    // One slot, each side waiting for the other: a lost wake-up hangs the test.
    sw::TLock lock;
    sw::TSignal filled, emptied;
    int slot = -1;
    std::vector<int> received;
    constexpr int kItems = 2000;
    {
        sw::TThread producer([&] {
            for (int i = 0; i < kItems; ++i) {
                lock.Enter();
                while (slot != -1) {
                    lock.Leave();
                    emptied.Wait();
                    lock.Enter();
                }
                slot = i;
                lock.Leave();
                filled.Give();
            }
        });
        ASSERT_TRUE(producer.Started());
        while (static_cast<int>(received.size()) < kItems) {
            lock.Enter();
            while (slot == -1) {
                lock.Leave();
                filled.Wait();
                lock.Enter();
            }
            received.push_back(slot);
            slot = -1;
            lock.Leave();
            emptied.Give();
        }
    }
    ASSERT_EQ(static_cast<int>(received.size()), kItems);
    for (int i = 0; i < kItems; ++i)
        ASSERT_EQ(received[static_cast<size_t>(i)], i);
}

} // namespace

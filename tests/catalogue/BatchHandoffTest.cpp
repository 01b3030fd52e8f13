#include "catalogue/BatchHandoff.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

struct Batch {
    int value = 0;
};

TEST(BatchHandoffTest, BatchesArriveInOrderWhileFewBuffersCirculate) {
    BatchHandoff<Batch> handoff(2);
    std::vector<const Batch*> buffersSeen;
    std::jthread producer([&handoff] {
        for (int value = 0; value < 1'000; ++value) {
            std::unique_ptr<Batch> batch = handoff.TakeEmpty();
            ASSERT_NE(batch, nullptr);
            batch->value = value;
            handoff.PassFull(std::move(batch));
        }
        handoff.FinishProducing();
    });
    std::vector<int> received;
    while (std::unique_ptr<Batch> batch = handoff.TakeFull()) {
        received.push_back(batch->value);
        if (std::find(buffersSeen.begin(), buffersSeen.end(), batch.get()) == buffersSeen.end()) {
            buffersSeen.push_back(batch.get());
        }
        handoff.ReturnEmpty(std::move(batch));
    }
    producer.join();
    ASSERT_EQ(received.size(), 1'000u);
    for (int value = 0; value < 1'000; ++value) {
        EXPECT_EQ(received[value], value);
    }
    EXPECT_LE(buffersSeen.size(), 2u);
}

TEST(BatchHandoffTest, AProducerWaitingForABufferIsReleasedWhenTheConsumerStops) {
    BatchHandoff<Batch> handoff(1);
    bool gotNullWhenStopped = false;
    std::jthread producer([&] {
        handoff.PassFull(handoff.TakeEmpty());  // the only buffer is now full
        gotNullWhenStopped = handoff.TakeEmpty() == nullptr;
        handoff.FinishProducing();
    });
    ASSERT_NE(handoff.TakeFull(), nullptr);  // taken and never returned
    handoff.StopConsuming();
    producer.join();
    EXPECT_TRUE(gotNullWhenStopped);
}

TEST(BatchHandoffTest, TheConsumerGetsWhatWasPassedBeforeTheEndAndThenNothing) {
    BatchHandoff<Batch> handoff(3);
    for (int value = 1; value <= 3; ++value) {
        std::unique_ptr<Batch> batch = handoff.TakeEmpty();
        batch->value = value;
        handoff.PassFull(std::move(batch));
    }
    handoff.FinishProducing();
    for (int value = 1; value <= 3; ++value) {
        const std::unique_ptr<Batch> batch = handoff.TakeFull();
        ASSERT_NE(batch, nullptr);
        EXPECT_EQ(batch->value, value);
    }
    EXPECT_EQ(handoff.TakeFull(), nullptr);
}

}  // namespace

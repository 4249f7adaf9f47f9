// The every-N fault loop; see fault_loop.h.

#include "support/fault_loop.h"

#include <gtest/gtest.h>

int expectEveryFaultEndsCleanly(const FaultRun &faultRun) {
    fakeReset();
    faultRun.prepare();
    const std::string outside = fakeMachineSnapshotOutside(faultRun.folder, faultRun.key);
    int counts[FAKE_OPERATION_COUNT]; // the run's own calls, not the preparation's
    for (int operation = 0; operation < FAKE_OPERATION_COUNT; ++operation)
        counts[operation] = -fakeCallCount(static_cast<FakeOperation>(operation));
    faultRun.run();
    const std::string normal = fakeOutput();
    for (int operation = 0; operation < FAKE_OPERATION_COUNT; ++operation)
        counts[operation] += fakeCallCount(static_cast<FakeOperation>(operation));

    int runs = 0;
    for (int operation = 0; operation < FAKE_OPERATION_COUNT; ++operation) {
        FakeOperation failing = static_cast<FakeOperation>(operation);
        for (int nth = 1; nth <= counts[operation]; ++nth) {
            for (bool fromThenOn : {false, true}) {
                fakeReset();
                faultRun.prepare();
                fakeFailCall(failing, nth, fromThenOn);
                int exitCode = faultRun.run();
                ++runs;
                const std::string what = std::string(fakeOperationName(failing)) + " call " +
                                         std::to_string(nth) + (fromThenOn ? " on" : "");
                EXPECT_GT(fakeFaultsFired(), 0) << what;
                EXPECT_TRUE(exitCode == 0 || exitCode == 1) << what << ": " << exitCode;
                EXPECT_EQ(fakeOpenFiles(), 0) << what;
                EXPECT_EQ(fakeOpenSearches(), 0) << what;
                EXPECT_EQ(fakeOpenRegKeys(), 0) << what;
                EXPECT_EQ(fakeHeapBlocks(), 0u) << what;
                size_t before = fakeOutputAtFirstFault();
                EXPECT_EQ(fakeOutput().substr(0, before), normal.substr(0, before)) << what;
                EXPECT_EQ(fakeMachineSnapshotOutside(faultRun.folder, faultRun.key), outside)
                    << what;
            }
        }
    }
    return runs;
}

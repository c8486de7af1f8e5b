// The bounded repetition of the running-instance shutdown, over fake processes.
#include "InstanceShutdown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A process list where each kill request ends a process only after some rounds.
struct FakeProcesses {
    int running = 0;
    int killsNeeded = 1;  // requests a process takes to end; 0 = never ends
    int kills = 0;
    int pauses = 0;
    std::vector<std::string> calls;

    InstanceControl control() {
        return {
            .exists = [this] { calls.push_back("exists"); return running > 0; },
            .kill = [this] {
                calls.push_back("kill");
                ++kills;
                if (killsNeeded > 0 && kills % killsNeeded == 0) running = 0;
            },
            .pause = [this] { calls.push_back("pause"); ++pauses; },
        };
    }
};

TEST(InstanceShutdown, NothingRunningMeansOneLookAndNoPause) {
    FakeProcesses processes;
    RepeatKillWhileRunning(processes.control(), 100);
    EXPECT_EQ(processes.calls, std::vector<std::string>{"exists"});
}

TEST(InstanceShutdown, KillsUntilTheListIsClear) {
    FakeProcesses processes{.running = 3, .killsNeeded = 3};
    RepeatKillWhileRunning(processes.control(), 100);
    EXPECT_EQ(processes.kills, 3);
    EXPECT_EQ(processes.running, 0);
    const std::vector<std::string> expected{"exists", "kill", "pause", "exists", "kill", "pause",
                                            "exists", "kill", "pause", "exists"};
    EXPECT_EQ(processes.calls, expected);
}

TEST(InstanceShutdown, AProcessThatNeverEndsIsLeftAfterTheBound) {
    FakeProcesses processes{.running = 1, .killsNeeded = 0};
    RepeatKillWhileRunning(processes.control(), 7);
    EXPECT_EQ(processes.kills, 7);
    EXPECT_EQ(processes.pauses, 7);
    EXPECT_EQ(processes.running, 1);
}

}  // namespace

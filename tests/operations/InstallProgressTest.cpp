// The progress that the installation counts into and the window reads: its
// scale, and the pause, the stop and the last checkpoint of a cancel.
#include "InstallProgress.h"

#include <ExitCodes.h>
#include <Failure.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

int CheckpointExitCode(const InstallProgress& progress) {
    try {
        progress.Checkpoint();
        return kExitCompleted;
    } catch (const EStepFailed& failure) {
        return ExitCodeFor(failure.Cause());
    }
}

TEST(InstallProgress, CountsTheWholeWorkAndLeavesTheEndToTheCompleteInstallation) {
    InstallProgress progress;
    EXPECT_EQ(progress.Done(651), 0);
    progress.Begin(1000, 3000, 2);
    progress.Copied(1000);
    EXPECT_EQ(progress.Done(1000), 247);
    progress.StartExtracting();
    progress.Extracted(3000, true);
    EXPECT_EQ(progress.FilesStarted(), 1u);
    EXPECT_LT(progress.Done(651), 651);
    EXPECT_GE(progress.Done(651), 644);
}

TEST(InstallProgress, APausedWorkWaitsAndAStopEndsItAsCancelled) {
    InstallProgress progress;
    EXPECT_EQ(CheckpointExitCode(progress), kExitCompleted);
    ASSERT_TRUE(progress.Pause());
    int exitCode = -1;
    std::jthread work([&] { exitCode = CheckpointExitCode(progress); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(exitCode, -1) << "waits while the question is open";
    progress.Stop();
    work.join();
    EXPECT_EQ(exitCode, kExitCancelled);
}

TEST(InstallProgress, NoAnswerResumesAndTheFilesInPlaceEndTheCancelling) {
    InstallProgress progress;
    ASSERT_TRUE(progress.Pause());
    std::jthread work([&] { progress.FilesInPlace(); });
    progress.Resume();
    work.join();
    EXPECT_EQ(progress.CurrentPhase(), InstallProgress::Phase::FilesInPlace);
    EXPECT_FALSE(progress.Pause()) << "nothing left to cancel";
}

}  // namespace

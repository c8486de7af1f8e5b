#include "InstanceShutdown.h"

void RepeatKillWhileRunning(const InstanceControl& control, int maxRounds) {
    for (int round = 0; round < maxRounds && control.exists(); ++round) {
        control.kill();
        control.pause();
    }
}

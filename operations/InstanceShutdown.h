// The bounded repetition that ends every running instance of the product.
#pragma once

#include <functional>

struct InstanceControl {
    std::function<bool()> exists;
    std::function<void()> kill;
    std::function<void()> pause;
};

// Kills while an instance is listed, pausing between rounds so that the
// system can finish the asynchronous terminations. Gives up after maxRounds:
// a process that refuses to end must not hang the installer.
void RepeatKillWhileRunning(const InstanceControl& control, int maxRounds);

// What the process tells deployment tools when it ends, on every road.
#pragma once

constexpr int kExitCompleted = 0;
// The product's files could not be installed.
constexpr int kExitPayloadFailed = 1;
// The product was installed, but a requested shortcut is missing.
constexpr int kExitShortcutsFailed = 2;
// The installer itself could not start: its window or resources could not be made.
constexpr int kExitNotStarted = 3;

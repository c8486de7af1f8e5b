// Main windows for the cases, shown as at an interactive start. Under Wine
// without a window manager each shown window costs about two seconds when it
// goes away, so the cases that leave the window as they found it share one.
#pragma once

#include "CommandLine.h"
#include "Reporter.h"
#include "WindowProbe.h"

#include <gtest/gtest.h>

#include <memory>

// A visible run without a log, as a person starts the installer.
inline const Reporter kShownRun;

class FormTest : public testing::Test {
protected:
    void SetUp() override { probe::TakeQuitRequest(); }
    void TearDown() override {
        form_.reset();
        probe::TakeQuitRequest();
    }

    TForm2& Open(TForm2::AdminTest admin = probe::Administrator, std::vector<std::wstring> arguments = {}) {
        form_ = std::make_unique<TForm2>(ReadInstallerCommandLine(arguments), std::move(admin), kShownRun);
        probe::Pump();
        return *form_;
    }

    std::unique_ptr<TForm2> form_;
};

class SharedFormTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        shared_ = std::make_unique<TForm2>(Invocation{}, probe::Administrator, kShownRun);
        probe::Pump();
    }
    static void TearDownTestSuite() {
        shared_.reset();
        probe::TakeQuitRequest();
    }
    static TForm2& Form() { return *shared_; }

    static inline std::unique_ptr<TForm2> shared_;
};

inline bool operator==(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}
inline RECT Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

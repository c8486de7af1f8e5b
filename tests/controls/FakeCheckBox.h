// A model whose base state is set by the test and whose repaint requests are counted.
#pragma once

#include "clVornTCheckBoxModel.h"

class FakeCheckBox : public TVornTCheckBoxModel {
public:
    FakeCheckBox() : TVornTCheckBoxModel([this] { ++repaints; }) {}

    bool Enabled() const override { return enabled; }
    bool Focused() const override { return focused; }
    bool MouseInClient() const override { return mouseInClient; }
    TLeftRight Alignment() const override { return alignment; }
    int ClientWidth() const override { return clientWidth; }
    int ClientHeight() const override { return clientHeight; }

    int repaints = 0;
    bool enabled = true;
    bool focused = false;
    bool mouseInClient = false;
    TLeftRight alignment = taLeftJustify;
    int clientWidth = 97;
    int clientHeight = 17;

protected:
    void* NativeWindow() const override { return nullptr; }
};

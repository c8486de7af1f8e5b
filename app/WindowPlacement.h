// Where the main window stands: centred in the work area, never beyond its
// left or top edge.
#pragma once

struct WorkArea {
    int left;
    int top;
    int right;
    int bottom;
};

struct WindowOrigin {
    int left;
    int top;
};

WindowOrigin CentredOrigin(const WorkArea& area, int width, int height);

#pragma once

#include <array>

// The ten boxes of the indicator periods (the calculation window's and the settings
// copy's one list): the box, how the window shows it, and the setting it edits.
struct CalcPeriodBox {
    const char16_t *group;     // caption of the frame that holds the box
    const char16_t *name;      // control name
    const char16_t *caption;   // the row's caption inside its frame, may be empty
    const char16_t *fieldName; // how a message names the box
    int *period;               // the setting
    int minimum;               // an RCI needs two days
    bool selectsOnFocus;
};

// In window order; the boxes of one frame follow each other.
const std::array<CalcPeriodBox, 10> &calcPeriodBoxes();

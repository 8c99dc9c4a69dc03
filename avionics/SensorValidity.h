#pragma once

namespace tavi {

// The "invalid" flag of one measurement of one side together with its value in the frame before,
// so that the screens can flash an indication that has just failed.
struct SensorValidity {
    // Moves the flag into its previous value and sets the new one; true when the measurement has
    // just become invalid.
    bool set(bool nowInvalid) {
        previousInvalid = invalid;
        invalid = nowInvalid;
        return invalid && !previousInvalid;
    }

    bool previousInvalid = false;
    bool invalid = false;
};

} // namespace tavi

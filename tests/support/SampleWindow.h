#pragma once

#include <memory>

class TQuorix_Form;

// The whole main window as the end-to-end tests use it: built over ./Data
// with its splash, at 1280 x 800 out of the maximised state, active, with its
// first events run.
std::unique_ptr<TQuorix_Form> StartSampleWindow();

// Profile lines that were meant as labels: a label written in another letter case, with
// dots too few or too many, indented, or with a letter wrong, missing or added.
#pragma once

#include <string_view>

namespace tw::check {

/// The profile label (such as "Hostname...:") that `start`, the label-like beginning of a
/// line the sensor did not recognise, was most likely meant to be: one whose key word
/// has the same letters in any case, or one letter or two changed, missing or added (for
/// key words of five letters or more). Empty when none is close.
std::string_view intended_label(std::string_view start);

}  // namespace tw::check

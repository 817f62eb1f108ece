// Errors of the image buffer's arithmetic. They pass through every operation of the image
// class to its caller, which is why they have types of their own instead of error codes.
#pragma once

#include <stdexcept>

namespace norvel {

// A size or offset left the signed 32-bit range that the bitmap header stores it in.
class OverflowError : public std::overflow_error {
 public:
  using std::overflow_error::overflow_error;
};

// A byte index outside the pixel memory; raised instead of touching memory.
class OutOfRangeError : public std::out_of_range {
 public:
  using std::out_of_range::out_of_range;
};

}  // namespace norvel

// A two-dimensional, bounds-checked view over bitmap memory: first index the byte within a
// row, second index the memory row. It does not own the memory. An index outside the view
// raises OutOfRangeError before any memory is touched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

#include "imaging/errors.h"

namespace norvel {

template <class Byte>
class BasicByteView {
 public:
  BasicByteView() = default;

  // Missing memory, or a non-positive stride or row count, gives an empty view: an image
  // whose header has a size but whose memory could not be made must not be reachable.
  BasicByteView(Byte* bits, std::int32_t stride, std::int32_t rows) noexcept {
    if (bits != nullptr && stride > 0 && rows > 0) {
      bits_ = bits;
      stride_ = stride;
      rows_ = rows;
    }
  }

  // Read-only views are made from writable ones freely.
  template <class Other>
  requires(std::is_same_v<const Other, Byte> && !std::is_same_v<Other, Byte>)
      BasicByteView(const BasicByteView<Other>& other)
  noexcept : BasicByteView(other.Data(), other.Stride(), other.Rows()) {}

  Byte* Data() const noexcept { return bits_; }

  std::int32_t Stride() const noexcept { return stride_; }
  std::int32_t Rows() const noexcept { return rows_; }
  bool Empty() const noexcept { return bits_ == nullptr; }

  Byte& operator()(std::int32_t byte, std::int32_t row) const {
    if (byte < 0 || byte >= stride_ || row < 0 || row >= rows_) {
      throw OutOfRangeError("pixel byte index outside the image");
    }
    return bits_[Offset(row) + static_cast<std::size_t>(byte)];
  }

  // One whole memory row, for loops that have checked their column range once.
  std::span<Byte> Row(std::int32_t row) const {
    if (row < 0 || row >= rows_) throw OutOfRangeError("pixel row outside the image");
    return {bits_ + Offset(row), static_cast<std::size_t>(stride_)};
  }

 private:
  std::size_t Offset(std::int32_t row) const noexcept {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(stride_);
  }

  Byte* bits_ = nullptr;
  std::int32_t stride_ = 0;
  std::int32_t rows_ = 0;
};

using ByteView = BasicByteView<std::uint8_t>;
using ConstByteView = BasicByteView<const std::uint8_t>;

}  // namespace norvel

#include "reminder/region_win.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace norvel {
namespace {

constexpr std::size_t kLeafRectangles = 16;

// Regions waiting to be joined, in a stack where each entry holds twice as many leaves as
// the one above it (like the digits of a binary counter): joins stay balanced and at most
// about log2(leaves) regions wait at any time.
class RegionMerger {
 public:
  void Push(UniqueRegion region) {
    Entry entry{std::move(region), 1};
    while (!stack_.empty() && stack_.back().leaves == entry.leaves) {
      Entry lower = std::move(stack_.back());
      stack_.pop_back();
      CombineRgn(lower.region.get(), lower.region.get(), entry.region.get(), RGN_OR);
      entry = {std::move(lower.region), entry.leaves * 2};
    }
    stack_.push_back(std::move(entry));
    Track();
  }
  UniqueRegion Finish() {
    while (stack_.size() > 1) {
      Entry top = std::move(stack_.back());
      stack_.pop_back();
      CombineRgn(stack_.back().region.get(), stack_.back().region.get(), top.region.get(), RGN_OR);
    }
    if (stack_.empty()) return {};
    UniqueRegion result = std::move(stack_.back().region);
    stack_.clear();
    return result;
  }
  void Track(int extra = 0) { peak_ = std::max(peak_, static_cast<int>(stack_.size()) + extra); }
  int peak() const { return peak_; }

 private:
  struct Entry {
    UniqueRegion region;
    std::size_t leaves;
  };
  std::vector<Entry> stack_;
  int peak_ = 0;
};

// One region from rectangles that are already in a region's own order (bands from the top,
// left to right, no overlaps), in one call.
UniqueRegion RegionFromSortedRects(const std::vector<RECT>& rects) {
  std::vector<BYTE> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
  header->dwSize = sizeof(RGNDATAHEADER);
  header->iType = RDH_RECTANGLES;
  header->nCount = static_cast<DWORD>(rects.size());
  header->nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  RECT bound{rects.front().left, rects.front().top, rects.front().right, rects.back().bottom};
  for (const RECT& r : rects) {
    bound.left = std::min(bound.left, r.left);
    bound.right = std::max(bound.right, r.right);
  }
  header->rcBound = bound;
  std::memcpy(data.data() + sizeof(RGNDATAHEADER), rects.data(), rects.size() * sizeof(RECT));
  return UniqueRegion(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                      reinterpret_cast<RGNDATA*>(data.data())));
}

}  // namespace

UniqueRegion BuildPictureRegion(ConstByteView pixels, int width, int height, std::uint32_t key,
                                FrameMeasures frame, int* peak_regions) {
  RegionMerger merger;
  std::vector<RECT> leaf;
  leaf.reserve(kLeafRectangles * 2);
  const auto flush = [&] {
    if (leaf.empty()) return;
    merger.Track(1);
    merger.Push(RegionFromSortedRects(leaf));
    leaf.clear();
  };
  ForEachBand(pixels, width, height, key, frame, [&](std::span<const Strip> band) {
    for (const Strip& s : band) {
      leaf.push_back({s.left, s.top, s.right, s.bottom});
      if (leaf.size() >= kLeafRectangles) flush();
    }
  });
  flush();
  if (peak_regions) *peak_regions = merger.peak();
  return merger.Finish();
}

}  // namespace norvel

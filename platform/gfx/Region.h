#pragma once
// TRegion: an area made of disjoint rectangles. Clip regions and invalid regions use it.
#include <vector>

#include "core/Types.h"

namespace plumb {

class TRegion {
 public:
  TRegion() = default;
  explicit TRegion(const TRect& R) { Union(R); }

  bool IsEmpty() const { return FRects.empty(); }
  const std::vector<TRect>& Rects() const { return FRects; }
  // Smallest rectangle holding the whole region (all zero when empty).
  TRect Bounds() const;
  bool Contains(const TPoint& P) const;
  // True when any part of R lies inside the region.
  bool Intersects(const TRect& R) const;

  void Clear() { FRects.clear(); }
  void Union(const TRect& R);
  void Union(const TRegion& Other);
  void Subtract(const TRect& R);
  void Subtract(const TRegion& Other);
  void Intersect(const TRect& R);
  void Intersect(const TRegion& Other);
  void Offset(Integer DX, Integer DY);

 private:
  std::vector<TRect> FRects;  // pairwise disjoint, none empty
};

}  // namespace plumb

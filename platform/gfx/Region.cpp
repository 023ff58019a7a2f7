#include "gfx/Region.h"

#include <algorithm>

namespace plumb {

namespace {

// Appends the parts of A that lie outside B: full-width bands above and below B, and the
// pieces left and right of it. At most four rectangles, all disjoint.
void AppendDifference(std::vector<TRect>& Out, const TRect& A, const TRect& B) {
  TRect I;
  if (!IntersectRect(I, A, B)) {
    Out.push_back(A);
    return;
  }
  if (I.Top > A.Top) Out.push_back(TRect{A.Left, A.Top, A.Right, I.Top});
  if (I.Left > A.Left) Out.push_back(TRect{A.Left, I.Top, I.Left, I.Bottom});
  if (I.Right < A.Right) Out.push_back(TRect{I.Right, I.Top, A.Right, I.Bottom});
  if (I.Bottom < A.Bottom) Out.push_back(TRect{A.Left, I.Bottom, A.Right, A.Bottom});
}

// Two rectangles that share a whole edge become one.
bool TryMerge(TRect& A, const TRect& B) {
  if (A.Top == B.Top && A.Bottom == B.Bottom) {
    if (A.Right == B.Left) return A.Right = B.Right, true;
    if (B.Right == A.Left) return A.Left = B.Left, true;
  }
  if (A.Left == B.Left && A.Right == B.Right) {
    if (A.Bottom == B.Top) return A.Bottom = B.Bottom, true;
    if (B.Bottom == A.Top) return A.Top = B.Top, true;
  }
  return false;
}

// Keeps the rectangle count low after unions, so that repeated invalidation of neighbouring
// cells does not fragment the region.
void Coalesce(std::vector<TRect>& Rects) {
  bool Merged = true;
  while (Merged) {
    Merged = false;
    for (size_t I = 0; I < Rects.size() && !Merged; ++I)
      for (size_t J = I + 1; J < Rects.size(); ++J)
        if (TryMerge(Rects[I], Rects[J])) {
          Rects.erase(Rects.begin() + std::ptrdiff_t(J));
          Merged = true;
          break;
        }
  }
}

}  // namespace

TRect TRegion::Bounds() const {
  TRect B;
  for (const TRect& R : FRects) UnionRect(B, B, R);
  return B;
}

bool TRegion::Contains(const TPoint& P) const {
  return std::any_of(FRects.begin(), FRects.end(), [&](const TRect& R) { return PtInRect(R, P); });
}

bool TRegion::Intersects(const TRect& R) const {
  TRect I;
  return std::any_of(FRects.begin(), FRects.end(),
                     [&](const TRect& Own) { return IntersectRect(I, Own, R); });
}

void TRegion::Union(const TRect& R) {
  if (IsRectEmpty(R)) return;
  std::vector<TRect> Pieces{R}, Next;
  for (const TRect& Own : FRects) {
    Next.clear();
    for (const TRect& P : Pieces) AppendDifference(Next, P, Own);
    Pieces.swap(Next);
    if (Pieces.empty()) return;
  }
  FRects.insert(FRects.end(), Pieces.begin(), Pieces.end());
  Coalesce(FRects);
}

void TRegion::Union(const TRegion& Other) {
  if (&Other == this) return;
  for (const TRect& R : Other.FRects) Union(R);
}

void TRegion::Subtract(const TRect& R) {
  if (IsRectEmpty(R)) return;
  std::vector<TRect> Out;
  Out.reserve(FRects.size() + 4);
  for (const TRect& Own : FRects) AppendDifference(Out, Own, R);
  FRects.swap(Out);
}

void TRegion::Subtract(const TRegion& Other) {
  if (&Other == this) return Clear();
  for (const TRect& R : Other.FRects) Subtract(R);
}

void TRegion::Intersect(const TRect& R) {
  std::vector<TRect> Out;
  TRect I;
  for (const TRect& Own : FRects)
    if (IntersectRect(I, Own, R)) Out.push_back(I);
  FRects.swap(Out);
}

void TRegion::Intersect(const TRegion& Other) {
  if (&Other == this) return;
  // Both sides are disjoint sets, so the pairwise intersections are disjoint too.
  std::vector<TRect> Out;
  TRect I;
  for (const TRect& A : FRects)
    for (const TRect& B : Other.FRects)
      if (IntersectRect(I, A, B)) Out.push_back(I);
  FRects.swap(Out);
  Coalesce(FRects);
}

void TRegion::Offset(Integer DX, Integer DY) {
  for (TRect& R : FRects) OffsetRect(R, DX, DY);
}

}  // namespace plumb

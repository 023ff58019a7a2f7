#include "GridTypes.h"

#include <algorithm>

namespace plumb {

const char* const SIndexOutOfRange = "Grid index out of range";
const char* const SFixedColTooBig = "Fixed column count must be less than column count";
const char* const SFixedRowTooBig = "Fixed row count must be less than row count";
const char* const STooManyDeleted = "Too many rows or columns deleted";
const char* const SGridTooLarge = "Grid too large for operation";

void RaiseGridError(const char* Msg) {
  throw EInvalidGridOperation(Msg);
}

TCellRange MakeCellRange(const TCellCoord& A, const TCellCoord& B) {
  return TCellRange{std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X), std::max(A.Y, B.Y)};
}

bool CellInRange(Integer ACol, Integer ARow, const TCellRange& Range) {
  return ACol >= Range.Left && ACol <= Range.Right && ARow >= Range.Top && ARow <= Range.Bottom;
}

bool PointInRectInclusive(Integer X, Integer Y, const TRect& R) {
  return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

namespace {

// Builds one part of a rectangle difference from three candidate corners.
bool DiffPart(const TRect& A, const TRect& B, TPoint P1, TPoint P2, TPoint P3, TRect& Part) {
  auto Taken = [&](TPoint P) {
    return PointInRectInclusive(P.X, P.Y, A) || PointInRectInclusive(P.X, P.Y, B);
  };
  TPoint TopLeft, BottomRight;
  if (Taken(P1)) {
    TopLeft = P1;
    BottomRight = Taken(P3) ? P3 : P2;
  } else if (Taken(P2)) {
    TopLeft = P2;
    BottomRight = P3;
  } else {
    return false;
  }
  Part = TRect{TopLeft.X, TopLeft.Y, BottomRight.X, BottomRight.Y};
  return true;
}

}  // namespace

void RectDifference(const TRect& A, const TRect& B, TRect (&Parts)[4]) {
  for (TRect& P : Parts) P = TRect{};
  TRect I, U;
  if (!IntersectRect(I, A, B)) {
    Parts[0] = A;
    Parts[1] = B;
    return;
  }
  UnionRect(U, A, B);
  if (DiffPart(A, B, {U.Left, U.Top}, {U.Left, I.Top}, {U.Left, I.Bottom}, Parts[0]))
    Parts[0].Right = I.Left;
  if (DiffPart(A, B, {I.Left, U.Top}, {I.Right, U.Top}, {U.Right, U.Top}, Parts[1]))
    Parts[1].Bottom = I.Top;
  if (DiffPart(A, B, {U.Right, I.Top}, {U.Right, I.Bottom}, {U.Right, U.Bottom}, Parts[2]))
    Parts[2].Left = I.Right;
  if (DiffPart(A, B, {U.Left, U.Bottom}, {I.Left, U.Bottom}, {I.Right, U.Bottom}, Parts[3]))
    Parts[3].Top = I.Bottom;
}

}  // namespace plumb

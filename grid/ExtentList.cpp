#include "ExtentList.h"

namespace plumb {

void AdjustExtents(ExtentList& List, Integer Index, Integer Amount, Integer Default) {
  if (Amount == 0) return;
  Integer OldCount = List.Count();
  if (Index < 0 || Index > OldCount) RaiseGridError(SIndexOutOfRange);
  Int64 NewCount = Int64(OldCount) + Amount;
  if (NewCount < 0) RaiseGridError(STooManyDeleted);
  if (NewCount >= ExtentList::MaxCount) RaiseGridError(SGridTooLarge);
  if (NewCount == 0) {
    List.FValues.clear();
    List.FValues.shrink_to_fit();
    return;
  }
  List.FValues.resize(size_t(NewCount));
  for (Integer I = Index; I < Integer(NewCount); ++I) List.FValues[size_t(I)] = Default;
}

void SetExtentCount(ExtentList& List, Integer NewCount, Integer Default) {
  Integer OldCount = List.Count();
  AdjustExtents(List, OldCount, Integer(Int64(NewCount) - OldCount), Default);
}

bool SameExtents(const ExtentList& A, const ExtentList& B) {
  return A.FValues == B.FValues;
}

}  // namespace plumb

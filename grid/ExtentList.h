#pragma once
// ExtentList: per-column values (widths, tab-stop flags) stored only once one is set
// explicitly. Absent means every entry has its default; a present list never has 0 entries.
#include <vector>

#include "GridTypes.h"

namespace plumb {

class ExtentList {
 public:
  static constexpr Integer MaxCount = 134217726;  // a list stays below this many entries

  bool Present() const { return !FValues.empty(); }
  Integer Count() const { return Integer(FValues.size()); }
  Integer operator[](Integer Index) const { return FValues[size_t(Index)]; }
  void Set(Integer Index, Integer Value) { FValues[size_t(Index)] = Value; }

  friend void AdjustExtents(ExtentList& List, Integer Index, Integer Amount, Integer Default);
  friend bool SameExtents(const ExtentList& A, const ExtentList& B);

 private:
  std::vector<Integer> FValues;
};

// Changes the count by Amount and sets the entries from Index to the new end to Default.
// Raises EInvalidGridOperation for an Index outside 0..Count, a negative new count, or one
// of MaxCount or more; the list is then unchanged.
void AdjustExtents(ExtentList& List, Integer Index, Integer Amount, Integer Default);
// Grows or shrinks to NewCount; surviving entries keep their values, new ones get Default.
void SetExtentCount(ExtentList& List, Integer NewCount, Integer Default);
bool SameExtents(const ExtentList& A, const ExtentList& B);

}  // namespace plumb

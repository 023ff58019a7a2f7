#pragma once
// Types shared by the generic grid, its editor and the record grid.
#include "core/Exceptions.h"
#include "core/Set.h"
#include "core/Types.h"
#include "core/TypeInfo.h"

namespace plumb {

struct TCellCoord {
  Integer X = 0;  // column
  Integer Y = 0;  // row
  friend bool operator==(const TCellCoord&, const TCellCoord&) = default;
};

// Inclusive cell indices.
struct TCellRange {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  friend bool operator==(const TCellRange&, const TCellRange&) = default;
};

enum TGridState { gsNormal, gsColSizing };

enum TGridOption {
  goDrawFixed,
  goFixedVertLine,
  goFixedHorzLine,
  goHorzLine,
  goDrawFocusSelected,
  goColSizing,
  goEditing,
  goTabs,
  goAlwaysShowEditor,
  goThumbTracking
};
using TGridOptions = TSet<TGridOption, uint16_t>;

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem, uint8_t>;

enum TGridScrollDirectionItem { sdLeft, sdRight, sdUp, sdDown };
using TGridScrollDirection = TSet<TGridScrollDirectionItem, uint8_t>;

enum TFocusBorder { fbNone, fbEtched, fbSunken };

// Value names for form streams.
inline constexpr const char* GridOptionNames[] = {
    "goDrawFixed", "goFixedVertLine", "goFixedHorzLine", "goHorzLine",         "goDrawFocusSelected",
    "goColSizing", "goEditing",       "goTabs",          "goAlwaysShowEditor", "goThumbTracking"};
inline constexpr TEnumInfo GridOptionInfo{"TGridOption", GridOptionNames};
inline constexpr const char* FocusBorderNames[] = {"fbNone", "fbEtched", "fbSunken"};
inline constexpr TEnumInfo FocusBorderInfo{"TFocusBorder", FocusBorderNames};

class EInvalidGridOperation : public Exception {
 public:
  using Exception::Exception;
};

// Texts of the grid's errors.
extern const char* const SIndexOutOfRange;
extern const char* const SFixedColTooBig;
extern const char* const SFixedRowTooBig;
extern const char* const STooManyDeleted;
extern const char* const SGridTooLarge;

[[noreturn]] void RaiseGridError(const char* Msg);

TCellRange MakeCellRange(const TCellCoord& A, const TCellCoord& B);
bool CellInRange(Integer ACol, Integer ARow, const TCellRange& Range);
// Like PtInRect, but the right and bottom edges belong to the rectangle.
bool PointInRectInclusive(Integer X, Integer Y, const TRect& R);
// The parts of A and B outside their intersection, as up to four rectangles (empty ones are
// all zero).
void RectDifference(const TRect& A, const TRect& B, TRect (&Parts)[4]);

}  // namespace plumb

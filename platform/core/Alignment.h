#pragma once
// Horizontal alignment of text in a cell or control; fields give numbers taRightJustify.
#include "TypeInfo.h"

namespace plumb {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

inline constexpr const char* AlignmentNames[] = {"taLeftJustify", "taRightJustify", "taCenter"};
inline constexpr TEnumInfo AlignmentInfo{"TAlignment", AlignmentNames};

}  // namespace plumb

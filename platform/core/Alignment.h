#pragma once
// Horizontal alignment of text in a cell or control; fields give numbers taRightJustify.
namespace plumb {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

}  // namespace plumb

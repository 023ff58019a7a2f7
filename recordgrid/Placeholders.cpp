// Fields whose contents the grid never shows or edits as text, and the text it shows instead.
// The categories, by the ordinal of the field type:
//
//   ordinal          type                                    text
//   0                ftUnknown                               "<Unknown>"
//   12, 13, 21       ftBytes, ftVarBytes, ftTypedBinary      "<Binary>"
//   15               ftBlob                                  "<Blob>"
//   16               ftMemo                                  "<Memo>"
//   17               ftGraphic                               "<Bitmap>"
//   18               ftFmtMemo                               "<Formatted>"
//   19, 20           ftParadoxOle, ftDBaseOle                "<OLE>"
//
// Every other type (1 to 11, ftAutoInc 14, ftLargeint 22) is shown through AsString. SQLite's
// BLOB columns arrive as ftBlob and TEXT columns declared as memos as ftMemo.
#include "recordgrid/uPlumbGrid.h"

namespace plumb {

bool FieldShowsPlaceholder(const TField* Field) {
  int Ordinal = int(Field->GetDataType());
  return Ordinal == ftUnknown || Ordinal == ftBytes || Ordinal == ftVarBytes ||
         (Ordinal >= ftBlob && Ordinal <= ftTypedBinary);
}

std::string FieldPlaceholderText(const TField* Field) {
  switch (Field->GetDataType()) {
    case ftBytes:
    case ftVarBytes:
    case ftTypedBinary:
      return "<Binary>";
    case ftBlob:
      return "<Blob>";
    case ftMemo:
      return "<Memo>";
    case ftGraphic:
      return "<Bitmap>";
    case ftFmtMemo:
      return "<Formatted>";
    case ftParadoxOle:
    case ftDBaseOle:
      return "<OLE>";
    default:
      return "<Unknown>";
  }
}

}  // namespace plumb

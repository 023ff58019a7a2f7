#pragma once
// The small vocabulary of the data layer: field types and kinds, data-set states, the events
// a data set sends to its data sources, and the error class of the layer.
#include <cstdint>
#include <string>
#include <vector>

#include "core/Exceptions.h"

namespace plumb {

// The ordinals are part of the contract: the record grid decides by ordinal which fields it
// shows as a placeholder text (0, 12, 13 and 15 to 21).
enum TFieldType {
  ftUnknown,      // 0
  ftString,       // 1
  ftSmallint,     // 2
  ftInteger,      // 3
  ftWord,         // 4
  ftBoolean,      // 5
  ftFloat,        // 6
  ftCurrency,     // 7
  ftBCD,          // 8
  ftDate,         // 9
  ftTime,         // 10
  ftDateTime,     // 11
  ftBytes,        // 12
  ftVarBytes,     // 13
  ftAutoInc,      // 14
  ftBlob,         // 15
  ftMemo,         // 16
  ftGraphic,      // 17
  ftFmtMemo,      // 18
  ftParadoxOle,   // 19
  ftDBaseOle,     // 20
  ftTypedBinary,  // 21
  ftLargeint      // 22: SQLite integers are 64-bit
};

enum TFieldKind { fkData, fkCalculated, fkLookup };

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsCalcFields, dsOpening };

// What a data set tells its data sources; Info carries the field (deFieldChange) or the
// distance (deDataSetScroll).
enum TDataEvent {
  deFieldChange,
  deRecordChange,
  deDataSetChange,
  deDataSetScroll,
  deUpdateRecord,
  deUpdateState
};

PLUMB_EXCEPTION(EDatabaseError, Exception)

const char* FieldTypeName(TFieldType Type);
bool IsIntegerType(TFieldType Type);
bool IsFloatType(TFieldType Type);
bool IsDateTimeType(TFieldType Type);
// Types whose value is kept as bytes rather than text or a number.
bool IsBinaryType(TFieldType Type);
// Types whose value is text of any length.
bool IsTextType(TFieldType Type);

// Text as an error message quotes it: in quotes, at most a short prefix (whole characters,
// then "..."), control characters and bytes that are not UTF-8 escaped as \xNN, so that
// a huge or binary text makes a short message that the rest of the message still follows.
std::string QuotedText(const std::string& Text);

// "A; B;C" -> {"A", "B", "C"}: the field lists of lookups and Locate.
std::vector<std::string> SplitFieldNames(const std::string& Names);

inline bool IsEditState(TDataSetState State) {
  return State == dsEdit || State == dsInsert;
}

}  // namespace plumb

#pragma once
// TDateTime: days since 1899-12-30 with the time of day as the fraction, the way the class
// library counts. Text is ISO 8601 ("2024-02-29", "13:05:00", "2024-02-29 13:05:00"), which
// is also how SQLite's date functions store dates.
#include <string>

#include "core/Types.h"

namespace plumb {

using TDateTime = double;

bool IsValidDate(Integer Year, Integer Month, Integer Day);
bool TryEncodeDate(Integer Year, Integer Month, Integer Day, TDateTime& Value);
bool TryEncodeTime(Integer Hour, Integer Min, Integer Sec, Integer MSec, TDateTime& Value);
void DecodeDate(TDateTime Value, Integer& Year, Integer& Month, Integer& Day);
void DecodeTime(TDateTime Value, Integer& Hour, Integer& Min, Integer& Sec, Integer& MSec);

std::string DateToStr(TDateTime Value);
std::string TimeToStr(TDateTime Value);
std::string DateTimeToStr(TDateTime Value);

// Dates are YYYY-MM-DD; times HH:MM with optional :SS and .fraction; a date-time is a date,
// then 'T' or a space and a time (or the date alone, meaning midnight).
bool TryStrToDate(const std::string& S, TDateTime& Value);
bool TryStrToTime(const std::string& S, TDateTime& Value);
bool TryStrToDateTime(const std::string& S, TDateTime& Value);

}  // namespace plumb

#include "DateTime.h"

#include <cmath>
#include <cstdio>

namespace plumb {

namespace {

// Days from 1970-01-01 to a civil date and back (proleptic Gregorian calendar).
Int64 DaysFromCivil(Int64 Y, unsigned M, unsigned D) {
  Y -= M <= 2;
  const Int64 Era = (Y >= 0 ? Y : Y - 399) / 400;
  const unsigned Yoe = unsigned(Y - Era * 400);
  const unsigned Doy = (153 * (M + (M > 2 ? -3 : 9)) + 2) / 5 + D - 1;
  const unsigned Doe = Yoe * 365 + Yoe / 4 - Yoe / 100 + Doy;
  return Era * 146097 + Int64(Doe) - 719468;
}

void CivilFromDays(Int64 Z, Integer& Year, Integer& Month, Integer& Day) {
  Z += 719468;
  const Int64 Era = (Z >= 0 ? Z : Z - 146096) / 146097;
  const unsigned Doe = unsigned(Z - Era * 146097);
  const unsigned Yoe = (Doe - Doe / 1460 + Doe / 36524 - Doe / 146096) / 365;
  const unsigned Doy = Doe - (365 * Yoe + Yoe / 4 - Yoe / 100);
  const unsigned Mp = (5 * Doy + 2) / 153;
  Day = Integer(Doy - (153 * Mp + 2) / 5 + 1);
  Month = Integer(Mp < 10 ? Mp + 3 : Mp - 9);
  Year = Integer(Int64(Yoe) + Era * 400 + (Month <= 2));
}

constexpr Int64 UnixEpochOffset = 25569;  // 1970-01-01 as a TDateTime
constexpr double MSecsPerDay = 86400000.0;

// Splits a value into whole days and milliseconds of the day, rounding to the millisecond so
// that 13:05 never reads back as 13:04:59.999.
void Split(TDateTime Value, Int64& Days, Int64& MSecs) {
  Int64 Total = Int64(std::llround(Value * MSecsPerDay));
  Days = Total / Int64(MSecsPerDay);
  MSecs = Total % Int64(MSecsPerDay);
  if (MSecs < 0) {
    MSecs += Int64(MSecsPerDay);
    --Days;
  }
}

bool ReadNumber(const std::string& S, size_t& Pos, size_t Digits, Integer& Value) {
  if (Pos + Digits > S.size()) return false;
  Value = 0;
  for (size_t I = 0; I < Digits; ++I) {
    char C = S[Pos + I];
    if (C < '0' || C > '9') return false;
    Value = Value * 10 + (C - '0');
  }
  Pos += Digits;
  return true;
}

bool Expect(const std::string& S, size_t& Pos, char C) {
  if (Pos >= S.size() || S[Pos] != C) return false;
  ++Pos;
  return true;
}

bool ParseDate(const std::string& S, size_t& Pos, TDateTime& Value) {
  Integer Y, M, D;
  return ReadNumber(S, Pos, 4, Y) && Expect(S, Pos, '-') && ReadNumber(S, Pos, 2, M) &&
         Expect(S, Pos, '-') && ReadNumber(S, Pos, 2, D) && TryEncodeDate(Y, M, D, Value);
}

bool ParseTime(const std::string& S, size_t& Pos, TDateTime& Value) {
  Integer H, Mi, Sec = 0, MSec = 0;
  if (!ReadNumber(S, Pos, 2, H) || !Expect(S, Pos, ':') || !ReadNumber(S, Pos, 2, Mi)) return false;
  if (Pos < S.size() && S[Pos] == ':') {
    ++Pos;
    if (!ReadNumber(S, Pos, 2, Sec)) return false;
    if (Pos < S.size() && S[Pos] == '.') {
      ++Pos;
      double Scale = 100;
      size_t Start = Pos;
      while (Pos < S.size() && S[Pos] >= '0' && S[Pos] <= '9') {
        MSec += Integer((S[Pos] - '0') * Scale);
        Scale /= 10;
        ++Pos;
      }
      if (Pos == Start) return false;
    }
  }
  return TryEncodeTime(H, Mi, Sec, MSec, Value);
}

std::string Trimmed(const std::string& S) {
  size_t B = S.find_first_not_of(" \t");
  if (B == std::string::npos) return "";
  return S.substr(B, S.find_last_not_of(" \t") - B + 1);
}

}  // namespace

bool IsValidDate(Integer Year, Integer Month, Integer Day) {
  static const int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1) return false;
  bool Leap = (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0;
  return Day <= Days[Month - 1] + (Month == 2 && Leap ? 1 : 0);
}

bool TryEncodeDate(Integer Year, Integer Month, Integer Day, TDateTime& Value) {
  if (!IsValidDate(Year, Month, Day)) return false;
  Value = double(DaysFromCivil(Year, unsigned(Month), unsigned(Day)) + UnixEpochOffset);
  return true;
}

bool TryEncodeTime(Integer Hour, Integer Min, Integer Sec, Integer MSec, TDateTime& Value) {
  if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999)
    return false;
  Value = ((Hour * 60.0 + Min) * 60.0 + Sec + MSec / 1000.0) / 86400.0;
  return true;
}

void DecodeDate(TDateTime Value, Integer& Year, Integer& Month, Integer& Day) {
  Int64 Days, MSecs;
  Split(Value, Days, MSecs);
  CivilFromDays(Days - UnixEpochOffset, Year, Month, Day);
}

void DecodeTime(TDateTime Value, Integer& Hour, Integer& Min, Integer& Sec, Integer& MSec) {
  Int64 Days, MSecs;
  Split(Value, Days, MSecs);
  MSec = Integer(MSecs % 1000);
  Sec = Integer(MSecs / 1000 % 60);
  Min = Integer(MSecs / 60000 % 60);
  Hour = Integer(MSecs / 3600000);
}

std::string DateToStr(TDateTime Value) {
  Integer Y, M, D;
  DecodeDate(Value, Y, M, D);
  char Buf[32];
  std::snprintf(Buf, sizeof Buf, "%04d-%02d-%02d", int(Y), int(M), int(D));
  return Buf;
}

std::string TimeToStr(TDateTime Value) {
  Integer H, Mi, S, Ms;
  DecodeTime(Value, H, Mi, S, Ms);
  char Buf[32];
  if (Ms)
    std::snprintf(Buf, sizeof Buf, "%02d:%02d:%02d.%03d", int(H), int(Mi), int(S), int(Ms));
  else
    std::snprintf(Buf, sizeof Buf, "%02d:%02d:%02d", int(H), int(Mi), int(S));
  return Buf;
}

std::string DateTimeToStr(TDateTime Value) {
  return DateToStr(Value) + " " + TimeToStr(Value);
}

bool TryStrToDate(const std::string& S, TDateTime& Value) {
  std::string T = Trimmed(S);
  size_t Pos = 0;
  TDateTime V;
  if (!ParseDate(T, Pos, V) || Pos != T.size()) return false;
  Value = V;
  return true;
}

bool TryStrToTime(const std::string& S, TDateTime& Value) {
  std::string T = Trimmed(S);
  size_t Pos = 0;
  TDateTime V;
  if (!ParseTime(T, Pos, V) || Pos != T.size()) return false;
  Value = V;
  return true;
}

bool TryStrToDateTime(const std::string& S, TDateTime& Value) {
  std::string T = Trimmed(S);
  size_t Pos = 0;
  TDateTime D, Time = 0;
  if (!ParseDate(T, Pos, D)) return false;
  if (Pos < T.size()) {
    if (T[Pos] != ' ' && T[Pos] != 'T') return false;
    ++Pos;
    if (!ParseTime(T, Pos, Time) || Pos != T.size()) return false;
  }
  Value = D + Time;
  return true;
}

}  // namespace plumb

#pragma once
// TStrings: an ordered list of strings; TStringList keeps them in memory and reports changes.
#include <string>
#include <vector>

#include "Events.h"
#include "Object.h"

namespace plumb {

class TStrings : public TPersistent {
  PLUMB_CLASS(TStrings, TPersistent)
  virtual int GetCount() const = 0;
  virtual std::string Get(int Index) const = 0;
  virtual void Put(int Index, const std::string& S);
  virtual void Insert(int Index, const std::string& S) = 0;
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;

  int Count() const { return GetCount(); }
  std::string Strings(int Index) const { return Get(Index); }
  std::string operator[](int Index) const { return Get(Index); }
  virtual int Add(const std::string& S);
  void AddStrings(const TStrings* Source);
  // Letter case is ignored, as in a pick list search.
  virtual int IndexOf(const std::string& S) const;
  // Lines joined with '\n' (a final '\n' after the last line); setting splits on CR, LF, CRLF.
  std::string GetText() const;
  void SetText(const std::string& Value);
  std::vector<std::string> ToVector() const;

  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return FUpdateCount > 0; }
  void Assign(const TPersistent* Source) override;
  bool Equals(const TStrings* Other) const;

 protected:
  // Called when updating starts (true) and ends (false).
  virtual void SetUpdateState(bool Updating) { (void)Updating; }
  void CheckIndex(int Index, int Limit) const;

 private:
  int FUpdateCount = 0;
};

class TStringList : public TStrings {
  PLUMB_CLASS(TStringList, TStrings)
  TStringList() = default;
  int GetCount() const override { return int(FList.size()); }
  std::string Get(int Index) const override;
  // The string itself, without a copy: for searches over many strings.
  const std::string& Ref(int Index) const;
  void Put(int Index, const std::string& S) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool Updating) override;
  virtual void Changing();
  virtual void Changed();

 private:
  std::vector<std::string> FList;
};

}  // namespace plumb

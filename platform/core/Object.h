#pragma once
// TObject and TPersistent: class identity, message dispatch and assignment.
//
// Every class that takes part in class tests, streaming or design time opens its body with
// PLUMB_CLASS(TName, TBase). That gives it a static class record (name and parent), the
// alias `inherited` for its base, and leaves the access at `public:`.
#include <cstdint>
#include <functional>
#include <string>

#include "Types.h"

namespace plumb {

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

// A window or control message: the number and its two parameters, and the handler's answer.
struct TMessage {
  Cardinal Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;

  Word WParamLo() const { return Word(WParam & 0xFFFF); }
  Word WParamHi() const { return Word((WParam >> 16) & 0xFFFF); }
  Word LParamLo() const { return Word(uintptr_t(LParam) & 0xFFFF); }
  Word LParamHi() const { return Word((uintptr_t(LParam) >> 16) & 0xFFFF); }
};

class TObject;
class TPersistent;
class TFiler;

// The class record: one per class, found through StaticClass() or ClassType().
struct TClassInfo {
  const char* Name;
  const TClassInfo* Parent;
  bool InheritsFrom(const TClassInfo* Ancestor) const;
};
using TClass = const TClassInfo*;

#define PLUMB_CLASS(Cls, Base)                                        \
 public:                                                              \
  using inherited = Base;                                             \
  static ::plumb::TClass StaticClass() {                              \
    static const ::plumb::TClassInfo Info{#Cls, Base::StaticClass()}; \
    return &Info;                                                     \
  }                                                                   \
  ::plumb::TClass ClassType() const override {                        \
    return StaticClass();                                             \
  }                                                                   \
                                                                      \
 public:

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static TClass StaticClass();
  virtual TClass ClassType() const { return StaticClass(); }
  std::string ClassName() const { return ClassType()->Name; }
  // True for the class itself and every descendant of it.
  bool InheritsFrom(TClass Ancestor) const { return ClassType()->InheritsFrom(Ancestor); }
  template <class T>
  bool Is() const {
    return InheritsFrom(T::StaticClass());
  }

  // Classes that handle messages override Dispatch, switch on Message.Msg, and hand every
  // message they do not handle to inherited::Dispatch; the root ends in DefaultHandler.
  virtual void Dispatch(TMessage& Message) { DefaultHandler(Message); }
  virtual void DefaultHandler(TMessage& Message) { (void)Message; }
};

class TPersistent : public TObject {
  PLUMB_CLASS(TPersistent, TObject)
  // Copies Source into this object. When neither side knows the other's class, raises
  // EConvertError naming both classes.
  virtual void Assign(const TPersistent* Source);
  // The object that owns this one for naming and streaming purposes (none by default).
  virtual TPersistent* GetOwner() const { return nullptr; }
  virtual std::string GetNamePath() const;
  // Writes extra, unpublished data to a stream (see TFiler::DefineProperty).
  virtual void DefineProperties(TFiler* Filer) { (void)Filer; }
  // What setters change beside their own property (a control's Parent… flags), as a step
  // that puts it back: a reader whose read fails runs it once every property it set is back.
  // Empty when setters change nothing beside their own property.
  virtual std::function<void()> SideEffectsUndo() { return {}; }

 protected:
  virtual void AssignTo(TPersistent* Dest) const;
  [[noreturn]] void AssignError(const TPersistent* Source) const;
};

}  // namespace plumb

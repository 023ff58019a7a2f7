#pragma once
// Events: a callable that may be empty, with the name of its handler so that form streams
// can store and rebind it. An unassigned event is one pointer wide: a component or a column
// carries many of them and most stay empty.
#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace plumb {

class TObject;

template <class Signature>
class TEvent;

template <class R, class... Args>
class TEvent<R(Args...)> {
 public:
  using Handler = std::function<R(Args...)>;
  TEvent() = default;
  TEvent(Handler Fn, std::string Name = {}) { Assign(std::move(Fn), std::move(Name)); }
  TEvent(const TEvent& Other)
      : FSlot(Other.FSlot ? std::make_unique<TSlot>(*Other.FSlot) : nullptr) {}
  TEvent(TEvent&&) noexcept = default;
  TEvent& operator=(const TEvent& Other) {
    if (this != &Other) FSlot = Other.FSlot ? std::make_unique<TSlot>(*Other.FSlot) : nullptr;
    return *this;
  }
  TEvent& operator=(TEvent&&) noexcept = default;
  TEvent& operator=(Handler Fn) {
    Assign(std::move(Fn), {});
    return *this;
  }
  TEvent& operator=(std::nullptr_t) {
    FSlot.reset();
    return *this;
  }

  void Assign(Handler Fn, std::string Name) {
    if (Fn)
      FSlot = std::make_unique<TSlot>(TSlot{std::move(Fn), std::move(Name)});
    else
      FSlot.reset();
  }
  explicit operator bool() const { return bool(FSlot); }
  bool Assigned() const { return bool(FSlot); }
  const std::string& HandlerName() const {
    static const std::string None;
    return FSlot ? FSlot->Name : None;
  }
  // Call only when Assigned(); callers test first, as with any optional event.
  R operator()(Args... A) const { return FSlot->Fn(std::forward<Args>(A)...); }

 private:
  struct TSlot {
    Handler Fn;
    std::string Name;
  };
  std::unique_ptr<TSlot> FSlot;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;

}  // namespace plumb

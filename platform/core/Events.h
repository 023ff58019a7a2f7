#pragma once
// Events: a callable that may be empty, with the name of its handler so that form streams
// can store and rebind it.
#include <functional>
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
  TEvent(Handler Fn, std::string Name = {}) : FHandler(std::move(Fn)), FName(std::move(Name)) {}
  TEvent& operator=(Handler Fn) {
    FHandler = std::move(Fn);
    FName.clear();
    return *this;
  }
  TEvent& operator=(std::nullptr_t) {
    FHandler = nullptr;
    FName.clear();
    return *this;
  }

  void Assign(Handler Fn, std::string Name) {
    FHandler = std::move(Fn);
    FName = std::move(Name);
  }
  explicit operator bool() const { return bool(FHandler); }
  bool Assigned() const { return bool(FHandler); }
  const std::string& HandlerName() const { return FName; }
  // Call only when Assigned(); callers test first, as with any optional event.
  R operator()(Args... A) const { return FHandler(std::forward<Args>(A)...); }

 private:
  Handler FHandler;
  std::string FName;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;

}  // namespace plumb

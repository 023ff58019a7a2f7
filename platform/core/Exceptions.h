#pragma once
// The exception hierarchy: every error the system raises derives from Exception.
#include <stdexcept>
#include <string>

namespace plumb {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& Msg) : std::runtime_error(Msg) {}
  std::string Message() const { return what(); }
};

#define PLUMB_EXCEPTION(Name, Base) \
  class Name : public Base {        \
   public:                          \
    using Base::Base;               \
  };

PLUMB_EXCEPTION(EConvertError, Exception)
PLUMB_EXCEPTION(EVariantError, Exception)
PLUMB_EXCEPTION(EInvalidOperation, Exception)
PLUMB_EXCEPTION(EInvalidPointer, Exception)
PLUMB_EXCEPTION(EListError, Exception)
PLUMB_EXCEPTION(EComponentError, Exception)
PLUMB_EXCEPTION(EOutOfResources, Exception)
PLUMB_EXCEPTION(EStreamError, Exception)
PLUMB_EXCEPTION(EFilerError, EStreamError)
PLUMB_EXCEPTION(EReadError, EFilerError)
PLUMB_EXCEPTION(EWriteError, EFilerError)
PLUMB_EXCEPTION(EClassNotFound, EFilerError)
PLUMB_EXCEPTION(EFOpenError, EStreamError)

}  // namespace plumb

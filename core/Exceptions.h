// This file implements the exception family of the class library: Exception and the kinds that the
// program raises and catches (conversion, list, stream, file, database, operation errors...).
#pragma once

#include <exception>

#include "AnsiString.h"

class Exception : public std::exception {
 public:
  explicit Exception(String Msg) : Message(std::move(Msg)) {}
  // The class name shown in default error dialogs and used by handlers that test the kind by name.
  virtual const char* ClassName() const { return "Exception"; }
  const char* what() const noexcept override { return Message.c_str(); }

  String Message;  // in code page 1252
  int HelpContext = 0;
};

#define VELBOR_EXCEPTION(Name, Parent)                                  \
  class Name : public Parent {                                          \
   public:                                                              \
    using Parent::Parent;                                               \
    const char* ClassName() const override { return #Name; }            \
  };

// Abort: the silent exception; handlers let it pass without a message.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Opération abandonnée"_a) {}
  using Exception::Exception;
  const char* ClassName() const override { return "EAbort"; }
};

VELBOR_EXCEPTION(EConvertError, Exception)
VELBOR_EXCEPTION(EInvalidOperation, Exception)
VELBOR_EXCEPTION(EInvalidCast, Exception)
VELBOR_EXCEPTION(EInvalidPointer, Exception)
VELBOR_EXCEPTION(EOutOfMemory, Exception)
VELBOR_EXCEPTION(EOutOfResources, Exception)
VELBOR_EXCEPTION(EListError, Exception)
VELBOR_EXCEPTION(EStringListError, Exception)
VELBOR_EXCEPTION(EStreamError, Exception)
VELBOR_EXCEPTION(EFCreateError, EStreamError)
VELBOR_EXCEPTION(EFOpenError, EStreamError)
VELBOR_EXCEPTION(EReadError, EStreamError)
VELBOR_EXCEPTION(EWriteError, EStreamError)
VELBOR_EXCEPTION(EFilerError, EStreamError)
VELBOR_EXCEPTION(EClassNotFound, EFilerError)
VELBOR_EXCEPTION(EPropertyError, Exception)
VELBOR_EXCEPTION(EComponentError, Exception)
VELBOR_EXCEPTION(EInOutError, Exception)
VELBOR_EXCEPTION(EOSError, Exception)
VELBOR_EXCEPTION(EIniFileException, Exception)
VELBOR_EXCEPTION(EDatabaseError, Exception)
VELBOR_EXCEPTION(EVariantError, Exception)
VELBOR_EXCEPTION(EVariantTypeCastError, EVariantError)
VELBOR_EXCEPTION(EMathError, Exception)
VELBOR_EXCEPTION(EZeroDivide, EMathError)
VELBOR_EXCEPTION(EOverflow, EMathError)
VELBOR_EXCEPTION(EInvalidOp, EMathError)
VELBOR_EXCEPTION(EIntError, Exception)
VELBOR_EXCEPTION(EDivByZero, EIntError)
VELBOR_EXCEPTION(EIntOverflow, EIntError)
VELBOR_EXCEPTION(ERangeError, EIntError)
VELBOR_EXCEPTION(ENotImplemented, Exception)

// Raises EAbort: leaves the current operation without a message.
[[noreturn]] void Abort();

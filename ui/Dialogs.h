// This file implements the modal questions of the class library: MessageBox, MessageDlg,
// ShowMessage, InputBox and InputQuery, all through one entry (AskModal) that shows the real
// windows, or, when a responder is installed (tests), lets it answer and records what was asked.
#pragma once

#include "WinApi.h"

#include <deque>
#include <map>
#include <vector>

#include "AnsiString.h"
#include "TypInfo.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
VELBOR_ENUM(TMsgDlgType, "mtWarning", "mtError", "mtInformation", "mtConfirmation", "mtCustom")

enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
VELBOR_ENUM(TMsgDlgBtn, "mbYes", "mbNo", "mbOK", "mbCancel", "mbAbort", "mbRetry", "mbIgnore", "mbAll",
            "mbNoToAll", "mbYesToAll", "mbHelp")
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
inline constexpr TMsgDlgButtons mbYesNoCancel = {mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel = {mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore = {mbAbort, mbRetry, mbIgnore};

// What is asked. Other libraries' modal dialogs (file, print, font dialogs) use kind Other with
// their Name.
enum class TModalKind { MessageBox, MessageDlg, ShowMessage, InputQuery, Other };

struct TModalQuestion {
  TModalKind Kind = TModalKind::MessageBox;
  String Name;        // Other: which dialog ("OpenDialog", "PrintDialog"...)
  String Caption;
  String Text;        // the message, or the prompt of an input
  unsigned Flags = 0; // MessageBox: the MB_* flags
  TMsgDlgType DlgType = mtCustom;
  TMsgDlgButtons Buttons;
  String Value;       // InputQuery and Other: the value offered
  // Other: the dialog's further settings by name ("Filter", "InitialDir", "Copies"...).
  std::map<String, String> Fields;
};

// The answer: the button (IDOK/mrOk..., or 1/0 for InputQuery and Other) and, for inputs, the
// value entered.
struct TModalAnswer {
  int Result = 0;
  String Value;
  // Other: what the dialog returns besides Value, by the names of its question's Fields.
  std::map<String, String> Fields;
};

class IModalResponder {
 public:
  virtual ~IModalResponder() = default;
  virtual TModalAnswer Answer(const TModalQuestion& Question) = 0;
};

// The one entry every modal question goes through.
TModalAnswer AskModal(const TModalQuestion& Question);
// The responder in place of the real windows (nullptr: the real windows); returns the previous.
IModalResponder* SetModalResponder(IModalResponder* Responder);

// A responder that answers from a queue and records every question. A question with no answer
// left is recorded in Unexpected and answered as the Escape key would: Cancel when offered, else
// No, else the only button (OK); false for an input.
class TModalScript : public IModalResponder {
 public:
  // Installs itself for its lifetime.
  TModalScript();
  ~TModalScript() override;
  TModalScript(const TModalScript&) = delete;
  TModalScript& operator=(const TModalScript&) = delete;

  void Push(int Result, const String& Value = String());
  void Push(const TModalAnswer& Answer) { FAnswers.push_back(Answer); }
  TModalAnswer Answer(const TModalQuestion& Question) override;

  std::vector<TModalQuestion> Asked;
  std::vector<TModalQuestion> Unexpected;
  std::size_t Pending() const { return FAnswers.size(); }

 private:
  std::deque<TModalAnswer> FAnswers;
  IModalResponder* FPrevious;
};

// The answer the Escape key gives to a question.
int EscapeAnswer(const TModalQuestion& Question);

// The platform's entry points. MessageDlg's caption follows the type ("Avertissement", "Erreur",
// "Information", "Confirmation", or the application's title); the result is the mr* value of the
// button.
int MessageBox(const String& Text, const String& Caption, unsigned Flags);
int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
void ShowMessage(const String& Msg);
bool InputQuery(const String& Caption, const String& Prompt, String& Value);
String InputBox(const String& Caption, const String& Prompt, const String& Default);

// This file implements the rich-text edit over the native rich-edit control (RichEdit20A of
// riched20): TCustomRichEdit/TRichEdit, its Lines (TRichEditStrings, loading and saving RTF or
// plain text), the character attributes of the selection and of the default text
// (TTextAttributes), the paragraph attributes (TParaAttributes), find, print, undo and the
// change, selection and protection events.
#pragma once

#include "Object.h"
#include "Strings.h"

#include "Controls.h"
#include "StdCtrls.h"

#include "WinApi.h"

class TCustomRichEdit;
class TStream;

enum TAttributeType { atSelected, atDefaultText };
VELBOR_ENUM(TAttributeType, "atSelected", "atDefaultText")
enum TConsistentAttribute { caBold, caColor, caFace, caItalic, caSize, caStrikeOut, caUnderline, caProtected };
VELBOR_ENUM(TConsistentAttribute, "caBold", "caColor", "caFace", "caItalic", "caSize", "caStrikeOut", "caUnderline",
            "caProtected")
using TConsistentAttributes = TSet<TConsistentAttribute>;
enum TNumberingStyle { nsNone, nsBullet };
VELBOR_ENUM(TNumberingStyle, "nsNone", "nsBullet")
enum TSearchType { stWholeWord, stMatchCase };
VELBOR_ENUM(TSearchType, "stWholeWord", "stMatchCase")
using TSearchTypes = TSet<TSearchType>;

// The character attributes of the selection (atSelected) or of text typed where there is no
// other (atDefaultText), read from and written to the window at each access.
class TTextAttributes : public TPersistent {
  VELBOR_DECLARE_CLASS(TTextAttributes, TPersistent)
 public:
  TTextAttributes(TCustomRichEdit* AOwner, TAttributeType AType);

  TColor Color() const;
  void SetColor(TColor Value);
  String Name() const;
  void SetName(const String& Value);
  // In points.
  int Size() const;
  void SetSize(int Value);
  // In pixels of the screen, negative for the character height (as TFont).
  int Height() const;
  void SetHeight(int Value);
  TFontStyles Style() const;
  void SetStyle(TFontStyles Value);
  TFontCharset Charset() const;
  void SetCharset(TFontCharset Value);
  TFontPitch Pitch() const;
  void SetPitch(TFontPitch Value);
  // Protected text can only change when OnProtectChange allows it.
  bool Protected() const;
  void SetProtected(bool Value);
  // The attributes that are the same over the whole selection.
  TConsistentAttributes ConsistentAttributes() const;

  // From a TFont or other attributes; AssignTo fills a TFont.
  void Assign(TPersistent* Source) override;

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  CHARFORMAT2A Get() const;
  void Set(CHARFORMAT2A& Format);
  TCustomRichEdit* FRichEdit;
  TAttributeType FType;
};

// The paragraph attributes of the selection's paragraphs. Indents and tab stops are in points.
class TParaAttributes : public TPersistent {
  VELBOR_DECLARE_CLASS(TParaAttributes, TPersistent)
 public:
  explicit TParaAttributes(TCustomRichEdit* AOwner);

  TAlignment Alignment() const;
  void SetAlignment(TAlignment Value);
  int FirstIndent() const;
  void SetFirstIndent(int Value);
  int LeftIndent() const;
  void SetLeftIndent(int Value);
  int RightIndent() const;
  void SetRightIndent(int Value);
  TNumberingStyle Numbering() const;
  void SetNumbering(TNumberingStyle Value);
  int Tab(int Index) const;
  void SetTab(int Index, int Value);
  int TabCount() const;
  void SetTabCount(int Value);
  void Assign(TPersistent* Source) override;

 private:
  PARAFORMAT2 Get() const;
  void Set(PARAFORMAT2& Format);
  TCustomRichEdit* FRichEdit;
};

// The lines of a rich edit, as the window shows them (a wrapped paragraph is several lines).
class TRichEditStrings : public TStrings {
  VELBOR_DECLARE_CLASS(TRichEditStrings, TStrings)
 public:
  explicit TRichEditStrings(TCustomRichEdit* AOwner = nullptr) : FRichEdit(AOwner) {}

  String Get(int Index) const override;
  void Put(int Index, const String& S) override;
  int GetCount() const override;
  void SetTextStr(const String& Value) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const String& S) override;
  // RTF, or plain text when the control's PlainText is set. RTF the window refuses is loaded
  // again as plain text; EOutOfResources when that fails too.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  TCustomRichEdit* FRichEdit;
};

using TRichEditResizeEvent = TEvent<void(TObject* Sender, TRect Rect)>;
using TRichEditProtectChange = TEvent<void(TObject* Sender, int StartPos, int EndPos, bool& AllowChange)>;
using TRichEditSaveClipboard = TEvent<void(TObject* Sender, int NumObjects, int NumChars, bool& SaveClipboard)>;

class TCustomRichEdit : public TWinControl {
  VELBOR_DECLARE_CLASS(TCustomRichEdit, TWinControl)
  friend class TRichEditStrings;
  friend class TTextAttributes;
  friend class TParaAttributes;

 public:
  explicit TCustomRichEdit(TComponent* AOwner);
  ~TCustomRichEdit() override;

  // Properties.
  TStrings* Lines() const { return FLines; }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  // Lines load and save plain text instead of RTF.
  bool PlainText = false;
  TTextAttributes* SelAttributes() const { return FSelAttributes; }
  void SetSelAttributes(TTextAttributes* Value) { FSelAttributes->Assign(Value); }
  TTextAttributes* DefAttributes() const { return FDefAttributes; }
  void SetDefAttributes(TTextAttributes* Value) { FDefAttributes->Assign(Value); }
  TParaAttributes* Paragraph() const { return FParagraph; }
  // The selection in characters (a paragraph break counts one).
  int SelStart() const;
  void SetSelStart(int Value);
  int SelLength() const;
  void SetSelLength(int Value);
  String SelText() const;
  void SetSelText(const String& Value);
  // The text length in characters, as SelStart counts them.
  int TextLength() const;
  bool Modified() const;
  void SetModified(bool Value);
  bool CanUndo() const;
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  bool HideScrollBars() const { return FHideScrollBars; }
  void SetHideScrollBars(bool Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool WantTabs = false;
  bool WantReturns = true;
  // The printed area of each page in printer pixels; empty: the whole page.
  TRect PageRect;

  // Operations.
  void Clear();
  void ClearSelection();
  void SelectAll();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  void ClearUndo();
  // The position of SearchStr within StartPos .. StartPos + Length, searching forward; -1 when
  // it is not there.
  virtual int FindText(const String& SearchStr, int StartPos, int Length, TSearchTypes Options);
  // Prints the text on the default printer as a document named Caption.
  virtual void Print(const String& Caption);
  // Lays the text out on DC one page after the other (Render false: measures only) and returns
  // the number of pages; Page is in DC's pixels.
  int FormatPages(HDC DC, const TRect& Page, bool Render);

  TNotifyEvent OnChange;
  TNotifyEvent OnSelectionChange;
  TRichEditProtectChange OnProtectChange;
  TRichEditResizeEvent OnResizeRequest;
  TRichEditSaveClipboard OnSaveClipboard;

 protected:
  // Overridables.
  virtual void Change();
  virtual void SelectionChange();
  virtual bool ProtectChange(int StartPos, int EndPos);
  virtual void RequestSize(const TRect& Rect);
  virtual bool SaveClipboard(int NumObjects, int NumChars);
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNCommand(TMessage& Message);
  void CNNotify(TMessage& Message);
  void WMGetDlgCode(TMessage& Message);
  void CMFontChanged(TMessage& Message);

 private:
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0) const;
  // Whether the range (an insertion point when empty) touches protected text.
  bool RangeProtected(int StartPos, int EndPos);
  // An edit message about to change protected text that ProtectChange refuses.
  bool EditRefused(TMessage& Message);
  // EM_STREAMIN / EM_STREAMOUT over a stream; false when the window reported an error.
  bool StreamIn(TStream* Stream, UINT Format);
  bool StreamOut(TStream* Stream, UINT Format);

  TRichEditStrings* FLines;
  TTextAttributes* FSelAttributes;
  TTextAttributes* FDefAttributes;
  TParaAttributes* FParagraph;
  bool FReadOnly = false;
  int FMaxLength = 0;
  bool FHideSelection = true;
  bool FHideScrollBars = true;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  TAlignment FAlignment = taLeftJustify;
  TBorderStyle FBorderStyle = bsSingle;
  // The content kept while the window is re-created.
  TStream* FSavedContent = nullptr;
  bool FSavedModified = false;
  bool FCheckingProtection = false;  // the selection moves only to read the protection
};

class TRichEdit : public TCustomRichEdit {
  VELBOR_DECLARE_CLASS(TRichEdit, TCustomRichEdit)
 public:
  explicit TRichEdit(TComponent* AOwner) : TCustomRichEdit(AOwner) {}
};

void RegisterRichEdit();

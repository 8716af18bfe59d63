// This file implements the rich-text control's pop-up menu of editing commands (built once,
// shown and hidden item by item at each opening) and the state queries the menu and the editor
// window share.
#include "qvriched.h"

#include "Clipbrd.h"
#include "Menus.h"

#include "Qvintl.h"
#include "qvRichServices.h"

TMenuItem* TqvCustomRichEdit::AddPopupItem(const String& Caption, TPopupItem Item) {
  auto* MenuItem = new TMenuItem(FPopupMenuBuilt);
  MenuItem->SetCaption(Caption);
  MenuItem->Tag = int(Item);
  if (Caption != "-") MenuItem->OnClick = TNotifyEvent(this, &TqvCustomRichEdit::PopupItemClick);
  FPopupMenuBuilt->Items()->Add(MenuItem);
  FPopupItems[Item] = MenuItem;
  return MenuItem;
}

void TqvCustomRichEdit::UpdatePopupMenu() {
  if (FPopupMenuBuilt != nullptr) return;
  FPopupMenuBuilt = new TPopupMenu(this);
  FPopupMenuBuilt->OnPopup = TNotifyEvent(this, &TqvCustomRichEdit::PopupMenuPopup);
  TqvRichEditPopupMenuLabels* L = qvIntl->RichEdit()->PopupMenuLabels();
  AddPopupItem(L->EditCaption, piEdit);
  AddPopupItem("-", piSep1);
  AddPopupItem(L->CutCaption, piCut);
  AddPopupItem(L->CopyCaption, piCopy);
  AddPopupItem(L->PasteCaption, piPaste);
  AddPopupItem("-", piSep2);
  AddPopupItem(L->BoldCaption, piBold);
  AddPopupItem(L->ItalicCaption, piItalic);
  AddPopupItem(L->UnderlineCaption, piUnderline);
  AddPopupItem("-", piSep3);
  AddPopupItem(L->FontCaption, piFont);
  AddPopupItem(L->BulletStyleCaption, piBullet);
  AddPopupItem(L->ParagraphCaption, piParagraph);
  AddPopupItem(L->TabsCaption, piTabs);
  AddPopupItem("-", piSep4);
  AddPopupItem(L->FindCaption, piFind);
  AddPopupItem(L->ReplaceCaption, piReplace);
  AddPopupItem("-", piSep5);
  AddPopupItem(L->InsertObjectCaption, piInsertObject);
  AddPopupItem(L->SpellCheckCaption, piSpellCheck);
}

void TqvCustomRichEdit::PopupItemClick(TObject* Sender) {
  auto* Item = dynamic_cast<TMenuItem*>(Sender);
  if (Item == nullptr) return;
  switch (TPopupItem(Item->Tag)) {
    case piEdit: ExecuteEditor(); break;
    case piCut: CutToClipboard(); break;
    case piCopy: CopyToClipboard(); break;
    case piPaste: PasteFromClipboard(); break;
    case piBold:
      ToggleBold(!Item->Checked());
      Item->SetChecked(!Item->Checked());
      break;
    case piItalic:
      ToggleItalic(!Item->Checked());
      Item->SetChecked(!Item->Checked());
      break;
    case piUnderline:
      ToggleUnderline(!Item->Checked());
      Item->SetChecked(!Item->Checked());
      break;
    case piFont: ShowFontDialog(); break;
    case piBullet:
      SetBullet(!Item->Checked());
      Item->SetChecked(!Item->Checked());
      break;
    case piParagraph: ShowParagraphDialog(); break;
    case piTabs: ShowTabsDialog(); break;
    case piFind: ShowFindDialog(); break;
    case piReplace: ShowReplaceDialog(); break;
    case piInsertObject: InsertObjectDialog(); break;
    case piSpellCheck: SpellCheck(); break;
    default: break;
  }
}

void TqvCustomRichEdit::PopupMenuPopup(TObject*) {
  FContextMenuPending = false;
  if (FPopupMenuBuilt == nullptr) return;
  TqvRichEditPopupOptions Options = PopupOptions;
  if (!qvrich::ClassInheritsFrom(ClassType(), "TqvDBRichEditMSWord")) Options.Exclude(rpoPopupMSWordSpellCheck);
  bool ReadOnly = GetReadOnly();
  TqvRichEditPopupMenuLabels* L = qvIntl->RichEdit()->PopupMenuLabels();
  if (ReadOnly) {
    Options = Options * TqvRichEditPopupOptions{rpoPopupEdit, rpoPopupCut, rpoPopupCopy, rpoPopupPaste, rpoPopupFind};
    FPopupItems[piEdit]->SetCaption(L->ViewCaption);
  } else {
    FPopupItems[piEdit]->SetCaption(L->EditCaption);
  }
  auto Has = [&](TqvRichEditPopupOption O) { return Options.Contains(O); };
  auto Any = [&](std::initializer_list<TqvRichEditPopupOption> List) {
    for (TqvRichEditPopupOption O : List)
      if (Has(O)) return true;
    return false;
  };
  bool InsertAllowed = Has(rpoPopupInsertObject) && !FOleOptions.Contains(reoDisableOLE);
  static const std::pair<TPopupItem, TqvRichEditPopupOption> Plain[] = {
      {piEdit, rpoPopupEdit},           {piCut, rpoPopupCut},           {piCopy, rpoPopupCopy},
      {piPaste, rpoPopupPaste},         {piBold, rpoPopupBold},         {piItalic, rpoPopupItalic},
      {piUnderline, rpoPopupUnderline}, {piFont, rpoPopupFont},         {piBullet, rpoPopupBullet},
      {piParagraph, rpoPopupParagraph}, {piTabs, rpoPopupTabs},         {piFind, rpoPopupFind},
      {piReplace, rpoPopupReplace},     {piSpellCheck, rpoPopupMSWordSpellCheck}};
  for (auto [Item, Option] : Plain) FPopupItems[Item]->SetVisible(Has(Option));
  FPopupItems[piInsertObject]->SetVisible(InsertAllowed);
  bool AfterEdit = Options.Bits() & ~TqvRichEditPopupOptions{rpoPopupEdit}.Bits();
  FPopupItems[piSep1]->SetVisible(Has(rpoPopupEdit) && AfterEdit);
  bool FromBold = Any({rpoPopupBold, rpoPopupItalic, rpoPopupUnderline, rpoPopupFont, rpoPopupBullet,
                       rpoPopupParagraph, rpoPopupTabs, rpoPopupFind, rpoPopupReplace, rpoPopupMSWordSpellCheck}) ||
                  InsertAllowed;
  FPopupItems[piSep2]->SetVisible(Any({rpoPopupCut, rpoPopupCopy, rpoPopupPaste}) && FromBold);
  bool FromFont = Any({rpoPopupFont, rpoPopupBullet, rpoPopupParagraph, rpoPopupTabs, rpoPopupFind, rpoPopupReplace,
                       rpoPopupMSWordSpellCheck}) ||
                  InsertAllowed;
  FPopupItems[piSep3]->SetVisible(Any({rpoPopupBold, rpoPopupItalic, rpoPopupUnderline}) && FromFont);
  FPopupItems[piSep4]->SetVisible(Any({rpoPopupFont, rpoPopupBullet, rpoPopupParagraph, rpoPopupTabs}) &&
                                  (Any({rpoPopupFind, rpoPopupReplace}) || InsertAllowed ||
                                   Has(rpoPopupMSWordSpellCheck)));
  FPopupItems[piSep5]->SetVisible(InsertAllowed && Any({rpoPopupFind, rpoPopupReplace}));
  bool Selected = HasSelection();
  FPopupItems[piCut]->SetEnabled(Selected && !ReadOnly);
  FPopupItems[piCopy]->SetEnabled(Selected);
  FPopupItems[piPaste]->SetEnabled(CanPaste() && !ReadOnly);
  FPopupItems[piBullet]->SetChecked(Paragraph()->Numbering() != nsNone);
  CHARFORMAT2A Format = GetSelCharFormat();
  FPopupItems[piBold]->SetChecked((Format.dwEffects & CFE_BOLD) != 0);
  FPopupItems[piItalic]->SetChecked((Format.dwEffects & CFE_ITALIC) != 0);
  FPopupItems[piUnderline]->SetChecked((Format.dwEffects & CFE_UNDERLINE) != 0);
}

bool TqvCustomRichEdit::HasSelection() { return HandleAllocated() && SelLength() > 0; }

bool TqvCustomRichEdit::CanPaste() {
  if (!HandleAllocated()) return false;
  bool WasReadOnly = (GetWindowLongA(Handle(), GWL_STYLE) & ES_READONLY) != 0;
  if (WasReadOnly) SendRich(EM_SETREADONLY, FALSE);
  bool Result = SendRich(EM_CANPASTE, 0) != 0;
  if (WasReadOnly) SendRich(EM_SETREADONLY, TRUE);
  // A picture the window can show is pasted; a bare bitmap is not.
  if (OpenClipboard(Handle())) {
    for (UINT Format = EnumClipboardFormats(0); Format != 0; Format = EnumClipboardFormats(Format)) {
      if (Format == CF_METAFILEPICT || Format == CF_ENHMETAFILE) {
        Result = true;
        break;
      }
      if (Format == CF_BITMAP) Result = false;
    }
    CloseClipboard();
  }
  return Result;
}

bool TqvCustomRichEdit::CanRedo() { return HandleAllocated() && SendRich(EM_CANREDO) != 0; }

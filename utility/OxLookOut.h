// This file implements the side bar: TOxLookOut (a column of stacked pages, one expanded at a time),
// TOxLookOutPage (a page with a title band and a scrolling column of buttons), the page's buttons
// TOxCustomLookOutButton and TOxExpressButton, the scroll arrows TOxUpArrowBtn and TOxDwnArrowBtn,
// and TOxLookOutEdit, the in-place caption editor of a page.
#pragma once

#include "Component.h"
#include "OxBase.h"

#include <vector>

#include "Buttons.h"
#include "ImageList.h"
#include "StdCtrls.h"

class TTimer;
class TOxLookOut;
class TOxLookOutPage;
class TOxCustomLookOutButton;

enum TOxImageSize { isSmall, isLarge };
VELBOR_ENUM(TOxImageSize, "isSmall", "isLarge")

enum TOxButtonBorder { bbDark, bbLight, bbMono };
VELBOR_ENUM(TOxButtonBorder, "bbDark", "bbLight", "bbMono")

using TOxLookOutEditedEvent = TEvent<void(TObject* Sender, String& Caption)>;
// How a page asks its bar to expand it.
using TOxExpandRequest = TEvent<void(TControl* Page)>;

// Messages broadcast to the children of a control.
inline constexpr UINT CM_OXIMAGESIZECHANGED = 0xB064;  // WParam the new TOxImageSize, LParam the sender
inline constexpr UINT CM_OXBUTTONHOT = 0xB065;         // LParam the button that became hot
inline constexpr UINT CM_OXGROUPRELEASE = 0xB066;      // WParam the group index, LParam the button now down

// --- Scroll arrows ---------------------------------------------------------------------------

class TOxUpArrowBtn : public TSpeedButton {
  VELBOR_DECLARE_CLASS(TOxUpArrowBtn, TSpeedButton)
 public:
  explicit TOxUpArrowBtn(TComponent* AOwner);
  ~TOxUpArrowBtn() override;

  bool AutoRepeat = false;
  bool Pressed() const { return FPressed; }
  bool Hot() const { return FHot; }

 protected:
  // Scrolls the page one step; true when the arrow is still worth holding.
  virtual bool ScrollStep();
  virtual bool IsDownArrow() const { return false; }
  virtual void RepeatTick(TObject* Sender);
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Dispatch(TMessage& Message) override;
  TOxLookOutPage* Page() const;
  // Invalidates the page below its title band and updates it at once.
  void RefreshPage();

  // protected messages
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMDesignHitTest(TMessage& Message);

  TTimer* FRepeatTimer = nullptr;  // owned, exists only while an auto-repeating arrow is held
  bool FPressed = false;
  bool FHot = false;

 private:
  void StopTimer();
};

class TOxDwnArrowBtn : public TOxUpArrowBtn {
  VELBOR_DECLARE_CLASS(TOxDwnArrowBtn, TOxUpArrowBtn)
 public:
  using TOxUpArrowBtn::TOxUpArrowBtn;

 protected:
  bool ScrollStep() override;
  bool IsDownArrow() const override { return true; }
  void RepeatTick(TObject* Sender) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// --- In-place caption editor -------------------------------------------------------------------

class TOxLookOutEdit : public TEdit {
  VELBOR_DECLARE_CLASS(TOxLookOutEdit, TEdit)
 public:
  using TEdit::TEdit;

 protected:
  void Dispatch(TMessage& Message) override;
  // protected messages
  void WMKillFocus(TMessage& Message);
};

// --- The bar -------------------------------------------------------------------------------------

class TOxLookOut : public TOxCustomControl {
  VELBOR_DECLARE_CLASS(TOxLookOut, TOxCustomControl)
 public:
  explicit TOxLookOut(TComponent* AOwner);
  ~TOxLookOut() override;

  // Properties.
  void SetAutoSize(bool Value) override;
  bool Smooth = false;
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TOxImageSize ImageSize() const { return FImageSize; }
  void SetImageSize(TOxImageSize Value);
  bool FlatButtons() const { return FFlatButtons; }
  void SetFlatButtons(bool Value);
  // The page expanded last (FActivePage in design mode, FCurrentPage at run time).
  TOxLookOutPage* GetActivePage() const;
  void SetActivePage(TOxLookOutPage* Page);
  TOxLookOutPage* GetPage(int Index) const;
  int GetPageCount() const { return int(FPages.size()); }
  TOxExpandRequest ExpandRequest() const { return FExpandRequest; }

  // Operations.
  // Expands Page: the pages before it stack from the top, the later ones from the bottom.
  void ExpandPage(TControl* Page);
  // Expands the current page again (the layout follows the bar's size).
  void UpdateControls();
  // Moves C to Target, step by step when Smooth and not designing.
  virtual void SlidePage(TControl* C, int Target, int Step, bool Smooth);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  int BorderSize() const { return FFlatButtons ? 1 : 2; }

  // protected messages
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);

 private:
  friend class TOxLookOutPage;
  void PageJoined(TOxLookOutPage* Page);
  void PageLeft(TOxLookOutPage* Page);

  TBorderStyle FBorderStyle = bsSingle;
  TOxExpandRequest FExpandRequest;
  TOxLookOutPage* FActivePage = nullptr;
  TOxLookOutPage* FCurrentPage = nullptr;
  std::vector<TOxLookOutPage*> FPages;
  TOxImageSize FImageSize = isLarge;
  bool FFlatButtons = false;
};

// --- A page --------------------------------------------------------------------------------------

class TOxLookOutPage : public TOxCustomControl {
  VELBOR_DECLARE_CLASS(TOxLookOutPage, TOxCustomControl)
 public:
  explicit TOxLookOutPage(TComponent* AOwner);
  ~TOxLookOutPage() override;

  // Properties.
  bool AutoRepeat = false;
  bool ParentImageSize() const { return FParentImageSize; }
  void SetParentImageSize(bool Value);
  bool ShowPressed = false;
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  int TopButtonIndex() const { return FTopButtonIndex; }
  TComponent* PopUpMenu() const { return FPopUpMenu; }
  void SetPopUpMenu(TComponent* Value);
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);
  TOxImageSize ImageSize() const { return FImageSize; }
  void SetImageSize(TOxImageSize Value);
  TFont* HighlightFont() const { return FHighlightFont; }
  void SetHighlightFont(TFont* Value);
  TOxLookOut* Manager() const { return FManager; }
  TOxUpArrowBtn* UpArrow() const { return FUpArrow; }
  TOxDwnArrowBtn* DownArrow() const { return FDownArrow; }
  TOxLookOutEdit* Editor() const { return FEdit; }
  bool Hot() const { return FHot; }
  bool Pressed() const { return FPressed; }
  TOxCustomLookOutButton* GetButton(int Index) const;
  int GetButtonCount() const { return int(FButtons.size()); }
  TOxLookOutEditedEvent OnEdited;

  // Operations.
  void SetParent(TWinControl* AParent) override;
  void Click() override;
  // The in-place caption editor; Enter keeps the text (through OnEdited), Escape drops it.
  virtual void EditCaption();
  virtual void ShowEarlierButtons();
  virtual void ShowLaterButtons();
  virtual void DrawTitleBand();
  virtual void PlaceArrowButtons();
  // Re-stacks the buttons from Start (16-bit position), the first shown one FTopButtonIndex.
  virtual void ArrangeButtons(unsigned short Start);
  virtual void SlideButton(TControl* C, int Target, int Step, bool Smooth);
  virtual void SwapButtons(TOxCustomLookOutButton* A, TOxCustomLookOutButton* B);

 protected:
  virtual void DoEdited(String& Caption);
  void CreateWnd() override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  TRect TitleBand() const;

  // protected messages
  void CMMouseLeave(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMImageSizeChanged(TMessage& Message);

 private:
  friend class TOxCustomLookOutButton;
  friend class TOxLookOutEdit;
  void CreateArrows();
  void EndEdit();
  void EditKeyPress(TObject* Sender, char& Key);
  void EditMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void SortButtons();
  bool Arranging() const { return FArranging; }

  TOxLookOutEdit* FEdit = nullptr;  // owned, only during an in-place edit
  bool FArranging = false;
  bool FCenterLarge = true;
  bool FParentImageSize = true;
  bool FHot = false;
  bool FPressed = false;
  int FMargin = 0;
  int FTopButtonIndex = 0;
  TComponent* FPopUpMenu = nullptr;
  TOxDwnArrowBtn* FDownArrow = nullptr;  // owned
  TOxUpArrowBtn* FUpArrow = nullptr;     // owned
  TBitmap* FBitmap;                      // owned
  TOxImageSize FImageSize = isLarge;
  TOxLookOut* FManager = nullptr;
  TOxExpandRequest FExpandRequest;
  TFont* FHighlightFont;  // owned
  std::vector<TOxCustomLookOutButton*> FButtons;
};

// --- Buttons -------------------------------------------------------------------------------------

class TOxCustomLookOutButton : public TOxGraphicControl {
  VELBOR_DECLARE_CLASS(TOxCustomLookOutButton, TOxGraphicControl)
 public:
  explicit TOxCustomLookOutButton(TComponent* AOwner);
  ~TOxCustomLookOutButton() override;

  // Properties.
  bool ParentImageSize() const { return FParentImageSize; }
  void SetParentImageSize(bool Value);
  bool Hot() const { return FHot; }
  bool Pushed() const { return FPushed; }
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  int Offset() const { return FOffset; }
  void SetOffset(int Value) { FOffset = Value; }
  TOxImageSize ImageSize() const { return FImageSize; }
  void SetImageSize(TOxImageSize Value);
  TRect ImageRect() const { return FImageRect; }
  TColor FillColor() const { return FFillColor; }
  void SetFillColor(TColor Value);
  TFont* HighlightFont() const { return FHighlightFont; }
  void SetHighlightFont(TFont* Value);
  TOxButtonBorder ButtonBorder() const { return FButtonBorder; }
  void SetButtonBorder(TOxButtonBorder Value);
  TComponent* PopUpMenu() const { return FPopUpMenu; }
  void SetPopUpMenu(TComponent* Value);
  String Caption() const { return GetText(); }
  void SetCaption(const String& Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }
  TCustomImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* Value);
  TCustomImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* Value);
  TOxLookOutEditedEvent OnEdited;
  TNotifyEvent OnMouseExit;

  // Operations.
  void SetParent(TWinControl* AParent) override;
  void Assign(TPersistent* Source) override;
  void Click() override;

 protected:
  virtual void DoEdited(String& Caption);
  virtual void PaintFrame();
  virtual void DoMouseEnter();
  virtual void DoMouseExit();
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  // The repaint after a press or release: the frame alone when the content does not move.
  void RepaintAfterPress();
  TCustomImageList* ShownImages() const;

  // protected messages
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMImageSizeChanged(TMessage& Message);
  void CMButtonHot(TMessage& Message);
  void CMGroupRelease(TMessage& Message);

 private:
  void ImagesChanged(TObject* Sender);

  bool FParentImageSize = true;
  bool FHot = false;
  bool FPushed = false;
  bool FDown = false;
  int FImageIndex = -1;
  int FSpacing = 4;
  int FOffset = 0;
  TOxImageSize FImageSize = isLarge;
  TRect FImageRect;
  TColor FFillColor = clNone;
  TFont* FHighlightFont;  // owned
  TOxButtonBorder FButtonBorder = bbDark;
  TComponent* FPopUpMenu = nullptr;
  int FGroupIndex = 0;
  TCustomImageList* FSmallImages = nullptr;
  TCustomImageList* FLargeImages = nullptr;
  TChangeLink* FSmallLink;  // owned
  TChangeLink* FLargeLink;  // owned
};

class TOxExpressButton : public TOxCustomLookOutButton {
  VELBOR_DECLARE_CLASS(TOxExpressButton, TOxCustomLookOutButton)
 public:
  explicit TOxExpressButton(TComponent* AOwner);
};

// Makes the bar, its pages and buttons known to the form reader.
void RegisterOxLookOut();

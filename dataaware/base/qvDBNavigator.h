// This file implements the navigator: TqvDBNavigator, a bar of buttons bound to a data source that
// moves through the dataset, edits it, keeps one bookmark per dataset and opens the library's
// dialogs on it; TqvNavButton, its button, a stored component of its own with a style that decides
// its glyph, hint, action and enable rule (or a custom button with its own OnClick); and
// TqvNavButtons, the list of the buttons with their layout and sizing.
// Implemented in qvDBNavigator.cpp (the navigator, its data link and bookmarks),
// qvDBNavigatorButton.cpp (the button, its glyphs, hints, enable rule, repeat and dialogs) and
// qvDBNavigatorLayout.cpp (the button list, default buttons, layout and sizing).
#pragma once

#include <vector>

#include "DataSet.h"
#include "DataSource.h"
#include "ImageList.h"
#include "qvDialog.h"
#include "qvSpeedButton.h"
#include "qvclearpanel.h"

class TTimer;
class TqvDBNavigator;
class TqvNavButton;
class TqvNavButtons;

enum TqvNavButtonStyle {
  nbsFirst, nbsPrior, nbsNext, nbsLast, nbsInsert, nbsDelete, nbsEdit, nbsPost, nbsCancel, nbsRefresh,
  nbsPriorPage, nbsNextPage, nbsSaveBookmark, nbsRestoreBookmark, nbsFilterDialog, nbsRecordViewDialog,
  nbsLocateDialog, nbsSearchDialog, nbsCustom
};
VELBOR_ENUM(TqvNavButtonStyle, "nbsFirst", "nbsPrior", "nbsNext", "nbsLast", "nbsInsert", "nbsDelete", "nbsEdit",
            "nbsPost", "nbsCancel", "nbsRefresh", "nbsPriorPage", "nbsNextPage", "nbsSaveBookmark",
            "nbsRestoreBookmark", "nbsFilterDialog", "nbsRecordViewDialog", "nbsLocateDialog", "nbsSearchDialog",
            "nbsCustom")
using TqvNavButtonStyles = TSet<TqvNavButtonStyle>;
// The dialog styles, nbsFilterDialog .. nbsSearchDialog.
bool qvIsDialogStyle(TqvNavButtonStyle Style);
// The style's name without "nbs" ("PriorPage").
String qvNavStyleName(TqvNavButtonStyle Style);

enum TqvUpdateCause { usDataChanged, usEditingChanged, usActiveChanged, usOther };
VELBOR_ENUM(TqvUpdateCause, "usDataChanged", "usEditingChanged", "usActiveChanged", "usOther")
enum TqvNavAutoSizeStyle { asSizeNavigator, asSizeNavButtons, asNone };
VELBOR_ENUM(TqvNavAutoSizeStyle, "asSizeNavigator", "asSizeNavButtons", "asNone")
enum TqvNavLayout { nlHorizontal, nlVertical };
VELBOR_ENUM(TqvNavLayout, "nlHorizontal", "nlVertical")
enum TqvNavOption { noConfirmDelete, noUseInternationalText };
VELBOR_ENUM(TqvNavOption, "noConfirmDelete", "noUseInternationalText")
using TqvNavOptions = TSet<TqvNavOption>;

using TqvUpdateStateEvent = TEvent<void(TqvDBNavigator* Navigator, TqvNavButton* Button, TqvUpdateCause Cause)>;
using TqvCustomDialogEvent = TEvent<void(TqvCustomDialog* Dialog)>;

// The program's one list of the standard glyphs, 18 x 18: style s has image 2s (enabled) and
// 2s + 1 (disabled). Made on first use, owned by the application.
TCustomImageList* qvNavImageList();
// Whether List is that list (without making it).
bool qvIsNavImageList(const TCustomImageList* List);

// The page buttons' hint with the page distance: "%d" (the only directive it may hold, "%%"
// aside) becomes Distance; a hint holding anything else after a "%" is shown as it stands.
String qvFormatPageHint(const String& Hint, int Distance);

// The pause before a held button repeats, then the time between repeats, in milliseconds.
class TqvNavRepeatInterval : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvNavRepeatInterval, TPersistent)
 public:
  TqvNavRepeatInterval() = default;
  int InitialDelay = 500;
  int Interval = 100;
  void Assign(TPersistent* Source) override;
};

// A saved bookmark of one dataset.
class TqvNavBookmark : public TObject {
  VELBOR_DECLARE_CLASS(TqvNavBookmark, TObject)
 public:
  TqvNavBookmark(TDataSet* ADataSet, const TBookmark& ABookmark) : DataSet(ADataSet), Bookmark(ABookmark) {}
  ~TqvNavBookmark() override;
  TDataSet* DataSet;
  TBookmark Bookmark;
};

class TqvNavDataLink : public TDataLink {
  VELBOR_DECLARE_CLASS(TqvNavDataLink, TDataLink)
 public:
  explicit TqvNavDataLink(TqvDBNavigator* ANavigator = nullptr) : FNavigator(ANavigator) {}
  ~TqvNavDataLink() override;

 protected:
  void ActiveChanged() override;
  void DataSetChanged() override;
  void EditingChanged() override;

 private:
  TqvDBNavigator* FNavigator;
};

// The navigator's buttons: its child controls, in child order.
class TqvNavButtons : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvNavButtons, TPersistent)
 public:
  explicit TqvNavButtons(TqvDBNavigator* ANavigator = nullptr) : FNavigator(ANavigator) {}

  virtual void ButtonInserted(TqvNavButton*) {}
  virtual void ButtonRemoved(TqvNavButton*) {}
  // Layout waits while the counter is above 0.
  virtual void BeginUpdate() { ++FUpdateCount; }
  virtual void EndUpdate() { --FUpdateCount; }
  int UpdateCount() const { return FUpdateCount; }
  // The visible button reaching lowest (furthest right); the first on ties, null when none
  // reaches beyond 0.
  virtual TqvNavButton* GetBottomButton();
  virtual TqvNavButton* GetRightButton();
  // The visible button under a point of the navigator.
  virtual TqvNavButton* ButtonAtPoint(TPoint Point);
  virtual bool IsButtonHidden(TqvNavButton* Button);
  // The first button of the style shows (one is added, at the style's place, when there is none);
  // every button of the style hides.
  virtual void ShowStyle(TqvNavButtonStyle Style);
  virtual void HideStyle(TqvNavButtonStyle Style);
  virtual int GetCount();
  // EInvalidOperation outside 0 .. count - 1.
  virtual TqvNavButton* GetButton(int Index);
  virtual TqvDBNavigator* GetNavigator() { return FNavigator; }
  // The Index-th visible button (every button in design mode).
  virtual TqvNavButton* GetVisibleButton(int Index);
  virtual int GetVisibleCount();
  // A new button of the style (with Dialog for a dialog style), at the end of the list.
  virtual TqvNavButton* AddButton(TqvNavButtonStyle Style, TqvCustomDialog* Dialog = nullptr);
  virtual void AddDialogButtons();
  // Frees every button, the last first.
  virtual void ClearButtons();
  // One button of each standard style nbsFirst .. nbsRestoreBookmark, in the bar's order.
  virtual void AddDefaultButtons();
  // Sizes and places the buttons as AutosizeStyle asks.
  virtual void Arrange();
  // Places the visible buttons in rows (columns in vertical layout), a row ending where the next
  // button would overflow or where a button has LineBreak.
  virtual void LayoutButtons();
  virtual void UpdateButtons(TqvUpdateCause Cause);
  // After a button was added outside the bar.
  void GrowToLastButton();

  int Count() { return GetCount(); }
  TqvNavButton* Buttons(int Index) { return GetButton(Index); }

 private:
  TqvDBNavigator* FNavigator;
  int FUpdateCount = 0;
};

class TqvNavButton : public TqvSpeedButton {
  VELBOR_DECLARE_CLASS(TqvNavButton, TqvSpeedButton)
 public:
  explicit TqvNavButton(TComponent* AOwner);
  ~TqvNavButton() override;

  // Properties.
  // This button begins a new row (column in vertical layout).
  bool LineBreak() const { return FLineBreak; }
  virtual void SetLineBreak(bool Value);
  // The dialog a dialog-style button shows; setting one gives the button its class's style.
  TqvCustomDialog* Dialog() const { return FDialog; }
  virtual void SetDialog(TqvCustomDialog* Value);
  TqvNavButtonStyle Style() const { return FStyle; }
  virtual void SetStyle(TqvNavButtonStyle Value);
  // The position in the list; EInvalidOperation for a button that is in none.
  virtual int GetIndex();
  virtual void SetIndex(int Value);
  // The list: the one that made the button, else the parent navigator's.
  virtual TqvNavButtons* GetButtons();
  virtual TqvDBNavigator* GetNavigator();
  // -1 while the button shows its standard glyph.
  int GetImageIndex() const override;
  // -1 gives the standard glyph; another index an image of the navigator's ImageList.
  void SetImageIndex(int Value) override;
  // The button's timer while a repeating button is held.
  TTimer* RepeatTimer() const { return FRepeatTimer; }

  // Operations.
  // The hint of the style from the library's texts, unless the button has its own (and the
  // navigator uses them); page hints with the page distance.
  virtual String GetHintText();
  virtual void UpdateButtonState(TqvUpdateCause Cause);
  virtual bool IsInsideNavigator();
  virtual void AssignDefaultName();
  virtual void SetDefaultGlyph();
  virtual void StopRepeatTimer();
  virtual void StartRepeatTimer();
  // The dialog the button shows on Dataset: its own, one the owner already holds, or a new one.
  TqvCustomDialog* FindDialog(TDataSet* DataSet);
  void Click() override;
  // Only a navigator takes a navigator button: another parent is refused with an error box.
  void SetParent(TWinControl* AParent) override;

  // The registered dialog class of a dialog style ("Tqv" + the style name); null when none.
  static TClass ClassOfStyle(TqvNavButtonStyle Style);
  // The dialog style of a dialog class name; false when the name names none.
  static bool StyleOfClass(const String& ClassName, TqvNavButtonStyle& Style);

  // Events.
  TNotifyEvent OnRowChanged;
  TqvUpdateStateEvent OnUpdateState;
  TqvCustomDialogEvent OnAfterCreateDialog;

 protected:
  friend class TqvNavButtons;
  virtual void RepeatTimerTick(TObject* Sender);
  virtual void InvalidateThroughParents();
  void BindDialogData(TqvCustomDialog* Dialog, TDataSet* DataSet);
  void DoAfterCreateDialog(TqvCustomDialog* Dialog);
  bool Repeats() const;

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);

 private:
  bool NavigatorTransparent();

  TqvNavButtons* FButtons = nullptr;
  TTimer* FRepeatTimer = nullptr;
  TTimer* FSpareTimer = nullptr;
  bool FLineBreak = false;
  TqvCustomDialog* FDialog = nullptr;
  TqvNavButtonStyle FStyle = nbsFirst;
};

class TqvDBNavigator : public TqvCustomTransparentPanel {
  VELBOR_DECLARE_CLASS(TqvDBNavigator, TqvCustomTransparentPanel)
 public:
  explicit TqvDBNavigator(TComponent* AOwner);
  ~TqvDBNavigator() override;

  // Properties.
  TqvNavButtons* Buttons() const { return FButtons; }
  TqvNavAutoSizeStyle AutosizeStyle() const { return FAutosizeStyle; }
  virtual void SetAutosizeStyle(TqvNavAutoSizeStyle Value);
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  virtual void SetDataSource(TDataSource* Value);
  bool Flat() const { return FFlat; }
  virtual void SetFlat(bool Value);
  // Images of the buttons that have an ImageIndex of their own.
  TCustomImageList* ImageList() const { return FImageList; }
  virtual void SetImageList(TCustomImageList* Value);
  TqvNavLayout Layout() const { return FLayout; }
  virtual void SetLayout(TqvNavLayout Value);
  // How far the page buttons move.
  int MoveBy() const { return FMoveBy; }
  virtual void SetMoveBy(int Value);
  TqvNavOptions Options() const { return FOptions; }
  virtual void SetOptions(TqvNavOptions Value);
  TqvNavRepeatInterval* RepeatInterval() const { return FRepeatInterval; }
  void SetRepeatInterval(TqvNavRepeatInterval* Value) { FRepeatInterval->Assign(Value); }
  bool TransparentClearsBackground = false;
  bool DisableThemes = false;
  virtual bool GetShowHint() const { return ShowHint(); }
  virtual void SetShowHint(bool Value);
  // The standard styles of which a button exists, shown or hidden.
  virtual TqvNavButtonStyles GetVisibleButtons();
  // Shows the buttons of the styles given and hides the others (making the default buttons
  // first on an empty navigator, and a button for a given style that has none).
  virtual void SetVisibleButtons(TqvNavButtonStyles Value);
  // The data source's dataset. Required: EInvalidOperation without data source or dataset.
  virtual TDataSet* GetDataSet(bool Required);

  // Operations.
  // Takes the DataSource that Component publishes, when it has one (or always, with Force).
  virtual void SetDataSourceFrom(TComponent* Component, bool Force);
  // Stores the dataset's current record as its bookmark, or finds the one stored.
  TBookmark SaveOrFindBookmark(TDataSet* DataSet, bool Store);
  void ForgetBookmark(TDataSet* DataSet);
  // 0, 1 or 2: the bevels that are drawn; the width of the border in pixels.
  virtual int GetBevelCount();
  // The widths of the buttons that are not hidden.
  virtual int GetButtonsWidth();
  virtual void AutoSizeButtons();
  // The buttons named after the bar take its new name.
  void SetName(const String& NewName) override;

  // Data-link reactions.
  virtual void DataChanged();
  virtual void EditingChanged();
  virtual void ActiveChanged();

 protected:
  friend class TqvNavButton;
  friend class TqvNavButtons;
  virtual void ButtonInsertedOrRemoved(TControl* Control, bool Inserting);
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void CreateWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMPaint(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMControlListChange(TMessage& Message);
  void CMDialogChar(TMessage& Message);

 private:
  TqvNavButtons* FButtons;
  TqvNavDataLink* FDataLink;
  std::vector<TqvNavBookmark*> FBookmarks;
  TqvNavAutoSizeStyle FAutosizeStyle = asSizeNavigator;
  bool FFlat = true;
  TCustomImageList* FImageList = nullptr;
  TqvNavLayout FLayout = nlHorizontal;
  int FMoveBy = 10;
  TqvNavOptions FOptions = {noConfirmDelete};
  TqvNavRepeatInterval* FRepeatInterval;
  bool FPainting = false;
};

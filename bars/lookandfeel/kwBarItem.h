// This file implements TkwBarItem, the root of the bar items: a command (caption, category,
// enabled state, visibility, hint, shortcut, glyph, image index, click) owned by the form and
// registered with the form's bar manager, shown wherever an item link refers to it. The item
// keeps its links and tells their item controls of every change; bound to an action, it takes the
// action's caption, state, hint, shortcut and command through TkwBarItemActionLink. The kinds of
// items (buttons, edits, combos, sub-items) derive from it in the bar items library.
#pragma once

#include <vector>

// The class registry first: <windows.h> defines RegisterClass as a macro.
#include "Component.h"
#include "ActnList.h"
#include "Graphics.h"
#include "ImageList.h"
#include "kwBarTypes.h"

class TkwBarItemActionLink;

class TkwBarItem : public TComponent {
  VELBOR_DECLARE_CLASS(TkwBarItem, TComponent)
 public:
  // Registers with the manager of the owner form (else with the first manager there is).
  explicit TkwBarItem(TComponent* AOwner);
  // Frees its links (last first) and leaves its manager.
  ~TkwBarItem() override;

  // Properties.
  // The bound action (nullptr: none): its properties reach the item while they are equal.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TkwBarItemActionLink* ActionLink() const { return FActionLink; }
  TkwBarItemAlign Align() const { return FAlign; }
  void SetAlign(TkwBarItemAlign Value);
  TkwBarManager* BarManager() const { return FBarManager; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  // Index into the manager's categories; -1 for none (temporary and private items).
  int Category() const { return FCategory; }
  void SetCategory(int Value);
  // The link the item was clicked through, while its click runs.
  TkwBarItemLink* ClickedLink() const { return FClickedLink; }
  const String& Description() const { return FDescription; }
  void SetDescription(const String& Value);
  // True for every item with a category while the manager customizes at run time.
  bool Enabled() const;
  void SetEnabled(bool Value);
  TBitmap* Glyph() const { return FGlyph; }
  void SetGlyph(TBitmap* Value);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  int ImageIndex() const { return GetImageIndex(); }
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool UnclickAfterDoing() const { return FUnclickAfterDoing; }
  void SetUnclickAfterDoing(bool Value) { FUnclickAfterDoing = Value; }
  TkwBarItemVisible Visible() const { return FVisible; }
  void SetVisible(TkwBarItemVisible Value);
  TNotifyEvent OnClick;
  TNotifyEvent OnDestroy;

  // Operations.
  // Shown now: ivAlways with content (or while customizing), or ivInCustomizing while customizing.
  bool IsVisibleNow() const;
  // The first link whose item control is active (an open sub-menu, a shown editor).
  TkwBarItemLink* GetActiveLink() const;
  int GetIndex() const;
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  int GetLinkCount() const { return int(FLinks.size()); }
  TkwBarItemLink* GetLink(int Index) const;
  bool HasItemControls() const;
  const TkwBarPainter* GetPainter() const;
  // The caption without its first "&" and its first "..." (the default hint).
  String GetCleanCaption() const { return CleanCaption(FCaption); }
  static String CleanCaption(const String& Caption);
  bool HasValidImage();
  // Clicks when the item is clickable.
  virtual void DirectClick();
  // Runs the manager's item-click dispatch and the item's own click, unless disabled; what they
  // raise goes to the application's handler.
  virtual void Click();

  // Overridables, in the order of the item's slots.
  virtual void BarManagerChanged() {}
  virtual bool IsClickable() const { return true; }
  virtual void CaptionChanged();
  virtual void EnabledChanged();
  virtual bool IsControlContainer() const { return false; }
  virtual void GlyphChanged();
  virtual bool AcceptsAccelerator(TkwBarItemLink*) const { return Enabled(); }
  virtual void HideItemControl(TkwBarItemControl*) {}
  virtual void HotGlyphChanged() {}
  virtual bool HasContent() const { return true; }
  virtual void LargeGlyphChanged() {}
  virtual bool HasOwnWindow() const { return false; }
  virtual void BarNotification(TkwBar*, TOperation) {}
  virtual void ShortCutChanged();
  virtual void RepaintLinks();
  virtual void RebuildLinkBars();
  virtual bool HasHotImage() const { return false; }
  virtual bool HasLargeImage() const { return false; }
  virtual void VisibleChanged();
  virtual int GetImageIndex() const { return FImageIndex; }
  virtual void SetImageIndex(int Value);
  virtual TCustomImageList* GetImages() const;

  // What the manager core asks of particular kinds of items; each kind answers for itself.
  // The links of a sub-item (nullptr for other items).
  virtual TkwBarItemLinks* GetSubItemLinks() const { return nullptr; }
  // The links of the drop-down menu of a button with a drop-down (nullptr for others).
  virtual TkwBarItemLinks* GetDropDownLinks() const { return nullptr; }
  // A button's paint style, an edit's width, for links that do not set their own.
  virtual bool GetLinkPaintStyle(TkwBarPaintStyle&) const { return false; }
  virtual bool GetLinkWidth(int&) const { return false; }
  // Sub-items whose links are generated show no design content.
  virtual bool GeneratesLinks() const { return false; }
  // The bound action refreshes the item.
  virtual void UpdateAction();
  // The hint handler of the bound action may change the hint shown for the item, or refuse it
  // (false).
  virtual bool DoActionHint(String& HintStr);
  // Items with a down state (the buttons) follow the action's Checked.
  virtual bool HasDownState() const { return false; }
  virtual bool GetDownState() const { return false; }
  virtual void SetDownState(bool) {}

  // Into a TCustomAction only: the item's caption, state, hint, image, shortcut and click.
  void AssignTo(TPersistent* Dest) override;
  // The published properties are written only while the action does not supply them.
  bool IsCaptionStored() const;
  bool IsEnabledStored() const;
  bool IsHelpContextStored() const;
  bool IsHintStored() const;
  bool IsImageIndexStored() const;
  bool IsShortCutStored() const;
  bool IsVisibleStored() const;
  bool IsOnClickStored() const;

  void SetName(const String& NewName) override;
  bool HasParent() const override { return FCategory >= 0; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

 protected:
  friend class TkwBarItemLink;
  friend class TkwBarItemControl;
  friend class TkwBarManager;
  friend class TkwBarManagerCategories;
  // Fires OnClick, else (in place of the action's own handler) executes the action.
  virtual void DoClick();
  // The action changed (CheckDefaults: only values still at their defaults follow it).
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReadState(TReader* Reader) override;
  // The manager moves the item between categories without the setter's checks.
  void SetCategoryDirect(int Value) { FCategory = Value; }
  TkwBarItemVisible LoadedVisible() const { return FLoadedVisible; }
  // Joins another manager (streaming puts items under theirs).
  void ChangeBarManager(TkwBarManager* Value);

 private:
  friend class TkwBarItemActionLink;
  void GlyphChangedHandler(TObject*) { GlyphChanged(); }
  void DoActionChange(TObject* Sender);

  TkwBarItemActionLink* FActionLink = nullptr;  // owned
  TkwBarItemAlign FAlign = iaLeft;
  TkwBarManager* FBarManager = nullptr;  // not owned
  String FCaption;
  int FCategory = -1;
  TkwBarItemLink* FClickedLink = nullptr;
  String FDescription;
  bool FEnabled = true;
  TBitmap* FGlyph;  // owned
  int FHelpContext = 0;
  String FHint;
  int FImageIndex = -1;
  std::vector<TkwBarItemLink*> FLinks;  // the links are not owned: their collections own them
  TkwBarItemVisible FLoadedVisible = ivAlways;
  TShortCut FShortCut = 0;
  bool FUnclickAfterDoing = true;
  TkwBarItemVisible FVisible = ivAlways;
};

// Binds an item to an action: each property of the item follows the action's while the two are
// equal (the action tells the link before it changes its own value).
class TkwBarItemActionLink : public TActionLink {
  VELBOR_DECLARE_CLASS(TkwBarItemActionLink, TActionLink)
 public:
  using TOwnerClass = TkwBarItem;
  explicit TkwBarItemActionLink(TkwBarItem* AClient) : TActionLink(AClient), FClient(AClient) {}
  TkwBarItem* Client() const { return FClient; }

  bool IsCaptionLinked() override;
  bool IsCheckedLinked() override;
  bool IsEnabledLinked() override;
  bool IsHelpContextLinked() override;
  bool IsHintLinked() override;
  bool IsImageIndexLinked() override;
  bool IsShortCutLinked() override;
  bool IsVisibleLinked() override;
  bool IsOnExecuteLinked() override;
  void SetCaption(const String& Value) override;
  void SetChecked(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetHelpContext(int Value) override;
  void SetHint(const String& Value) override;
  void SetImageIndex(int Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;

 private:
  TkwBarItem* FClient;
};

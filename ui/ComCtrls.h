// This file implements the common controls over comctl32: TCustomTabControl/TTabControl
// (SysTabControl32), TPageControl with its TTabSheet pages, TStatusBar with its panels
// (msctls_statusbar32), TTreeView with TTreeNodes/TTreeNode (SysTreeView32), THeaderControl with
// its sections (SysHeader32), TUpDown (msctls_updown32) and TProgressBar (msctls_progress32).
// Implemented in PageControl.cpp (the tab controls and pages), StatusBar.cpp, TreeView.cpp,
// HeaderControl.cpp, UpDown.cpp and ProgressBar.cpp, one file per control.
#pragma once

#include "Object.h"
#include "Strings.h"

#include <vector>

#include "Collection.h"
#include "Controls.h"
#include "ImageList.h"

#include "WinApi.h"

class TTabSheet;
class TPageControl;

// Loads the common control classes this unit uses (once per process).
void InitCommonControlClasses();

// --- Tab control and page control ---------------------------------------------------------

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
VELBOR_ENUM(TTabPosition, "tpTop", "tpBottom", "tpLeft", "tpRight")
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
VELBOR_ENUM(TTabStyle, "tsTabs", "tsButtons", "tsFlatButtons")

class TCustomTabControl;
using TTabChangingEvent = TEvent<void(TObject* Sender, bool& AllowChange)>;
using TDrawTabEvent = TEvent<void(TCustomTabControl* Control, int TabIndex, const TRect& Rect, bool Active)>;
using TTabGetImageEvent = TEvent<void(TObject* Sender, int TabIndex, int& ImageIndex)>;

class TCustomTabControl : public TWinControl {
  VELBOR_DECLARE_CLASS(TCustomTabControl, TWinControl)
 public:
  explicit TCustomTabControl(TComponent* AOwner);
  ~TCustomTabControl() override;

  // Properties.
  // The tab captions (a plain list: changing it rebuilds the native tabs).
  TStrings* Tabs() const { return FTabs; }
  void SetTabs(TStrings* Value);
  int TabIndex() const;
  void SetTabIndex(int Value);
  TTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition Value);
  TTabStyle Style() const { return FStyle; }
  void SetStyle(TTabStyle Value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value);
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  int TabHeight() const { return FTabHeight; }
  void SetTabHeight(int Value);
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCanvas* Canvas() const { return FCanvas; }
  // The area inside the tabs and the frame, in client coordinates (the native adjust-rectangle
  // answer, asked through the window so that descendants can change it).
  TRect DisplayRect();

  // Operations.
  // The tab under (X, Y) in client coordinates; -1 for none.
  int IndexOfTabAt(int X, int Y);
  TRect TabRect(int Index);
  void ScrollTabs(int Delta);

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;
  TDrawTabEvent OnDrawTab;
  TTabGetImageEvent OnGetImageIndex;

 protected:
  // Overridables.
  virtual bool CanChange();
  virtual void Change();
  virtual void DrawTab(int TabIndex, const TRect& Rect, bool Active);
  virtual int GetImageIndex(int TabIndex);
  // Re-creates the native tabs from the captions (and images).
  virtual void UpdateTabs();
  void AdjustClientRect(TRect& Rect) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNNotify(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void WMSize(TMessage& Message);

  // The captions the native tabs show; a page control fills them from its pages.
  virtual std::vector<String> TabCaptions() const;
  int FSavedTabIndex = -1;

 private:
  void TabsChanged(TObject* Sender);
  TStringList* FTabs;
  TCanvas* FCanvas;
  TCustomImageList* FImages = nullptr;
  TTabPosition FTabPosition = tpTop;
  TTabStyle FStyle = tsTabs;
  bool FMultiLine = false;
  bool FHotTrack = false;
  bool FOwnerDraw = false;
  int FTabHeight = 0;
  int FTabWidth = 0;
  bool FUpdating = false;
};

class TTabControl : public TCustomTabControl {
  VELBOR_DECLARE_CLASS(TTabControl, TCustomTabControl)
 public:
  explicit TTabControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}
};

class TTabSheet : public TWinControl {
  VELBOR_DECLARE_CLASS(TTabSheet, TWinControl)
  friend class TPageControl;

 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;

  // Properties.
  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* Value);
  // The page's place among its control's pages (tabs hidden or not).
  int PageIndex() const;
  void SetPageIndex(int Value);
  // The page's place among the visible tabs; -1 while its tab is hidden.
  int TabIndex() const;
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool Highlighted = false;

  void SetParent(TWinControl* AParent) override;

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

 protected:
  virtual void DoShow();
  virtual void DoHide();
  void SetTextImpl(const String& Value) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMShowingChanged(TMessage& Message);

 private:
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  int FImageIndex = -1;
};

class TPageControl : public TCustomTabControl {
  VELBOR_DECLARE_CLASS(TPageControl, TCustomTabControl)
  friend class TTabSheet;

 public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  // Properties.
  int PageCount() const { return int(FPages.size()); }
  TTabSheet* Pages(int Index) const;
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* Page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int Value);

  // Operations.
  // The page after (before) CurPage, wrapping, among those whose tab shows when CheckTabVisible;
  // nullptr when there is none.
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
  // What the user's Ctrl+Tab does: the next page, asking OnChanging, then OnChange.
  void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

 protected:
  void Change() override;
  int GetImageIndex(int TabIndex) override;
  std::vector<String> TabCaptions() const override;
  void ShowControl(TControl* AControl);
  void Loaded() override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMDialogKey(TMessage& Message);

  // Makes Page the shown one (no events); moves the focus along when it was on the old page.
  void ChangeActivePage(TTabSheet* Page);
  void UpdateTabIndex();

 private:
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  TTabSheet* PageForTab(int TabIndex) const;

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  // The active page named by a description, applied when loading ends.
  TTabSheet* FNewActivePage = nullptr;
};

// --- Status bar ---------------------------------------------------------------------------

enum TStatusPanelStyle { psText, psOwnerDraw };
VELBOR_ENUM(TStatusPanelStyle, "psText", "psOwnerDraw")
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
VELBOR_ENUM(TStatusPanelBevel, "pbNone", "pbLowered", "pbRaised")

class TStatusBar;

class TStatusPanel : public TCollectionItem {
  VELBOR_DECLARE_CLASS(TStatusPanel, TCollectionItem)
 public:
  explicit TStatusPanel(TCollection* Collection);
  String Text() const { return FText; }
  void SetText(const String& Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TStatusPanelBevel Bevel() const { return FBevel; }
  void SetBevel(TStatusPanelBevel Value);
  TStatusPanelStyle Style() const { return FStyle; }
  void SetStyle(TStatusPanelStyle Value);
  void Assign(TPersistent* Source) override;
  String DisplayName() const override;

 private:
  String FText;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  TStatusPanelBevel FBevel = pbLowered;
  TStatusPanelStyle FStyle = psText;
};

class TStatusPanels : public TCollection {
  VELBOR_DECLARE_CLASS(TStatusPanels, TCollection)
 public:
  explicit TStatusPanels(TStatusBar* StatusBar = nullptr);
  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  TStatusPanel* Items(int Index) const { return static_cast<TStatusPanel*>(TCollection::Items(Index)); }
  TPersistent* GetOwner() override;

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TStatusBar* FStatusBar;
};

using TDrawPanelEvent = TEvent<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

class TStatusBar : public TWinControl {
  VELBOR_DECLARE_CLASS(TStatusBar, TWinControl)
  friend class TStatusPanels;

 public:
  explicit TStatusBar(TComponent* AOwner);
  ~TStatusBar() override;

  TStatusPanels* Panels() const { return FPanels; }
  void SetPanels(TStatusPanels* Value) { FPanels->Assign(Value); }
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool Value);
  String SimpleText() const { return FSimpleText; }
  void SetSimpleText(const String& Value);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);
  TCanvas* Canvas() const { return FCanvas; }
  // What the native bar shows in a part now (SB_GETTEXT); the simple text while SimplePanel is on.
  String PartText(int Index);

  TDrawPanelEvent OnDrawPanel;

 protected:
  virtual void DrawPanel(TStatusPanel* Panel, const TRect& Rect);
  void UpdatePanels();
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNDrawItem(TMessage& Message);
  void WMSize(TMessage& Message);

 private:
  TStatusPanels* FPanels;
  TCanvas* FCanvas;
  bool FSimplePanel = false;
  String FSimpleText;
  bool FSizeGrip = true;
};

// --- Tree view ----------------------------------------------------------------------------

class TTreeNodes;
class TCustomTreeView;

class TTreeNode : public TPersistent {
  VELBOR_DECLARE_CLASS(TTreeNode, TPersistent)
  friend class TTreeNodes;
  friend class TCustomTreeView;

 public:
  explicit TTreeNode(TTreeNodes* Owner);
  ~TTreeNode() override;

  // Properties.
  String Text() const { return FText; }
  void SetText(const String& Value);
  void* Data = nullptr;
  TTreeNode* Parent() const { return FParent; }
  TTreeNodes* Owner() const { return FOwner; }
  TCustomTreeView* TreeView() const;
  int Count() const { return int(FChildren.size()); }
  TTreeNode* Item(int Index) const;
  bool HasChildren() const { return !FChildren.empty() || FHasChildren; }
  void SetHasChildren(bool Value);
  bool Expanded() const { return FExpanded; }
  void SetExpanded(bool Value);
  bool Selected() const;
  void SetSelected(bool Value);
  bool Focused() const { return Selected(); }
  int Index() const;
  int Level() const;
  // Its place among all the nodes in display order, children after their parent.
  int AbsoluteIndex() const;
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  int SelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(int Value);
  HTREEITEM ItemId() const { return FItemId; }
  bool IsVisible() const;

  // Navigation.
  TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
  TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back(); }
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // The next node in display order (children first), visible or not.
  TTreeNode* GetNext() const;
  TTreeNode* GetPrev() const;
  bool HasAsParent(const TTreeNode* Value) const;

  // Operations.
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  void MakeVisible();
  void Delete();
  void DeleteChildren();
  TRect DisplayRect(bool TextOnly) const;
  void Assign(TPersistent* Source) override;

 private:
  void CreateNativeItem(HTREEITEM InsertAfter);
  void ForgetNativeItems();
  TTreeNodes* FOwner;
  TTreeNode* FParent = nullptr;
  std::vector<TTreeNode*> FChildren;
  String FText;
  HTREEITEM FItemId = nullptr;
  bool FExpanded = false;
  bool FHasChildren = false;
  int FImageIndex = -1;
  int FSelectedIndex = -1;
};

class TTreeNodes : public TPersistent {
  VELBOR_DECLARE_CLASS(TTreeNodes, TPersistent)
  friend class TTreeNode;
  friend class TCustomTreeView;

 public:
  explicit TTreeNodes(TCustomTreeView* Owner);
  ~TTreeNodes() override;

  TCustomTreeView* Owner() const { return FOwner; }
  // All the nodes, at every level.
  int Count() const;
  // The node at Index in display order.
  TTreeNode* Item(int Index) const;
  TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }

  // A node after the last sibling of Sibling (at the top level when Sibling is nullptr).
  TTreeNode* Add(TTreeNode* Sibling, const String& S);
  TTreeNode* AddObject(TTreeNode* Sibling, const String& S, void* Ptr);
  TTreeNode* AddFirst(TTreeNode* Sibling, const String& S);
  TTreeNode* AddChild(TTreeNode* Parent, const String& S);
  TTreeNode* AddChildObject(TTreeNode* Parent, const String& S, void* Ptr);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const String& S);
  // A node just before Sibling.
  TTreeNode* Insert(TTreeNode* Sibling, const String& S);
  void Delete(TTreeNode* Node);
  void Clear();
  void BeginUpdate();
  void EndUpdate();
  void Assign(TPersistent* Source) override;

 private:
  TTreeNode* InsertNode(TTreeNode* Parent, int Position, const String& S, void* Ptr);
  std::vector<TTreeNode*>& Siblings(TTreeNode* Parent) { return Parent ? Parent->FChildren : FRoots; }
  TCustomTreeView* FOwner;
  std::vector<TTreeNode*> FRoots;
  int FUpdateCount = 0;
};

using TTVChangingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditedEvent = TEvent<void(TObject* Sender, TTreeNode* Node, String& S)>;

class TCustomTreeView : public TWinControl {
  VELBOR_DECLARE_CLASS(TCustomTreeView, TWinControl)
  friend class TTreeNode;
  friend class TTreeNodes;

 public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;

  // Properties.
  TTreeNodes* Items() const { return FItems; }
  void SetItems(TTreeNodes* Value) { FItems->Assign(Value); }
  TTreeNode* Selected() const;
  void SetSelected(TTreeNode* Value);
  TTreeNode* TopItem() const;
  void SetTopItem(TTreeNode* Value);
  bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool Value);
  bool ShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool Value);
  bool ShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool Value);
  int Indent() const;
  void SetIndent(int Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);

  // Operations.
  TTreeNode* GetNodeAt(int X, int Y) const;
  void FullExpand();
  void FullCollapse();
  // The node of a native item (nullptr for none).
  TTreeNode* NodeFromItem(HTREEITEM Item) const;

  TTVChangingEvent OnChanging;
  TTVChangedEvent OnChange;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVExpandedEvent OnDeletion;
  TTVEditedEvent OnEdited;

 protected:
  // Overridables.
  virtual bool CanChange(TTreeNode* Node);
  virtual void Change(TTreeNode* Node);
  virtual bool CanExpand(TTreeNode* Node);
  virtual void Expand(TTreeNode* Node);
  virtual bool CanCollapse(TTreeNode* Node);
  virtual void Collapse(TTreeNode* Node);
  virtual void Delete(TTreeNode* Node);
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNNotify(TMessage& Message);

 private:
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0) const;
  TTreeNodes* FItems;
  TCustomImageList* FImages = nullptr;
  TBorderStyle FBorderStyle = bsSingle;
  bool FShowLines = true;
  bool FShowRoot = true;
  bool FShowButtons = true;
  bool FReadOnly = false;
  bool FHideSelection = true;
  bool FRowSelect = false;
  int FIndent = 19;
  TTreeNode* FSavedSelected = nullptr;
  // Set while the program (not the user) expands or collapses: the events still fire.
  bool FDestroying = false;
};

class TTreeView : public TCustomTreeView {
  VELBOR_DECLARE_CLASS(TTreeView, TCustomTreeView)
 public:
  explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}
};

// --- Header control -----------------------------------------------------------------------

enum THeaderSectionStyle { hsText, hsOwnerDraw };
VELBOR_ENUM(THeaderSectionStyle, "hsText", "hsOwnerDraw")
enum TSectionTrackState { tsTrackBegin, tsTrackMove, tsTrackEnd };
VELBOR_ENUM(TSectionTrackState, "tsTrackBegin", "tsTrackMove", "tsTrackEnd")

class THeaderControl;

class THeaderSection : public TCollectionItem {
  VELBOR_DECLARE_CLASS(THeaderSection, TCollectionItem)
 public:
  explicit THeaderSection(TCollection* Collection);
  String Text() const { return FText; }
  void SetText(const String& Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int Value);
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  THeaderSectionStyle Style() const { return FStyle; }
  void SetStyle(THeaderSectionStyle Value);
  bool AllowClick = true;
  // The left and right edges, from the widths of the sections before it.
  int Left() const;
  int Right() const { return Left() + FWidth; }
  void Assign(TPersistent* Source) override;
  String DisplayName() const override;

 private:
  friend class THeaderControl;
  String FText;
  int FWidth = 50;
  int FMinWidth = 0;
  int FMaxWidth = 10000;
  TAlignment FAlignment = taLeftJustify;
  THeaderSectionStyle FStyle = hsText;
};

class THeaderSections : public TCollection {
  VELBOR_DECLARE_CLASS(THeaderSections, TCollection)
 public:
  explicit THeaderSections(THeaderControl* HeaderControl = nullptr);
  THeaderSection* Add() { return static_cast<THeaderSection*>(TCollection::Add()); }
  THeaderSection* Items(int Index) const { return static_cast<THeaderSection*>(TCollection::Items(Index)); }
  TPersistent* GetOwner() override;

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  THeaderControl* FHeaderControl;
};

using TSectionNotifyEvent = TEvent<void(THeaderControl* HeaderControl, THeaderSection* Section)>;
using TSectionTrackEvent =
    TEvent<void(THeaderControl* HeaderControl, THeaderSection* Section, int Width, TSectionTrackState State)>;
using TDrawSectionEvent =
    TEvent<void(THeaderControl* HeaderControl, THeaderSection* Section, const TRect& Rect, bool Pressed)>;

class THeaderControl : public TWinControl {
  VELBOR_DECLARE_CLASS(THeaderControl, TWinControl)
  friend class THeaderSections;

 public:
  explicit THeaderControl(TComponent* AOwner);
  ~THeaderControl() override;

  THeaderSections* Sections() const { return FSections; }
  void SetSections(THeaderSections* Value) { FSections->Assign(Value); }
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value);
  TCanvas* Canvas() const { return FCanvas; }

  TSectionNotifyEvent OnSectionClick;
  TSectionNotifyEvent OnSectionResize;
  TSectionTrackEvent OnSectionTrack;
  TDrawSectionEvent OnDrawSection;

 protected:
  virtual void SectionClick(THeaderSection* Section);
  virtual void SectionResize(THeaderSection* Section);
  virtual void SectionTrack(THeaderSection* Section, int Width, TSectionTrackState State);
  virtual void DrawSection(THeaderSection* Section, const TRect& Rect, bool Pressed);
  void UpdateSections();
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNNotify(TMessage& Message);
  void CNDrawItem(TMessage& Message);

 private:
  THeaderSections* FSections;
  TCanvas* FCanvas;
  bool FHotTrack = false;
  bool FUpdating = false;
};

// --- Up-down ------------------------------------------------------------------------------

enum TUDAlignButton { udLeft, udRight };
VELBOR_ENUM(TUDAlignButton, "udLeft", "udRight")
enum TUDOrientation { udHorizontal, udVertical };
VELBOR_ENUM(TUDOrientation, "udHorizontal", "udVertical")
enum TUDBtnType { btNext, btPrev };
VELBOR_ENUM(TUDBtnType, "btNext", "btPrev")

using TUDClickEvent = TEvent<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = TEvent<void(TObject* Sender, bool& AllowChange)>;

class TCustomUpDown : public TWinControl {
  VELBOR_DECLARE_CLASS(TCustomUpDown, TWinControl)
 public:
  explicit TCustomUpDown(TComponent* AOwner);

  // The control whose text shows the position (an edit): the up-down sits beside it.
  TWinControl* Associate() const { return FAssociate; }
  void SetAssociate(TWinControl* Value);
  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  int Position() const;
  void SetPosition(int Value);
  int Increment() const { return FIncrement; }
  void SetIncrement(int Value);
  TUDOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation Value);
  TUDAlignButton AlignButton() const { return FAlignButton; }
  void SetAlignButton(TUDAlignButton Value);
  bool Wrap() const { return FWrap; }
  void SetWrap(bool Value);
  bool ArrowKeys() const { return FArrowKeys; }
  void SetArrowKeys(bool Value);
  bool Thousands() const { return FThousands; }
  void SetThousands(bool Value);

  TUDClickEvent OnClick;
  TUDChangingEvent OnChanging;

 protected:
  virtual bool CanChange();
  virtual void Click(TUDBtnType Button);
  using TControl::Click;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNNotify(TMessage& Message);
  void CNScroll(TMessage& Message);

 private:
  TWinControl* FAssociate = nullptr;
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FIncrement = 1;
  TUDOrientation FOrientation = udVertical;
  TUDAlignButton FAlignButton = udRight;
  bool FWrap = false;
  bool FArrowKeys = true;
  bool FThousands = true;
  int FLastDelta = 0;  // the step the native control announced last
};

class TUpDown : public TCustomUpDown {
  VELBOR_DECLARE_CLASS(TUpDown, TCustomUpDown)
 public:
  explicit TUpDown(TComponent* AOwner) : TCustomUpDown(AOwner) {}
};

// --- Progress bar -------------------------------------------------------------------------

enum TProgressBarOrientation { pbHorizontal, pbVertical };
VELBOR_ENUM(TProgressBarOrientation, "pbHorizontal", "pbVertical")

class TProgressBar : public TWinControl {
  VELBOR_DECLARE_CLASS(TProgressBar, TWinControl)
 public:
  explicit TProgressBar(TComponent* AOwner);

  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  int Position() const;
  void SetPosition(int Value);
  int Step() const { return FStep; }
  void SetStep(int Value);
  TProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TProgressBarOrientation Value);
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool Value);

  // Advances by Step (by Delta), staying within Min..Max.
  void StepIt();
  void StepBy(int Delta);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FStep = 10;
  TProgressBarOrientation FOrientation = pbHorizontal;
  bool FSmooth = false;
};

// Registers the common control classes with the form reader.
void RegisterComCtrls();

// This file implements background pictures: TBackgroundImage (a picture tiled, anchored, centred or
// stretched behind a window, optionally transparent or recoloured in the button tones) and
// TqzBackground, the component that paints one behind the client area of the windows it links
// (TClientList, TClientLink).
#pragma once

#include "Component.h"
#include "Controls.h"

#include <memory>
#include <vector>

class TReader;
class TWriter;
class TqzComponentInfo;
class TqzBackground;

enum TBackgroundMode {
  bmTile, bmCenter, bmTopLeft, bmTop, bmTopRight, bmLeft, bmBottomLeft, bmRight, bmBottom, bmBottomRight, bmStretch
};
VELBOR_ENUM(TBackgroundMode, "bmTile", "bmCenter", "bmTopLeft", "bmTop", "bmTopRight", "bmLeft", "bmBottomLeft",
            "bmRight", "bmBottom", "bmBottomRight", "bmStretch")

enum TShiftMode { smRows, smColumns };
VELBOR_ENUM(TShiftMode, "smRows", "smColumns")

// Hue, lightness and saturation on the scale 0..240 (hue 160 for grays), as the colour dialog has it.
struct THLS {
  int H, L, S;
};
THLS RGBToHLS(COLORREF Color);
COLORREF HLSToRGB(const THLS& Value);
// Entry i of the gray map: black stays black, gray 192 becomes the button face, white the highlight.
COLORREF GrayMapEntry(int Index);

class TBackgroundImage : public TPersistent {
  VELBOR_DECLARE_CLASS(TBackgroundImage, TPersistent)
 public:
  TBackgroundImage();
  ~TBackgroundImage() override;

  // Properties.
  TPicture* Picture() const { return FPicture; }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  TBackgroundMode Mode() const { return FMode; }
  void SetMode(TBackgroundMode Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);
  TColor TransparentColor();
  void SetTransparentColor(TColor Value);
  int TileWidth() const { return FTileWidth; }
  void SetTileWidth(int Value);
  int TileHeight() const { return FTileHeight; }
  void SetTileHeight(int Value);
  int Shift() const { return FShift; }
  void SetShift(int Value);
  TShiftMode ShiftMode() const { return FShiftMode; }
  void SetShiftMode(TShiftMode Value);
  bool Zigzag() const { return FZigzag; }
  void SetZigzag(bool Value);
  bool AutoSizeTile() const { return FAutoSizeTile; }
  void SetAutoSizeTile(bool Value);
  bool FitPictureSize() const { return FFitPictureSize; }
  void SetFitPictureSize(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool GrayMapped() const { return FGrayMapped; }
  void SetGrayMapped(bool Value);
  bool HasPicture() const { return FHasPicture; }
  // The drawing-ready bitmap, or nullptr when the picture's graphic is drawn as it is.
  TBitmap* Prepared() const { return FPrepared; }
  // The picture at the size it was last painted at when that size is not its own (stretched or
  // fitted), or nullptr: copied as it is until the size, the picture or a setting changes.
  TBitmap* Scaled() const { return FScaled.get(); }
  // Scrolled offsets of an MDI client's content (tiling only).
  int ScrollX = 0;
  int ScrollY = 0;
  TNotifyEvent ChangeHandler;

  // Operations.
  void Assign(TPersistent* Source) override;
  // Paints Control's background on DC; false without a picture or a window for Control.
  bool PaintOn(TControl* Control, HDC DC);
  // Rebuilds the drawing-ready bitmap (after a setting or the system colours changed).
  void Rebuild();
  // The area PaintOn fills for Control.
  static TRect PaintArea(TControl* Control);

 protected:
  void DefineProperties(TFiler* Filer) override;

 private:
  void PictureChanged(TObject* Sender);
  void Announce();
  void Tile(TCanvas* Canvas, TGraphic* Graphic, const TRect& Area, int OX, int OY);
  TGraphic* Composed(TBrush* Brush, TBitmap& Composed);
  void DrawScaled(const TRect& Picture, TBrush* Brush);
  bool IsTransparentColorStored() const { return FTransparentMode == tmFixed; }

  TPicture* FPicture;     // owned
  TCanvas* FDrawCanvas;   // owned
  TBitmap* FPrepared = nullptr;  // owned
  // What Scaled() was made for: its size, and the brush under transparent parts (or -1).
  std::unique_ptr<TBitmap> FScaled;
  int FScaledBrush = -1;
  bool FUpdating = false;
  TBackgroundMode FMode = bmTile;
  bool FTransparent = false;
  TTransparentMode FTransparentMode = tmAuto;
  TColor FTransparentColor = clDefault;
  int FTileWidth = 0;
  int FTileHeight = 0;
  int FShift = 0;
  TShiftMode FShiftMode = smRows;
  bool FZigzag = false;
  bool FAutoSizeTile = true;
  bool FFitPictureSize = false;
  bool FEnabled = true;
  bool FHasPicture = false;
  bool FGrayMapped = false;
};

// One client window hooked for a background: the window procedure of the client's client window
// (the MDI client of an MDI main form, else the control's own window) is replaced while hooked.
class TClientLink : public TObject {
  VELBOR_DECLARE_CLASS(TClientLink, TObject)
 public:
  TClientLink(TqzBackground* ABackground, TWinControl* AControl);
  ~TClientLink() override;

  TWinControl* Client() const { return FClient; }
  bool IsMDI() const { return FIsMDI; }
  bool Hooked() const { return FPreviousProc != nullptr; }
  // The window whose procedure is replaced, nullptr while unhooked.
  HWND HookedWindow() const { return FHookedWnd; }

  // Takes Control as the client (from another background when needed) and hooks it.
  void Attach(TWinControl* Control);
  void Hook();
  void Unhook();
  // The client is being freed: the link lets it go without touching it again.
  void ClientFreed();
  LRESULT ClientWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void InvalidateClient();

 private:
  bool ClientDestroying() const;
  LRESULT CallPrevious(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  int ScrollDelta(HWND Wnd, int Bar, WPARAM WParam) const;
  bool PaintBuffered(HWND Wnd, LRESULT& Result);

  TqzBackground* FBackground;
  TWinControl* FClient = nullptr;
  WNDPROC FPreviousProc = nullptr;
  HWND FHookedWnd = nullptr;
  bool FIsMDI = false;
};

class TClientList : public TPersistent {
  VELBOR_DECLARE_CLASS(TClientList, TPersistent)
 public:
  explicit TClientList(TqzBackground* ABackground) : FBackground(ABackground) {}
  int Count() const { return int(FLinks.size()); }
  TClientLink* Links(int Index) const { return FLinks.at(std::size_t(Index)); }
  TClientLink* Find(const TComponent* Control) const;
  void AddClient(TWinControl* Control);
  // Unhooks the link and frees it once the current message is over.
  void RemoveClient(TComponent* Control);
  // Empties the list (the links stay alive).
  void Clear() { FLinks.clear(); }

 private:
  friend class TqzBackground;
  TqzBackground* FBackground;
  std::vector<TClientLink*> FLinks;  // not owned
};

class TqzBackground : public TComponent {
  VELBOR_DECLARE_CLASS(TqzBackground, TComponent)
 public:
  explicit TqzBackground(TComponent* AOwner);
  ~TqzBackground() override;

  // Properties.
  TClientList* Clients() const { return FClients; }
  TBackgroundImage* Image() const { return FImage; }
  void SetImage(TBackgroundImage* Value) { FImage->Assign(Value); }
  // The component's own information record: a description's values do not replace it (only its
  // version is noted, as FileImageVersion).
  TqzComponentInfo* Info() const { return FInfo; }
  HWND UtilityWindow() const { return FUtilityWindow; }

  // Every linked client window is invalidated (the image's change handler).
  void InvalidateAll(TObject* Sender = nullptr);
  // The background that links Control now, or nullptr.
  static TqzBackground* FindLinking(const TComponent* Control);

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler* Filer) override;

 private:
  friend class TClientList;
  friend class TClientLink;
  void UtilityProc(TMessage& Message);
  void ReadClients(TReader* Reader);
  void WriteClients(TWriter* Writer);
  bool ClientsDiffer(TFiler* Filer) const;

  TClientList* FClients;        // owned
  HWND FUtilityWindow = nullptr;
  TBackgroundImage* FImage;     // owned
  TqzComponentInfo* FInfo;      // owned
  std::vector<String> FReadNames;
  std::vector<TClientLink*> FDoomed;  // removed links whose freeing is posted
};

// Private messages of the background's utility window.
inline constexpr UINT CM_OXREHOOKLINK = 0xB052;  // LParam a link: hook it again
inline constexpr UINT CM_OXFREELINK = 0xB053;    // LParam a link: free it

// Makes the background component and its image known to the form reader.
void RegisterOxBackground();

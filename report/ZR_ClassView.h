// This file implements the base classes of the report objects: TzrObject, whatever scripts and
// expressions can read and write by property name (views and report pages), with its list of named
// properties TzrPropRec; TzrView, the base view (fields, script-visible properties, the object
// record of templates and prepared pages, writing into a prepared page, the hand-over to an export
// filter, the start of its XML element); and TzrStretcheable, the views whose height follows their
// content. Their geometry under zoom, background, frame and band alignment are in
// ZR_ClassViewDraw.cpp.
#pragma once

#include <memory>
#include <vector>

#include "AnsiString.h"
#include "Event.h"
#include "Object.h"
#include "Strings.h"
#include "Variant.h"
#include "ZR_ClassFactory.h"
// The class library's graphics come last: the API macros they bring do not reach the declarations
// above.
#include "Graphics.h"

class TStream;
class TDataSet;
class TField;
class TzrBand;
class TzrPage;

// Property kinds, a bit set; only stored, for an editing front end.
inline constexpr int zrpkScript = 0;
inline constexpr int zrpkText = 1;
inline constexpr int zrpkInteger = 2;
inline constexpr int zrpkFloat = 4;
inline constexpr int zrpkBoolean = 8;
inline constexpr int zrpkColor = 16;
inline constexpr int zrpkChoice = 32;
inline constexpr int zrpkEditor = 64;
inline constexpr int zrpkPosition = 128;
inline constexpr int zrpkTextEntry = 256;

// The fill colour that means "none" (transparent).
inline constexpr TColor zrNoColor = 0x1FFFFFFF;

// Frame sides of FrameTyp.
inline constexpr int zrFrameRight = 1;
inline constexpr int zrFrameBottom = 2;
inline constexpr int zrFrameLeft = 4;
inline constexpr int zrFrameTop = 8;
inline constexpr int zrFrameAll = 15;

// Band alignments.
enum TzrBandAlign { baNone, baLeft, baRight, baCenter, baWidth, baBottom, baTop, baRest };

// Frame styles; 5 is a double line.
inline constexpr int zrFrameDouble = 5;

// The editing hook of a property (an editing front end sets it; nothing in this system does).
using TzrPropEditor = TEvent<void(TObject* Sender)>;

struct TzrPropRec {
  String Name;  // at most 32 characters
  int Kind = zrpkScript;
  std::unique_ptr<TStringList> Choices;  // kind 32: the choice names
  Variant Values;                        // kind 32: an array of the choices' values, or empty
  TzrPropEditor Editor;
};

class TzrObject : public TObject {
  VELBOR_DECLARE_CLASS(TzrObject, TObject)
 public:
  TzrObject();
  ~TzrObject() override;

  // Names are compared after upper-casing. The base sets nothing, gets an empty value and calls
  // nothing (Result empty).
  virtual void SetProperty(const String& Name, const Variant& Value);
  virtual Variant GetProperty(const String& Name);
  // The arguments hold expression texts.
  virtual void CallMethod(const String& Name, Variant& Result, const Variant& Arg1, const Variant& Arg2,
                          const Variant& Arg3);
  // Fills the property list (the base leaves it empty).
  virtual void ListProperties();

  void EmptyPropertyList();
  void EnterProperty(const String& Name, int Kind, TzrPropEditor Editor = TzrPropEditor());
  // The choices are the ';'-separated items of Choices, their values Values (numbered from 0); no
  // values, or an empty first one, leaves the record's values empty.
  void EnterChoiceProperty(const String& Name, const String& Choices, const std::vector<Variant>& Values);
  int PropertyCount() const { return int(FProperties.size()); }
  TzrPropRec* Properties(int Index) const { return FProperties[std::size_t(Index)].get(); }
  // The property of that name, without regard to case; nullptr when none.
  TzrPropRec* FindProperty(const String& Name) const;

  // "FONT.NAME", "FONT.SIZE", "FONT.STYLE" (the report font-style number) and "FONT.COLOR"; other
  // names: false, nothing set.
  static bool WriteFontEntry(TFont* Font, const String& UpperName, const Variant& Value);
  static Variant ReadFontEntry(TFont* Font, const String& UpperName);
  // The script methods of a string-list property named ListName (upper case): SETINDEXPROPERTY,
  // GETINDEXPROPERTY, and ListName followed by ".ADD", ".CLEAR", ".DELETE", ".INDEXOF". The
  // expression arguments are evaluated with the engine's parser.
  static void RunListMethod(TStrings* List, const String& Method, Variant& Result, const Variant& Arg1,
                            const Variant& Arg2, const Variant& Arg3, const String& ListName);

 private:
  std::vector<std::unique_ptr<TzrPropRec>> FProperties;
};

// Fills the object's property list when it exists and its list is empty.
void EnsureProperties(TzrObject* Object);
// The property record of Name without regard to case, or nullptr.
TzrPropRec* FindObjectProperty(TzrObject* Object, const String& Name);
// Resolves "Memo1.Left", "Page2.Name" or "Font.Name" against the current report: Object starts as
// the engine's current object and PropName as the whole text.
void ResolvePropertyOwner(const String& Qualified, TzrObject*& Object, String& PropName);

// The unzoomed values a drawing keeps while it works in zoomed coordinates.
struct TzrSavedBounds {
  int Left = 0, Top = 0, Width = 0, Height = 0, GapX = 0, GapY = 0;
  double FrameWidth = 0;
};

class TzrView : public TzrObject, public TzrFactoryProduct {
  VELBOR_DECLARE_CLASS(TzrView, TzrObject)
 public:
  TzrView();
  ~TzrView() override;

  // ---- Stored fields
  String Name;
  int ObjectKind = zrKindAddIn;
  int RecordMajor = 0;
  int RecordMinor = 0;
  int ObjectId = 0;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  int Flags = 1;
  int FrameTyp = 0;
  double FrameWidth = 1.0;
  TColor FrameColor = 0;
  int FrameStyle = 0;
  TColor FillColor = zrNoColor;
  // The display-format code (category, format index, decimals, separator) and its text.
  int FormatCode;
  String FormatText;
  bool Visible = true;
  int GapX = 2;
  int GapY = 1;
  int Restrictions = 0;
  String Tag;
  TStringList* Memo() const { return FMemo.get(); }
  TStringList* Script() const { return FScript.get(); }
  int BandAlign = baNone;

  // ---- State of a build or a drawing
  String NameStem = "View";
  // The text after substitution: what is printed.
  TStringList* OutLines() const { return FOutLines.get(); }
  // The data field whose blob is loaded before printing (set while objects are prepared).
  TDataSet* BoundDataSet = nullptr;
  String BoundFieldName;
  // Set while the object belongs to a build or a prepared page: its record holds the output lines
  // and leaves out the format and the script.
  bool PreparedRecord = false;
  // Selected: the band engine's mark of the objects still to print while it splits a band.
  bool Selected = false;
  double ZoomX = 1.0;
  double ZoomY = 1.0;
  int ShiftX = 0;
  int ShiftY = 0;
  bool ToPrinter = false;
  TCanvas* Canvas = nullptr;
  TRect PaintRect;
  TzrSavedBounds Saved;
  // The band that printed the object last (for a band view: its band).
  TzrBand* Parent = nullptr;
  // Page compilation: placed in a horizontal band, and the cross-tab band it lies in.
  bool Placed = false;
  TzrBand* CrossBand = nullptr;

  // ---- Virtual operations
  virtual void DrawBackground();
  virtual void DrawFrame();
  // The base loads nothing.
  virtual void LoadFromBlobField(TField* Field);
  virtual void ComputeDrawRect();
  virtual void RestoreCoordinates();
  virtual void PaintOnCanvas(TCanvas* ACanvas) = 0;
  // Writes the object into the stream of the prepared page being built (kind, class name of an
  // add-in, record), after its script ran; nothing when it is not visible then.
  virtual void WriteToPreparedPage(TStream* Stream);
  virtual void ExportObject();
  virtual void ReadRecord(TStream* Stream);
  virtual void WriteRecord(TStream* Stream);
  // The opening of the object's element in the XML report format: "<TzrxMemoView Name=..." and the
  // view's attributes; the caller closes it.
  virtual void SaveToXml(TStream* Stream);
  // The region the object paints (grown by 10 on every side when asked); the caller deletes it.
  virtual HRGN GetClipRegion(bool Grown);
  // Told of every memo a build writes into a prepared page (whole, or the first part of a split)
  // when this object's Flags hold zrvfPrintListener; the base does nothing.
  virtual void MemoPrinted(TzrView* Memo);

  void SetProperty(const String& Name, const Variant& Value) override;
  Variant GetProperty(const String& Name) override;
  void CallMethod(const String& Name, Variant& Result, const Variant& Arg1, const Variant& Arg2,
                  const Variant& Arg3) override;
  void ListProperties() override;

  // ---- Operations
  // Target canvas, current object, and the band alignment while a page is built or shown.
  void PrepareDrawing(TCanvas* ACanvas);
  void PlaceAt(int ALeft, int ATop, int AWidth, int AHeight);
  // The stem followed by the first number from 1 to 10000 that no object of the report uses.
  void MakeUniqueName();
  // Replaces every bracketed expression of Text by its value as text (inserted text is not scanned
  // again).
  void ExpandBrackets(String& Text);
  // Runs the compiled before-print script.
  void RunScript();

  void SetObjectKind(int Kind) override { ObjectKind = Kind; }
  void SetObjectId(int Id) override { ObjectId = Id; }

 protected:
  // Empties the property list and enters Name, Left, Top, Width and Height.
  void EnterBoundsProperties();
  // Whether this class lists the frame, fill, tag and alignment properties.
  virtual bool HasFrameProperties() const { return true; }
  // Draws the sides of the frame (DrawFrameLine), used by DrawFrame.
  void DrawFrameLine(int X1, int Y1, int X2, int Y2, bool Vertical);

 private:
  void ApplyBandAlignment();
  std::unique_ptr<TStringList> FMemo;
  std::unique_ptr<TStringList> FScript;
  std::unique_ptr<TStringList> FOutLines;
};

// Flags bit of an object that is told of every memo printed during a build.
inline constexpr int zrvfPrintListener = 0x8000;

// Render phases of a stretchable view.
inline constexpr int zrDrawWhole = 0;
inline constexpr int zrDrawMeasure = 1;
inline constexpr int zrDrawPart = 2;

class TzrStretcheable : public TzrView {
  VELBOR_DECLARE_CLASS(TzrStretcheable, TzrView)
 public:
  int RenderPhase = zrDrawWhole;

  // The height the content needs after substitution; the smallest height that shows one line; the
  // height of the strip under the last whole line that fits in the current Height.
  virtual int CalcHeight() = 0;
  virtual int OneLineHeight() = 0;
  virtual int LeftoverHeight() = 0;

  void CallMethod(const String& Name, Variant& Result, const Variant& Arg1, const Variant& Arg2,
                  const Variant& Arg3) override;
};

// ---- Shared helpers of the views.

// The lines joined by carriage return and line feed, without a final line break.
String JoinLines(TStrings* Lines);
// Text for an XML attribute: &, <, >, " as entities, tab, line feed and carriage return as
// character references; the other control characters, which XML does not admit, are dropped.
String XmlEscapeText(const String& S);
// Writes one blank, Name, '="', Value and '"'.
void WriteXmlAttribute(TStream* Stream, const String& Name, const String& Value);
void WriteXmlText(TStream* Stream, const String& Text);
// The view's frame width code: the whole number up to 10, else thousandths; and back.
int FrameWidthCode(double FrameWidth);
double FrameWidthFromCode(int Code);
// Rounding of the report engine: to nearest, halves to even.
int zrRound(double Value);

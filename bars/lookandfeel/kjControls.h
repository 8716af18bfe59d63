// This file implements the control services of the look-and-feel library: the child-component
// base TkjControlChildComponent, the library's 14 cursors registered with the screen at their
// fixed identifiers, and the list of controls that follow the mouse with a timer.
#pragma once

#include "Controls.h"
#include "kjBase.h"

class TkjControlChildComponent;

// A control of the library that keeps child components (their parent component in streaming).
class IkjChildComponentHost {
 public:
  virtual ~IkjChildComponentHost() = default;
  virtual void AddChildComponent(TkjControlChildComponent* Child) = 0;
  virtual void RemoveChildComponent(TkjControlChildComponent* Child) = 0;
};

class TkjControlChildComponent : public TkjComponent {
  VELBOR_DECLARE_CLASS(TkjControlChildComponent, TkjComponent)
 public:
  explicit TkjControlChildComponent(TComponent* AOwner) : TkjComponent(AOwner) {}
  // Leaves the control that keeps it.
  ~TkjControlChildComponent() override;

  TControl* Control() const { return FControl; }
  virtual void SetControl(TControl* Value) { FControl = Value; }

  TComponent* GetParentComponent() const override { return FControl; }
  bool HasParent() const override { return FControl != nullptr; }
  // Joins a library control given as the parent component.
  void SetParentComponent(TComponent* Value) override;

 private:
  TControl* FControl = nullptr;  // not owned
};

// The cursors of the library: registered with the screen when the library starts, so a control
// whose Cursor is one of these identifiers shows the library's picture.
inline constexpr TCursor crkjDragCopy = 2100;
inline constexpr TCursor crkjFullScroll = 2101;
inline constexpr TCursor crkjHorScroll = 2102;
inline constexpr TCursor crkjVerScroll = 2103;
inline constexpr TCursor crkjUpScroll = 2104;
inline constexpr TCursor crkjRightScroll = 2105;
inline constexpr TCursor crkjDownScroll = 2106;
inline constexpr TCursor crkjLeftScroll = 2107;
inline constexpr TCursor crkjRemove = 2108;
inline constexpr TCursor crkjVertSize = 2109;
inline constexpr TCursor crkjHorzSize = 2110;
inline constexpr TCursor crkjMultiDrag = 2111;
inline constexpr TCursor crkjNoDrop = 2112;
inline constexpr TCursor crkjDrag = 2113;

// The resource name of each cursor, by identifier from 2100.
extern const char* const LookAndFeelCursorNames[14];

// Start of the library's control services (idempotent, run by the library's components): the
// cursors are loaded into the screen's table and "USER32" is kept loaded.
void StartLookAndFeelControls();
// Its shut-down (run at exit): timers still registered are stopped and forgotten; nothing is
// raised here, the program is ending.
void FinishLookAndFeelControls();

// Controls that follow the mouse with a timer register it here, and leave before they go.
void AddMouseTrackingTimer(HWND Wnd, UINT_PTR TimerId);
void RemoveMouseTrackingTimer(HWND Wnd, UINT_PTR TimerId);
int MouseTrackingTimerCount();

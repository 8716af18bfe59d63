// This file implements TqvIntl, the component that holds every text the data-aware library shows
// and its library-wide options, with its one global instance (qvIntl) into which a placed,
// connected component copies its settings; and TqvController, the component that shares edit
// frame and button settings with the controls that name it.
#pragma once

#include "Component.h"
#include "Event.h"
#include "Graphics.h"
#include "List.h"
#include "QvintlTexts.h"

class TField;

enum TqvCheckBoxInGridStyle { cbStyleAuto, cbStyleCheckmark, cbStyleXmark, cbStyleCheckmarkFlat };
VELBOR_ENUM(TqvCheckBoxInGridStyle, "cbStyleAuto", "cbStyleCheckmark", "cbStyleXmark", "cbStyleCheckmarkFlat")

enum TqvGridPaintStyle { gpsBitmapCanvas, gpsDynamicDeviceContext };
VELBOR_ENUM(TqvGridPaintStyle, "gpsBitmapCanvas", "gpsDynamicDeviceContext")

// Msg may be changed; DoDefault false suppresses the beep and the error.
using TqvPictureValidationError = TEvent<void(TObject* Sender, TField* Field, String& Msg, bool& DoDefault)>;

class TqvIntl : public TComponent {
  VELBOR_DECLARE_CLASS(TqvIntl, TComponent)
 public:
  explicit TqvIntl(TComponent* AOwner);
  // Clears the global reference when this is the global instance.
  ~TqvIntl() override;

  // Properties.
  TqvADOIntl* ADO() const { return FADO; }
  TqvDBNavigatorIntl* Navigator() const { return FNavigator; }
  TqvSearchDialogIntl* SearchDialog() const { return FSearchDialog; }
  TqvLocateDialogIntl* LocateDialog() const { return FLocateDialog; }
  TqvMonthCalendarIntl* MonthCalendar() const { return FMonthCalendar; }
  TqvUserMessagesIntl* UserMessages() const { return FUserMessages; }
  TqvFilterDialogIntl* FilterDialog() const { return FFilterDialog; }
  TqvDBRichEditIntl* RichEdit() const { return FRichEdit; }
  bool OKCancelBitmapped = true;
  TFontStyles DialogFontStyle;
  String BtnOKCaption = "&OK";
  String BtnCancelCaption = "Cancel";
  bool Connected() const { return FConnected; }
  // Setting true copies into the global instance at once (once loaded).
  void SetConnected(bool Value);
  // The library's version; assignments are ignored.
  String VersionVerinta() const { return "4000.0.4"; }
  void SetVersionVerinta(const String&) {}
  String IniFileName;
  // Read by the table class when it cancels a range on an SQL database; not published.
  bool CancelRangeByReopen = true;
  // These two follow through to the global instance while connected.
  TqvCheckBoxInGridStyle CheckBoxInGridStyle() const { return FCheckBoxInGridStyle; }
  void SetCheckBoxInGridStyle(TqvCheckBoxInGridStyle Value);
  TqvGridPaintStyle GridPaintStyle() const { return FGridPaintStyle; }
  void SetGridPaintStyle(TqvGridPaintStyle Value);
  bool UseLocateMethodForSearch = true;
  int DefaultEpochYear = 1950;
  int FilterMemoSize = 65536;
  TqvPictureValidationError OnValidationErrorUsingMask() const { return FOnValidationErrorUsingMask; }
  // The global instance asks the handler's component for a free notification and forgets the
  // handler when that component goes: a freed window's method is never called.
  void SetOnValidationErrorUsingMask(TqvPictureValidationError Value);

  // Operations.
  // Copies the texts and options into the global instance; nothing on the global instance itself.
  void CopyToGlobal();
  // Raises EInvalidOperation for a value that does not fit its picture, after a beep, unless
  // OnValidationErrorUsingMask says otherwise.
  virtual void ValidationErrorUsingMask(TObject* Sender, TField* Field);

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool IsGlobal() const;

  TqvADOIntl* FADO;
  TqvDBNavigatorIntl* FNavigator;
  TqvSearchDialogIntl* FSearchDialog;
  TqvLocateDialogIntl* FLocateDialog;
  TqvMonthCalendarIntl* FMonthCalendar;
  TqvUserMessagesIntl* FUserMessages;
  TqvFilterDialogIntl* FFilterDialog;
  TqvDBRichEditIntl* FRichEdit;
  bool FConnected = false;
  TqvCheckBoxInGridStyle FCheckBoxInGridStyle = cbStyleAuto;
  TqvGridPaintStyle FGridPaintStyle = gpsDynamicDeviceContext;
  TqvPictureValidationError FOnValidationErrorUsingMask;
};

// The global instance: made on first use (never during static initialisation), or by
// qvCreateGlobalIntl with the owner that will free it (the application object, in the program).
class TqvGlobalIntl {
 public:
  TqvIntl* operator->() const { return Get(); }
  operator TqvIntl*() const { return Get(); }
  TqvIntl* Get() const;
  bool Exists() const;
};
extern const TqvGlobalIntl qvIntl;
// Makes the global instance owned by Owner (null: by nobody) when there is none; answers it.
TqvIntl* qvCreateGlobalIntl(TComponent* Owner);
// Frees the global instance (a later use makes a new one).
void qvFreeGlobalIntl();

class TButton;
class TCustomForm;
// The kinds of qvCreateDialogButton.
inline constexpr int qvDialogButtonOK = 1;
inline constexpr int qvDialogButtonCancel = 2;
inline constexpr int qvDialogButtonHelp = 3;
// Makes an OK, Cancel or Help button for one of the library's dialogs, owned by and parented to
// Form and invisible (the caller places and shows it): a bitmap button when the global instance's
// OKCancelBitmapped is set, else a plain one, 77 x 24 at 96 dots per inch (27 high for bitmap
// buttons) scaled to the screen's. The Cancel button is the one Escape presses.
TButton* qvCreateDialogButton(TCustomForm* Form, int Kind);

// A component whose frame and button settings the controls naming it follow. The frame and button
// settings objects belong to the edit controls' library; they are made by registered class name
// ("TqvEditFrame", "TqvButtonEffects") when that library is linked, and are null otherwise.
class TqvController : public TComponent {
  VELBOR_DECLARE_CLASS(TqvController, TComponent)
 public:
  explicit TqvController(TComponent* AOwner);
  ~TqvController() override;

  TPersistent* Frame() const { return FFrame; }
  TPersistent* ButtonEffects() const { return FButtonEffects; }
  // The controls whose Controller names this controller.
  TList* ControlList() const { return FControlList; }

 protected:
  // A control freed while listed leaves the list (its last occurrence).
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TPersistent* FFrame = nullptr;
  TPersistent* FButtonEffects = nullptr;
  TList* FControlList;
};

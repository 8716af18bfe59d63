// This file implements TDataModule (a non-visual container read from its description, listed by
// the screen) and TFrame (a control read from its own description).
#include "Forms.h"
#include "Resources.h"

VELBOR_IMPLEMENT_CLASS(TDataModule)
VELBOR_PUBLISHED(TDataModule,
  Prop("Left", &Self::Left),
  Prop("Top", &Self::Top),
  Prop("Width", &Self::Width),
  Prop("Height", &Self::Height),
  Prop("OldCreateOrder", &Self::OldCreateOrder),
  Prop("OnCreate", &Self::OnCreate),
  Prop("OnDestroy", &Self::OnDestroy))

TDataModule::TDataModule(TComponent* AOwner) : TComponent(AOwner) { Screen->AddDataModule(this); }

TDataModule::~TDataModule() {
  if (!FDestructing) {
    FDestructing = true;
    Destroying();
  }
  if (Screen.Exists()) Screen->RemoveDataModule(this);
}

void TDataModule::Free() {
  BeforeDestruction();
  delete this;
}

void TDataModule::AfterConstruction() {
  if (FConstructed) return;
  FConstructed = true;
  InitInheritedComponent(this, TDataModule::StaticClass());
  DoCreate();
}

void TDataModule::BeforeDestruction() {
  if (FDestructing) return;
  FDestructing = true;
  Destroying();
  DoDestroy();
}

void TDataModule::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TDataModule::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}

VELBOR_IMPLEMENT_CLASS(TFrame)

TFrame::TFrame(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FWidth = 320;
  FHeight = 240;
}

void TFrame::AfterConstruction() { InitInheritedComponent(this, TFrame::StaticClass()); }

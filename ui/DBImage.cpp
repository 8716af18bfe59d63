// This file implements TDBImage: shows the picture held in a graphic field.
#include "DBCtrls.h"

#include "Streams.h"

VELBOR_IMPLEMENT_CLASS(TDBImage)
VELBOR_PUBLISHED(TDBImage,
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("Stretch", &Self::Stretch, &Self::SetStretch).Default(false))

TDBImage::TDBImage(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csOpaque, csReplicatable};
  SetBounds(0, 0, 105, 105);
  SetTabStop(true);
  FPicture = new TPicture;
  FDataLink = new TFieldDataLink;
  FDataLink->Control = this;
  FDataLink->OnDataChange = TNotifyEvent(this, &TDBImage::DataChange);
}

TDBImage::~TDBImage() {
  delete FDataLink;
  FDataLink = nullptr;
  delete FPicture;
}

void TDBImage::SetDataSource(TDataSource* Value) {
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TDBImage::SetStretch(bool Value) {
  if (FStretch == Value) return;
  FStretch = Value;
  Invalidate();
}

void TDBImage::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink != nullptr && AComponent == DataSource()) SetDataSource(nullptr);
}

void TDBImage::LoadPicture() {
  auto* blob = dynamic_cast<TBlobField*>(FDataLink->Field());
  FPicture->SetGraphic(nullptr);
  if (blob != nullptr && !blob->IsNull()) {
    TMemoryStream stream;
    blob->SaveToStream(&stream);
    stream.SetPosition(0);
    try {
      FPicture->LoadFromStream(&stream);
    } catch (const Exception&) {
      // Bytes that are no known picture show as an empty image, as an empty field does.
      FPicture->SetGraphic(nullptr);
    }
  }
  Invalidate();
}

void TDBImage::DataChange(TObject*) { LoadPicture(); }

void TDBImage::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(ClientRect());
  TGraphic* graphic = FPicture->Graphic();
  if (graphic == nullptr || graphic->Empty()) return;
  if (FStretch) canvas->StretchDraw(ClientRect(), graphic);
  else canvas->Draw(0, 0, graphic);
}

void TDBImage::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_GETDATALINK: CMGetDataLink(Message); break;
    default: TCustomControl::Dispatch(Message); break;
  }
}

void TDBImage::CMGetDataLink(TMessage& Message) { Message.Result = LRESULT(FDataLink); }

void RegisterDBControls() {
  RegisterClass(TDBEdit::StaticClass());
  RegisterClass(TDBMemo::StaticClass());
  RegisterClass(TDBCheckBox::StaticClass());
  RegisterClass(TDBText::StaticClass());
  RegisterClass(TDBRadioGroup::StaticClass());
  RegisterClass(TDBComboBox::StaticClass());
  RegisterClass(TDBImage::StaticClass());
}

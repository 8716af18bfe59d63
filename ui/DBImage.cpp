// This file implements TDBImage: shows the picture held in a graphic field.
#include "DBCtrls.h"

#include "Streams.h"

VELBOR_IMPLEMENT_CLASS(TDBImage)
VELBOR_PUBLISHED(TDBImage,
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("Stretch", &Self::Stretch, &Self::SetStretch).Default(false))

TDBImage::TDBImage(TComponent* AOwner) : inherited(AOwner) {
  ControlStyle = {csOpaque, csReplicatable};
  SetBounds(0, 0, 105, 105);
  SetTabStop(true);
  FPicture = new TPicture;
}

TDBImage::~TDBImage() {
  delete FPicture;
}

void TDBImage::SetStretch(bool Value) {
  if (FStretch == Value) return;
  FStretch = Value;
  Invalidate();
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

void TDBImage::DataChange() { LoadPicture(); }

void TDBImage::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(ClientRect());
  TGraphic* graphic = FPicture->Graphic();
  if (graphic == nullptr || graphic->Empty()) return;
  if (FStretch) canvas->StretchDraw(ClientRect(), graphic);
  else canvas->Draw(0, 0, graphic);
}

void RegisterDBControls() {
  RegisterClass(TDBEdit::StaticClass());
  RegisterClass(TDBMemo::StaticClass());
  RegisterClass(TDBCheckBox::StaticClass());
  RegisterClass(TDBText::StaticClass());
  RegisterClass(TDBRadioGroup::StaticClass());
  RegisterClass(TDBComboBox::StaticClass());
  RegisterClass(TDBImage::StaticClass());
}

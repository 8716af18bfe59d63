object frmAttention: TfrmAttention
  Left = 400
  Top = 300
  BorderStyle = bsDialog
  Caption = 'Attention'
  ClientHeight = 96
  ClientWidth = 300
  Color = clBtnFace
  FormStyle = fsStayOnTop
  Position = poMainFormCenter
  OnClose = FormClose
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object Image1: TImage
    Left = 12
    Top = 12
    Width = 32
    Height = 32
  end
  object Label1: TLabel
    Left = 56
    Top = 20
    Width = 232
    Height = 13
    Caption = 'Information déjà existante !'
  end
  object Button1: TButton
    Left = 112
    Top = 60
    Width = 75
    Height = 25
    Caption = '&Ok'
    Default = True
    TabOrder = 0
    OnClick = Button1Click
  end
end

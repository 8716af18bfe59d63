object zrProgressForm: TzrProgressForm
  Left = 200
  Top = 100
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Progress'
  ClientHeight = 106
  ClientWidth = 278
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  Position = poScreenCenter
  object Label1: TLabel
    Left = 20
    Top = 14
    Width = 237
    Height = 13
    Alignment = taCenter
    AutoSize = False
  end
  object Label2: TLabel
    Left = 20
    Top = 36
    Width = 237
    Height = 13
    Alignment = taCenter
    AutoSize = False
  end
  object Button1: TButton
    Left = 101
    Top = 68
    Width = 75
    Height = 25
    Cancel = True
    ModalResult = 2
    TabOrder = 0
    OnClick = Button1Click
  end
end

object zrRTFExportForm: TzrRTFExportForm
  Left = 200
  Top = 100
  BorderStyle = bsDialog
  Caption = 'Export options'
  ClientHeight = 192
  ClientWidth = 229
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object CB1: TCheckBox
    Left = 8
    Top = 8
    Width = 213
    Height = 17
    TabOrder = 0
  end
  object CB2: TCheckBox
    Left = 8
    Top = 30
    Width = 213
    Height = 17
    TabOrder = 1
  end
  object CB3: TCheckBox
    Left = 8
    Top = 52
    Width = 213
    Height = 17
    TabOrder = 2
  end
  object CB5: TCheckBox
    Left = 8
    Top = 74
    Width = 213
    Height = 17
    TabOrder = 3
  end
  object Label1: TLabel
    Left = 8
    Top = 104
    Width = 213
    Height = 13
    AutoSize = False
  end
  object E1: TEdit
    Left = 8
    Top = 122
    Width = 102
    Height = 21
    TabOrder = 4
  end
  object E2: TEdit
    Left = 119
    Top = 122
    Width = 102
    Height = 21
    TabOrder = 5
  end
  object Button1: TButton
    Left = 38
    Top = 158
    Width = 75
    Height = 25
    Default = True
    ModalResult = 1
    TabOrder = 6
  end
  object Button2: TButton
    Left = 119
    Top = 158
    Width = 75
    Height = 25
    Cancel = True
    ModalResult = 2
    TabOrder = 7
  end
end

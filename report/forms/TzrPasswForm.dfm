object zrPasswForm: TzrPasswForm
  Left = 200
  Top = 100
  ActiveControl = E1
  BorderStyle = bsDialog
  Caption = 'Password'
  ClientHeight = 96
  ClientWidth = 249
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  Position = poScreenCenter
  OnCreate = FormCreate
  OnShow = FormShow
  object L1: TLabel
    Left = 8
    Top = 10
    Width = 233
    Height = 13
    AutoSize = False
  end
  object L2: TLabel
    Left = 8
    Top = 10
    Width = 233
    Height = 13
    AutoSize = False
    Visible = False
  end
  object E1: TEdit
    Left = 8
    Top = 30
    Width = 233
    Height = 21
    PasswordChar = '*'
    TabOrder = 0
  end
  object OK: TButton
    Left = 85
    Top = 63
    Width = 75
    Height = 25
    Default = True
    ModalResult = 1
    TabOrder = 1
  end
  object Cancel: TButton
    Left = 166
    Top = 63
    Width = 75
    Height = 25
    Cancel = True
    ModalResult = 2
    TabOrder = 2
  end
end

object qvRichTabDialog: TqvRichTabDialog
  Left = 300
  Top = 200
  BorderStyle = bsDialog
  Caption = 'Tabs'
  ClientHeight = 197
  ClientWidth = 271
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  PixelsPerInch = 96
  TextHeight = 13
  object GroupBox1: TGroupBox
    Left = 8
    Top = 8
    Width = 169
    Height = 181
    Caption = '&Tab Stop Position'
    TabOrder = 0
    object Edit1: TEdit
      Left = 12
      Top = 20
      Width = 145
      Height = 21
      TabOrder = 0
      OnEnter = Edit1Enter
      OnExit = Edit1Exit
      OnKeyPress = Edit1KeyPress
    end
    object ListBox1: TListBox
      Left = 12
      Top = 46
      Width = 145
      Height = 95
      MultiSelect = True
      TabOrder = 1
    end
    object Button1: TButton
      Left = 12
      Top = 148
      Width = 69
      Height = 24
      Caption = '&Set'
      TabOrder = 2
      OnClick = SetButtonClick
    end
    object Button2: TButton
      Left = 88
      Top = 148
      Width = 69
      Height = 24
      Caption = 'Cl&ear'
      TabOrder = 3
      OnClick = Button2Click
    end
  end
  object OKButton: TButton
    Left = 188
    Top = 14
    Width = 75
    Height = 24
    Caption = '&OK'
    Default = True
    ModalResult = 1
    TabOrder = 1
    OnClick = OKButtonClick
  end
  object Button3: TButton
    Left = 188
    Top = 44
    Width = 75
    Height = 24
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 2
  end
  object Button4: TButton
    Left = 188
    Top = 84
    Width = 75
    Height = 24
    Caption = 'Clear A&ll'
    TabOrder = 3
    OnClick = Button4Click
  end
end

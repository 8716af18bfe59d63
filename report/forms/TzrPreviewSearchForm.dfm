object zrPreviewSearchForm: TzrPreviewSearchForm
  Left = 200
  Top = 100
  ActiveControl = Edit1
  BorderStyle = bsDialog
  Caption = 'Find'
  ClientHeight = 158
  ClientWidth = 262
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  Position = poScreenCenter
  OnActivate = FormActivate
  OnCreate = FormCreate
  object Label1: TLabel
    Left = 4
    Top = 6
    Width = 253
    Height = 13
    AutoSize = False
    FocusControl = Edit1
  end
  object Edit1: TEdit
    Left = 4
    Top = 22
    Width = 253
    Height = 21
    TabOrder = 0
  end
  object GroupBox1: TGroupBox
    Left = 4
    Top = 52
    Width = 125
    Height = 66
    TabOrder = 1
    object CB1: TCheckBox
      Left = 8
      Top = 18
      Width = 113
      Height = 30
      WordWrap = True
      TabOrder = 0
    end
  end
  object GroupBox2: TGroupBox
    Left = 133
    Top = 52
    Width = 125
    Height = 66
    TabOrder = 2
    object RB1: TRadioButton
      Left = 8
      Top = 18
      Width = 113
      Height = 17
      Checked = True
      TabOrder = 0
      TabStop = True
    end
    object RB2: TRadioButton
      Left = 8
      Top = 40
      Width = 113
      Height = 17
      TabOrder = 1
    end
  end
  object Button1: TButton
    Left = 101
    Top = 126
    Width = 75
    Height = 25
    Default = True
    ModalResult = 1
    TabOrder = 3
  end
  object Button2: TButton
    Left = 183
    Top = 126
    Width = 75
    Height = 25
    Cancel = True
    ModalResult = 2
    TabOrder = 4
  end
end

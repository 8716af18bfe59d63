object zrFmtForm: TzrFmtForm
  Left = 200
  Top = 100
  BorderStyle = bsDialog
  Caption = 'Format'
  ClientHeight = 217
  ClientWidth = 276
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
  object GroupBox2: TGroupBox
    Left = 8
    Top = 4
    Width = 260
    Height = 172
    TabOrder = 0
    object CatLB: TListBox
      Left = 8
      Top = 16
      Width = 92
      Height = 95
      TabOrder = 0
      OnClick = CatLBClick
    end
    object TypeLB: TListBox
      Left = 106
      Top = 16
      Width = 146
      Height = 95
      TabOrder = 1
      OnClick = TypeLBClick
    end
    object Label1: TLabel
      Left = 8
      Top = 122
      Width = 60
      Height = 13
      AutoSize = False
    end
    object DecEdit: TEdit
      Left = 70
      Top = 118
      Width = 30
      Height = 21
      TabOrder = 2
      Text = '0'
    end
    object Label2: TLabel
      Left = 120
      Top = 122
      Width = 70
      Height = 13
      AutoSize = False
    end
    object SplEdit: TEdit
      Left = 196
      Top = 118
      Width = 22
      Height = 21
      MaxLength = 1
      TabOrder = 3
      OnEnter = SplEditEnter
    end
    object Label3: TLabel
      Left = 8
      Top = 148
      Width = 60
      Height = 13
      AutoSize = False
    end
    object FormatEdit: TEdit
      Left = 70
      Top = 144
      Width = 182
      Height = 21
      TabOrder = 4
    end
  end
  object Button1: TButton
    Left = 112
    Top = 184
    Width = 75
    Height = 25
    Default = True
    ModalResult = 1
    TabOrder = 1
  end
  object Button2: TButton
    Left = 193
    Top = 184
    Width = 75
    Height = 25
    Cancel = True
    ModalResult = 2
    TabOrder = 2
  end
end

object zrPrintForm: TzrPrintForm
  Left = 200
  Top = 100
  ActiveControl = E1
  BorderStyle = bsDialog
  Caption = 'Print'
  ClientHeight = 225
  ClientWidth = 485
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  Position = poScreenCenter
  Scaled = False
  OnCreate = FormCreate
  OnDeactivate = FormDeactivate
  object GroupBox1: TGroupBox
    Left = 8
    Top = 4
    Width = 469
    Height = 52
    TabOrder = 0
    object Label4: TLabel
      Left = 12
      Top = 23
      Width = 40
      Height = 13
      AutoSize = False
      FocusControl = CB1
    end
    object CB1: TComboBox
      Left = 60
      Top = 19
      Width = 305
      Height = 22
      Style = csOwnerDrawFixed
      ItemHeight = 16
      TabOrder = 0
      OnClick = CB1Click
      OnDrawItem = CB1DrawItem
    end
    object PropButton: TButton
      Left = 376
      Top = 17
      Width = 85
      Height = 25
      TabOrder = 1
      OnClick = PropButtonClick
    end
  end
  object GroupBox2: TGroupBox
    Left = 8
    Top = 62
    Width = 233
    Height = 122
    TabOrder = 1
    object RB1: TRadioButton
      Left = 12
      Top = 18
      Width = 209
      Height = 17
      Checked = True
      TabOrder = 0
      TabStop = True
    end
    object RB2: TRadioButton
      Left = 12
      Top = 38
      Width = 209
      Height = 17
      TabOrder = 1
    end
    object RB3: TRadioButton
      Left = 12
      Top = 60
      Width = 65
      Height = 17
      TabOrder = 2
      OnClick = RB3Click
    end
    object E2: TEdit
      Left = 80
      Top = 58
      Width = 141
      Height = 21
      TabOrder = 3
      OnClick = E2Click
      OnEnter = E2Click
    end
    object Label2: TLabel
      Left = 12
      Top = 84
      Width = 209
      Height = 30
      AutoSize = False
      WordWrap = True
    end
  end
  object GroupBox3: TGroupBox
    Left = 248
    Top = 62
    Width = 229
    Height = 122
    TabOrder = 2
    object Label1: TLabel
      Left = 12
      Top = 24
      Width = 105
      Height = 13
      AutoSize = False
      FocusControl = E1
    end
    object E1: TEdit
      Left = 120
      Top = 20
      Width = 49
      Height = 21
      TabOrder = 0
      Text = '1'
    end
    object Panel1: TPanel
      Left = 170
      Top = 22
      Width = 17
      Height = 17
      BevelOuter = bvNone
      TabOrder = 1
      object zrSpeedButton1: TzrSpeedButton
        Left = 0
        Top = 0
        Width = 17
        Height = 8
        GrayedInactive = False
        OnClick = zrSpeedButton1Click
      end
      object zrSpeedButton2: TzrSpeedButton
        Left = 0
        Top = 9
        Width = 17
        Height = 8
        GrayedInactive = False
        OnClick = zrSpeedButton2Click
      end
    end
    object CollateCB: TCheckBox
      Left = 12
      Top = 82
      Width = 17
      Height = 17
      Checked = True
      State = cbChecked
      TabOrder = 2
      OnClick = CollateCBClick
    end
    object Label3: TLabel
      Left = 30
      Top = 84
      Width = 80
      Height = 13
      AutoSize = False
      OnClick = Label3Click
      OnDblClick = Label3Click
    end
    object PB1: TPaintBox
      Left = 120
      Top = 56
      Width = 92
      Height = 53
      OnPaint = PB1Paint
    end
  end
  object Label5: TLabel
    Left = 8
    Top = 198
    Width = 40
    Height = 13
    FocusControl = CB2
  end
  object CB2: TComboBox
    Left = 60
    Top = 194
    Width = 170
    Height = 21
    Style = csDropDownList
    TabOrder = 3
  end
  object Button1: TButton
    Left = 318
    Top = 192
    Width = 75
    Height = 25
    Default = True
    ModalResult = 1
    TabOrder = 4
  end
  object Button2: TButton
    Left = 402
    Top = 192
    Width = 75
    Height = 25
    Cancel = True
    ModalResult = 2
    TabOrder = 5
  end
end

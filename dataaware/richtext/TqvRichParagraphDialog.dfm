object qvRichParagraphDialog: TqvRichParagraphDialog
  Left = 300
  Top = 200
  ActiveControl = AlignmentCombo
  BorderStyle = bsDialog
  Caption = 'Paragraph'
  ClientHeight = 262
  ClientWidth = 329
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
  object Panel1: TPanel
    Left = 8
    Top = 8
    Width = 313
    Height = 214
    BevelOuter = bvLowered
    TabOrder = 0
    object Label4: TLabel
      Left = 12
      Top = 15
      Width = 46
      Height = 13
      Caption = 'Ali&gnment'
      FocusControl = AlignmentCombo
    end
    object AlignmentCombo: TComboBox
      Left = 110
      Top = 11
      Width = 120
      Height = 21
      Style = csDropDownList
      TabOrder = 0
    end
    object GroupBox1: TLabel
      Left = 12
      Top = 44
      Width = 55
      Height = 13
      Caption = 'Indentation'
    end
    object Bevel1: TBevel
      Left = 76
      Top = 51
      Width = 225
      Height = 2
      Shape = bsTopLine
    end
    object Label1: TLabel
      Left = 24
      Top = 66
      Width = 21
      Height = 13
      Caption = '&Left:'
      FocusControl = LeftEdit
    end
    object LeftEdit: TEdit
      Left = 110
      Top = 62
      Width = 80
      Height = 21
      TabOrder = 1
    end
    object Label2: TLabel
      Left = 24
      Top = 92
      Width = 28
      Height = 13
      Caption = '&Right:'
      FocusControl = RightEdit
    end
    object RightEdit: TEdit
      Left = 110
      Top = 88
      Width = 80
      Height = 21
      TabOrder = 2
    end
    object Label3: TLabel
      Left = 24
      Top = 118
      Width = 42
      Height = 13
      Caption = 'First line:'
      FocusControl = FirstLineEdit
    end
    object FirstLineEdit: TEdit
      Left = 110
      Top = 114
      Width = 80
      Height = 21
      TabOrder = 3
    end
    object SpacingGroup: TLabel
      Left = 12
      Top = 146
      Width = 39
      Height = 13
      Caption = 'Spacing'
    end
    object Bevel2: TBevel
      Left = 76
      Top = 153
      Width = 225
      Height = 2
      Shape = bsTopLine
    end
    object BeforeParagraphLabel: TLabel
      Left = 24
      Top = 168
      Width = 35
      Height = 13
      Caption = '&Before:'
      FocusControl = BeforeParagraphEdit
    end
    object BeforeParagraphEdit: TEdit
      Left = 110
      Top = 164
      Width = 60
      Height = 21
      TabOrder = 4
    end
    object AfterParagraphLabel: TLabel
      Left = 190
      Top = 168
      Width = 28
      Height = 13
      Caption = 'Aft&er:'
      FocusControl = AfterParagraphEdit
    end
    object AfterParagraphEdit: TEdit
      Left = 241
      Top = 164
      Width = 60
      Height = 21
      TabOrder = 5
    end
    object WithinParagraphLabel: TLabel
      Left = 24
      Top = 194
      Width = 67
      Height = 13
      Caption = 'Li&ne spacing:'
      FocusControl = LineSpacingComboBox
    end
    object LineSpacingComboBox: TComboBox
      Left = 110
      Top = 190
      Width = 72
      Height = 21
      Style = csDropDownList
      TabOrder = 6
      OnClick = LineSpacingComboBoxClick
      OnSelect = LineSpacingComboBoxChange
    end
    object WithinParagraphAt: TLabel
      Left = 190
      Top = 194
      Width = 12
      Height = 13
      Caption = '&At'
      FocusControl = WithinParagraphEdit
    end
    object WithinParagraphEdit: TEdit
      Left = 241
      Top = 190
      Width = 60
      Height = 21
      TabOrder = 7
      OnKeyPress = WithinParagraphEditKeyPress
    end
  end
  object OKBtn: TButton
    Left = 164
    Top = 230
    Width = 75
    Height = 24
    Caption = '&OK'
    Default = True
    ModalResult = 1
    TabOrder = 1
    OnClick = OKClick
  end
  object CancelBtn: TButton
    Left = 246
    Top = 230
    Width = 75
    Height = 24
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 2
  end
end

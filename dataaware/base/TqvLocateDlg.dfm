object qvLocateDlg: TqvLocateDlg
  Left = 300
  Top = 200
  ActiveControl = SearchValue
  BorderStyle = bsDialog
  Caption = 'Locate Value'
  ClientHeight = 238
  ClientWidth = 212
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = [fsBold]
  Position = poScreenCenter
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object FieldValueGroup: TGroupBox
    Left = 4
    Top = 4
    Width = 201
    Height = 45
    Caption = 'Field &Value'
    TabOrder = 0
    object SearchValue: TEdit
      Left = 12
      Top = 17
      Width = 181
      Height = 20
      Hint = 'Enter field''s search value'
      TabOrder = 0
    end
  end
  object SearchTypeGroup: TGroupBox
    Left = 4
    Top = 52
    Width = 201
    Height = 101
    Caption = '&Search Type'
    TabOrder = 1
    object CaseSensitiveCheckBox: TCheckBox
      Left = 12
      Top = 16
      Width = 181
      Height = 17
      Hint = 'Searching is case-sensitive'
      Caption = '&Case-sensitive'
      TabOrder = 0
    end
    object Panel1: TPanel
      Left = 1
      Top = 38
      Width = 200
      Height = 2
      BevelOuter = bvLowered
      TabOrder = 1
    end
    object ExactMatchBtn: TRadioButton
      Left = 12
      Top = 44
      Width = 181
      Height = 17
      Hint = 'Match occurs only if there is an exact match'
      Caption = '&Exact Match'
      TabOrder = 2
    end
    object PartialMatchStartBtn: TRadioButton
      Left = 12
      Top = 62
      Width = 181
      Height = 17
      Hint = 'Match occurs if the start of the field''s value matches'
      Caption = '&Partial Match at Beginning'
      Checked = True
      TabOrder = 3
    end
    object PartialMatchAnyBtn: TRadioButton
      Left = 12
      Top = 80
      Width = 181
      Height = 17
      Hint = 'Match occurs if any part of the field matches'
      Caption = 'Partial Match &Anywhere'
      TabOrder = 4
    end
  end
  object FieldsGroup: TGroupBox
    Left = 4
    Top = 156
    Width = 201
    Height = 49
    Caption = '&Fields'
    TabOrder = 2
    object FieldNameComboBox: TComboBox
      Left = 12
      Top = 20
      Width = 181
      Height = 21
      Hint = 'Select the field to search on'
      Style = csDropDownList
      Sorted = True
      TabOrder = 0
      OnChange = FieldNameComboBoxChange
      OnEnter = FieldNameComboBoxEnter
      OnExit = FieldNameComboBoxExit
      OnKeyDown = FieldNameComboBoxKeyDown
    end
  end
  object FirstButton: TButton
    Left = 4
    Top = 209
    Width = 57
    Height = 27
    Hint = 'Find first match'
    Caption = 'Fi&rst'
    TabOrder = 3
    OnClick = FindFirst
  end
  object NextButton: TButton
    Left = 60
    Top = 209
    Width = 57
    Height = 27
    Hint = 'Find next match from current record'
    Caption = '&Next'
    Default = True
    TabOrder = 4
    OnClick = FindNextBtnClick
  end
end

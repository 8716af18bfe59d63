object frmRechercheCommune: TfrmRechercheCommune
  Left = 400
  Top = 300
  BorderStyle = bsDialog
  Caption = 'Recherche commune'
  ClientHeight = 122
  ClientWidth = 400
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  OnClose = FormClose
  PixelsPerInch = 96
  TextHeight = 13
  object lblRegion: TLabel
    Left = 12
    Top = 16
    Width = 80
    Height = 13
    Caption = 'Région :'
  end
  object OxLkeRegion: TOxLookupEdit
    Left = 100
    Top = 12
    Width = 288
    Height = 21
    LookupField = 'REG_CODE'
    LookupDisplay = 'REG_LIB'
    DropDownWidth = 300
    TabOrder = 0
    OnExit = OxLkeRegionExit
  end
  object lblDep: TLabel
    Left = 12
    Top = 44
    Width = 80
    Height = 13
    Caption = 'Département :'
  end
  object OxLkeDep: TOxLookupEdit
    Left = 100
    Top = 40
    Width = 288
    Height = 21
    LookupField = 'DEP_CODE'
    LookupDisplay = 'DEP_LIB'
    DropDownWidth = 300
    TabOrder = 1
    OnExit = OxLkeDepExit
  end
  object lblCommune: TLabel
    Left = 12
    Top = 72
    Width = 80
    Height = 13
    Caption = 'Commune :'
  end
  object OxLkeCommune: TOxLookupEdit
    Left = 100
    Top = 68
    Width = 288
    Height = 21
    LookupField = 'COM_CODE'
    LookupDisplay = 'COM_LIB; COM_CODE'
    DropDownWidth = 300
    TabOrder = 2
  end
  object bbtnOk: TBitBtn
    Left = 118
    Top = 90
    Width = 75
    Height = 25
    Caption = '&Ok'
    Default = True
    TabOrder = 3
    OnClick = bbtnOkClick
  end
  object bbtnFermer: TBitBtn
    Left = 206
    Top = 90
    Width = 75
    Height = 25
    Caption = '&Fermer'
    TabOrder = 4
    OnClick = bbtnFermerClick
  end
end

object frmEchangeKelvor: TfrmEchangeKelvor
  Left = 300
  Top = 200
  BorderStyle = bsDialog
  Caption = 'Import Export'
  ClientHeight = 217
  ClientWidth = 416
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poMainFormCenter
  OnClose = FormClose
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnPaint = FormPaint
  PixelsPerInch = 96
  TextHeight = 13
  object Label1: TLabel
    Left = 8
    Top = 136
    Width = 44
    Height = 13
    Caption = 'Fichier :'
  end
  object GroupBox1: TGroupBox
    Left = 8
    Top = 8
    Width = 401
    Height = 113
    TabOrder = 0
    object rbtnImportInventaire: TRadioButton
      Left = 24
      Top = 16
      Width = 297
      Height = 17
      Caption = 'Importation d''inventaires'
      Checked = True
      TabOrder = 0
      TabStop = True
      OnClick = rbtnImportInventaireClick
    end
    object rbtnImportDictionnaire: TRadioButton
      Left = 24
      Top = 40
      Width = 297
      Height = 17
      Caption = 'Importation de tous les dictionnaires'
      TabOrder = 1
      OnClick = rbtnImportDictionnaireClick
    end
    object rbtnExportInventaire: TRadioButton
      Left = 24
      Top = 64
      Width = 297
      Height = 17
      Caption = 'Exportation d''inventaires'
      TabOrder = 2
      OnClick = rbtnImportInventaireClick
    end
    object rbtnExportDictionnaire: TRadioButton
      Left = 24
      Top = 88
      Width = 297
      Height = 17
      Caption = 'Exportation de tous les dictionnaires'
      Enabled = False
      TabOrder = 3
      OnClick = rbtnImportDictionnaireClick
    end
  end
  object OxFilenameEdit: TOxFilenameEdit
    Left = 104
    Top = 128
    Width = 305
    Height = 21
    Anchors = [akTop, akRight]
    DialogOptions = [ofHideReadOnly, ofPathMustExist]
    TabOrder = 1
  end
  object bbtnOk: TBitBtn
    Left = 88
    Top = 160
    Width = 75
    Height = 25
    Caption = '&Ok'
    Default = True
    TabOrder = 2
    OnClick = bbtnOkClick
  end
  object bbtnAnnuler: TBitBtn
    Left = 264
    Top = 160
    Width = 75
    Height = 25
    Caption = '&Quitter'
    TabOrder = 3
    OnClick = bbtnAnnulerClick
  end
  object OxSpecialProgress1: TOxSpecialProgress
    Left = 8
    Top = 192
    Width = 401
    Height = 23
    BorderStyle = bsSingle
    EndColor = clSkyBlue
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Solid = True
    TextCentered = True
    TextOption = toPercent
  end
end

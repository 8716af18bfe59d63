object frmRecherche: TfrmRecherche
  Left = 400
  Top = 200
  BorderStyle = bsSingle
  BorderIcons = [biSystemMenu]
  Caption = 'Recherche'
  ClientHeight = 344
  ClientWidth = 296
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
  object qRegion: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from D_REGION order by REG_LIB')
    Active = True
  end
  object qDep: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from D_DEPARTEMENT D order by D.DEP_LIB')
    Active = True
  end
  object qCommune: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from D_COMMUNE C order by C.COM_LIB')
    Active = True
  end
  object qSites: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select ZH_CODE,ZH_NOM from T_ZONE_HUMIDE order by ZH_CODE')
    Active = True
  end
  object qEnveloppe: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select distinct ZH_NOM_ENVELOPPE from T_ZONE_HUMIDE order by ZH_NOM_ENVELOPPE')
    Active = True
  end
  object dsRegion: TDataSource
    DataSet = qRegion
  end
  object dsDep: TDataSource
    DataSet = qDep
  end
  object dsCommune: TDataSource
    DataSet = qCommune
  end
  object dsSites: TDataSource
    DataSet = qSites
  end
  object dsEnveloppe: TDataSource
    DataSet = qEnveloppe
  end
  object GroupBox1: TGroupBox
    Left = 8
    Top = 4
    Width = 280
    Height = 276
    Caption = ' Critères '
    TabOrder = 0
    object lblSurface: TLabel
      Left = 8
      Top = 24
      Width = 130
      Height = 13
      Caption = 'Bassin versant de surface :'
    end
    object OxLkeSurface: TOxLookupEdit
      Left = 140
      Top = 20
      Width = 132
      Height = 21
      LookupSource = dmVelbor.dsD_ZONE_HYDRO
      LookupField = 'ZONE_HYDRO_CODE'
      LookupDisplay = 'ZONE_HYDRO_CODE; ZONE_HYDRO_LIB'
      DropDownWidth = 500
      TabOrder = 0
    end
    object lblSouterrain: TLabel
      Left = 8
      Top = 50
      Width = 130
      Height = 13
      Caption = 'Bassin versant souterrain :'
    end
    object OxLkeSouterrain: TOxLookupEdit
      Left = 140
      Top = 46
      Width = 132
      Height = 21
      LookupSource = dmVelbor.dsD_ENT_HYDRO
      LookupField = 'ENT_HYDRO_CODE'
      LookupDisplay = 'ENT_HYDRO_CODE; ENT_HYDRO_LIB'
      DropDownWidth = 500
      TabOrder = 1
    end
    object lblRef: TLabel
      Left = 8
      Top = 76
      Width = 130
      Height = 13
      Caption = 'Enveloppe de référence :'
    end
    object OxLkeRef: TOxLookupEdit
      Left = 140
      Top = 72
      Width = 132
      Height = 21
      LookupSource = dsEnveloppe
      LookupField = 'ZH_NOM_ENVELOPPE'
      LookupDisplay = 'ZH_NOM_ENVELOPPE'
      DropDownWidth = 500
      TabOrder = 2
    end
    object lblRegion: TLabel
      Left = 8
      Top = 102
      Width = 130
      Height = 13
      Caption = 'Région :'
    end
    object OxLkeRegion: TOxLookupEdit
      Left = 140
      Top = 98
      Width = 132
      Height = 21
      LookupSource = dsRegion
      LookupField = 'REG_CODE'
      LookupDisplay = 'REG_LIB'
      ListStyle = lsDelimited
      DropDownWidth = 500
      TabOrder = 3
      OnExit = OxLkeRegionChange
    end
    object lblDep: TLabel
      Left = 8
      Top = 128
      Width = 130
      Height = 13
      Caption = 'Département : '
    end
    object OxLkeDep: TOxLookupEdit
      Left = 140
      Top = 124
      Width = 132
      Height = 21
      LookupSource = dsDep
      LookupField = 'DEP_CODE'
      LookupDisplay = 'DEP_LIB'
      ListStyle = lsDelimited
      DropDownWidth = 500
      TabOrder = 4
      OnExit = OxLkeDepExit
    end
    object lblCommune: TLabel
      Left = 8
      Top = 154
      Width = 130
      Height = 13
      Caption = 'Commune :'
    end
    object OxLkeCommune: TOxLookupEdit
      Left = 140
      Top = 150
      Width = 132
      Height = 21
      LookupSource = dsCommune
      LookupField = 'COM_CODE'
      LookupDisplay = 'COM_LIB; COM_CODE'
      DropDownWidth = 500
      TabOrder = 5
    end
    object lblSdage: TLabel
      Left = 8
      Top = 180
      Width = 130
      Height = 13
      Caption = 'Type SDAGE :'
    end
    object OxLkeSdage: TOxLookupEdit
      Left = 140
      Top = 176
      Width = 132
      Height = 21
      LookupSource = dmVelbor.dsD_SDAGE
      LookupField = 'TSD_CODE'
      LookupDisplay = 'TSD_CODE; TSD_LIB'
      DropDownWidth = 500
      TabOrder = 6
    end
    object lblCorine: TLabel
      Left = 8
      Top = 206
      Width = 130
      Height = 13
      Caption = 'Code Corine :'
    end
    object OxLkeCorine: TOxLookupEdit
      Left = 140
      Top = 202
      Width = 132
      Height = 21
      LookupSource = dmVelbor.dsD_CORINE_BIO
      LookupField = 'TCB_CODE'
      LookupDisplay = 'TCB_CODE; TCB_LIB'
      DropDownWidth = 500
      TabOrder = 7
    end
    object lblSite: TLabel
      Left = 8
      Top = 232
      Width = 130
      Height = 13
      Caption = 'Site :'
    end
    object OxLkeSite: TOxLookupEdit
      Left = 140
      Top = 228
      Width = 132
      Height = 21
      LookupSource = dsSites
      LookupField = 'ZH_CODE'
      LookupDisplay = 'ZH_CODE; ZH_NOM'
      DropDownWidth = 500
      TabOrder = 8
    end
    object lblTousSites: TLabel
      Left = 8
      Top = 258
      Width = 130
      Height = 13
      Caption = 'Tous les sites :'
    end
    object cbTousSites: TCheckBox
      Left = 140
      Top = 256
      Width = 17
      Height = 17
      TabOrder = 9
    end
  end
  object lblRepertoire: TLabel
    Left = 16
    Top = 292
    Width = 120
    Height = 13
    Caption = 'Fichier de destination :'
  end
  object eRepertoire: TOxFilenameEdit
    Left = 148
    Top = 288
    Width = 132
    Height = 21
    DialogOptions = [ofHideReadOnly, ofPathMustExist]
    Filter = 'Fichier Excel (*.xls)|*.xls'
    TabOrder = 1
  end
  object bbOk: TBitBtn
    Left = 64
    Top = 314
    Width = 75
    Height = 25
    Caption = '&Ok'
    Default = True
    TabOrder = 2
    OnClick = bbOkClick
  end
  object bbFermer: TBitBtn
    Left = 158
    Top = 314
    Width = 75
    Height = 25
    Caption = '&Fermer'
    TabOrder = 3
    OnClick = bbFermerClick
  end
end

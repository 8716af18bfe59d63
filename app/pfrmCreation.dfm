object frmCreation: TfrmCreation
  Left = 400
  Top = 300
  BorderStyle = bsSingle
  BorderIcons = [biSystemMenu]
  Caption = 'Création du code de la zone humide'
  ClientHeight = 125
  ClientWidth = 295
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  OnClose = FormClose
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object qRechercheMO: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select distinct mid(ZH_CODE,4,6) as ZH_CODE from t_zone_humide')
    Active = True
  end
  object dsRechercheMO: TDataSource
    DataSet = qRechercheMO
  end
  object qMax: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
  end
  object Label1: TLabel
    Left = 24
    Top = 20
    Width = 64
    Height = 13
    Caption = 'Département'
  end
  object Label2: TLabel
    Left = 24
    Top = 52
    Width = 80
    Height = 13
    Caption = 'Maitre d''œuvre'
  end
  object eDep: TEdit
    Left = 128
    Top = 16
    Width = 49
    Height = 21
    MaxLength = 3
    TabOrder = 0
    Text = '0'
    OnEnter = eDepEnter
  end
  object eMaitreOeuvre: TOxLookupEdit
    Left = 128
    Top = 48
    Width = 97
    Height = 21
    LookupSource = dsRechercheMO
    LookupField = 'ZH_CODE'
    LookupDisplay = 'ZH_CODE'
    MaxLength = 6
    TabOrder = 1
  end
  object bbOk: TBitBtn
    Left = 62
    Top = 88
    Width = 75
    Height = 25
    Caption = '&Ok'
    Default = True
    TabOrder = 2
    OnClick = bbOkClick
  end
  object bbFermer: TBitBtn
    Left = 158
    Top = 88
    Width = 75
    Height = 25
    Caption = '&Annuler'
    TabOrder = 3
    OnClick = bbFermerClick
  end
end

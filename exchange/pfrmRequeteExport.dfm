object frmRequeteExport: TfrmRequeteExport
  Left = 350
  Top = 250
  BorderStyle = bsDialog
  Caption = 'Zones humides à exporter'
  ClientHeight = 93
  ClientWidth = 386
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poMainFormCenter
  OnClose = FormClose
  PixelsPerInch = 96
  TextHeight = 13
  object ADOQuery: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select zh_code from T_ZONE_HUMIDE  ORDER BY ZH_CODE')
    Active = True
  end
  object DataSource: TDataSource
    DataSet = ADOQuery
  end
  object Label1: TLabel
    Left = 192
    Top = 32
    Width = 6
    Height = 13
    Caption = 'à'
  end
  object OxDBLkcboDebut: TOxDBLookupCombo
    Left = 16
    Top = 24
    Width = 145
    Height = 21
    DropDownCount = 8
    DisplayEmpty = ' '
    LookupField = 'zh_code'
    LookupDisplay = 'zh_code'
    LookupSource = DataSource
    TabOrder = 0
  end
  object OxDBLkcboFin: TOxDBLookupCombo
    Left = 224
    Top = 24
    Width = 145
    Height = 21
    DropDownCount = 8
    DisplayEmpty = ' '
    LookupField = 'zh_code'
    LookupDisplay = 'zh_code'
    LookupSource = DataSource
    TabOrder = 1
  end
  object bbtnOk: TBitBtn
    Left = 160
    Top = 56
    Width = 75
    Height = 25
    Caption = '&Ok'
    Default = True
    TabOrder = 2
    OnClick = bbtnOkClick
  end
end

inherited frmExportZH: TfrmExportZH
  Caption = 'Export zones humides'
  ClientHeight = 372
  Position = poMainFormCenter
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  object ADOQuery: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
  end
  object ADOQueryDetail: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    BeforeOpen = ADOQueryDetailBeforeOpen
    AfterOpen = ADOQueryDetailAfterOpen
  end
  object tNomChamp: TADOTable
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    TableName = 'T_TABLE'
    Active = True
  end
  inherited eRepertoire: TOxFilenameEdit
    DefaultExt = 'xlsx'
    Filter = 'Classeur Excel (*.xlsx)|*.xlsx'
  end
  object OxSpecialProgress1: TOxSpecialProgress
    Left = 8
    Top = 346
    Width = 280
    Height = 20
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

object frmDictionnaire: TfrmDictionnaire
  Left = 200
  Top = 120
  Caption = 'frmDictionnaire'
  ClientHeight = 400
  ClientWidth = 600
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  FormStyle = fsMDIChild
  Position = poMainFormCenter
  OnClose = FormClose
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object DBGrid: TqvDBGrid
    Left = 0
    Top = 0
    Width = 600
    Height = 356
    Anchors = [akLeft, akTop, akRight, akBottom]
    ExportOptions.Delimiter = ';'
    IniAttributes.Delimiter = ';;'
    TabOrder = 0
  end
  object DBNavigator: TqvDBNavigator
    Left = 6
    Top = 364
    Width = 279
    Height = 30
    Anchors = [akLeft, akBottom]
    AutosizeStyle = asSizeNavButtons
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -16
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    ShowHint = True
    TabOrder = 1
    object DBNavigatorFirst: TqvNavButton
      Hint = 'Aller au premier enregistrement'
      Style = nbsFirst
    end
    object DBNavigatorPriorPage: TqvNavButton
      Hint = 'Aller à 10 enregistrements précédents'
      Style = nbsPriorPage
    end
    object DBNavigatorPrior: TqvNavButton
      Hint = 'Aller à l''enregistrement précédent'
      Style = nbsPrior
    end
    object DBNavigatorNext: TqvNavButton
      Hint = 'Aller à l''enregistrement suivant'
      Style = nbsNext
    end
    object DBNavigatorNextPage: TqvNavButton
      Hint = 'Aller à 10 enregistrements suivants'
      Style = nbsNextPage
    end
    object DBNavigatorLast: TqvNavButton
      Hint = 'Aller au dernier enregistrement'
      Style = nbsLast
    end
    object DBNavigatorInsert: TqvNavButton
      Hint = 'Insérer un nouvel enregistrement'
      Caption = '+'
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clWindowText
      Font.Height = -24
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
      ParentFont = False
      ShowText = True
      Style = nbsCustom
      OnClick = DBNavigatorInsertClick
    end
    object DBNavigatorDelete: TqvNavButton
      Hint = 'Supprimer l''enregistrement actuel'
      Style = nbsDelete
    end
    object DBNavigatorPost: TqvNavButton
      Hint = 'Inscrire les changements de l''enregistrement actuel'
      Style = nbsPost
    end
  end
  object bbtnSave: TBitBtn
    Left = 296
    Top = 366
    Width = 121
    Height = 27
    Anchors = [akLeft, akBottom]
    Caption = '&Exporter vers ...'
    TabOrder = 2
    OnClick = bbtnSaveClick
  end
  object bbtnFermer: TBitBtn
    Left = 505
    Top = 366
    Width = 89
    Height = 27
    Anchors = [akRight, akBottom]
    Caption = '&Fermer'
    Default = True
    TabOrder = 3
    OnClick = bbtnFermerClick
  end
  object OxSelectDirectory: TSaveDialog
    DefaultExt = 'CSV'
    Filter = 'CSV|*.csv'
    InitialDir = 'c:\'
  end
end

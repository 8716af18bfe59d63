object frmPersonnalisation: TfrmPersonnalisation
  Left = 350
  Top = 250
  BorderStyle = bsDialog
  Caption = 'Personnalisation'
  ClientHeight = 112
  ClientWidth = 360
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
  object Label1: TLabel
    Left = 12
    Top = 16
    Width = 28
    Height = 13
    Caption = 'Nom :'
  end
  object Label2: TLabel
    Left = 12
    Top = 44
    Width = 56
    Height = 13
    Caption = 'Organisme :'
  end
  object eNom: TEdit
    Left = 84
    Top = 12
    Width = 264
    Height = 21
    TabOrder = 0
  end
  object eOrganisme: TEdit
    Left = 84
    Top = 40
    Width = 264
    Height = 21
    TabOrder = 1
  end
  object bbOk: TButton
    Left = 100
    Top = 76
    Width = 75
    Height = 25
    Caption = '&Ok'
    Default = True
    TabOrder = 2
    OnClick = bbOkClick
  end
  object bbFermer: TButton
    Left = 188
    Top = 76
    Width = 75
    Height = 25
    Caption = '&Annuler'
    TabOrder = 3
    OnClick = bbFermerClick
  end
end

object frmAdministration: TfrmAdministration
  Left = 350
  Top = 250
  BorderStyle = bsDialog
  Caption = 'Administration'
  ClientHeight = 84
  ClientWidth = 280
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poMainFormCenter
  OnClose = FormClose
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object Label1: TLabel
    Left = 12
    Top = 16
    Width = 76
    Height = 13
    Caption = 'Mot de passe : '
  end
  object eMotDePasse: TEdit
    Left = 100
    Top = 12
    Width = 168
    Height = 21
    PasswordChar = '*'
    TabOrder = 0
  end
  object btnOk: TButton
    Left = 56
    Top = 48
    Width = 75
    Height = 25
    Caption = '&Ok'
    Default = True
    ModalResult = 1
    TabOrder = 1
    OnClick = btnOkClick
  end
  object btnAnnuler: TButton
    Left = 148
    Top = 48
    Width = 75
    Height = 25
    Caption = '&Annuler'
    ModalResult = 2
    TabOrder = 2
  end
end

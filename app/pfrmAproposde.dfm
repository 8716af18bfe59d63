object frmAproposde: TfrmAproposde
  Left = 300
  Top = 200
  BorderStyle = bsDialog
  Caption = 'A propos de ...'
  ClientHeight = 268
  ClientWidth = 440
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
  object lblVersion: TLabel
    Left = 240
    Top = 240
    Width = 188
    Height = 13
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'Version : '
  end
  object Memo1: TMemo
    Left = 8
    Top = 8
    Width = 424
    Height = 220
    Anchors = [akLeft, akTop, akRight, akBottom]
    Color = clBtnFace
    ReadOnly = True
    TabOrder = 1
  end
  object frmFermer: TButton
    Left = 8
    Top = 235
    Width = 75
    Height = 25
    Caption = '&Fermer'
    Default = True
    TabOrder = 0
    OnClick = frmFermerClick
  end
end

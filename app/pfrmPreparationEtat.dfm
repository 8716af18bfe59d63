object frmPreparationEtat: TfrmPreparationEtat
  Left = 400
  Top = 300
  BorderIcons = []
  BorderStyle = bsSingle
  BorderWidth = 1
  Caption = ' '
  ClientHeight = 72
  ClientWidth = 240
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  FormStyle = fsStayOnTop
  Position = poMainFormCenter
  PixelsPerInch = 96
  TextHeight = 13
  object Label1: TLabel
    Left = 0
    Top = 16
    Width = 240
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = 'Préparation de l''état'
  end
  object Label2: TLabel
    Left = 0
    Top = 40
    Width = 240
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = 'Veuillez patienter'
  end
end

object frmDemarrage: TfrmDemarrage
  Left = 300
  Top = 250
  BorderStyle = bsNone
  Caption = 'Démarrage'
  ClientHeight = 180
  ClientWidth = 600
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  FormStyle = fsStayOnTop
  Position = poScreenCenter
  OnDestroy = FormDestroy
  PixelsPerInch = 96
  TextHeight = 13
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 600
    Height = 180
    Align = alClient
    BevelInner = bvLowered
    BevelWidth = 2
    TabOrder = 0
    object OxGradient1: TOxGradient
      Left = 4
      Top = 4
      Width = 592
      Height = 172
      Style = grVertical
      StartColor = clSkyBlue
      EndColor = clCream
      Steps = 35
    end
    object Label1: TLabel
      Left = 8
      Top = 40
      Width = 584
      Height = 28
      Alignment = taCenter
      AutoSize = False
      Caption = 'Méthode nationale d''inventaire des zones humides'
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clNavy
      Font.Height = -21
      Font.Name = 'Comic Sans MS'
      Font.Style = [fsBold]
      ParentFont = False
      Transparent = True
    end
    object Label2: TLabel
      Left = 8
      Top = 100
      Width = 584
      Height = 28
      Alignment = taCenter
      AutoSize = False
      Caption = 'Inventaires des zones humides'
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clNavy
      Font.Height = -21
      Font.Name = 'Comic Sans MS'
      Font.Style = [fsBold]
      ParentFont = False
      Transparent = True
    end
  end
end

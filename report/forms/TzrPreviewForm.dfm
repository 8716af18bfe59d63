object zrPreviewForm: TzrPreviewForm
  Left = 100
  Top = 60
  Caption = 'Preview'
  ClientHeight = 293
  ClientWidth = 459
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  KeyPreview = True
  Scaled = False
  WindowState = wsMaximized
  OnActivate = FormActivate
  OnClose = FormClose
  OnCreate = FormCreate
  OnDeactivate = FormDeactivate
  OnDestroy = FormDestroy
  OnKeyDown = FormKeyDown
  OnMouseDown = FormMouseDown
  OnResize = FormResize
  OnShow = FormShow
  object TopPanel: TPanel
    Left = 0
    Top = 0
    Width = 459
    Height = 33
    Align = alTop
    BevelOuter = bvNone
    TabOrder = 0
    object Bevel2: TBevel
      Left = 0
      Top = 0
      Width = 459
      Height = 2
      Align = alTop
      Shape = bsTopLine
    end
    object Panel1: TPanel
      Left = 4
      Top = 6
      Width = 273
      Height = 24
      BevelOuter = bvNone
      TabOrder = 0
      object ZoomBtn: TzrTBButton
        Left = 0
        Top = 0
        Width = 53
        Height = 24
        Tag = 200
        Caption = '200%'
        Margin = 3
        GrayedInactive = False
        OnClick = ZoomBtnClick
      end
      object zrTBSeparator1: TzrTBSeparator
        Left = 53
        Top = 0
        Width = 8
        Height = 24
        DrawBevel = False
      end
      object LoadBtn: TzrTBButton
        Left = 61
        Top = 0
        Width = 24
        Height = 24
        Tag = 201
        GrayedInactive = False
        OnClick = LoadBtnClick
      end
      object SaveBtn: TzrTBButton
        Left = 85
        Top = 0
        Width = 24
        Height = 24
        Tag = 202
        GrayedInactive = False
        OnClick = SaveBtnClick
      end
      object PrintBtn: TzrTBButton
        Left = 109
        Top = 0
        Width = 24
        Height = 24
        Tag = 203
        GrayedInactive = False
        OnClick = PrintBtnClick
      end
      object PageSetupBtn: TzrTBButton
        Left = 133
        Top = 0
        Width = 24
        Height = 24
        Tag = 203
        GrayedInactive = False
        OnClick = PageSetupBtnClick
      end
      object zrTBSeparator2: TzrTBSeparator
        Left = 157
        Top = 0
        Width = 8
        Height = 24
      end
      object FindBtn: TzrTBButton
        Left = 165
        Top = 0
        Width = 24
        Height = 24
        Tag = 204
        GrayedInactive = False
        OnClick = FindBtnClick
      end
      object HelpBtn: TzrTBButton
        Left = 189
        Top = 0
        Width = 24
        Height = 24
        Tag = 0
        GrayedInactive = False
        OnClick = HelpBtnClick
      end
      object zrTBSeparator3: TzrTBSeparator
        Left = 213
        Top = 0
        Width = 8
        Height = 24
      end
      object ExitBtn: TzrTBButton
        Left = 221
        Top = 0
        Width = 24
        Height = 24
        Tag = 205
        GrayedInactive = False
        OnClick = ExitBtnClick
      end
    end
  end
  object PreviewPanel: TPanel
    Left = 0
    Top = 33
    Width = 459
    Height = 260
    Align = alClient
    BevelOuter = bvNone
    TabOrder = 1
    OnResize = PreviewPanelResize
    object BPanel: TPanel
      Left = 0
      Top = 242
      Width = 459
      Height = 18
      Align = alBottom
      BevelOuter = bvNone
      TabOrder = 0
      object Bevel1: TBevel
        Left = 0
        Top = 0
        Width = 100
        Height = 18
      end
      object Label1: TLabel
        Left = 4
        Top = 2
        Width = 92
        Height = 13
        Tag = 206
        AutoSize = False
      end
      object Bevel3: TBevel
        Left = 100
        Top = 0
        Width = 200
        Height = 18
      end
      object Label2: TLabel
        Left = 104
        Top = 2
        Width = 192
        Height = 13
        Tag = 206
        AutoSize = False
      end
      object HScrollBar: TScrollBar
        Left = 300
        Top = 1
        Width = 143
        Height = 16
        LargeChange = 200
        Max = 32000
        SmallChange = 10
        TabStop = False
        TabOrder = 0
        OnChange = HScrollBarChange
        OnEnter = HScrollBarEnter
      end
    end
    object RPanel: TPanel
      Left = 443
      Top = 0
      Width = 16
      Height = 242
      Align = alRight
      BevelOuter = bvNone
      TabOrder = 1
      object VScrollBar: TScrollBar
        Left = 0
        Top = 0
        Width = 16
        Height = 209
        Kind = sbVertical
        LargeChange = 200
        Max = 32000
        SmallChange = 10
        TabStop = False
        TabOrder = 0
        OnChange = VScrollBarChange
        OnEnter = HScrollBarEnter
      end
      object PgUp: TzrSpeedButton
        Left = 0
        Top = 210
        Width = 16
        Height = 16
        GrayedInactive = False
        OnClick = PgUpClick
      end
      object PgDown: TzrSpeedButton
        Left = 0
        Top = 226
        Width = 16
        Height = 16
        GrayedInactive = False
        OnClick = PgDownClick
      end
    end
    object ScrollBox1: TScrollBox
      Left = 0
      Top = 0
      Width = 443
      Height = 242
      Align = alClient
      AutoScroll = False
      BorderStyle = bsNone
      TabOrder = 2
    end
  end
  object ProcMenu: TPopupMenu
    object Zoom200: TMenuItem
      Tag = 200
      Caption = '200%'
      GroupIndex = 1
      RadioItem = True
      OnClick = N3Click
    end
    object Zoom150: TMenuItem
      Tag = 150
      Caption = '150%'
      GroupIndex = 1
      RadioItem = True
      OnClick = N3Click
    end
    object Zoom100: TMenuItem
      Tag = 100
      Caption = '100%'
      Checked = True
      GroupIndex = 1
      RadioItem = True
      OnClick = N3Click
    end
    object Zoom75: TMenuItem
      Tag = 75
      Caption = '75%'
      GroupIndex = 1
      RadioItem = True
      OnClick = N3Click
    end
    object Zoom50: TMenuItem
      Tag = 50
      Caption = '50%'
      GroupIndex = 1
      RadioItem = True
      OnClick = N3Click
    end
    object Zoom25: TMenuItem
      Tag = 25
      Caption = '25%'
      GroupIndex = 1
      RadioItem = True
      OnClick = N3Click
    end
    object Zoom10: TMenuItem
      Tag = 10
      Caption = '10%'
      GroupIndex = 1
      RadioItem = True
      OnClick = N3Click
    end
    object N1: TMenuItem
      Tag = 1
      Caption = 'Page width'
      GroupIndex = 1
      RadioItem = True
      OnClick = N3Click
    end
    object N2: TMenuItem
      Tag = 2
      Caption = 'Whole page'
      GroupIndex = 1
      RadioItem = True
      OnClick = N3Click
    end
    object N3: TMenuItem
      Tag = 3
      Caption = 'Two pages'
      GroupIndex = 1
      RadioItem = True
      OnClick = N3Click
    end
    object N4: TMenuItem
      Caption = '-'
      GroupIndex = 1
    end
    object N5: TMenuItem
      Caption = 'Edit page'
      GroupIndex = 1
      OnClick = EditBtnClick
    end
    object N6: TMenuItem
      Caption = 'Add page'
      GroupIndex = 1
      OnClick = NewPageBtnClick
    end
    object N7: TMenuItem
      Caption = 'Remove page'
      GroupIndex = 1
      OnClick = DelPageBtnClick
    end
  end
  object OpenDialog: TOpenDialog
    Options = [ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing]
  end
  object SaveDialog: TSaveDialog
    Options = [ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing]
  end
end

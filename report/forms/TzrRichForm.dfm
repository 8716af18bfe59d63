object zrRichForm: TzrRichForm
  Left = 200
  Top = 100
  Caption = 'Rich Edit '
  ClientHeight = 383
  ClientWidth = 571
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  Position = poScreenCenter
  OnActivate = FormActivate
  OnCreate = FormCreate
  OnPaint = FormPaint
  OnResize = FormResize
  OnShow = FormShow
  object SpeedBar: TPanel
    Left = 0
    Top = 0
    Width = 571
    Height = 28
    Align = alTop
    BevelOuter = bvNone
    TabOrder = 0
    object OpenButton: TzrSpeedButton
      Left = 4
      Top = 3
      Width = 23
      Height = 22
      Tag = 300
      Flat = True
      GrayedInactive = False
      OnClick = FileOpen
    end
    object SaveButton: TzrSpeedButton
      Left = 27
      Top = 3
      Width = 23
      Height = 22
      Tag = 301
      Flat = True
      GrayedInactive = False
      OnClick = FileSaveAs
    end
    object UndoButton: TzrSpeedButton
      Left = 50
      Top = 3
      Width = 23
      Height = 22
      Tag = 302
      Flat = True
      GrayedInactive = False
      OnClick = EditUndo
    end
    object SpeedButton1: TzrSpeedButton
      Left = 77
      Top = 3
      Width = 23
      Height = 22
      Tag = 303
      Flat = True
      GrayedInactive = False
      OnClick = SelectFont
    end
    object SpeedButton2: TzrSpeedButton
      Left = 100
      Top = 3
      Width = 23
      Height = 22
      Tag = 304
      Flat = True
      GrayedInactive = False
      OnClick = SpeedButton2Click
    end
    object FontName: TzrFontComboBox
      Left = 128
      Top = 4
      Width = 150
      Height = 20
      Tag = 307
      TabOrder = 0
      OnFontClick = FontNameChange
    end
    object FontSize: TzrComboBox
      Left = 282
      Top = 4
      Width = 44
      Height = 20
      Tag = 308
      DropDownCount = 12
      Items = (
        '5'
        '6'
        '7'
        '8'
        '9'
        '10'
        '11'
        '12'
        '14'
        '16'
        '18'
        '20'
        '22'
        '24'
        '26'
        '28'
        '36'
        '48'
        '72')
      TabOrder = 1
      OnChange = FontSizeChange
    end
    object BoldButton: TzrSpeedButton
      Left = 330
      Top = 3
      Width = 23
      Height = 22
      Tag = 309
      Flat = True
      GrayedInactive = False
      OnClick = BoldButtonClick
      AllowAllUp = True
      GroupIndex = 1
    end
    object ItalicButton: TzrSpeedButton
      Left = 353
      Top = 3
      Width = 23
      Height = 22
      Tag = 310
      Flat = True
      GrayedInactive = False
      OnClick = BoldButtonClick
      AllowAllUp = True
      GroupIndex = 2
    end
    object UnderlineButton: TzrSpeedButton
      Left = 376
      Top = 3
      Width = 23
      Height = 22
      Tag = 311
      Flat = True
      GrayedInactive = False
      OnClick = BoldButtonClick
      AllowAllUp = True
      GroupIndex = 3
    end
    object LeftAlign: TzrSpeedButton
      Left = 403
      Top = 3
      Width = 23
      Height = 22
      Tag = 312
      Flat = True
      GrayedInactive = False
      OnClick = AlignButtonClick
      GroupIndex = 4
    end
    object CenterAlign: TzrSpeedButton
      Left = 426
      Top = 3
      Width = 23
      Height = 22
      Tag = 313
      Flat = True
      GrayedInactive = False
      OnClick = AlignButtonClick
      GroupIndex = 4
    end
    object RightAlign: TzrSpeedButton
      Left = 449
      Top = 3
      Width = 23
      Height = 22
      Tag = 314
      Flat = True
      GrayedInactive = False
      OnClick = AlignButtonClick
      GroupIndex = 4
    end
    object BulletsButton: TzrSpeedButton
      Left = 476
      Top = 3
      Width = 23
      Height = 22
      Tag = 315
      Flat = True
      GrayedInactive = False
      OnClick = BulletsButtonClick
      AllowAllUp = True
      GroupIndex = 5
    end
    object HelpBtn: TzrSpeedButton
      Left = 503
      Top = 3
      Width = 23
      Height = 22
      Tag = 0
      Flat = True
      GrayedInactive = False
      OnClick = HelpBtnClick
    end
    object CancBtn: TzrSpeedButton
      Left = 522
      Top = 3
      Width = 23
      Height = 22
      Tag = 50
      Flat = True
      GrayedInactive = False
      OnClick = CancBtnClick
    end
    object OkBtn: TzrSpeedButton
      Left = 545
      Top = 3
      Width = 23
      Height = 22
      Tag = 40
      Flat = True
      GrayedInactive = False
      OnClick = OkBtnClick
    end
  end
  object Ruler: TPanel
    Left = 0
    Top = 28
    Width = 571
    Height = 26
    Align = alTop
    Alignment = taLeftJustify
    BevelOuter = bvNone
    TabOrder = 1
    OnResize = RulerResize
    object RulerLine: TBevel
      Left = 4
      Top = 12
      Width = 563
      Height = 2
      Shape = bsTopLine
    end
    object FirstInd: TPaintBox
      Left = 2
      Top = 2
      Width = 9
      Height = 6
      Tag = 316
      OnMouseDown = RulerItemMouseDown
      OnMouseMove = RulerItemMouseMove
      OnMouseUp = FirstIndMouseUp
      OnPaint = MarkerPaint
    end
    object LeftInd: TPaintBox
      Left = 2
      Top = 16
      Width = 9
      Height = 6
      Tag = 317
      OnMouseDown = RulerItemMouseDown
      OnMouseMove = RulerItemMouseMove
      OnMouseUp = LeftIndMouseUp
      OnPaint = MarkerPaint
    end
    object RightInd: TPaintBox
      Left = 560
      Top = 16
      Width = 9
      Height = 6
      Tag = 318
      OnMouseDown = RulerItemMouseDown
      OnMouseMove = RulerItemMouseMove
      OnMouseUp = RightIndMouseUp
      OnPaint = MarkerPaint
    end
  end
  object RichEdit1: TRichEdit
    Left = 0
    Top = 54
    Width = 571
    Height = 329
    Tag = 319
    Align = alClient
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = []
    HideSelection = False
    ParentFont = False
    ScrollBars = ssBoth
    TabOrder = 2
    WantTabs = True
  end
  object OpenDialog: TOpenDialog
    Options = [ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing]
  end
  object SaveDialog: TSaveDialog
    Options = [ofOverwritePrompt, ofHideReadOnly, ofEnableSizing]
  end
  object FontDialog1: TFontDialog
  end
end

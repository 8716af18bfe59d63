object qvRichEditForm: TqvRichEditForm
  Left = 200
  Top = 120
  Caption = 'Edit Rich Text'
  ClientHeight = 440
  ClientWidth = 603
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  KeyPreview = True
  Menu = MainMenu1
  OnClose = FormClose
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnKeyPress = FormKeyPress
  OnKeyUp = FormKeyUp
  OnResize = FormResize
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object ToolBarBevel: TBevel
    Left = 0
    Top = 0
    Width = 603
    Height = 2
    Align = alTop
    Shape = bsTopLine
  end
  object Toolbar: TPanel
    Left = 0
    Top = 2
    Width = 603
    Height = 24
    Align = alTop
    BevelOuter = bvNone
    TabOrder = 0
    object NewButton: TSpeedButton
      Left = 4
      Top = 1
      Width = 23
      Height = 22
      Flat = True
      OnClick = NewClick
    end
    object PrintButton: TSpeedButton
      Left = 27
      Top = 1
      Width = 23
      Height = 22
      Flat = True
      OnClick = PrintClick
    end
    object Bevel1: TBevel
      Left = 54
      Top = 1
      Width = 2
      Height = 22
      Shape = bsLeftLine
    end
    object FindButton: TSpeedButton
      Left = 59
      Top = 1
      Width = 23
      Height = 22
      Flat = True
      OnClick = FindClick
    end
    object SpellButton: TSpeedButton
      Left = 82
      Top = 1
      Width = 23
      Height = 22
      Flat = True
      OnClick = SpellCheckClick
    end
    object ToolbarBevel1: TBevel
      Left = 108
      Top = 1
      Width = 2
      Height = 22
      Shape = bsLeftLine
    end
    object CutButton: TSpeedButton
      Left = 113
      Top = 1
      Width = 23
      Height = 22
      Flat = True
      OnClick = CutClick
    end
    object CopyButton: TSpeedButton
      Left = 136
      Top = 1
      Width = 23
      Height = 22
      Flat = True
      OnClick = CopyClick
    end
    object PasteButton: TSpeedButton
      Left = 159
      Top = 1
      Width = 23
      Height = 22
      Flat = True
      OnClick = PasteClick
    end
    object Bevel2: TBevel
      Left = 185
      Top = 1
      Width = 2
      Height = 22
      Shape = bsLeftLine
    end
    object UndoButton: TSpeedButton
      Left = 190
      Top = 1
      Width = 23
      Height = 22
      Flat = True
      OnClick = UndoClick
    end
    object RedoButton: TSpeedButton
      Left = 213
      Top = 1
      Width = 23
      Height = 22
      Flat = True
      OnClick = RedoClick
    end
    object UserButtonBevel: TBevel
      Left = 239
      Top = 1
      Width = 2
      Height = 22
      Shape = bsLeftLine
      Visible = False
    end
    object LoadButton1: TSpeedButton
      Left = 300
      Top = 1
      Width = 23
      Height = 22
      Flat = True
      Visible = False
      OnClick = LoadClick
    end
    object SaveAsButton: TSpeedButton
      Left = 323
      Top = 1
      Width = 23
      Height = 22
      Flat = True
      Visible = False
      OnClick = SaveAsClick
    end
  end
  object FormatBarBevel: TBevel
    Left = 0
    Top = 26
    Width = 603
    Height = 2
    Align = alTop
    Shape = bsTopLine
  end
  object FormatBar: TPanel
    Left = 0
    Top = 28
    Width = 603
    Height = 26
    Align = alTop
    BevelOuter = bvNone
    TabOrder = 1
    object FontNameCombo: TComboBox
      Left = 4
      Top = 2
      Width = 150
      Height = 21
      DropDownCount = 20
      Sorted = True
      TabOrder = 0
      OnDropDown = FontNameComboDropDown
      OnCloseUp = FontNameComboCloseUp
    end
    object FontSizeCombo: TComboBox
      Left = 158
      Top = 2
      Width = 44
      Height = 21
      DropDownCount = 16
      Items = (
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
      OnCloseUp = FontSizeComboCloseUp
    end
    object Bevel3: TBevel
      Left = 208
      Top = 1
      Width = 2
      Height = 22
      Shape = bsLeftLine
    end
    object BoldButton: TSpeedButton
      Left = 213
      Top = 2
      Width = 23
      Height = 22
      Flat = True
      GroupIndex = 1
      AllowAllUp = True
      OnMouseDown = BoldButtonMouseDown
      OnClick = BoldButtonClick
    end
    object ItalicButton: TSpeedButton
      Left = 236
      Top = 2
      Width = 23
      Height = 22
      Flat = True
      GroupIndex = 2
      AllowAllUp = True
      OnMouseDown = BoldButtonMouseDown
      OnClick = ItalicButtonClick
    end
    object UnderlineButton: TSpeedButton
      Left = 259
      Top = 2
      Width = 23
      Height = 22
      Flat = True
      GroupIndex = 3
      AllowAllUp = True
      OnMouseDown = BoldButtonMouseDown
      OnClick = UnderlineButtonClick
    end
    object ColorButton: TSpeedButton
      Left = 282
      Top = 2
      Width = 23
      Height = 22
      Flat = True
      OnClick = ColorButtonClick
    end
    object LeftButton: TSpeedButton
      Left = 312
      Top = 2
      Width = 23
      Height = 22
      Flat = True
      GroupIndex = 4
      Down = True
      OnClick = AlignButtonClick
    end
    object CenterButton: TSpeedButton
      Left = 335
      Top = 2
      Width = 23
      Height = 22
      Flat = True
      GroupIndex = 4
      OnClick = AlignButtonClick
    end
    object RightButton: TSpeedButton
      Left = 358
      Top = 2
      Width = 23
      Height = 22
      Flat = True
      GroupIndex = 4
      OnClick = AlignButtonClick
    end
    object JustifyButton: TSpeedButton
      Left = 381
      Top = 2
      Width = 23
      Height = 22
      Flat = True
      GroupIndex = 4
      OnClick = JustifyButtonClick
    end
    object Bevel4: TBevel
      Left = 409
      Top = 1
      Width = 2
      Height = 22
      Shape = bsLeftLine
    end
    object BulletButton: TSpeedButton
      Left = 414
      Top = 2
      Width = 23
      Height = 22
      Flat = True
      GroupIndex = 5
      AllowAllUp = True
      OnMouseDown = BoldButtonMouseDown
      OnClick = BulletButtonClick
    end
    object HighlightButton: TSpeedButton
      Left = 438
      Top = 2
      Width = 23
      Height = 22
      Flat = True
      GroupIndex = 6
      AllowAllUp = True
      OnClick = HighlightButtonClick
    end
  end
  object RulerBevel: TBevel
    Left = 0
    Top = 54
    Width = 603
    Height = 2
    Shape = bsTopLine
  end
  object StatusBar: TStatusBar
    Left = 0
    Top = 421
    Width = 603
    Height = 19
    Panels = <
      item
        Width = 300
      end
      item
        Width = 32
      end
      item
        Width = 32
      end
      item
        Width = 18
      end>
    SimplePanel = False
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Load1: TMenuItem
        Caption = '&Load...'
        OnClick = LoadClick
      end
      object SaveAs1: TMenuItem
        Caption = 'Save &As...'
        OnClick = SaveAsClick
      end
      object SaveExit1: TMenuItem
        Caption = '&Save and Exit'
        ShortCut = 16467
        OnClick = SaveExitClick
      end
      object FileSep1: TMenuItem
        Caption = '-'
      end
      object Print1: TMenuItem
        Caption = '&Print...'
        ShortCut = 16464
        OnClick = PrintClick
      end
      object PageSetup1: TMenuItem
        Caption = 'Page Set&up...'
        OnClick = PageSetupClick
      end
      object FileSep2: TMenuItem
        Caption = '-'
      end
      object Exit1: TMenuItem
        Caption = 'E&xit'
        OnClick = ExitClick
      end
    end
    object Edit1: TMenuItem
      Caption = '&Edit'
      object Undo1: TMenuItem
        Caption = '&Undo'
        ShortCut = 16474
        OnClick = UndoClick
      end
      object Redo1: TMenuItem
        Caption = '&Redo'
        ShortCut = 16473
        OnClick = RedoClick
      end
      object EditSep1: TMenuItem
        Caption = '-'
      end
      object Cut1: TMenuItem
        Caption = 'Cu&t'
        ShortCut = 16472
        OnClick = CutClick
      end
      object Copy1: TMenuItem
        Caption = '&Copy'
        ShortCut = 16451
        OnClick = CopyClick
      end
      object Paste1: TMenuItem
        Caption = '&Paste'
        ShortCut = 16470
        OnClick = PasteClick
      end
      object Clear1: TMenuItem
        Caption = 'Cle&ar'
        OnClick = ClearClick
      end
      object SelectAll1: TMenuItem
        Caption = 'Select A&ll'
        ShortCut = 16449
        OnClick = SelectAllClick
      end
      object EditSep2: TMenuItem
        Caption = '-'
      end
      object Find1: TMenuItem
        Caption = '&Find...'
        ShortCut = 16454
        OnClick = FindClick
      end
      object FindNext1: TMenuItem
        Caption = 'Find &Next'
        ShortCut = 114
        OnClick = FindNextClick
      end
      object Replace1: TMenuItem
        Caption = 'R&eplace...'
        ShortCut = 16456
        OnClick = ReplaceClick
      end
    end
    object View1: TMenuItem
      Caption = '&View'
      object Toolbar1: TMenuItem
        Caption = '&Toolbar'
        Checked = True
        OnClick = ToolbarClick
      end
      object FormatBar1: TMenuItem
        Caption = '&Format Bar'
        Checked = True
        OnClick = FormatBarClick
      end
      object StatusBar1: TMenuItem
        Caption = '&Status Bar'
        Checked = True
        OnClick = StatusBarClick
      end
      object Ruler1: TMenuItem
        Caption = '&Ruler'
        Checked = True
        OnClick = RulerClick
      end
      object OptionsSep: TMenuItem
        Caption = '-'
        Visible = False
      end
      object Options1: TMenuItem
        Caption = '&Options...'
        Visible = False
      end
    end
    object Insert1: TMenuItem
      Caption = '&Insert'
      object DateandTime1: TMenuItem
        Caption = '&Date and Time...'
        Visible = False
      end
      object InsertObject1: TMenuItem
        Caption = '&Object...'
        OnClick = InsertObjectClick
      end
    end
    object Format1: TMenuItem
      Caption = 'F&ormat'
      object Font1: TMenuItem
        Caption = '&Font...'
        OnClick = FontClick
      end
      object BulletStyle1: TMenuItem
        Caption = '&Bullet Style'
        OnClick = BulletStyle1Click
      end
      object Paragraph1: TMenuItem
        Caption = '&Paragraph...'
        OnClick = ParagraphClick
      end
      object Tabs1: TMenuItem
        Caption = '&Tabs...'
        OnClick = TabsClick
      end
    end
    object Help1: TMenuItem
      Caption = 'Help'
      Visible = False
    end
    object Tools1: TMenuItem
      Caption = '&Tools'
      object Spelling1: TMenuItem
        Caption = 'Check &Spelling'
        OnClick = SpellCheckClick
      end
    end
  end
  object PopupMenu1: TPopupMenu
    object ColorBlack: TMenuItem
      Caption = 'Black'
      Tag = 0
    end
    object ColorMaroon: TMenuItem
      Caption = 'Maroon'
      Tag = 128
    end
    object ColorGreen: TMenuItem
      Caption = 'Green'
      Tag = 32768
    end
    object ColorOlive: TMenuItem
      Caption = 'Olive'
      Tag = 32896
    end
    object ColorNavy: TMenuItem
      Caption = 'Navy'
      Tag = 8388608
    end
    object ColorPurple: TMenuItem
      Caption = 'Purple'
      Tag = 8388736
    end
    object ColorTeal: TMenuItem
      Caption = 'Teal'
      Tag = 8421376
    end
    object ColorGray: TMenuItem
      Caption = 'Gray'
      Tag = 8421504
    end
    object ColorSilver: TMenuItem
      Caption = 'Silver'
      Tag = 12632256
    end
    object ColorRed: TMenuItem
      Caption = 'Red'
      Tag = 255
    end
    object ColorLime: TMenuItem
      Caption = 'Lime'
      Tag = 65280
    end
    object ColorYellow: TMenuItem
      Caption = 'Yellow'
      Tag = 65535
    end
    object ColorBlue: TMenuItem
      Caption = 'Blue'
      Tag = 16711680
    end
    object ColorFuchsia: TMenuItem
      Caption = 'Fuchsia'
      Tag = 16711935
    end
    object ColorAqua: TMenuItem
      Caption = 'Aqua'
      Tag = 16776960
    end
    object ColorWhite: TMenuItem
      Caption = 'White'
      Tag = 16777215
    end
    object ColorAutomatic: TMenuItem
      Caption = 'Automatic'
      Tag = 0
    end
  end
  object PrintDialog1: TPrintDialog
  end
  object OpenDialog1: TOpenDialog
    Filter = 'Rich Text Files (*.RTF)|*.RTF|Text Files (*.TXT)|*.TXT'
  end
  object SaveDialog1: TSaveDialog
    DefaultExt = 'rtf'
    Filter = 'Rich Text Files (*.RTF)|*.RTF|Text Files (*.TXT)|*.TXT'
  end
  object ImageList1: TImageList
  end
end

object TestDialog: TTestDialog
  Left = 120
  Top = 90
  BorderStyle = bsDialog
  Caption = 'Fiche d''essai é'
  ClientHeight = 120
  ClientWidth = 260
  Color = clBtnFace
  ActiveControl = Edit1
  OnCreate = FormCreate
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object Edit1: TTestEdit
    Left = 8
    Top = 8
    Width = 100
    Height = 21
    TabOrder = 0
    Text = 'un'
    OnEnter = EditEnter
    OnExit = EditExit
  end
  object Edit3: TTestEdit
    Left = 8
    Top = 64
    Width = 100
    Height = 21
    TabOrder = 2
    Text = 'trois'
    OnEnter = EditEnter
    OnExit = EditExit
  end
  object Edit2: TTestEdit
    Left = 8
    Top = 36
    Width = 100
    Height = 21
    TabOrder = 1
    Text = 'deux'
    OnEnter = EditEnter
    OnExit = EditExit
  end
  object OkButton: TTestButton
    Left = 120
    Top = 88
    Width = 60
    Height = 25
    Caption = '&OK'
    Default = True
    ModalResult = 1
    TabOrder = 3
  end
  object CancelButton: TTestButton
    Left = 190
    Top = 88
    Width = 60
    Height = 25
    Caption = 'Annuler'
    Cancel = True
    ModalResult = 2
    TabOrder = 4
  end
end

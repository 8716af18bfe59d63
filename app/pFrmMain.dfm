object frmMainForm: TfrmMainForm
  Left = 200
  Top = 120
  Caption = 'Inventaire des zones humides'
  ClientHeight = 563
  ClientWidth = 859
  Color = clAppWorkSpace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = [fsBold, fsItalic]
  FormStyle = fsMDIForm
  Position = poDesktopCenter
  WindowState = wsMinimized
  OnClose = FormClose
  OnCreate = FormCreate
  OnPaint = FormPaint
  PixelsPerInch = 96
  TextHeight = 13
  object ActionManager1: TActionList
  end
  object ActionList1: TActionList
  end
  object qzBackground1: TqzBackground
  end
end

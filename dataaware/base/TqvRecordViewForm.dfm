object qvRecordViewForm: TqvRecordViewForm
  Left = 200
  Top = 120
  Width = 342
  Height = 362
  Caption = 'qvRecordViewForm'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OnActivate = FormActivate
  OnDeactivate = FormDeactivate
  PixelsPerInch = 96
  TextHeight = 13
end

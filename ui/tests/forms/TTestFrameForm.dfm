object TestFrameForm: TTestFrameForm
  Left = 40
  Top = 40
  Width = 640
  Height = 480
  Caption = 'Cadre MDI'
  FormStyle = fsMDIForm
end

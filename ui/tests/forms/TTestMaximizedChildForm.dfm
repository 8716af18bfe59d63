object TestMaximizedChildForm: TTestMaximizedChildForm
  Width = 200
  Height = 150
  Caption = 'Enfant agrandi'
  FormStyle = fsMDIChild
  WindowState = wsMaximized
  OnClose = FormClose
end

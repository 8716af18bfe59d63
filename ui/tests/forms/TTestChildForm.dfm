object TestChildForm: TTestChildForm
  Width = 200
  Height = 150
  Caption = 'Enfant'
  FormStyle = fsMDIChild
  OnClose = FormClose
  OnDestroy = FormDestroy
  object ChildEdit: TTestEdit
    Left = 8
    Top = 8
    Width = 100
    Height = 21
  end
end

object Module1: TFuzzModule
  object Widget1: TFuzzWidget
    Width = 120
    Big = 1099511627776
    Ratio = 2.5
    Caption = 'Zone humide de l''été'#13#10'suite'
    Shade = fsDark
    Edges = [feLeft, feBottom]
    Enabled = False
    Font.Name = 'Tahoma'
    Font.Size = 10
    Lines.Strings = (
      'première ligne'
      'seconde')
    Items = <
      item
        Caption = 'un'
        Width = 4
      end
      item
        Caption = 'deux'
      end>
    Buddy = Widget2
    OnClick = WidgetClick
    Heights = (
      1
      2
      3)
    Data = {
      0102030405FF}
  end
  object Widget2: TFuzzWidget
    Caption = 'x' +
      'y'
    Ratio = -1.25E-5
  end
end

object Module1: TModule
  object Widget1: TWidget
    Width = 120
    Big = 1099511627776
    Ratio = 2.5
    Caption = 'Zone humide de l''été'#13#10'suite'
    Shade = shDark
    Edges = [edLeft, edBottom]
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
    EdgeHeights = (
      1
      2
      3
      4)
    Data = {
      0102030405FF}
  end
  object Widget2: TWidget
    Caption = 'x' +
      'y'
    Ratio = -1.25E-5
  end
  object Box1: TBox
    object Box2: TBox
      Width = 3
    end
  end
end

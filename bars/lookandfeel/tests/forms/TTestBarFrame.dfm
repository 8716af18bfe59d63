object TestBarFrame: TTestBarFrame
  Left = 40
  Top = 40
  Width = 640
  Height = 420
  Caption = 'Cadre'
  FormStyle = fsMDIForm
  object kwBarManager1: TkwBarManager
    AllowReset = False
    Scaled = False
    Font.Name = 'Tahoma'
    Font.Height = -11
    Bars = <
      item
        Caption = 'MainMenu'
        DockedDockingStyle = dsTop
        DockingStyle = dsTop
        IsMainMenu = True
        ItemLinks = <
          item
            Item = mnuFichier
            Visible = True
          end
          item
            Item = mnuFenetre
            Visible = True
          end>
        MultiLine = True
        Name = 'MainMenu'
        OneOnRow = True
        ShowMark = False
        Visible = True
        WholeRow = True
      end>
    Categories.Strings = (
      'Default')
    Categories.ItemsVisibles = (
      2)
    Categories.Visibles = (
      True)
    Style = bmsUseLookAndFeel
    UseSystemFont = True
    DockControlHeights = (
      0
      0
      23
      0)
    object mnuFichier: TTestBarButton
      Caption = '&Fichier'
      Category = 0
      Visible = ivAlways
    end
    object mnuFenetre: TTestBarButton
      Caption = 'Fe&n'#234'tre'
      Category = 0
      Visible = ivAlways
    end
  end
end

object TestBarChild: TTestBarChild
  Width = 320
  Height = 220
  Caption = 'Fiche'
  FormStyle = fsMDIChild
  OnClose = FormClose
  object kwBarManager1: TkwBarManager
    Bars = <
      item
        Caption = 'MainMenu'
        DockedDockingStyle = dsTop
        DockingStyle = dsTop
        IsMainMenu = True
        ItemLinks = <
          item
            Item = mnuFiche
          end
          item
            Item = mnuOutils
          end
          item
            Item = mnuCache
            Visible = False
          end>
        Name = 'MainMenu'
        Visible = True
      end>
    Categories = (
      'Default')
    object mnuFiche: TTestBarButton
      Caption = 'F&iche'
      Category = 0
    end
    object mnuOutils: TTestBarButton
      Caption = '&Outils'
      Category = 0
    end
    object mnuCache: TTestBarButton
      Caption = 'Cach'#233
      Category = 0
    end
  end
end

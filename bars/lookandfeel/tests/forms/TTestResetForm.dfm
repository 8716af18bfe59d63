object TestResetForm: TTestResetForm
  object kwBarManager1: TkwBarManager
    Bars = <
      item
        Caption = 'Standard'
        DockedDockingStyle = dsTop
        DockingStyle = dsTop
        ItemLinks = <
          item
            Item = btnOuvrir
          end
          item
            BeginGroup = True
            Item = btnEnregistrer
          end
          item
            Item = mnuEdition
          end>
        Name = 'Standard'
        OneOnRow = True
        Row = 1
        Visible = True
      end
      item
        Caption = 'Outils'
        DockedDockingStyle = dsBottom
        DockingStyle = dsBottom
        ItemLinks = <
          item
            Item = btnOuvrir
            MostRecentlyUsed = False
          end
          item
            Item = btnImprimer
          end>
        Name = 'Outils'
        Visible = True
      end>
    Categories = (
      'Default')
    Images = ImageList1
    OnBarAfterReset = ResetDone
    object btnOuvrir: TTestBarButton
      Caption = '&Ouvrir'
      Category = 0
      OnDestroy = ItemGone
    end
    object btnEnregistrer: TTestBarButton
      Caption = '&Enregistrer'
      Category = 0
    end
    object btnImprimer: TTestBarButton
      Caption = '&Imprimer'
      Category = 0
    end
    object mnuEdition: TTestSubItem
      Caption = '&Edition'
      Category = 0
      ItemLinks = <
        item
          Item = btnCopier
        end
        item
          Item = btnColler
        end>
    end
    object btnCopier: TTestBarButton
      Caption = '&Copier'
      Category = 0
    end
    object btnColler: TTestBarButton
      Caption = 'C&oller'
      Category = 0
    end
  end
  object ImageList1: TImageList
  end
end

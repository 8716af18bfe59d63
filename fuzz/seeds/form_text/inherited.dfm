inherited Module1: TModuleChild
  inline Widget1: TWidget [0]
    Width = -5
  end
  object TWidget
  end
end

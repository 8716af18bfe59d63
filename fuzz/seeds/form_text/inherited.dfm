inherited Module1: TFuzzModule
  inline Widget1: TFuzzWidget [0]
    Width = -5
  end
  object TFuzzWidget
  end
end

object Module1: TFuzzModule
  object Champ: TStringField
    FieldName = 'ZH_CODE'
    Size = 13
  end
  object Source: TDataSource
  end
end

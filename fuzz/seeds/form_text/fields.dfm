object Module1: TModule
  object Champ: TStringField
    FieldName = 'ZH_CODE'
    Size = 13
  end
  object Source: TDataSource
  end
end

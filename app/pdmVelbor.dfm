object dmVelbor: TdmVelbor
  OldCreateOrder = False
  OnCreate = DataModuleCreate
  Left = 192
  Top = 107
  Height = 640
  Width = 900
  object ADOConnection: TADOConnection
    Connected = True
    LoginPrompt = False
    Mode = cmReadWrite
    Provider = 'Microsoft.Jet.OLEDB.4.0'
    CursorLocation = clUseServer
    BeforeConnect = ADOConnectionAfterConnect
  end
  object D_ACT_HUM: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_ACT_HUM order by val(ACT_HUM_CODE)'
    Active = True
    object D_ACT_HUMACT_HUM_CODE: TWideStringField
      DisplayLabel = 'Code'
      FieldName = 'ACT_HUM_CODE'
      Size = 2
    end
    object D_ACT_HUMACT_HUM_LIB: TWideStringField
      DisplayLabel = 'Libellé'
      FieldName = 'ACT_HUM_LIB'
      Size = 80
    end
  end
  object dsD_ACT_HUM: TDataSource
    DataSet = D_ACT_HUM
  end
  object D_COMMUNE: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_COMMUNE'
    Active = True
    object D_COMMUNECOM_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'COM_CODE'
      Size = 5
    end
    object D_COMMUNECOM_LIB: TStringField
      DisplayLabel = 'Libelle'
      FieldName = 'COM_LIB'
      Size = 50
    end
    object D_COMMUNEDEP_CODE: TStringField
      DisplayLabel = 'Département'
      FieldName = 'DEP_CODE'
      Visible = False
      Size = 3
    end
    object D_COMMUNELIBDEP: TStringField
      FieldKind = fkLookup
      FieldName = 'LIBDEP'
      LookupDataSet = D_DEPARTEMENT
      LookupKeyFields = 'DEP_CODE'
      LookupResultField = 'DEP_LIB'
      KeyFields = 'DEP_CODE'
      Visible = False
      Size = 20
    end
    object D_COMMUNELIBREG: TStringField
      FieldKind = fkLookup
      FieldName = 'LIBREG'
      LookupDataSet = D_DEPARTEMENT
      LookupKeyFields = 'DEP_CODE'
      LookupResultField = 'libRegion'
      KeyFields = 'DEP_CODE'
      Visible = False
      Size = 20
    end
  end
  object dsD_COMMUNE: TDataSource
    DataSet = D_COMMUNE
  end
  object D_CONNEXION: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_CONNEXION'
    Active = True
    object D_CONNEXIONCONNEXION_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'CONNEXION_CODE'
      Size = 1
    end
    object D_CONNEXIONCONNEXION_LIB: TStringField
      DisplayLabel = 'Libelle'
      FieldName = 'CONNEXION_LIB'
      Size = 100
    end
  end
  object dsD_CONNEXION: TDataSource
    DataSet = D_CONNEXION
  end
  object D_CORINE_BIO: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_CORINE_BIO'
    Active = True
    object D_CORINE_BIOTCB_CODE: TStringField
      FieldName = 'TCB_CODE'
      Size = 10
    end
    object D_CORINE_BIOTCB_LIB: TWideStringField
      FieldName = 'TCB_LIB'
      Size = 200
    end
    object D_CORINE_BIOTCB_RANG: TFloatField
      DisplayLabel = 'Rang'
      FieldName = 'TCB_RANG'
      Visible = False
    end
  end
  object dsD_CORINE_BIO: TDataSource
    DataSet = D_CORINE_BIO
  end
  object D_DEL_CARTO: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_DEL_CARTO'
    Active = True
    object D_DEL_CARTODEL_CARTO_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'DEL_CARTO_CODE'
      Size = 2
    end
    object D_DEL_CARTODEL_CARTO_LIB: TStringField
      DisplayLabel = 'Libellé'
      FieldName = 'DEL_CARTO_LIB'
      Size = 100
    end
  end
  object dsD_DEL_CARTO: TDataSource
    DataSet = D_DEL_CARTO
  end
  object D_DEPARTEMENT: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_DEPARTEMENT'
    Active = True
    object D_DEPARTEMENTDEP_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'DEP_CODE'
      Size = 3
    end
    object D_DEPARTEMENTDEP_LIB: TStringField
      DisplayLabel = 'Libellé'
      FieldName = 'DEP_LIB'
      Size = 25
    end
    object D_DEPARTEMENTREG_CODE: TStringField
      DisplayLabel = 'Région'
      FieldName = 'REG_CODE'
      Size = 2
    end
    object D_DEPARTEMENTlibRegion: TStringField
      FieldKind = fkLookup
      FieldName = 'libRegion'
      LookupDataSet = D_REGION
      LookupKeyFields = 'REG_CODE'
      LookupResultField = 'REG_LIB'
      KeyFields = 'REG_CODE'
      Size = 20
    end
  end
  object dsD_DEPARTEMENT: TDataSource
    DataSet = D_DEPARTEMENT
  end
  object D_DIAG_HYD: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_DIAG_HYD'
    Active = True
    object D_DIAG_HYDDIAG_HYD_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'DIAG_HYD_CODE'
      Size = 1
    end
    object D_DIAG_HYDDIAG_HYD_LIB: TStringField
      DisplayLabel = 'Libelle'
      FieldName = 'DIAG_HYD_LIB'
      Size = 100
    end
  end
  object dsD_DIAG_HYD: TDataSource
    DataSet = D_DIAG_HYD
  end
  object D_DIAG_PAT: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_DIAG_PAT'
    Active = True
    object D_DIAG_PATDIAG_PAT_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'DIAG_PAT_CODE'
      Size = 1
    end
    object D_DIAG_PATDIAG_PAT_LIB: TStringField
      DisplayLabel = 'Lib'
      FieldName = 'DIAG_PAT_LIB'
      Size = 100
    end
  end
  object dsD_DIAG_PAT: TDataSource
    DataSet = D_DIAG_PAT
  end
  object D_ENT_HYDRO: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_ENT_HYDRO'
    Active = True
    object D_ENT_HYDROENT_HYDRO_CODE: TStringField
      FieldName = 'ENT_HYDRO_CODE'
      Size = 17
    end
    object D_ENT_HYDROENT_HYDRO_LIB: TWideStringField
      FieldName = 'ENT_HYDRO_LIB'
      Size = 200
    end
  end
  object dsD_ENT_HYDRO: TDataSource
    DataSet = D_ENT_HYDRO
  end
  object D_ETE_SUB: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_ETE_SUB'
    Active = True
    object D_ETE_SUBETE_SUB_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'ETE_SUB_CODE'
      Size = 1
    end
    object D_ETE_SUBETE_SUB_LIB: TStringField
      DisplayLabel = 'Libellé'
      FieldName = 'ETE_SUB_LIB'
      Size = 100
    end
  end
  object dsD_ETE_SUB: TDataSource
    DataSet = D_ETE_SUB
  end
  object D_FACT_INF: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_FACT_INF'
    Active = True
    object D_FACT_INFFAI_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'FAI_CODE'
      Size = 10
    end
    object D_FACT_INFFAI_LIB: TWideStringField
      FieldName = 'FAI_LIB'
      Size = 200
    end
  end
  object dsD_FACT_INF: TDataSource
    DataSet = D_FACT_INF
  end
  object D_FREQ_SUB: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_FREQ_SUB'
    Active = True
    object D_FREQ_SUBFREQ_SUB_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'FREQ_SUB_CODE'
      Size = 1
    end
    object D_FREQ_SUBFREQ_SUB_LIB: TStringField
      DisplayLabel = 'Libellé'
      FieldName = 'FREQ_SUB_LIB'
      Size = 100
    end
  end
  object dsD_FREQ_SUB: TDataSource
    DataSet = D_FREQ_SUB
  end
  object D_HABITAT: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_HABITAT ORDER BY HABITAT_CODE'
    Active = True
    object D_HABITATHABITAT_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'HABITAT_CODE'
      Size = 10
    end
    object D_HABITATHABITAT_LIB: TWideStringField
      FieldName = 'HABITAT_LIB'
      Size = 200
    end
  end
  object dsD_HABITAT: TDataSource
    DataSet = D_HABITAT
  end
  object D_INST_CF: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_INST_CF'
    Active = True
    object D_INST_CFICF_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'ICF_CODE'
      Size = 2
    end
    object D_INST_CFICF_LIB: TStringField
      DisplayLabel = 'Libellé'
      FieldName = 'ICF_LIB'
      Size = 100
    end
  end
  object dsD_INST_CF: TDataSource
    DataSet = D_INST_CF
  end
  object D_INT_FONCT: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_INT_FONCT ORDER BY IFZ_TYPE DESC, IFZ_CODE'
    Active = True
    object D_INT_FONCTIFZ_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'IFZ_CODE'
      Size = 2
    end
    object D_INT_FONCTIFZ_LIB: TStringField
      DisplayLabel = 'Libellé'
      FieldName = 'IFZ_LIB'
      Size = 80
    end
    object D_INT_FONCTIFZ_TYPE: TStringField
      DisplayLabel = 'Type'
      FieldName = 'IFZ_TYPE'
      Size = 1
    end
  end
  object dsD_INT_FONCT: TDataSource
    DataSet = D_INT_FONCT
  end
  object D_MES_PROT_EN: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_MES_PROT_EN ORDER BY MEN_TYPE, MEN_CODE'
    Active = True
    object D_MES_PROT_ENMEN_CODE: TStringField
      DisplayLabel = 'code'
      FieldName = 'MEN_CODE'
      Size = 3
    end
    object D_MES_PROT_ENMEN_LIB: TStringField
      DisplayLabel = 'Libellé'
      FieldName = 'MEN_LIB'
      Size = 100
    end
    object D_MES_PROT_ENMEN_TYPE: TWideStringField
      FieldName = 'MEN_TYPE'
      Size = 1
    end
  end
  object dsD_MES_PROT_EN: TDataSource
    DataSet = D_MES_PROT_EN
  end
  object D_PSIC: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_PSIC'
    Active = True
    object D_PSICINV_NATIONAL: TStringField
      DisplayLabel = 'National'
      FieldName = 'INV_NATIONAL'
      Size = 9
    end
    object D_PSICINV_LIB: TWideStringField
      FieldName = 'INV_LIB'
      Size = 255
    end
    object D_PSICINV_REG: TStringField
      DisplayLabel = 'Region'
      FieldName = 'INV_REG'
      Size = 8
    end
    object D_PSICREG_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'REG_CODE'
      Size = 2
    end
  end
  object dsD_PSIC: TDataSource
    DataSet = D_PSIC
  end
  object D_RAMSAR: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_RAMSAR'
    Active = True
    object D_RAMSARINV_EUROP: TStringField
      DisplayLabel = 'Europe'
      FieldName = 'INV_EUROP'
      Size = 9
    end
    object D_RAMSARINV_LIB: TWideStringField
      FieldName = 'INV_LIB'
      Size = 255
    end
    object D_RAMSARINV_REG: TStringField
      DisplayLabel = 'Region'
      FieldName = 'INV_REG'
      Size = 8
    end
    object D_RAMSARREG_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'REG_CODE'
      Size = 2
    end
  end
  object dsD_RAMSAR: TDataSource
    DataSet = D_RAMSAR
  end
  object D_REGION: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_REGION ORDER BY VAL(REG_CODE)'
    Active = True
    object D_REGIONREG_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'REG_CODE'
      Size = 2
    end
    object D_REGIONREG_LIB: TStringField
      DisplayLabel = 'Libelle'
      FieldName = 'REG_LIB'
      Size = 30
    end
  end
  object dsD_REGION: TDataSource
    DataSet = D_REGION
  end
  object D_RYTHME_ES: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_RYTHME_ES'
    Active = True
    object D_RYTHME_ESRES_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'RES_CODE'
      Size = 2
    end
    object D_RYTHME_ESRES_LIB: TStringField
      DisplayLabel = 'Libellé'
      FieldName = 'RES_LIB'
      Size = 80
    end
    object D_RYTHME_ESRES_DEF: TMemoField
      DisplayLabel = 'Définition'
      FieldName = 'RES_DEF'
      Visible = False
    end
  end
  object dsD_RYTHME_ES: TDataSource
    DataSet = D_RYTHME_ES
  end
  object D_SDAGE: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_SDAGE ORDER BY VAL(TSD_CODE)'
    Active = True
    object D_SDAGETSD_CODE: TStringField
      FieldName = 'TSD_CODE'
      Size = 2
    end
    object D_SDAGETSD_LIB: TStringField
      FieldName = 'TSD_LIB'
      Size = 200
    end
    object D_SDAGETSD_DEF: TMemoField
      DisplayLabel = 'Definition'
      FieldName = 'TSD_DEF'
    end
  end
  object dsD_SDAGE: TDataSource
    DataSet = D_SDAGE
  end
  object D_STATUT_FONC: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_STATUT_FONC'
    Active = True
    object D_STATUT_FONCSFO_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'SFO_CODE'
      Size = 2
    end
    object D_STATUT_FONCSFO_LIB: TStringField
      DisplayLabel = 'Libelle'
      FieldName = 'SFO_LIB'
      Size = 80
    end
  end
  object dsD_STATUT_FONC: TDataSource
    DataSet = D_STATUT_FONC
  end
  object D_SYS_ALT: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_SYS_ALT ORDER BY SYS_ALT_ORDRE'
    Active = True
    object D_SYS_ALTSYS_ALT_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'SYS_ALT_CODE'
      Size = 2
    end
    object D_SYS_ALTSYS_ALT_LIB: TStringField
      DisplayLabel = 'Libelle'
      FieldName = 'SYS_ALT_LIB'
      Size = 100
    end
    object D_SYS_ALTSYS_ALT_ORDRE: TWideStringField
      DisplayLabel = 'Ordre'
      FieldName = 'SYS_ALT_ORDRE'
      Size = 2
    end
    object D_SYS_ALTSYS_ALT_TERRITOIRE: TWideStringField
      DisplayLabel = 'Territoire'
      FieldName = 'SYS_ALT_TERRITOIRE'
      Size = 100
    end
  end
  object dsD_SYS_ALT: TDataSource
    DataSet = D_SYS_ALT
  end
  object D_TAXON: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_TAXON'
    Active = True
    object D_TAXONTAXON_CODE: TStringField
      FieldName = 'TAXON_CODE'
      Size = 10
    end
    object D_TAXONTAXON_LATIN: TStringField
      FieldName = 'TAXON_LATIN'
      Size = 100
    end
    object D_TAXONTAXON_FR: TStringField
      DisplayLabel = 'TAXON FR'
      FieldName = 'TAXON_FR'
      Size = 100
    end
    object D_TAXONTAXON_CLAS_ORDRE: TStringField
      FieldName = 'TAXON_CLAS_ORDRE'
      Size = 50
    end
    object D_TAXONTAXON_FAMILLE: TStringField
      DisplayLabel = 'TAXON FAMILLE'
      FieldName = 'TAXON_FAMILLE'
      Size = 100
    end
    object D_TAXONTAXON_THEME: TStringField
      DisplayLabel = 'TAXON THEME'
      FieldName = 'TAXON_THEME'
      Size = 50
    end
    object D_TAXONTAXON_OISEAUX: TBooleanField
      FieldName = 'TAXON_OISEAUX'
    end
    object D_TAXONTAXON_ANNEXE_2: TBooleanField
      FieldName = 'TAXON_ANNEXE_2'
    end
    object D_TAXONTAXON_ANNEXE_4: TBooleanField
      FieldName = 'TAXON_ANNEXE_4'
    end
    object D_TAXONTAXON_PRIORITAIRE: TBooleanField
      FieldName = 'TAXON_PRIORITAIRE'
    end
  end
  object dsD_TAXON: TDataSource
    DataSet = D_TAXON
  end
  object D_TYPE_ACTIONS: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_TYPE_ACTIONS'
    Active = True
    object D_TYPE_ACTIONSACTION_LIB: TStringField
      DisplayLabel = 'Libelle'
      FieldName = 'ACTION_LIB'
      Size = 20
    end
    object D_TYPE_ACTIONSACTION_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'ACTION_CODE'
      Visible = False
      Size = 1
    end
  end
  object dsD_TYPE_ACTIONS: TDataSource
    DataSet = D_TYPE_ACTIONS
  end
  object D_TYPE_ES: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_TYPE_ES ORDER BY VAL(TYPE_ES_CODE)'
    Active = True
    object D_TYPE_ESTYPE_ES_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'TYPE_ES_CODE'
      Size = 2
    end
    object D_TYPE_ESTYPE_ES_LIB: TWideStringField
      FieldName = 'TYPE_ES_LIB'
      Size = 80
    end
    object D_TYPE_ESTYPE_ES_FLGENTREE: TBooleanField
      DisplayLabel = 'FLGENTREE'
      FieldName = 'TYPE_ES_FLGENTREE'
    end
    object D_TYPE_ESTYPE_ES_FLGSORTIE: TBooleanField
      DisplayLabel = 'FLGSORTIE'
      FieldName = 'TYPE_ES_FLGSORTIE'
    end
  end
  object dsD_TYPE_ES: TDataSource
    DataSet = D_TYPE_ES
  end
  object D_TYPO_PHY: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_TYPO_PHY'
    Active = True
    object D_TYPO_PHYTPC_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'TPC_CODE'
      Size = 5
    end
    object D_TYPO_PHYTPC_LIB: TStringField
      DisplayLabel = 'Libellé'
      FieldName = 'TPC_LIB'
      Size = 80
    end
    object D_TYPO_PHYTPC_DEF: TMemoField
      FieldName = 'TPC_DEF'
      Visible = False
    end
  end
  object dsD_TYPO_PHY: TDataSource
    DataSet = D_TYPO_PHY
  end
  object D_VAL_SE: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_VAL_SE ORDER BY VAL(VAL_SE_CODE)'
    Active = True
    object D_VAL_SEVAL_SE_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'VAL_SE_CODE'
      Size = 2
    end
    object D_VAL_SEVAL_SE_LIB: TStringField
      DisplayLabel = 'Libellé'
      FieldName = 'VAL_SE_LIB'
      Size = 200
    end
  end
  object dsD_VAL_SE: TDataSource
    DataSet = D_VAL_SE
  end
  object D_ZICO: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_ZICO'
    Active = True
    object D_ZICOINV_NATIONAL: TStringField
      DisplayLabel = 'National'
      FieldName = 'INV_NATIONAL'
      Size = 3
    end
    object D_ZICOINV_LIB_ZICO: TWideStringField
      FieldName = 'INV_LIB_ZICO'
      Size = 255
    end
  end
  object dsD_ZICO: TDataSource
    DataSet = D_ZICO
  end
  object D_ZNIEFF: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_ZNIEFF'
    Active = True
    object D_ZNIEFFINV_NATIONAL: TStringField
      DisplayLabel = 'N° National'
      FieldName = 'INV_NATIONAL'
      Size = 9
    end
    object D_ZNIEFFINV_REG: TStringField
      DisplayLabel = 'N° Régional'
      FieldName = 'INV_REG'
      Size = 8
    end
    object D_ZNIEFFREG_CODE: TStringField
      DisplayLabel = 'Code Régional'
      FieldName = 'REG_CODE'
      Size = 2
    end
    object D_ZNIEFFINV_TYPE_ZNIEFF: TStringField
      DisplayLabel = 'Type'
      FieldName = 'INV_TYPE_ZNIEFF'
      Size = 1
    end
    object D_ZNIEFFINV_LIB_ZNIEFF: TWideStringField
      DisplayLabel = 'Libellé'
      FieldName = 'INV_LIB_ZNIEFF'
      Size = 255
    end
    object D_ZNIEFFINV_GEN_ZNIEFF: TWideStringField
      DisplayLabel = 'Génération'
      FieldName = 'INV_GEN_ZNIEFF'
      Size = 1
    end
  end
  object dsD_ZNIEFF: TDataSource
    DataSet = D_ZNIEFF
  end
  object D_ZONE_HYDRO: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_ZONE_HYDRO'
    Active = True
    object D_ZONE_HYDROZONE_HYDRO_CODE: TStringField
      FieldName = 'ZONE_HYDRO_CODE'
      Size = 4
    end
    object D_ZONE_HYDROZONE_HYDRO_LIb: TWideStringField
      FieldName = 'ZONE_HYDRO_LIb'
      Size = 200
    end
  end
  object dsD_ZONE_HYDRO: TDataSource
    DataSet = D_ZONE_HYDRO
  end
  object D_ZPS: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from D_ZPS'
    Active = True
    object D_ZPSINV_NATIONAL: TStringField
      DisplayLabel = 'National'
      FieldName = 'INV_NATIONAL'
      Size = 9
    end
    object D_ZPSINV_LIB: TWideStringField
      FieldName = 'INV_LIB'
      Size = 255
    end
    object D_ZPSINV_REG: TStringField
      DisplayLabel = 'Regional'
      FieldName = 'INV_REG'
      Size = 8
    end
    object D_ZPSREG_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'REG_CODE'
      Size = 2
    end
  end
  object dsD_ZPS: TDataSource
    DataSet = D_ZPS
  end
  object T_CARTE_IGN: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from T_CARTE_IGN'
    Active = True
    object T_CARTE_IGNCARTE_IGN_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'CARTE_IGN_CODE'
      Size = 5
    end
    object T_CARTE_IGNCARTE_IGN_NOM: TStringField
      DisplayLabel = 'Nom'
      FieldName = 'CARTE_IGN_NOM'
      Size = 100
    end
    object T_CARTE_IGNCARTE_IGN_ECHELLE: TStringField
      DisplayLabel = 'Echelle'
      FieldName = 'CARTE_IGN_ECHELLE'
      Size = 20
    end
    object T_CARTE_IGNCARTE_IGN_SERIE: TWideStringField
      FieldName = 'CARTE_IGN_SERIE'
      Visible = False
      Size = 25
    end
  end
  object dsT_CARTE_IGN: TDataSource
    DataSet = T_CARTE_IGN
  end
  object T_TAXON_ANI: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from T_TAXON_ANI ORDER BY TAXON_THEME, TAXON_LATIN'
    Active = True
    object T_TAXON_ANITAXON_CODE: TIntegerField
      DisplayLabel = 'Code'
      FieldName = 'TAXON_CODE'
    end
    object T_TAXON_ANITAXON_THEME: TWideStringField
      DisplayLabel = 'Thème'
      FieldName = 'TAXON_THEME'
      Size = 50
    end
    object T_TAXON_ANITAXON_ORDRE: TWideStringField
      DisplayLabel = 'Ordre'
      FieldName = 'TAXON_ORDRE'
      Size = 100
    end
    object T_TAXON_ANITAXON_CLASSE: TWideStringField
      DisplayLabel = 'Classe'
      FieldName = 'TAXON_CLASSE'
      Size = 100
    end
    object T_TAXON_ANITAXON_FAMILLE: TWideStringField
      DisplayLabel = 'Famille'
      FieldName = 'TAXON_FAMILLE'
      Size = 100
    end
    object T_TAXON_ANITAXON_LATIN: TWideStringField
      DisplayLabel = 'Nom Latin'
      FieldName = 'TAXON_LATIN'
      Size = 100
    end
    object T_TAXON_ANITAXON_AUTEUR: TWideStringField
      DisplayLabel = 'Auteur'
      FieldName = 'TAXON_AUTEUR'
      Size = 100
    end
    object T_TAXON_ANITAXON_FR: TWideStringField
      DisplayLabel = 'Nom Français'
      FieldName = 'TAXON_FR'
      Size = 100
    end
    object T_TAXON_ANITAXON_PROT_NAT: TWideStringField
      DisplayLabel = 'Protection~nationale'
      FieldName = 'TAXON_PROT_NAT'
      Size = 50
    end
    object T_TAXON_ANITAXON_PROT_REG: TWideStringField
      DisplayLabel = 'Protection~régionale'
      FieldName = 'TAXON_PROT_REG'
      Size = 255
    end
    object T_TAXON_ANITAXON_ANNEXE_1: TWideStringField
      DisplayLabel = 'Directive~Oiseaux'
      FieldName = 'TAXON_ANNEXE_1'
      Size = 30
    end
    object T_TAXON_ANITAXON_ANNEXE_2: TWideStringField
      DisplayLabel = 'Directive~Habitat'
      FieldName = 'TAXON_ANNEXE_2'
      Size = 10
    end
    object T_TAXON_ANITAXON_FLG: TBooleanField
      DisplayLabel = 'Espèces~déterminates'
      FieldName = 'TAXON_FLG'
    end
    object T_TAXON_ANITAXON_LR: TWideStringField
      DisplayLabel = 'Liste rouge~France'
      FieldName = 'TAXON_LR'
      Size = 10
    end
  end
  object dsT_TAXON_ANI: TDataSource
    DataSet = T_TAXON_ANI
  end
  object T_TAXON_VEG: TADODataSet
    Connection = ADOConnection
    CursorType = ctStatic
    CommandText = 'select * from T_TAXON_VEG ORDER BY TAXON_THEME, TAXON_LATIN'
    Active = True
    object T_TAXON_VEGTAXON_CODE: TIntegerField
      DisplayLabel = 'Code'
      FieldName = 'TAXON_CODE'
    end
    object T_TAXON_VEGTAXON_THEME: TWideStringField
      DisplayLabel = 'Thème'
      FieldName = 'TAXON_THEME'
      Size = 50
    end
    object T_TAXON_VEGTAXON_ORDRE: TWideStringField
      DisplayLabel = 'Ordre'
      FieldName = 'TAXON_ORDRE'
      Size = 100
    end
    object T_TAXON_VEGTAXON_CLASSE: TWideStringField
      DisplayLabel = 'Classe'
      FieldName = 'TAXON_CLASSE'
      Size = 100
    end
    object T_TAXON_VEGTAXON_FAMILLE: TWideStringField
      DisplayLabel = 'Famille'
      FieldName = 'TAXON_FAMILLE'
      Size = 100
    end
    object T_TAXON_VEGTAXON_LATIN: TWideStringField
      DisplayLabel = 'Nom Latin'
      FieldName = 'TAXON_LATIN'
      Size = 100
    end
    object T_TAXON_VEGTAXON_AUTEUR: TWideStringField
      DisplayLabel = 'Auteur'
      FieldName = 'TAXON_AUTEUR'
      Size = 100
    end
    object T_TAXON_VEGTAXON_FR: TWideStringField
      DisplayLabel = 'Nom Français'
      FieldName = 'TAXON_FR'
      Size = 100
    end
    object T_TAXON_VEGTAXON_PROT_NAT: TWideStringField
      DisplayLabel = 'Protection nationale'
      FieldName = 'TAXON_PROT_NAT'
      Size = 50
    end
    object T_TAXON_VEGTAXON_PROT_REG: TWideStringField
      DisplayLabel = 'Protection regionale'
      FieldName = 'TAXON_PROT_REG'
      Size = 255
    end
    object T_TAXON_VEGTAXON_ANNEXE_2: TWideStringField
      DisplayLabel = 'Directive Habitat'
      FieldName = 'TAXON_ANNEXE_2'
      Size = 30
    end
    object T_TAXON_VEGTAXON_FLG: TBooleanField
      FieldName = 'TAXON_FLG'
    end
    object T_TAXON_VEGTAXON_LR: TWideStringField
      DisplayLabel = 'Liste rouge France'
      FieldName = 'TAXON_LR'
      Size = 10
    end
  end
  object dsT_TAXON_VEG: TDataSource
    DataSet = T_TAXON_VEG
  end
  object qINT_FONCT_HYDRO: TADOQuery
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from D_INT_FONCT where IFZ_TYPE = ''2'' ORDER BY IFZ_CODE')
    Active = True
  end
  object qINT_FONCT_BIO: TADOQuery
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from D_INT_FONCT where IFZ_TYPE = ''1'' ORDER BY IFZ_CODE')
    Active = True
  end
  object qTypeEntree: TADOQuery
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from D_TYPE_ES where TYPE_ES_FLGENTREE = TRUE order by val(TYPE_ES_CODE)')
    Active = True
  end
  object qTypeSortie: TADOQuery
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from D_TYPE_ES where TYPE_ES_FLGSORTIE = TRUE order by val(TYPE_ES_CODE)')
    Active = True
  end
  object qTypeInventaire: TADOQuery
    CacheSize = 20
    ExecuteOptions = [eoAsyncFetch, eoAsyncFetchNonBlocking]
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select INV_NATIONAL as code,INV_LIB as lib,''0'' as type from D_ZPS')
    Active = True
    object qTypeInventairecode: TStringField
      FieldName = 'code'
      Size = 9
    end
    object qTypeInventairelib: TStringField
      FieldName = 'lib'
      Size = 100
    end
    object qTypeInventairetype: TStringField
      FieldName = 'type'
      Visible = False
      Size = 20
    end
  end
  object qType1: TADOQuery
    CacheSize = 20
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select INV_NATIONAL as code,INV_LIB_ZNIEFF as lib,INV_TYPE_ZNIEFF as type from D_ZNIEFF where INV_GEN_ZNIEFF = ''1'' ORDER BY INV_NATIONAL')
    Active = True
    object qType1code: TStringField
      FieldName = 'code'
      Size = 9
    end
    object qType1lib: TStringField
      FieldName = 'lib'
      Size = 100
    end
    object qType1type: TStringField
      FieldName = 'type'
      Visible = False
      Size = 20
    end
  end
  object qType2: TADOQuery
    CacheSize = 20
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select INV_NATIONAL as code,INV_LIB_ZNIEFF as lib,INV_TYPE_ZNIEFF as type from D_ZNIEFF where INV_GEN_ZNIEFF = ''2'' ORDER BY INV_NATIONAL')
    Active = True
    object qType2code: TWideStringField
      FieldName = 'code'
      Size = 9
    end
    object qType2lib: TWideStringField
      FieldName = 'lib'
      Size = 255
    end
    object qType2type: TWideStringField
      FieldName = 'type'
      Size = 1
    end
  end
  object qType3: TADOQuery
    CacheSize = 20
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select INV_NATIONAL as code,INV_LIB_ZICO as lib,''0'' as type from D_ZICO')
    Active = True
    object qType3code: TStringField
      FieldName = 'code'
      Size = 9
    end
    object qType3lib: TStringField
      FieldName = 'lib'
      Size = 100
    end
    object qType3type: TStringField
      FieldName = 'type'
      Visible = False
      Size = 20
    end
  end
  object qType4: TADOQuery
    CacheSize = 20
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select INV_EUROP as code,INV_LIB as lib,''0'' as type from D_RAMSAR')
    Active = True
    object qType4code: TStringField
      FieldName = 'code'
      Size = 9
    end
    object qType4lib: TStringField
      FieldName = 'lib'
      Size = 100
    end
    object qType4type: TStringField
      FieldName = 'type'
      Visible = False
      Size = 20
    end
  end
  object qType5: TADOQuery
    CacheSize = 20
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select INV_NATIONAL as code,INV_LIB as lib,''0'' as type from D_PSIC')
    Active = True
    object qType5code: TStringField
      FieldName = 'code'
      Size = 9
    end
    object qType5lib: TStringField
      FieldName = 'lib'
      Size = 100
    end
    object qType5type: TStringField
      FieldName = 'type'
      Visible = False
      Size = 20
    end
  end
  object qType6: TADOQuery
    CacheSize = 20
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select INV_NATIONAL as code,INV_LIB as lib,''0'' as type from D_ZPS')
    Active = True
    object qType6code: TStringField
      FieldName = 'code'
      Size = 9
    end
    object qType6lib: TStringField
      FieldName = 'lib'
      Size = 100
    end
    object qType6type: TStringField
      FieldName = 'type'
      Visible = False
      Size = 20
    end
  end
  object qType7: TADOQuery
    CacheSize = 20
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select INV_NATIONAL as code,INV_LIB as lib,''0'' as type from D_ZPS WHERE INV_NATIONAL = ''0''')
    Active = True
    object qType7code: TStringField
      FieldName = 'code'
      Size = 9
    end
    object qType7lib: TStringField
      FieldName = 'lib'
      Size = 100
    end
    object qType7type: TStringField
      FieldName = 'type'
      Visible = False
      Size = 20
    end
  end
  object qListeZoneHumide: TADOQuery
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    AfterScroll = qListeZoneHumideAfterScroll
    SQL = (
      'select zh_code,zh_nom from T_Zone_Humide ORDER BY ZH_CODE')
    Active = True
    object qListeZoneHumidezh_code: TStringField
      DisplayLabel = 'Code'
      FieldName = 'zh_code'
      Size = 13
    end
    object qListeZoneHumidezh_nom: TStringField
      DisplayLabel = 'Nom'
      FieldName = 'zh_nom'
      Size = 100
    end
  end
  object dsqListeZoneHumide: TDataSource
    DataSet = qListeZoneHumide
  end
  object qDetailZoneHumide: TADODataSet
    EnableBCD = False
    Connection = ADOConnection
    CursorType = ctStatic
    AfterOpen = qDetailZoneHumideAfterOpen
    AfterScroll = qDetailZoneHumideAfterScroll
    OnCalcFields = qDetailZoneHumideCalcFields
    OnNewRecord = qDetailZoneHumideNewRecord
    CommandText = 'select * from T_ZONE_HUMIDE where ZH_CODE = '''''
    object qDetailZoneHumideZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Size = 13
    end
    object qDetailZoneHumideZH_NOM: TStringField
      FieldName = 'ZH_NOM'
      Size = 100
    end
    object qDetailZoneHumideZH_SYS_ALT: TStringField
      FieldName = 'ZH_SYS_ALT'
      Size = 2
    end
    object qDetailZoneHumideZH_CONNEXION: TStringField
      FieldName = 'ZH_CONNEXION'
      OnChange = qDetailZoneHumideZH_CONNEXIONChange
      Size = 1
    end
    object qDetailZoneHumideZH_STATUT: TStringField
      FieldName = 'ZH_STATUT'
      Size = 10
    end
    object qDetailZoneHumideZH_TYPE: TStringField
      FieldName = 'ZH_TYPE'
      Size = 1
    end
    object qDetailZoneHumideZH_FILIATION: TStringField
      FieldName = 'ZH_FILIATION'
      Size = 1
    end
    object qDetailZoneHumideZH_NOM_ENVELOPPE: TStringField
      FieldName = 'ZH_NOM_ENVELOPPE'
      Size = 100
    end
    object qDetailZoneHumideZH_CARTE: TMemoField
      FieldName = 'ZH_CARTE'
    end
    object qDetailZoneHumideZH_MENACE: TMemoField
      FieldName = 'ZH_MENACE'
    end
    object qDetailZoneHumideZH_DESC_PAYS: TMemoField
      FieldName = 'ZH_DESC_PAYS'
    end
    object qDetailZoneHumideZH_DESC_PAYS_AUTOUR: TMemoField
      FieldName = 'ZH_DESC_PAYS_AUTOUR'
    end
    object qDetailZoneHumideZH_ALTITUDE: TFloatField
      FieldName = 'ZH_ALTITUDE'
      DisplayFormat = '#'
      OnChange = qDetailZoneHumideZH_ALTITUDEChange
    end
    object qDetailZoneHumideZH_SUPERFICIE: TFloatField
      FieldName = 'ZH_SUPERFICIE'
      OnChange = qDetailZoneHumideZH_SUPERFICIEChange
    end
    object qDetailZoneHumideZH_PRECISION: TStringField
      FieldName = 'ZH_PRECISION'
      Size = 2
    end
    object qDetailZoneHumideZH_LONGUEUR: TFloatField
      FieldName = 'ZH_LONGUEUR'
      OnChange = qDetailZoneHumideZH_LONGUEURChange
    end
    object qDetailZoneHumideZH_FLGCANAUX: TBooleanField
      FieldName = 'ZH_FLGCANAUX'
    end
    object qDetailZoneHumideZH_FLGOUVRAGE: TBooleanField
      FieldName = 'ZH_FLGOUVRAGE'
    end
    object qDetailZoneHumideZH_COMMENTAIRE: TMemoField
      FieldName = 'ZH_COMMENTAIRE'
    end
    object qDetailZoneHumideZH_NBR_VEG: TFloatField
      FieldName = 'ZH_NBR_VEG'
    end
    object qDetailZoneHumideZH_INF_VEG: TMemoField
      FieldName = 'ZH_INF_VEG'
    end
    object qDetailZoneHumideZH_NBR_2_4: TFloatField
      FieldName = 'ZH_NBR_2_4'
    end
    object qDetailZoneHumideZH_NBR_OISEAU: TFloatField
      FieldName = 'ZH_NBR_OISEAU'
    end
    object qDetailZoneHumideZH_INF_ANIM: TMemoField
      FieldName = 'ZH_INF_ANIM'
    end
    object qDetailZoneHumideZH_NBR_HAB: TFloatField
      FieldName = 'ZH_NBR_HAB'
    end
    object qDetailZoneHumideZH_INF_HAB: TMemoField
      FieldName = 'ZH_INF_HAB'
    end
    object qDetailZoneHumideZH_DIAG_HYDRO: TStringField
      FieldName = 'ZH_DIAG_HYDRO'
      Size = 1
    end
    object qDetailZoneHumideZH_DIAG_PAT: TStringField
      FieldName = 'ZH_DIAG_PAT'
      Size = 1
    end
    object qDetailZoneHumideZH_FONCT_VAL: TMemoField
      FieldName = 'ZH_FONCT_VAL'
    end
    object qDetailZoneHumideZH_DIAG_HYDRO_REM: TMemoField
      FieldName = 'ZH_DIAG_HYDRO_REM'
    end
    object qDetailZoneHumideZH_DIAG_PAT_REM: TMemoField
      FieldName = 'ZH_DIAG_PAT_REM'
    end
    object qDetailZoneHumideZH_FREQUENCE: TStringField
      FieldName = 'ZH_FREQUENCE'
      Size = 1
    end
    object qDetailZoneHumideZH_ETENDUE: TStringField
      FieldName = 'ZH_ETENDUE'
      Size = 1
    end
    object qDetailZoneHumideZH_FLGMESURE: TBooleanField
      FieldName = 'ZH_FLGMESURE'
    end
    object qDetailZoneHumidelibConnexion: TStringField
      FieldKind = fkLookup
      FieldName = 'libConnexion'
      LookupDataSet = D_CONNEXION
      LookupKeyFields = 'CONNEXION_CODE'
      LookupResultField = 'CONNEXION_LIB'
      KeyFields = 'ZH_CONNEXION'
      Size = 50
    end
    object qDetailZoneHumidelibType: TStringField
      FieldKind = fkCalculated
      FieldName = 'libType'
      Size = 30
    end
    object qDetailZoneHumidelibFiliation: TStringField
      FieldKind = fkCalculated
      FieldName = 'libFiliation'
      Size = 20
    end
    object qDetailZoneHumidelibStatut: TStringField
      FieldKind = fkCalculated
      FieldName = 'libStatut'
      Size = 20
    end
    object qDetailZoneHumidelibPrecision: TStringField
      FieldKind = fkCalculated
      FieldName = 'libPrecision'
      Size = 20
    end
    object qDetailZoneHumidelibCot1: TStringField
      FieldKind = fkCalculated
      FieldName = 'libCot1'
      Size = 100
    end
    object qDetailZoneHumidelibCot2: TStringField
      FieldKind = fkCalculated
      FieldName = 'libCot2'
      Size = 100
    end
  end
  object dsQZoneHumide: TDataSource
    AutoEdit = False
    OnStateChange = dsQZoneHumideStateChange
    DataSet = qDetailZoneHumide
  end
  object qActHum2: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qActHum2PostError
    CommandText = 'select * from T_ACT_HUM_ZH2 where ZH_CODE = :ZH_CODE order by ACT_HUM_ZH_ORDRE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qActHum2ZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Size = 13
    end
    object qActHum2ACT_HUM_CODE: TStringField
      FieldName = 'ACT_HUM_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 2
    end
    object qActHum2ACT_HUM_ZH_ORDRE: TFloatField
      FieldName = 'ACT_HUM_ZH_ORDRE'
      Tag = 2
    end
    object qActHum2ACT_HUM_ZH_REM: TMemoField
      FieldName = 'ACT_HUM_ZH_REM'
    end
    object qActHum2libelle: TStringField
      FieldKind = fkLookup
      FieldName = 'libelle'
      LookupDataSet = D_ACT_HUM
      LookupKeyFields = 'ACT_HUM_CODE'
      LookupResultField = 'ACT_HUM_LIB'
      KeyFields = 'ACT_HUM_CODE'
      Tag = 1
      Size = 100
    end
  end
  object dsActHum2: TDataSource
    DataSet = qActHum2
  end
  object qActHum: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qActHumPostError
    CommandText = 'select * from T_ACT_HUM_ZH where ZH_CODE = :ZH_CODE order by ACT_HUM_ZH_ORDRE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qActHumZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Size = 13
    end
    object qActHumACT_HUM_CODE: TStringField
      FieldName = 'ACT_HUM_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 2
    end
    object qActHumACT_HUM_ZH_ORDRE: TFloatField
      FieldName = 'ACT_HUM_ZH_ORDRE'
      Tag = 2
    end
    object qActHumACT_HUM_ZH_REM: TMemoField
      FieldName = 'ACT_HUM_ZH_REM'
    end
    object qActHumlibelle: TStringField
      FieldKind = fkLookup
      FieldName = 'libelle'
      LookupDataSet = D_ACT_HUM
      LookupKeyFields = 'ACT_HUM_CODE'
      LookupResultField = 'ACT_HUM_LIB'
      KeyFields = 'ACT_HUM_CODE'
      Tag = 1
      Size = 100
    end
  end
  object dsActHum: TDataSource
    DataSet = qActHum
  end
  object qAlias: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    CommandText = 'select * from T_ALIAS where ZH_CODE = :ZH_CODE '
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qAliasZH_CODE: TWideStringField
      DisplayLabel = 'CODE ZH'
      FieldName = 'ZH_CODE'
      Size = 13
    end
    object qAliasALIAS_LIB: TWideStringField
      DisplayLabel = 'Libellé'
      FieldName = 'ALIAS_LIB'
      Size = 100
    end
  end
  object dsAlias: TDataSource
    DataSet = qAlias
  end
  object qCommune: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qCommunePostError
    CommandText = 'select * from T_COMMUNE_ZH where ZH_CODE = :ZH_CODE ORDER BY COM_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qCommuneREG: TStringField
      FieldKind = fkCalculated
      FieldName = 'REG'
      Size = 20
    end
    object qCommuneCOM_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'COM_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 5
    end
    object qCommuneLIBELLE: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Libelle'
      FieldName = 'LIBELLE'
      LookupDataSet = D_COMMUNE
      LookupKeyFields = 'COM_CODE'
      LookupResultField = 'COM_LIB'
      KeyFields = 'COM_CODE'
      Tag = 1
      Size = 50
    end
    object qCommuneZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
    object qCommuneLIBDEP: TStringField
      FieldKind = fkLookup
      FieldName = 'LIBDEP'
      LookupDataSet = D_COMMUNE
      LookupKeyFields = 'COM_CODE'
      LookupResultField = 'LIBDEP'
      KeyFields = 'COM_CODE'
      Size = 20
    end
    object qCommuneLIBREG: TStringField
      FieldKind = fkLookup
      FieldName = 'LIBREG'
      LookupDataSet = D_COMMUNE
      LookupKeyFields = 'COM_CODE'
      LookupResultField = 'LIBREG'
      KeyFields = 'COM_CODE'
      Size = 20
    end
  end
  object dsCommune: TDataSource
    DataSet = qCommune
  end
  object qCorineBio: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qCorineBioPostError
    CommandText = 'select * from T_CORINE_BIO_ZH  where ZH_CODE = :ZH_CODE ORDER BY TCB_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qCorineBioTCB_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'TCB_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 10
    end
    object qCorineBiolibelle: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom'
      FieldName = 'libelle'
      LookupDataSet = D_CORINE_BIO
      LookupKeyFields = 'TCB_CODE'
      LookupResultField = 'TCB_LIB'
      KeyFields = 'TCB_CODE'
      Tag = 1
      Size = 200
    end
    object qCorineBioTCB_FLG: TBooleanField
      DisplayLabel = 'Habitat déterminant'
      FieldName = 'TCB_FLG'
    end
    object qCorineBioZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsCorineBio: TDataSource
    DataSet = qCorineBio
  end
  object qDelCartoZh: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qDelCartoZhPostError
    CommandText = 'select * from T_DEL_CARTO_ZH where ZH_CODE = :ZH_CODE ORDER BY DEL_CARTO_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qDelCartoZhDEL_CARTO_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'DEL_CARTO_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 10
    end
    object qDelCartoZhlibelle: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom'
      FieldName = 'libelle'
      LookupDataSet = D_DEL_CARTO
      LookupKeyFields = 'DEL_CARTO_CODE'
      LookupResultField = 'DEL_CARTO_LIB'
      KeyFields = 'DEL_CARTO_CODE'
      Tag = 1
      Size = 100
    end
    object qDelCartoZhZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsDelCartoZh: TDataSource
    DataSet = qDelCartoZh
  end
  object qEntEau: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qEntEauPostError
    CommandText = 'select * from T_ENT_EAU_ZH where ZH_CODE = :ZH_CODE ORDER BY TYPE_ES_CODE, RES_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qEntEauTYPE_ES_CODE: TStringField
      DisplayLabel = 'Type'
      FieldName = 'TYPE_ES_CODE'
      Required = True
      OnChange = qEntEauTYPE_ES_CODEChange
      Size = 2
    end
    object qEntEaulibType: TStringField
      FieldKind = fkLookup
      DisplayLabel = ' '
      FieldName = 'libType'
      LookupDataSet = qTypeEntree
      LookupKeyFields = 'TYPE_ES_CODE'
      LookupResultField = 'TYPE_ES_LIB'
      KeyFields = 'TYPE_ES_CODE'
      Size = 100
    end
    object qEntEauRES_CODE: TStringField
      DisplayLabel = 'Permanence'
      FieldName = 'RES_CODE'
      Tag = 3
      OnChange = qSortieEauRES_CODEChange
      Size = 2
    end
    object qEntEaulibPermanence: TStringField
      FieldKind = fkLookup
      DisplayLabel = ' '
      FieldName = 'libPermanence'
      LookupDataSet = D_RYTHME_ES
      LookupKeyFields = 'RES_CODE'
      LookupResultField = 'RES_LIB'
      KeyFields = 'RES_CODE'
      Required = True
      Size = 100
    end
    object qEntEauZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsEntEau: TDataSource
    DataSet = qEntEau
  end
  object qEspAniDiren: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    OnPostError = qEspAniDirenPostError
    CommandText = 'select t.* from T_ESP_ANI_DIREN_ZH t , T_TAXON_ANI d where ZH_CODE = :ZH_CODE and t.TAXON_CODE= d.TAXON_CODE ORDER BY TAXON_THEME, TAXON_LATIN'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qEspAniDirenTAXON_CODE: TIntegerField
      DisplayLabel = 'Code'
      FieldName = 'TAXON_CODE'
      Visible = False
    end
    object qEspAniDirenZH_CODE: TWideStringField
      FieldName = 'ZH_CODE'
      Tag = 3
      Visible = False
      Size = 13
    end
    object qEspAniDirenlibTheme: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Thème'
      FieldName = 'libTheme'
      LookupDataSet = T_TAXON_ANI
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_THEME'
      KeyFields = 'TAXON_CODE'
      Size = 20
    end
    object qEspAniDirenlibLatin: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom~Latin'
      FieldName = 'libLatin'
      LookupDataSet = T_TAXON_ANI
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_LATIN'
      KeyFields = 'TAXON_CODE'
      Tag = 1
      Size = 20
    end
    object qEspAniDirenlibAuteur: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Auteur'
      FieldName = 'libAuteur'
      LookupDataSet = T_TAXON_ANI
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_AUTEUR'
      KeyFields = 'TAXON_CODE'
      Size = 20
    end
    object qEspAniDirenlibFR: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom~Français'
      FieldName = 'libFR'
      LookupDataSet = T_TAXON_ANI
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_FR'
      KeyFields = 'TAXON_CODE'
      Size = 20
    end
    object qEspAniDirenlibProtNat: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Protection~nationale'
      FieldName = 'libProtNat'
      LookupDataSet = T_TAXON_ANI
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_PROT_NAT'
      KeyFields = 'TAXON_CODE'
      Size = 20
    end
    object qEspAniDirenlibProtReg: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Protection~regionale'
      FieldName = 'libProtReg'
      LookupDataSet = T_TAXON_ANI
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_PROT_REG'
      KeyFields = 'TAXON_CODE'
      Size = 20
    end
    object qEspAniDirenlibAnnexe1: TStringField
      FieldKind = fkLookup
      FieldName = 'libAnnexe1'
      LookupDataSet = T_TAXON_ANI
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_ANNEXE_1'
      KeyFields = 'TAXON_CODE'
      Size = 20
    end
    object qEspAniDirenlibAnnexe2: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Directive~Habitats'
      FieldName = 'libAnnexe2'
      LookupDataSet = T_TAXON_ANI
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_ANNEXE_2'
      KeyFields = 'TAXON_CODE'
      Size = 20
    end
    object qEspAniDirenlibFLG: TBooleanField
      FieldKind = fkLookup
      DisplayLabel = 'Espèces~déterminates'
      FieldName = 'libFLG'
      LookupDataSet = T_TAXON_ANI
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_FLG'
      KeyFields = 'TAXON_CODE'
    end
    object qEspAniDirenlibLR: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Liste rouge~France'
      FieldName = 'libLR'
      LookupDataSet = T_TAXON_ANI
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_LR'
      KeyFields = 'TAXON_CODE'
      Size = 20
    end
    object qEspAniDirenlibOrdre: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Ordre'
      FieldName = 'libOrdre'
      LookupDataSet = T_TAXON_ANI
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_ORDRE'
      KeyFields = 'TAXON_CODE'
      Visible = False
      Size = 20
    end
    object qEspAniDirenlibClasse: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Classe'
      FieldName = 'libClasse'
      LookupDataSet = T_TAXON_ANI
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_CLASSE'
      KeyFields = 'TAXON_CODE'
      Visible = False
      Size = 20
    end
    object qEspAniDirenlibFamille: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Famille'
      FieldName = 'libFamille'
      LookupDataSet = T_TAXON_ANI
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_FAMILLE'
      KeyFields = 'TAXON_CODE'
      Visible = False
      Size = 20
    end
    object qEspAniDirenTAXON_FLG_CRIT: TBooleanField
      FieldName = 'TAXON_FLG_CRIT'
    end
  end
  object dsEspAniDiren: TDataSource
    DataSet = qEspAniDiren
  end
  object qEspAni: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qEspAniPostError
    CommandText = 'select t.* from T_ESP_ANI_ZH t ,D_TAXON d where ZH_CODE = :ZH_CODE and t.TAXON_CODE= d.TAXON_CODE ORDER BY TAXON_THEME, TAXON_LATIN'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qEspAnilibelle: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Thème'
      FieldName = 'libelle'
      LookupDataSet = D_TAXON
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_THEME'
      KeyFields = 'TAXON_CODE'
      Size = 100
    end
    object qEspAnilibLatin: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom Latin'
      FieldName = 'libLatin'
      LookupDataSet = D_TAXON
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_LATIN'
      KeyFields = 'TAXON_CODE'
      Tag = 1
      Size = 100
    end
    object qEspAnilibFr: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom Français'
      FieldName = 'libFr'
      LookupDataSet = D_TAXON
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_FR'
      KeyFields = 'TAXON_CODE'
      Size = 100
    end
    object qEspAniTAXON_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'TAXON_CODE'
      Tag = 3
      Required = True
      Visible = False
      OnChange = qCorineBioTCB_CODEChange
      Size = 10
    end
    object qEspAniZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsEspAni: TDataSource
    DataSet = qEspAni
  end
  object qEspVegDiren: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    OnPostError = qEspVegDirenPostError
    CommandText = 'select t.* from T_ESP_VEG_DIREN_ZH t , T_TAXON_VEG d where ZH_CODE = :ZH_CODE and t.TAXON_CODE= d.TAXON_CODE ORDER BY TAXON_THEME, TAXON_LATIN'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qEspVegDirenTAXON_CODE: TIntegerField
      DisplayLabel = 'Code'
      FieldName = 'TAXON_CODE'
      Visible = False
    end
    object qEspVegDirenZH_CODE: TWideStringField
      FieldName = 'ZH_CODE'
      Tag = 3
      Visible = False
      Size = 13
    end
    object qEspVegDirenlibTheme: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Thème'
      FieldName = 'libTheme'
      LookupDataSet = T_TAXON_VEG
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_THEME'
      KeyFields = 'TAXON_CODE'
      Size = 20
    end
    object qEspVegDirenlibLatin: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom~Latin'
      FieldName = 'libLatin'
      LookupDataSet = T_TAXON_VEG
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_LATIN'
      KeyFields = 'TAXON_CODE'
      Tag = 1
      Size = 20
    end
    object qEspVegDirenlibAuteur: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Auteur'
      FieldName = 'libAuteur'
      LookupDataSet = T_TAXON_VEG
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_AUTEUR'
      KeyFields = 'TAXON_CODE'
      Size = 20
    end
    object qEspVegDirenlibFR: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom~Français'
      FieldName = 'libFR'
      LookupDataSet = T_TAXON_VEG
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_FR'
      KeyFields = 'TAXON_CODE'
      Size = 20
    end
    object qEspVegDirenlibProtNat: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Protection~nationale'
      FieldName = 'libProtNat'
      LookupDataSet = T_TAXON_VEG
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_PROT_NAT'
      KeyFields = 'TAXON_CODE'
      Size = 20
    end
    object qEspVegDirenlibProtReg: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Protection~régionale'
      FieldName = 'libProtReg'
      LookupDataSet = T_TAXON_VEG
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_PROT_REG'
      KeyFields = 'TAXON_CODE'
      Size = 20
    end
    object qEspVegDirenlibHabitat: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Directive~Habitat'
      FieldName = 'libHabitat'
      LookupDataSet = T_TAXON_VEG
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_ANNEXE_2'
      KeyFields = 'TAXON_CODE'
      Size = 20
    end
    object qEspVegDirenlibFLG: TBooleanField
      FieldKind = fkLookup
      DisplayLabel = 'Espèces~déterminates'
      FieldName = 'libFLG'
      LookupDataSet = T_TAXON_VEG
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_FLG'
      KeyFields = 'TAXON_CODE'
    end
    object qEspVegDirenlibLR: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Liste rouge~France'
      FieldName = 'libLR'
      LookupDataSet = T_TAXON_VEG
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_LR'
      KeyFields = 'TAXON_CODE'
      Size = 20
    end
    object qEspVegDirenlibOrdre: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Ordre'
      FieldName = 'libOrdre'
      LookupDataSet = T_TAXON_VEG
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_ORDRE'
      KeyFields = 'TAXON_CODE'
      Visible = False
      Size = 20
    end
    object qEspVegDirenlibClasse: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Classe'
      FieldName = 'libClasse'
      LookupDataSet = T_TAXON_VEG
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_CLASSE'
      KeyFields = 'TAXON_CODE'
      Visible = False
      Size = 20
    end
    object qEspVegDirenlibFamille: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Famille'
      FieldName = 'libFamille'
      LookupDataSet = T_TAXON_VEG
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_FAMILLE'
      KeyFields = 'TAXON_CODE'
      Visible = False
      Size = 20
    end
    object qEspVegDirenTAXON_FLG_CRIT: TBooleanField
      FieldName = 'TAXON_FLG_CRIT'
    end
  end
  object dsEspVegDiren: TDataSource
    DataSet = qEspVegDiren
  end
  object qEspVeg: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qEspVegPostError
    CommandText = 'select t.* from T_ESP_VEG_ZH t ,D_TAXON d where ZH_CODE = :ZH_CODE and t.TAXON_CODE= d.TAXON_CODE ORDER BY TAXON_THEME, TAXON_LATIN'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qEspVeglibelle: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Thème'
      FieldName = 'libelle'
      LookupDataSet = D_TAXON
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_THEME'
      KeyFields = 'TAXON_CODE'
      Size = 100
    end
    object qEspVeglibLatin: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom Latin'
      FieldName = 'libLatin'
      LookupDataSet = D_TAXON
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_LATIN'
      KeyFields = 'TAXON_CODE'
      Tag = 1
      Size = 100
    end
    object qEspVeglibFr: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom Français'
      FieldName = 'libFr'
      LookupDataSet = D_TAXON
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_FR'
      KeyFields = 'TAXON_CODE'
      Size = 100
    end
    object qEspVegTAXON_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'TAXON_CODE'
      Tag = 3
      Visible = False
      OnChange = qCorineBioTCB_CODEChange
      Size = 10
    end
    object qEspVegZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsEspVeg: TDataSource
    DataSet = qEspVeg
  end
  object qFactInf2: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qFactInf2PostError
    CommandText = 'select * from T_FACT_INF_ZH2 where ZH_CODE = :ZH_CODE order by FSZ_ORDRE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qFactInf2FAI_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'FAI_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 10
    end
    object qFactInf2libelle: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Libellé'
      FieldName = 'libelle'
      LookupDataSet = D_FACT_INF
      LookupKeyFields = 'FAI_CODE'
      LookupResultField = 'FAI_LIB'
      KeyFields = 'FAI_CODE'
      Tag = 1
      Size = 200
    end
    object qFactInf2FSZ_ORDRE: TFloatField
      DisplayLabel = 'Rang'
      FieldName = 'FSZ_ORDRE'
      Tag = 2
    end
    object qFactInf2ZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsFactInf2: TDataSource
    DataSet = qFactInf2
  end
  object qFactInf: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qFactInfPostError
    CommandText = 'select * from T_FACT_INF_ZH1 where ZH_CODE = :ZH_CODE order by FSZ_ORDRE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qFactInfFAI_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'FAI_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 10
    end
    object qFactInflibelle: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Libellé'
      FieldName = 'libelle'
      LookupDataSet = D_FACT_INF
      LookupKeyFields = 'FAI_CODE'
      LookupResultField = 'FAI_LIB'
      KeyFields = 'FAI_CODE'
      Tag = 1
      Size = 200
    end
    object qFactInfFSZ_ORDRE: TFloatField
      DisplayLabel = 'Rang'
      FieldName = 'FSZ_ORDRE'
      Tag = 2
    end
    object qFactInfZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsFactInf: TDataSource
    DataSet = qFactInf
  end
  object qFonctBio: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qFonctBioPostError
    CommandText = 'select * from T_FONCT_BIO_ZH where ZH_CODE = :ZH_CODE order by FBZ_ORDRE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qFonctBioZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Size = 13
    end
    object qFonctBioIFZ_CODE: TStringField
      FieldName = 'IFZ_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 2
    end
    object qFonctBioFBZ_ORDRE: TFloatField
      FieldName = 'FBZ_ORDRE'
      Tag = 2
    end
    object qFonctBioFBZ_REM: TMemoField
      FieldName = 'FBZ_REM'
    end
    object qFonctBiolibelle: TStringField
      FieldKind = fkLookup
      FieldName = 'libelle'
      LookupDataSet = qINT_FONCT_BIO
      LookupKeyFields = 'IFZ_CODE'
      LookupResultField = 'IFZ_LIB'
      KeyFields = 'IFZ_CODE'
      Tag = 1
      Size = 100
    end
  end
  object dsFonctBio: TDataSource
    DataSet = qFonctBio
  end
  object qFonctHydro: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qFonctHydroPostError
    CommandText = 'select * from T_FONCT_HYDRO_ZH where ZH_CODE = :ZH_CODE ORDER BY FHZ_RANG'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qFonctHydroIFZ_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'IFZ_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 2
    end
    object qFonctHydrolibelle: TStringField
      FieldKind = fkLookup
      FieldName = 'libelle'
      LookupDataSet = qINT_FONCT_HYDRO
      LookupKeyFields = 'IFZ_CODE'
      LookupResultField = 'IFZ_LIB'
      KeyFields = 'IFZ_CODE'
      Tag = 1
      Size = 100
    end
    object qFonctHydroFHZ_RANG: TFloatField
      DisplayLabel = 'Rang'
      FieldName = 'FHZ_RANG'
      Tag = 2
    end
    object qFonctHydroZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsFonctHydro: TDataSource
    DataSet = qFonctHydro
  end
  object qHabitat: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qHabitatPostError
    CommandText = 'select * from T_HABITAT_ZH where ZH_CODE = :ZH_CODE ORDER BY HABITAT_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qHabitatHABITAT_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'HABITAT_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 10
    end
    object qHabitatlibelle: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Libellé'
      FieldName = 'libelle'
      LookupDataSet = D_HABITAT
      LookupKeyFields = 'HABITAT_CODE'
      LookupResultField = 'HABITAT_LIB'
      KeyFields = 'HABITAT_CODE'
      Tag = 1
      Size = 200
    end
    object qHabitatZh_CODE: TStringField
      FieldName = 'Zh_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsHabitat: TDataSource
    DataSet = qHabitat
  end
  object qHistorique: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnCalcFields = qHistoriqueCalcFields
    OnNewRecord = qHistoriqueNewRecord
    CommandText = 'select * from T_HISTORIQUE where ZH_CODE = :ZH_CODE order by HISTO_DATE desc'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qHistoriqueZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
    object qHistoriqueHISTO_DATE: TDateTimeField
      FieldName = 'HISTO_DATE'
      Required = True
      Visible = False
    end
    object qHistoriqueACTION_CODE: TStringField
      FieldName = 'ACTION_CODE'
      Visible = False
      Size = 1
    end
    object qHistoriqueHISTO_AUTEUR: TStringField
      FieldName = 'HISTO_AUTEUR'
      Visible = False
      Size = 80
    end
    object qHistoriqueHISTO_ORGANISME: TStringField
      FieldName = 'HISTO_ORGANISME'
      Visible = False
      Size = 100
    end
    object qHistoriqueaction: TStringField
      FieldKind = fkLookup
      FieldName = 'action'
      LookupDataSet = D_TYPE_ACTIONS
      LookupKeyFields = 'ACTION_CODE'
      LookupResultField = 'ACTION_LIB'
      KeyFields = 'ACTION_CODE'
      Visible = False
      Size = 20
    end
    object qHistoriquelibDate: TStringField
      FieldKind = fkCalculated
      FieldName = 'libDate'
      Size = 20
    end
  end
  object dsHistorique: TDataSource
    DataSet = qHistorique
  end
  object qIGN: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qIGNPostError
    CommandText = 'select * from T_IGN where ZH_CODE = :ZH_CODE ORDER BY CARTE_IGN_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qIGNCARTE_IGN_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'CARTE_IGN_CODE'
      Tag = 3
      Required = True
      OnChange = qIGNCARTE_IGN_CODEChange
      Size = 5
    end
    object qIGNCARTE_IGN_NOM: TStringField
      DisplayLabel = 'Nom'
      FieldName = 'CARTE_IGN_NOM'
      Size = 100
    end
    object qIGNCARTE_IGN_ECHELLE: TStringField
      DisplayLabel = 'Echelle'
      FieldName = 'CARTE_IGN_ECHELLE'
      Tag = 1
      Size = 20
    end
    object qIGNCARTE_IGN_SERIE: TWideStringField
      DisplayLabel = 'Série'
      FieldName = 'CARTE_IGN_SERIE'
      Size = 25
    end
    object qIGNZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsIGN: TDataSource
    DataSet = qIGN
  end
  object qInstContFinacier: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qInstContFinacierPostError
    CommandText = 'select * from T_INST_CF_ZH where ZH_CODE = :ZH_CODE ORDER BY ICF_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qInstContFinacierZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Size = 13
    end
    object qInstContFinacierICF_CODE: TStringField
      FieldName = 'ICF_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 2
    end
    object qInstContFinacierICZ_DATE: TDateTimeField
      FieldName = 'ICZ_DATE'
      OnGetText = qInstContFinacierICZ_DATEGetText
      OnSetText = qInstContFinacierICZ_DATESetText
    end
    object qInstContFinacierICZ_DUREE: TStringField
      FieldName = 'ICZ_DUREE'
      Size = 50
    end
    object qInstContFinacierICZ_REM: TMemoField
      FieldName = 'ICZ_REM'
    end
    object qInstContFinacierlibelle: TStringField
      FieldKind = fkLookup
      FieldName = 'libelle'
      LookupDataSet = D_INST_CF
      LookupKeyFields = 'ICF_CODE'
      LookupResultField = 'ICF_LIB'
      KeyFields = 'ICF_CODE'
      Tag = 1
      Size = 100
    end
  end
  object dsInstContFinacier: TDataSource
    DataSet = qInstContFinacier
  end
  object qInventaire: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnCalcFields = qInventaireCalcFields
    OnPostError = qInventairePostError
    CommandText = 'select * from T_INVENTAIRE where ZH_CODE = :ZH_CODE order by INV_TYPE, INV_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qInventaireZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Size = 13
    end
    object qInventaireINV_TYPE_ZNIEFF: TWideStringField
      FieldName = 'INV_TYPE_ZNIEFF'
      Size = 1
    end
    object qInventaireINV_TYPE: TStringField
      FieldName = 'INV_TYPE'
      OnChange = qInventaireINV_TYPEChange
      Size = 2
    end
    object qInventaireINV_CODE: TStringField
      FieldName = 'INV_CODE'
      Tag = 3
      OnChange = qInventaireINV_CODEChange
      Size = 10
    end
    object qInventaireINV_LIB: TStringField
      FieldName = 'INV_LIB'
      Size = 200
    end
    object qInventaireINV_COUV: TStringField
      FieldName = 'INV_COUV'
      Size = 100
    end
    object qInventairelibCode: TStringField
      FieldKind = fkCalculated
      FieldName = 'libCode'
      Size = 200
    end
  end
  object dsInventaire: TqvDataSource
    DataSet = qInventaire
  end
  object qMesureProtAqua: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qMesureProtAquaPostError
    CommandText = 'select *  from T_MES_PROT_MA where ZH_CODE = :ZH_CODE ORDER BY MMA_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qMesureProtAquaZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Size = 13
    end
    object qMesureProtAquaMEN_CODE: TStringField
      FieldName = 'MEN_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 3
    end
    object qMesureProtAquaMMA_CODE: TFloatField
      FieldName = 'MMA_CODE'
      Tag = 2
    end
    object qMesureProtAquaMMA_REM: TMemoField
      FieldName = 'MMA_REM'
    end
    object qMesureProtAqualibelle: TStringField
      FieldKind = fkLookup
      FieldName = 'libelle'
      LookupDataSet = D_MES_PROT_EN
      LookupKeyFields = 'MEN_CODE'
      LookupResultField = 'MEN_LIB'
      KeyFields = 'MEN_CODE'
      Tag = 1
      Size = 100
    end
  end
  object dsMesureProtAqua: TDataSource
    DataSet = qMesureProtAqua
  end
  object qMesureProt: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qMesureProtPostError
    CommandText = 'select * from T_MES_PROT_ZH where ZH_CODE = :ZH_CODE ORDER BY MEN_ORDRE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qMesureProtZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Size = 13
    end
    object qMesureProtMEN_CODE: TStringField
      FieldName = 'MEN_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 3
    end
    object qMesureProtMEN_ORDRE: TFloatField
      FieldName = 'MEN_ORDRE'
      Tag = 2
    end
    object qMesureProtMEZ_REM: TMemoField
      FieldName = 'MEZ_REM'
    end
    object qMesureProtlibelle: TStringField
      FieldKind = fkLookup
      FieldName = 'libelle'
      LookupDataSet = D_MES_PROT_EN
      LookupKeyFields = 'MEN_CODE'
      LookupResultField = 'MEN_LIB'
      KeyFields = 'MEN_CODE'
      Tag = 1
      Size = 100
    end
  end
  object dsMesureProt: TDataSource
    DataSet = qMesureProt
  end
  object qOiseaux: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qOiseauxPostError
    CommandText = 'select t.* from T_OISEAUX_ZH t ,D_TAXON d where ZH_CODE = :ZH_CODE and t.TAXON_CODE= d.TAXON_CODE ORDER BY TAXON_LATIN'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qOiseauxlibLatin: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom Latin'
      FieldName = 'libLatin'
      LookupDataSet = D_TAXON
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_LATIN'
      KeyFields = 'TAXON_CODE'
      Tag = 1
      Size = 100
    end
    object qOiseauxlibFr: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom Français'
      FieldName = 'libFr'
      LookupDataSet = D_TAXON
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_FR'
      KeyFields = 'TAXON_CODE'
      Size = 100
    end
    object qOiseauxlibelle: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Thème'
      FieldName = 'libelle'
      LookupDataSet = D_TAXON
      LookupKeyFields = 'TAXON_CODE'
      LookupResultField = 'TAXON_THEME'
      KeyFields = 'TAXON_CODE'
      Visible = False
      Size = 100
    end
    object qOiseauxTAXON_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'TAXON_CODE'
      Tag = 3
      Required = True
      Visible = False
      OnChange = qCorineBioTCB_CODEChange
      Size = 10
    end
    object qOiseauxZh_CODE: TStringField
      FieldName = 'Zh_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsOiseaux: TDataSource
    DataSet = qOiseaux
  end
  object qOrientZH: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    CommandText = 'select * from T_ORIENT_ZH where ZH_CODE = :ZH_CODE order by ORZ_RANG'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qOrientZHZH_CODE: TWideStringField
      FieldName = 'ZH_CODE'
      Size = 13
    end
    object qOrientZHORZ_RECOM: TMemoField
      FieldName = 'ORZ_RECOM'
    end
    object qOrientZHORZ_MODAL: TMemoField
      FieldName = 'ORZ_MODAL'
    end
    object qOrientZHORZ_RANG: TFloatField
      FieldName = 'ORZ_RANG'
      Tag = 2
    end
  end
  object dsOrientZH: TDataSource
    DataSet = qOrientZH
  end
  object qQualiteEau: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    CommandText = 'select * from T_QUALITE_EAU_ZH where ZH_CODE = :ZH_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qQualiteEauZH_CODE: TWideStringField
      FieldName = 'ZH_CODE'
      Size = 13
    end
    object qQualiteEauQU_LOC_MES: TWideStringField
      FieldName = 'QU_LOC_MES'
      Size = 100
    end
    object qQualiteEauQU_NAT_MESURES: TWideStringField
      FieldName = 'QU_NAT_MESURES'
      Size = 100
    end
  end
  object dsQualiteEau: TDataSource
    DataSet = qQualiteEau
  end
  object qRefBiblio: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    CommandText = 'select * from T_REF_BIBLIO where ZH_CODE = :ZH_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qRefBiblioZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Size = 13
    end
    object qRefBiblioREF_TITRE: TStringField
      FieldName = 'REF_TITRE'
      Tag = 3
      OnChange = qRefBiblioREF_TITREChange
      Size = 100
    end
    object qRefBiblioREF_AUTEUR: TStringField
      FieldName = 'REF_AUTEUR'
      Tag = 3
      OnChange = qRefBiblioREF_AUTEURChange
      Size = 80
    end
    object qRefBiblioREF_ANNEE: TDateTimeField
      FieldName = 'REF_ANNEE'
      Tag = 3
      DisplayFormat = 'yyyy'
      OnChange = qRefBiblioREF_ANNEEChange
      OnSetText = qRefBiblioREF_ANNEESetText
    end
  end
  object dsRefBiblio: TDataSource
    DataSet = qRefBiblio
  end
  object qSDAGEPrincipale: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    BeforePost = qSDAGEPrincipaleBeforePost
    OnPostError = qSDAGEPrincipalePostError
    CommandText = 'select * from T_SDAGE_ZH where ZH_CODE = :ZH_CODE and SDZ_TYPO = TRUE ORDER BY TSD_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qSDAGEPrincipaleTSD_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'TSD_CODE'
      Tag = 3
      Required = True
      Size = 2
    end
    object qSDAGEPrincipalelibelle: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom'
      FieldName = 'libelle'
      LookupDataSet = D_SDAGE
      LookupKeyFields = 'TSD_CODE'
      LookupResultField = 'TSD_LIB'
      KeyFields = 'TSD_CODE'
      Tag = 1
      Size = 100
    end
    object qSDAGEPrincipaleZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
    object qSDAGEPrincipaleSDZ_TYPO: TBooleanField
      DefaultExpression = '1'
      FieldName = 'SDZ_TYPO'
      Visible = False
    end
  end
  object dsSDAGEPrincipale: TDataSource
    DataSet = qSDAGEPrincipale
  end
  object qSDAGE: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qSDAGEPostError
    CommandText = 'select * from T_SDAGE_ZH where ZH_CODE = :ZH_CODE and SDZ_TYPO = FALSE ORDER BY TSD_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qSDAGETSD_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'TSD_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 2
    end
    object qSDAGElibelle: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom'
      FieldName = 'libelle'
      LookupDataSet = D_SDAGE
      LookupKeyFields = 'TSD_CODE'
      LookupResultField = 'TSD_LIB'
      KeyFields = 'TSD_CODE'
      Tag = 1
      Size = 100
    end
    object qSDAGESDZ_TYPO: TBooleanField
      DefaultExpression = 'false'
      FieldName = 'SDZ_TYPO'
      Visible = False
    end
    object qSDAGEZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsSDAGE: TDataSource
    DataSet = qSDAGE
  end
  object qSortieEau: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qSortieEauPostError
    CommandText = 'select * from T_SORTIE_EAU_ZH where ZH_CODE = :ZH_CODE ORDER BY TYPE_ES_CODE, RES_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qSortieEauTYPE_ES_CODE: TStringField
      DisplayLabel = 'Type'
      FieldName = 'TYPE_ES_CODE'
      Required = True
      OnChange = qEntEauTYPE_ES_CODEChange
      Size = 2
    end
    object qSortieEaulibType: TStringField
      FieldKind = fkLookup
      DisplayLabel = ' '
      FieldName = 'libType'
      LookupDataSet = qTypeSortie
      LookupKeyFields = 'TYPE_ES_CODE'
      LookupResultField = 'TYPE_ES_LIB'
      KeyFields = 'TYPE_ES_CODE'
      Size = 100
    end
    object qSortieEauRES_CODE: TStringField
      DisplayLabel = 'Permanence'
      DefaultExpression = '0'
      FieldName = 'RES_CODE'
      Tag = 3
      OnChange = qSortieEauRES_CODEChange
      Size = 2
    end
    object qSortieEaulibPermanence: TStringField
      FieldKind = fkLookup
      DisplayLabel = ' '
      FieldName = 'libPermanence'
      LookupDataSet = D_RYTHME_ES
      LookupKeyFields = 'RES_CODE'
      LookupResultField = 'RES_LIB'
      KeyFields = 'RES_CODE'
      Size = 100
    end
    object qSortieEauZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsSortieEau: TDataSource
    DataSet = qSortieEau
  end
  object qStatutFoncier: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qStatutFoncierPostError
    CommandText = 'select * from T_STATUT_FONC_ZH where ZH_CODE = :ZH_CODE ORDER BY SFZ_ORDRE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qStatutFoncierZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Size = 13
    end
    object qStatutFoncierSFO_CODE: TStringField
      FieldName = 'SFO_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 2
    end
    object qStatutFoncierSFZ_ORDRE: TFloatField
      FieldName = 'SFZ_ORDRE'
      Tag = 2
    end
    object qStatutFoncierSFZ_REM: TMemoField
      FieldName = 'SFZ_REM'
    end
    object qStatutFoncierlibelle: TStringField
      FieldKind = fkLookup
      FieldName = 'libelle'
      LookupDataSet = D_STATUT_FONC
      LookupKeyFields = 'SFO_CODE'
      LookupResultField = 'SFO_LIB'
      KeyFields = 'SFO_CODE'
      Tag = 1
      Size = 100
    end
  end
  object dsStatutFoncier: TDataSource
    DataSet = qStatutFoncier
  end
  object qSysAquiZH: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    CommandText = 'select * from T_SYS_AQUI_ZH where ZH_CODE = :ZH_CODE ORDER BY ENT_HYDRO_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qSysAquiZHENT_HYDRO_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'ENT_HYDRO_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 17
    end
    object qSysAquiZHlibelle: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom'
      FieldName = 'libelle'
      LookupDataSet = D_ENT_HYDRO
      LookupKeyFields = 'ENT_HYDRO_CODE'
      LookupResultField = 'ENT_HYDRO_LIB'
      KeyFields = 'ENT_HYDRO_CODE'
      Tag = 1
      Size = 200
    end
    object qSysAquiZHZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsSysAquiZH: TDataSource
    DataSet = qSysAquiZH
  end
  object qTypoPhy: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qTypoPhyPostError
    CommandText = 'select * from T_TYPO_PHY_ZH where ZH_CODE = :ZH_CODE ORDER BY TPC_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qTypoPhyTPC_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'TPC_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 5
    end
    object qTypoPhylibelle: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom'
      FieldName = 'libelle'
      LookupDataSet = D_TYPO_PHY
      LookupKeyFields = 'TPC_CODE'
      LookupResultField = 'TPC_LIB'
      KeyFields = 'TPC_CODE'
      Tag = 1
      Size = 100
    end
    object qTypoPhyZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsTypoPhy: TDataSource
    DataSet = qTypoPhy
  end
  object qValSE: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qValSEPostError
    CommandText = 'select * from T_VAL_SE_ZH where ZH_CODE = :ZH_CODE order by VSZ_ORDRE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qValSEZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Size = 13
    end
    object qValSEVAL_SE_CODE: TStringField
      FieldName = 'VAL_SE_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 2
    end
    object qValSEVSZ_ORDRE: TFloatField
      FieldName = 'VSZ_ORDRE'
      Tag = 2
    end
    object qValSEVSZ_REM: TMemoField
      FieldName = 'VSZ_REM'
    end
    object qValSElibelle: TStringField
      FieldKind = fkLookup
      FieldName = 'libelle'
      LookupDataSet = D_VAL_SE
      LookupKeyFields = 'VAL_SE_CODE'
      LookupResultField = 'VAL_SE_LIB'
      KeyFields = 'VAL_SE_CODE'
      Tag = 1
      Size = 100
    end
  end
  object dsValSE: TDataSource
    DataSet = qValSE
  end
  object qZoneHydroZh: TADODataSet
    Tag = 6
    Connection = ADOConnection
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    BeforeInsert = qCorineBioBeforeInsert
    BeforeEdit = qCorineBioBeforeInsert
    OnPostError = qZoneHydroZhPostError
    CommandText = 'select * from T_ZONE_HYDRO_ZH where ZH_CODE = :ZH_CODE ORDER BY ZONE_HYDRO_CODE'
    DataSource = dsQZoneHumide
    IndexFieldNames = 'ZH_CODE'
    MasterFields = 'ZH_CODE'
    Parameters = <
      item
        Name = 'ZH_CODE'
        Attributes = [paNullable]
        DataType = ftWideString
        NumericScale = 255
        Precision = 255
        Size = 510
        Value = Null
      end>
    object qZoneHydroZhZONE_HYDRO_CODE: TStringField
      DisplayLabel = 'Code'
      FieldName = 'ZONE_HYDRO_CODE'
      Tag = 3
      Required = True
      OnChange = qCorineBioTCB_CODEChange
      Size = 4
    end
    object qZoneHydroZhlibelle: TStringField
      FieldKind = fkLookup
      DisplayLabel = 'Nom'
      FieldName = 'libelle'
      LookupDataSet = D_ZONE_HYDRO
      LookupKeyFields = 'ZONE_HYDRO_CODE'
      LookupResultField = 'ZONE_HYDRO_LIb'
      KeyFields = 'ZONE_HYDRO_CODE'
      Tag = 1
      Size = 200
    end
    object qZoneHydroZhZH_CODE: TStringField
      FieldName = 'ZH_CODE'
      Visible = False
      Size = 13
    end
  end
  object dsZoneHydroZH: TDataSource
    DataSet = qZoneHydroZh
  end
  object qmtMemTableImage: TqmtMemTable
    Active = True
    object qmtMemTableImageimage: TGraphicField
      FieldName = 'image'
    end
  end
  object dsqmtMemTableImage: TDataSource
    DataSet = qmtMemTableImage
  end
end

object frmZoneHumide: TfrmZoneHumide
  Left = 0
  Top = 0
  Width = 795
  Height = 543
  Caption = 'Zone humide'
  ClientHeight = 516
  ClientWidth = 787
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  FormStyle = fsMDIChild
  WindowState = wsMaximized
  OnClose = FormClose
  OnCreate = FormCreate
  OnPaint = FormPaint
  OnResize = FormResize
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 153
    Height = 516
    Align = alLeft
    BevelOuter = bvNone
    TabOrder = 0
    object OxLookOut: TOxLookOut
      Left = 0
      Top = 0
      Width = 153
      Height = 516
      Align = alClient
      ImageSize = isSmall
      FlatButtons = True
      ActivePage = lopGenerale
      object lopGenerale: TOxLookOutPage
        Left = 0
        Width = 151
        Caption = 'Gestion des fiches'
        Color = clMedGray
        OnClick = lopGeneraleClick
        object oxebtnListe: TOxExpressButton
          Left = 4
          Top = 26
          Width = 141
          Height = 36
          Caption = 'Liste'
          GroupIndex = 10
          OnClick = oxebtnListeClick
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object OxExpressButton10: TOxExpressButton
          Left = 4
          Top = 64
          Width = 141
          Height = 36
          Caption = 'Recherche'
          GroupIndex = 10
          OnClick = OxExpressButton10Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object OxExBtnCreation: TOxExpressButton
          Left = 4
          Top = 102
          Width = 141
          Height = 36
          Caption = 'Création'
          GroupIndex = 10
          OnClick = OxExBtnCreationClick
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object OxExBtnModif: TOxExpressButton
          Left = 4
          Top = 140
          Width = 141
          Height = 36
          Caption = 'Modification'
          GroupIndex = 10
          OnClick = OxExBtnModifClick
          OnMouseMove = oxeBtn3_1MouseMove
        end
      end
      object lop1: TOxLookOutPage
        Left = 0
        Width = 151
        Caption = 'Renseignements généraux'
        Color = clBtnShadow
        OnClick = lop1Click
        object oxeBtn1_1: TOxExpressButton
          Left = 4
          Top = 26
          Width = 141
          Height = 36
          Caption = 'Renseignements'
          GroupIndex = 1
          OnClick = oxeBtn1_1Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn1_2: TOxExpressButton
          Left = 4
          Top = 64
          Width = 141
          Height = 36
          Caption = 'Bassin versant'
          GroupIndex = 1
          OnClick = oxeBtn1_2Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn1_3: TOxExpressButton
          Left = 4
          Top = 102
          Width = 141
          Height = 36
          Caption = 'Auteur && Ref. Bibliographique'
          GroupIndex = 1
          OnClick = oxeBtn1_3Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
      end
      object lop2: TOxLookOutPage
        Left = 0
        Width = 151
        Caption = 'Description et fonctionnement'
        Color = clMedGray
        OnClick = lop1Click
        object oxeBtn2_1: TOxExpressButton
          Left = 4
          Top = 26
          Width = 141
          Height = 36
          Caption = 'Description générale'
          GroupIndex = 2
          OnClick = oxeBtn2_1Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn2_2: TOxExpressButton
          Left = 4
          Top = 64
          Width = 141
          Height = 36
          Caption = 'Typologies'
          GroupIndex = 2
          OnClick = oxeBtn2_2Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn2_3: TOxExpressButton
          Left = 4
          Top = 102
          Width = 141
          Height = 36
          Caption = 'Hydrologie && Hydraulique 1'
          GroupIndex = 2
          OnClick = oxeBtn2_3Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn2_3bis: TOxExpressButton
          Left = 4
          Top = 140
          Width = 141
          Height = 36
          Caption = 'Hydrologie && Hydraulique 2'
          GroupIndex = 2
          OnClick = oxeBtn2_3bisClick
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn2_4: TOxExpressButton
          Left = 4
          Top = 178
          Width = 141
          Height = 36
          Caption = 'Inventaires'
          GroupIndex = 2
          OnClick = oxeBtn2_4Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn2_5: TOxExpressButton
          Left = 4
          Top = 216
          Width = 141
          Height = 36
          Caption = 'Espèces végétales'
          GroupIndex = 2
          OnClick = oxeBtn2_5Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn2_5bis: TOxExpressButton
          Left = 4
          Top = 254
          Width = 141
          Height = 36
          Caption = 'Espèces animales'
          GroupIndex = 2
          OnClick = oxeBtn2_5bisClick
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn2_6: TOxExpressButton
          Left = 4
          Top = 292
          Width = 141
          Height = 36
          Caption = 'Habitats'
          GroupIndex = 2
          OnClick = oxeBtn2_6Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn2_6bis: TOxExpressButton
          Left = 4
          Top = 330
          Width = 141
          Height = 36
          Caption = 'Fonct. Biologique'
          GroupIndex = 2
          OnClick = oxeBtn2_6bisClick
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn2_7: TOxExpressButton
          Left = 4
          Top = 368
          Width = 141
          Height = 36
          Caption = 'Activités Humaines'
          GroupIndex = 2
          OnClick = oxeBtn2_7Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn2_8: TOxExpressButton
          Left = 4
          Top = 406
          Width = 141
          Height = 36
          Caption = 'Facteurs d''influence'
          GroupIndex = 2
          OnClick = oxeBtn2_8Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn2_9: TOxExpressButton
          Left = 4
          Top = 444
          Width = 141
          Height = 36
          Caption = 'Valeurs socio-économiques'
          GroupIndex = 2
          OnClick = oxeBtn2_9Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
      end
      object lop3: TOxLookOutPage
        Left = 0
        Width = 151
        Caption = 'Contexte'
        Color = clBtnShadow
        OnClick = lop1Click
        object oxeBtn3_1: TOxExpressButton
          Left = 4
          Top = 26
          Width = 141
          Height = 36
          Caption = 'Statuts fonciers'
          GroupIndex = 3
          OnClick = oxeBtn3_1Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn3_2: TOxExpressButton
          Left = 4
          Top = 64
          Width = 141
          Height = 36
          Caption = 'Mesures de protection des espaces'
          GroupIndex = 3
          OnClick = oxeBtn3_2Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn3_3: TOxExpressButton
          Left = 4
          Top = 102
          Width = 141
          Height = 36
          Caption = 'Mesures de protection des milieux aquatiques'
          GroupIndex = 3
          OnClick = oxeBtn3_3Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn3_4: TOxExpressButton
          Left = 4
          Top = 140
          Width = 141
          Height = 36
          Caption = 'Instruments contractuels et financiers'
          GroupIndex = 3
          OnClick = oxeBtn3_4Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
      end
      object lop4: TOxLookOutPage
        Left = 0
        Width = 151
        Caption = 'Evaluation'
        Color = clBtnShadow
        OnClick = lop1Click
        object oxeBtn4_1: TOxExpressButton
          Left = 4
          Top = 26
          Width = 141
          Height = 36
          Caption = 'Evaluation'
          GroupIndex = 4
          OnClick = oxeBtn4_1Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
      end
      object lop5: TOxLookOutPage
        Left = 0
        Width = 151
        Caption = 'Orientation d''actions'
        Color = clBtnShadow
        OnClick = lop1Click
        object oxeBtn5_1: TOxExpressButton
          Left = 4
          Top = 26
          Width = 141
          Height = 36
          Caption = 'Orientation d''actions'
          GroupIndex = 5
          OnClick = oxeBtn5_1Click
        end
      end
      object lop6: TOxLookOutPage
        Left = 0
        Width = 151
        Caption = 'Cartes'
        Color = clBtnShadow
        OnClick = lop1Click
        object oxeBtn6_1: TOxExpressButton
          Left = 4
          Top = 26
          Width = 141
          Height = 36
          Caption = 'Cartes'
          GroupIndex = 6
          OnClick = oxeBtn6_1Click
        end
      end
      object lop7: TOxLookOutPage
        Left = 0
        Width = 151
        Caption = 'Options'
        Color = clBtnShadow
        OnClick = lop1Click
        object oxeBtn7_1: TOxExpressButton
          Left = 4
          Top = 26
          Width = 141
          Height = 36
          Caption = 'Liste des espèces végétales'
          GroupIndex = 7
          OnClick = oxeBtn7_1Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn7_2: TOxExpressButton
          Left = 4
          Top = 64
          Width = 141
          Height = 36
          Caption = 'Liste des espèces animales'
          GroupIndex = 7
          OnClick = oxeBtn7_2Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
        object oxeBtn7_3: TOxExpressButton
          Left = 4
          Top = 102
          Width = 141
          Height = 36
          Caption = 'Bloc notes'
          GroupIndex = 7
          OnClick = oxeBtn7_3Click
          OnMouseMove = oxeBtn3_1MouseMove
        end
      end
    end
  end
  object OxPageControl: TOxPageControl
    Left = 153
    Top = 0
    Width = 634
    Height = 516
    ActivePage = tsListe
    Align = alClient
    HideAllTabs = True
    TabPosition = tpBottom
    TabStop = False
    TabOrder = 1
    object tsListe: TTabSheet
      Caption = 'tsListe'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      OnShow = tsListeShow
      object OxDBGrid1: TqvDBGrid
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        Selected = (
          'zh_code'#9'13'#9'Code'
          'zh_nom'#9'80'#9'Nom')
        DataSource = dmVelbor.dsqListeZoneHumide
        KeyOptions = []
        TitleButtons = True
        ImageList = ImageList1
        TitleImageList = ImageList1
        TabOrder = 0
        OnDblClick = OxDBGrid1DblClick
        OnEnter = OxDBGrid1Enter
        OnExit = OxDBGrid1Exit
        OnTitleButtonClick = OxDBGrid1TitleButtonClick
        OnCalcTitleImage = OxDBGrid1CalcTitleImage
      end
    end
    object ts1_1: TTabSheet
      Caption = 'ts1_1'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox1_1: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox1_1: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 122
          Caption = ' Identification de la zone humide '
          TabOrder = 0
          object Label1: TLabel
            Left = 12
            Top = 22
            Caption = 'Nom usuel'
          end
          object dbeNomUsuel: TDBMemo
            Left = 120
            Top = 18
            Width = 472
            Height = 36
            DataField = 'ZH_NOM'
            DataSource = dmVelbor.dsQZoneHumide
          end
          object Label2: TLabel
            Left = 12
            Top = 66
            Caption = 'Nom de l''enveloppe'
          end
          object qvDBComboDlg1: TqvDBComboDlg
            Left = 120
            Top = 62
            Width = 472
            Height = 21
            DataField = 'ZH_NOM_ENVELOPPE'
            DataSource = dmVelbor.dsQZoneHumide
            OnCustomDlg = qvDBComboDlg1CustomDlg
          end
          object LabelTypeZH: TLabel
            Left = 12
            Top = 95
            Caption = 'Type'
          end
          object OxDBCboTypeZH: TOxDBComboBox
            Left = 120
            Top = 91
            Width = 160
            Height = 21
            DataField = 'ZH_TYPE'
            DataSource = dmVelbor.dsQZoneHumide
            Items = (
              'Elémentaire'
              'Enveloppe de référence')
            Values = (
              '1'
              '2')
          end
          object LabelFiliation: TLabel
            Left = 296
            Top = 95
            Caption = 'Filiation'
          end
          object OxDBCboFiliation: TOxDBComboBox
            Left = 342
            Top = 91
            Width = 104
            Height = 21
            DataField = 'ZH_FILIATION'
            DataSource = dmVelbor.dsQZoneHumide
            Items = (
              'Inconnu'
              'Rattaché'
              'Sans Objet')
            Values = (
              '0'
              '1'
              'X')
          end
          object LabelStatut: TLabel
            Left = 462
            Top = 95
            Caption = 'Statut'
          end
          object OxDBCboStatut: TOxDBComboBox
            Left = 502
            Top = 91
            Width = 90
            Height = 21
            DataField = 'ZH_STATUT'
            DataSource = dmVelbor.dsQZoneHumide
            Items = (
              'Active'
              'Gelée')
            Values = (
              'A'
              'G')
          end
        end
        object GroupBox1: TGroupBox
          Left = 8
          Top = 130
          Width = 604
          Height = 118
          Caption = ' Autres noms '
          TabOrder = 0
          object qvNavAlias: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsAlias
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton1: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton2: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton3: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton4: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnAliasPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasPlusClick
            end
            object qvNavBtnAliasMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object OxDBGrdAlias: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 68
            Selected = (
              'ALIAS_LIB'#9'45'#9'Libellé')
            DataSource = dmVelbor.dsAlias
            KeyOptions = []
            TabOrder = 1
          end
        end
        object GroupBox2: TGroupBox
          Left = 8
          Top = 252
          Width = 604
          Height = 212
          Caption = ' Localisation administrative (communes) '
          TabOrder = 0
          object qvNavCommune: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsCommune
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton5: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton6: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton7: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton8: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnCommunePlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnCommunePlusClick
            end
            object qvNavBtnCommuneMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdCommune: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 162
            Selected = (
              'REG'#9'2'#9' '
              'COM_CODE'#9'10'#9'N° INSEE'
              'LIBELLE'#9'79'#9'Nom')
            DataSource = dmVelbor.dsCommune
            KeyOptions = []
            TabOrder = 1
            ControlType = (
              'REG;ComboDlg;qvDBCboDlgCommune'
              'COM_CODE;LookupCombo;qvDBLkcboCommune'
              'LIBELLE;LookupCombo;qvDBLkcboCommuneLib')
            object qvDBCboDlgCommune: TqvDBComboDlg
              Left = 0
              Top = 0
              Width = 20
              Height = 21
              DataSource = dmVelbor.dsCommune
              DataField = 'REG'
              Visible = False
              OnCustomDlg = qvDBCboDlgCommuneCustomDlg
            end
            object qvDBLkcboCommune: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsCommune
              DataField = 'COM_CODE'
              LookupTable = dmVelbor.D_COMMUNE
              LookupField = 'COM_CODE'
              ShowMatchText = True
              Selected = (
                'COM_CODE'#9'6'#9'N° INSEE'
                'COM_LIB'#9'36'#9'Nom')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
            object qvDBLkcboCommuneLib: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsCommune
              DataField = 'COM_CODE'
              LookupTable = dmVelbor.D_COMMUNE
              LookupField = 'COM_CODE'
              ShowMatchText = True
              Selected = (
                'COM_LIB'#9'36'#9'Nom'
                'COM_CODE'#9'6'#9'N° INSEE')
              Visible = False
            end
          end
        end
      end
    end
    object ts1_2: TTabSheet
      Caption = 'ts1_2'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox1_2: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox3: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 228
          Caption = ' Bassin versant de surface '
          TabOrder = 0
          object qvNavZoneHydroZH: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsZoneHydroZH
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton9: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton10: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton11: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton12: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnZoneHydroZHPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnZoneHydroPlusClick
            end
            object qvNavBtnZoneHydroZHMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdZoneHydro: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 178
            Selected = (
              'ZONE_HYDRO_CODE'#9'8'#9'Code'
              'libelle'#9'84'#9'Nom'#9'T')
            DataSource = dmVelbor.dsZoneHydroZH
            KeyOptions = []
            TabOrder = 1
            ControlType = (
              'ZONE_HYDRO_CODE;LookupCombo;qvDBLkcboZoneHydro'
              'libelle;LookupCombo;qvDBLkcboZoneHydroLib')
            object qvDBLkcboZoneHydro: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsZoneHydroZH
              DataField = 'ZONE_HYDRO_CODE'
              LookupTable = dmVelbor.D_ZONE_HYDRO
              LookupField = 'ZONE_HYDRO_CODE'
              ShowMatchText = True
              Selected = (
                'ZONE_HYDRO_CODE'#9'6'#9'Code'
                'ZONE_HYDRO_LIB'#9'50'#9'Nom')
              DropDownWidth = 400
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
            object qvDBLkcboZoneHydroLib: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsZoneHydroZH
              DataField = 'ZONE_HYDRO_CODE'
              LookupTable = qZoneHydroLib
              LookupField = 'ZONE_HYDRO_CODE'
              ShowMatchText = True
              Selected = (
                'ZONE_HYDRO_LIB'#9'60'#9'Nom')
              Visible = False
            end
          end
        end
        object GroupBox4: TGroupBox
          Left = 8
          Top = 236
          Width = 604
          Height = 228
          Caption = ' Bassin versant souterrain '
          TabOrder = 0
          object qvNavSysAquiZH: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsSysAquiZH
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton13: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton14: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton15: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton16: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnSysAquiZHPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnSysAquiZHPlusClick
            end
            object qvNavBtnSysAquiZHMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdSysAqui: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 178
            Selected = (
              'ENT_HYDRO_CODE'#9'8'#9'Code'
              'libelle'#9'84'#9'Nom'#9'T')
            DataSource = dmVelbor.dsSysAquiZH
            KeyOptions = []
            TabOrder = 1
            ControlType = (
              'ENT_HYDRO_CODE;LookupCombo;qvDBLkcboSysAquiZH'
              'libelle;LookupCombo;qvDBLkcboSysAquiZHLib')
            object qvDBLkcboSysAquiZH: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsSysAquiZH
              DataField = 'ENT_HYDRO_CODE'
              LookupTable = dmVelbor.D_ENT_HYDRO
              LookupField = 'ENT_HYDRO_CODE'
              ShowMatchText = True
              Selected = (
                'ENT_HYDRO_CODE'#9'8'#9'Code'
                'ENT_HYDRO_LIB'#9'48'#9'Nom')
              DropDownWidth = 400
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
            object qvDBLkcboSysAquiZHLib: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              LookupTable = qSysAquiLib
              LookupField = 'ENT_HYDRO_CODE'
              ShowMatchText = True
              Selected = (
                'ENT_HYDRO_LIB'#9'60'#9'Nom')
              Visible = False
            end
          end
        end
      end
    end
    object ts1_3: TTabSheet
      Caption = 'ts1_3'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox1_3: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox5: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 228
          Caption = ' Référence bibliographique '
          TabOrder = 0
          object qvNavRefBiblio: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsRefBiblio
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton17: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton18: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton19: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton20: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnRefBiblioPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnRefBiblioClick
            end
            object qvNavBtnRefBiblioMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdRefBiblio: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 178
            Selected = (
              'REF_TITRE'#9'48'#9'Titre'
              'REF_AUTEUR'#9'26'#9'Auteur'
              'REF_ANNEE'#9'17'#9'  Année de parution~             AAAA')
            DataSource = dmVelbor.dsRefBiblio
            KeyOptions = []
            TabOrder = 1
            TitleLines = 2
          end
        end
        object GroupBox6: TGroupBox
          Left = 8
          Top = 236
          Width = 604
          Height = 228
          Caption = ' Historique '
          TabOrder = 0
          object qvNavHistorique: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsHistorique
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton21: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton22: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton23: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton24: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnHistoriquePlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnHistoriquePlusClick
            end
            object qvNavBtnHistoriqueMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavButton181Click
            end
          end
          object qvDBGrdHistorique: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 178
            Selected = (
              'HISTO_DATE'#9'10'#9'Date'#9'T'
              'action'#9'12'#9'Action'#9'T'
              'HISTO_AUTEUR'#9'31'#9'Auteur'
              'HISTO_ORGANISME'#9'37'#9'Organisme')
            DataSource = dmVelbor.dsHistorique
            KeyOptions = []
            TabOrder = 1
          end
        end
      end
    end
    object ts2_1: TTabSheet
      Caption = 'ts2_1'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox2_1: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox2_1: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 108
          Caption = ' Description générale '
          TabOrder = 0
          object Label3: TLabel
            Left = 12
            Top = 24
            Caption = 'Altitude (m)'
          end
          object dbeAltitude: TDBEdit
            Left = 140
            Top = 20
            Width = 90
            Height = 21
            DataField = 'ZH_ALTITUDE'
            DataSource = dmVelbor.dsQZoneHumide
          end
          object Label4: TLabel
            Left = 250
            Top = 24
            Caption = 'Système altimétrique'
          end
          object OxDBLkcboSysAlt: TOxDBLookupCombo
            Left = 380
            Top = 20
            Width = 212
            Height = 21
            DataField = 'ZH_SYS_ALT'
            DataSource = dmVelbor.dsQZoneHumide
            LookupSource = dmVelbor.dsD_SYS_ALT
            LookupField = 'SYS_ALT_CODE'
            LookupDisplay = 'SYS_ALT_LIB;SYS_ALT_TERRITOIRE'
            DropDownWidth = 360
          end
          object Label5: TLabel
            Left = 12
            Top = 52
            Caption = 'Superficie (ha)'
          end
          object dbeSuperficie: TDBEdit
            Left = 140
            Top = 48
            Width = 90
            Height = 21
            DataField = 'ZH_SUPERFICIE'
            DataSource = dmVelbor.dsQZoneHumide
          end
          object Label6: TLabel
            Left = 12
            Top = 80
            Caption = 'Longueur (km)'
          end
          object dbeLongueur: TDBEdit
            Left = 140
            Top = 76
            Width = 90
            Height = 21
            DataField = 'ZH_LONGUEUR'
            DataSource = dmVelbor.dsQZoneHumide
          end
          object LabelPrecision: TLabel
            Left = 250
            Top = 52
            Caption = 'Précision'
          end
          object OxDBCboPrecision: TOxDBComboBox
            Left = 380
            Top = 48
            Width = 212
            Height = 21
            DataField = 'ZH_PRECISION'
            DataSource = dmVelbor.dsQZoneHumide
            Items = (
              'Précise'
              'Moyennement précise'
              'Approximative')
            Values = (
              '1'
              '2'
              '3')
          end
        end
        object GroupBox2_1b: TGroupBox
          Left = 8
          Top = 116
          Width = 604
          Height = 348
          Caption = ' Description générale et paysagère '
          TabOrder = 0
          object Label7: TLabel
            Left = 12
            Top = 20
            Caption = 'Description de la zone humide'
          end
          object DBMemoDescPays: TDBMemo
            Left = 12
            Top = 36
            Width = 580
            Height = 130
            DataField = 'ZH_DESC_PAYS'
            DataSource = dmVelbor.dsQZoneHumide
          end
          object Label8: TLabel
            Left = 12
            Top = 174
            Caption = 'Description autour de la zone humide'
          end
          object DBMemoDescPaysAutour: TDBMemo
            Left = 12
            Top = 190
            Width = 580
            Height = 148
            DataField = 'ZH_DESC_PAYS_AUTOUR'
            DataSource = dmVelbor.dsQZoneHumide
          end
        end
      end
    end
    object ts2_2: TTabSheet
      Caption = 'ts2_2'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox2_2: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox2_2: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 150
          Caption = ' Typologie SDAGE '
          TabOrder = 0
          object GroupBox7: TGroupBox
            Left = 8
            Top = 16
            Width = 290
            Height = 126
            Caption = ' Type principal  - 1 max '
            TabOrder = 0
            object qvNavSDAGEPrincipale: TqvDBNavigator
              Left = 8
              Top = 16
              Width = 150
              Height = 22
              DataSource = dmVelbor.dsSDAGEPrincipale
              AutosizeStyle = asSizeNavButtons
              Flat = False
              TabOrder = 0
              object qvNavButton25: TqvNavButton
                Style = nbsFirst
              end
              object qvNavButton26: TqvNavButton
                Style = nbsPrior
              end
              object qvNavButton27: TqvNavButton
                Style = nbsNext
              end
              object qvNavButton28: TqvNavButton
                Style = nbsLast
              end
              object qvNavBtnSDAGEPrincipalePlus: TqvNavButton
                Caption = '+'
                ShowText = True
                Style = nbsCustom
                OnClick = qvNavBtnSDAGEPrincipalePlusClick
              end
              object qvNavBtnSDAGEPrincipaleMoins: TqvNavButton
                Caption = '-'
                ShowText = True
                Style = nbsCustom
                OnClick = qvNavBtnAliasMoinsClick
              end
            end
            object qvDBGrdSDAGEPrincipale: TqvDBGrid
              Left = 8
              Top = 42
              Width = 274
              Height = 76
              Selected = (
                'TSD_CODE'#9'2'#9'Code'
                'libelle'#9'37'#9'Nom'#9'T')
              DataSource = dmVelbor.dsSDAGEPrincipale
              KeyOptions = []
              TabOrder = 1
              ControlType = (
                'TSD_CODE;LookupCombo;qvDBLkpCboSDAGEPrincipale')
              object qvDBLkpCboSDAGEPrincipale: TqvDBLookupCombo
                Left = 0
                Top = 0
                Width = 80
                Height = 21
                DataSource = dmVelbor.dsSDAGEPrincipale
                DataField = 'TSD_CODE'
                LookupTable = dmVelbor.D_SDAGE
                LookupField = 'TSD_CODE'
                ShowMatchText = True
                Selected = (
                  'TSD_CODE'#9'3'#9'Code'
                  'TSD_LIB'#9'40'#9'Nom')
                Visible = False
                OnDropDown = qvDBLkcboCommuneDropDown
              end
            end
          end
          object GroupBox8: TGroupBox
            Left = 306
            Top = 16
            Width = 290
            Height = 126
            Caption = ' Autres types '
            TabOrder = 0
            object qvNavSDAGE: TqvDBNavigator
              Left = 8
              Top = 16
              Width = 150
              Height = 22
              DataSource = dmVelbor.dsSDAGE
              AutosizeStyle = asSizeNavButtons
              Flat = False
              TabOrder = 0
              object qvNavButton29: TqvNavButton
                Style = nbsFirst
              end
              object qvNavButton30: TqvNavButton
                Style = nbsPrior
              end
              object qvNavButton31: TqvNavButton
                Style = nbsNext
              end
              object qvNavButton32: TqvNavButton
                Style = nbsLast
              end
              object qvNavBtnSDAGEPlus: TqvNavButton
                Caption = '+'
                ShowText = True
                Style = nbsCustom
                OnClick = qvNavBtnSDAGEPlusClick
              end
              object qvNavBtnSDAGEMoins: TqvNavButton
                Caption = '-'
                ShowText = True
                Style = nbsCustom
                OnClick = qvNavBtnAliasMoinsClick
              end
            end
            object qvDBGrdSDAGE: TqvDBGrid
              Left = 8
              Top = 42
              Width = 274
              Height = 76
              Selected = (
                'TSD_CODE'#9'2'#9'Code'
                'libelle'#9'37'#9'Nom'#9'T')
              DataSource = dmVelbor.dsSDAGE
              KeyOptions = []
              TabOrder = 1
              ControlType = (
                'TSD_CODE;LookupCombo;qvDBLkpCboSDAGE')
              object qvDBLkpCboSDAGE: TqvDBLookupCombo
                Left = 0
                Top = 0
                Width = 80
                Height = 21
                DataSource = dmVelbor.dsSDAGE
                DataField = 'TSD_CODE'
                LookupTable = dmVelbor.D_SDAGE
                LookupField = 'TSD_CODE'
                ShowMatchText = True
                Selected = (
                  'TSD_CODE'#9'3'#9'Code'
                  'TSD_LIB'#9'40'#9'Nom')
                Visible = False
                OnDropDown = qvDBLkcboCommuneDropDown
              end
            end
          end
        end
        object GroupBox9: TGroupBox
          Left = 8
          Top = 158
          Width = 604
          Height = 150
          Caption = ' Typologie physique des cours d''eau '
          TabOrder = 0
          object qvNavTypoPhy: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsTypoPhy
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton33: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton34: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton35: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton36: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnTypoPhyPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnTypoPhyPlusClick
            end
            object qvNavBtnTypoPhyMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdTypoPhy: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 100
            Selected = (
              'TPC_CODE'#9'5'#9'Code'
              'libelle'#9'87'#9'Nom'#9'T')
            DataSource = dmVelbor.dsTypoPhy
            KeyOptions = []
            TabOrder = 1
            ControlType = (
              'TPC_CODE;LookupCombo;qvDBLkcboTypoPhy')
            object qvDBLkcboTypoPhy: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsTypoPhy
              DataField = 'TPC_CODE'
              LookupTable = dmVelbor.D_TYPO_PHY
              LookupField = 'TPC_CODE'
              ShowMatchText = True
              Selected = (
                'TPC_CODE'#9'5'#9'Code'
                'TPC_LIB'#9'40'#9'Nom')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
          end
        end
        object GroupBox10: TGroupBox
          Left = 8
          Top = 312
          Width = 604
          Height = 152
          Caption = ' Typologie Corine BIOTOPE '
          TabOrder = 0
          object qvNavCorineBio: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsCorineBio
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton37: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton38: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton39: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton40: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnCorineBioPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvDBNavCorineInsertClick
            end
            object qvNavBtnCorineBioMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdCorineBio: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 102
            Selected = (
              'TCB_CODE'#9'6'#9'Code'
              'libelle'#9'69'#9'Nom'#9'T'
              'TCB_FLG'#9'16'#9'Habitat déterminant')
            DataSource = dmVelbor.dsCorineBio
            KeyOptions = []
            TabOrder = 1
            ControlType = (
              'TCB_CODE;LookupCombo;qvDBLkCboCorine'
              'TCB_FLG;CheckBox;VRAI;FAUX')
            object qvDBLkCboCorine: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsCorineBio
              DataField = 'TCB_CODE'
              LookupTable = dmVelbor.D_CORINE_BIO
              LookupField = 'TCB_CODE'
              ShowMatchText = True
              Selected = (
                'TCB_CODE'#9'6'#9'Code'
                'TCB_LIB'#9'40'#9'Nom')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
          end
        end
      end
    end
    object ts2_3: TTabSheet
      Caption = 'ts2_3'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      OnShow = ts2_3Show
      object ScrollBox2_3: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox2_3: TGroupBox
          Left = 8
          Top = 4
          Width = 296
          Height = 112
          Caption = ' Schéma de connexion '
          TabOrder = 0
          object Label9: TLabel
            Left = 12
            Top = 24
            Caption = 'Connexion'
          end
          object qvDBLkcboConnexion: TqvDBLookupCombo
            Left = 80
            Top = 20
            Width = 60
            Height = 21
            DataField = 'ZH_CONNEXION'
            DataSource = dmVelbor.dsQZoneHumide
            LookupTable = dmVelbor.D_CONNEXION
            LookupField = 'CONNEXION_CODE'
            ShowMatchText = True
            Selected = (
              'CONNEXION_CODE'#9'3'#9'Code'
              'CONNEXION_LIB'#9'30'#9'Connexion')
          end
          object DBImageConnexion: TDBImage
            Left = 150
            Top = 16
            Width = 136
            Height = 88
            DataField = 'image'
            DataSource = dmVelbor.dsqmtMemTableImage
            Stretch = True
          end
        end
        object GroupBox2_3c: TGroupBox
          Left = 308
          Top = 4
          Width = 304
          Height = 40
          Caption = ' Réseaux hydrauliques '
          TabOrder = 0
          object dbcbCanaux: TDBCheckBox
            Left = 12
            Top = 16
            Width = 120
            Height = 17
            Caption = 'Canaux'
            DataField = 'ZH_FLGCANAUX'
            DataSource = dmVelbor.dsQZoneHumide
            ValueChecked = 'True'
            ValueUnchecked = 'False'
          end
          object dbcbOuvrage: TDBCheckBox
            Left = 150
            Top = 16
            Width = 120
            Height = 17
            Caption = 'Ouvrages'
            DataField = 'ZH_FLGOUVRAGE'
            DataSource = dmVelbor.dsQZoneHumide
            ValueChecked = 'True'
            ValueUnchecked = 'False'
          end
        end
        object GroupBox2_3d: TGroupBox
          Left = 308
          Top = 48
          Width = 304
          Height = 68
          Caption = ' Régime de submersion '
          TabOrder = 0
          object Label10: TLabel
            Left = 12
            Top = 19
            Caption = 'Fréquence'
          end
          object OxDBLkcboFrequence: TOxDBLookupCombo
            Left = 70
            Top = 15
            Width = 222
            Height = 21
            DataField = 'ZH_FREQUENCE'
            DataSource = dmVelbor.dsQZoneHumide
            LookupSource = dmVelbor.dsD_FREQ_SUB
            LookupField = 'FREQ_SUB_CODE'
            LookupDisplay = 'FREQ_SUB_LIB'
          end
          object Label11: TLabel
            Left = 12
            Top = 45
            Caption = 'Etendue'
          end
          object OxDBLkcboEtendue: TOxDBLookupCombo
            Left = 70
            Top = 41
            Width = 222
            Height = 21
            DataField = 'ZH_ETENDUE'
            DataSource = dmVelbor.dsQZoneHumide
            LookupSource = dmVelbor.dsD_ETE_SUB
            LookupField = 'ETE_SUB_CODE'
            LookupDisplay = 'ETE_SUB_LIB'
          end
        end
        object GroupBox11: TGroupBox
          Left = 8
          Top = 120
          Width = 604
          Height = 172
          Caption = ' Sortie(s) '
          TabOrder = 0
          object qvNavSortieEau: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsSortieEau
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton41: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton42: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton43: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton44: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnSortieEauPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnSortieEauClick
            end
            object qvNavBtnSortieEauMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdSortieEau: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 122
            Selected = (
              'TYPE_ES_CODE'#9'4'#9'Type'
              'libType'#9'35'#9' '#9'T'
              'RES_CODE'#9'10'#9'Permanence'
              'libPermanence'#9'41'#9' '#9'T')
            DataSource = dmVelbor.dsSortieEau
            KeyOptions = []
            TabOrder = 1
            OnCellChanged = qvDBGrdSortieEauColEnter
            ControlType = (
              'TYPE_ES_CODE;LookupCombo;qvDBLkcboTypeSortieEau'
              'RES_CODE;LookupCombo;qvDBLkcboSortieEau')
            object qvDBLkcboTypeSortieEau: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsSortieEau
              DataField = 'TYPE_ES_CODE'
              LookupTable = dmVelbor.qTypeSortie
              LookupField = 'TYPE_ES_CODE'
              ShowMatchText = True
              Selected = (
                'TYPE_ES_CODE'#9'4'#9'Type'
                'TYPE_ES_LIB'#9'30'#9'Nom')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
            object qvDBLkcboSortieEau: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsSortieEau
              DataField = 'RES_CODE'
              LookupTable = dmVelbor.D_RYTHME_ES
              LookupField = 'RES_CODE'
              ShowMatchText = True
              Selected = (
                'RES_CODE'#9'4'#9'Code'
                'RES_LIB'#9'30'#9'Permanence')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
          end
        end
        object GroupBox12: TGroupBox
          Left = 8
          Top = 294
          Width = 604
          Height = 170
          Caption = ' Entrée(s) '
          TabOrder = 0
          object qvNavEntEau: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsEntEau
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton45: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton46: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton47: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton48: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnEntEauPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnEntEauPlusClick
            end
            object qvNavBtnEntEauMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdEntEau: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 120
            Selected = (
              'TYPE_ES_CODE'#9'4'#9'Type'
              'libType'#9'35'#9' '#9'T'
              'RES_CODE'#9'10'#9'Permanence'
              'libPermanence'#9'41'#9' '#9'T')
            DataSource = dmVelbor.dsEntEau
            KeyOptions = []
            TabOrder = 1
            OnColEnter = qvDBGrdEntEauColEnter
            ControlType = (
              'TYPE_ES_CODE;LookupCombo;qvDBLkcboTypeEntEau'
              'RES_CODE;LookupCombo;qvDBLkcboEntEau')
            object qvDBLkcboTypeEntEau: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsEntEau
              DataField = 'TYPE_ES_CODE'
              LookupTable = dmVelbor.qTypeEntree
              LookupField = 'TYPE_ES_CODE'
              ShowMatchText = True
              Selected = (
                'TYPE_ES_CODE'#9'4'#9'Type'
                'TYPE_ES_LIB'#9'30'#9'Nom')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
            object qvDBLkcboEntEau: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsEntEau
              DataField = 'RES_CODE'
              LookupTable = dmVelbor.D_RYTHME_ES
              LookupField = 'RES_CODE'
              ShowMatchText = True
              Selected = (
                'RES_CODE'#9'4'#9'Code'
                'RES_LIB'#9'30'#9'Permanence')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
          end
        end
      end
    end
    object ts2_3bis: TTabSheet
      Caption = 'ts2_3bis'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox2_3bis: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox13: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 228
          Caption = ' Qualité des eaux '
          TabOrder = 0
          object qvNavQualiteEau: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsQualiteEau
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton49: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton50: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton51: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton52: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnQualiteEauPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtndmQualiteEauPlusClick
            end
            object qvNavBtnQualiteEauMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object OxDBGrdQualiteEau: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 178
            Selected = (
              'QU_LOC_MES'#9'46'#9'Localisation'
              'QU_NAT_MESURES'#9'46'#9'Nature')
            DataSource = dmVelbor.dsQualiteEau
            KeyOptions = []
            TabOrder = 1
          end
        end
        object GroupBox14: TGroupBox
          Left = 8
          Top = 236
          Width = 604
          Height = 228
          Caption = ' Fonctions hydrologique et hydraulique '
          TabOrder = 0
          object qvNavFonctHydro: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsFonctHydro
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton53: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton54: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton55: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton56: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnFonctHydroPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnFonctHydroPlusClick
            end
            object qvNavBtnFonctHydroMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdFonctHydro: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 178
            Selected = (
              'IFZ_CODE'#9'2'#9'Code'
              'libelle'#9'75'#9'Libellé'#9'T'
              'FHZ_RANG'#9'12'#9'Rang')
            DataSource = dmVelbor.dsFonctHydro
            KeyOptions = []
            TabOrder = 1
            ControlType = (
              'IFZ_CODE;LookupCombo;qvDBLkcboFonctHydro')
            object qvDBLkcboFonctHydro: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsFonctHydro
              DataField = 'IFZ_CODE'
              LookupTable = dmVelbor.qINT_FONCT_HYDRO
              LookupField = 'IFZ_CODE'
              ShowMatchText = True
              Selected = (
                'IFZ_CODE'#9'3'#9'Code'
                'IFZ_LIB'#9'45'#9'Libellé')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
          end
        end
      end
    end
    object ts2_4: TTabSheet
      Caption = 'ts2_4'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox2_4: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox15: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 460
          Caption = ' Inventaires '
          TabOrder = 0
          object qvNavInventaire: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsInventaire
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton57: TqvNavButton
              Style = nbsFirst
              OnClick = qvNavButton81Click
            end
            object qvNavButton58: TqvNavButton
              Style = nbsPrior
              OnClick = qvNavButton81Click
            end
            object qvNavButton59: TqvNavButton
              Style = nbsNext
              OnClick = qvNavButton81Click
            end
            object qvNavButton60: TqvNavButton
              Style = nbsLast
              OnClick = qvNavButton81Click
            end
            object qvNavBtnInventairePlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnInvPlusClick
            end
            object qvNavBtnInventaireMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object DBCtrGdInventaire: TDBCtrlGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 410
            DataSource = dmVelbor.dsInventaire
            PanelCount = 6
            PanelHeight = 68
            PanelWidth = 568
            AllowInsert = False
            AllowDelete = False
            TabOrder = 1
            object Label12: TLabel
              Left = 8
              Top = 4
              Caption = 'Nature'
            end
            object qvDBCboType: TqvDBComboBox
              Left = 8
              Top = 18
              Width = 60
              Height = 21
              DataField = 'INV_TYPE'
              DataSource = dmVelbor.dsInventaire
              Items = (
                'ZNIEFF 1ere génération'#9'1'
                'ZNIEFF 2eme génération'#9'2'
                'ZICO'#9'3'
                'RAMSAR'#9'4'
                'PSIC'#9'5'
                'ZPS'#9'6'
                'Autre'#9'7')
              MapList = True
              DropDownCount = 7
              DropDownWidth = 160
              Style = csDropDownList
              OnDropDown = qvDBLkcboCommuneDropDown
            end
            object Label13: TLabel
              Left = 76
              Top = 4
              Caption = 'Code'
            end
            object lkCboCodeInventaire: TqvDBLookupCombo
              Left = 76
              Top = 18
              Width = 100
              Height = 21
              DataField = 'INV_CODE'
              DataSource = dmVelbor.dsInventaire
              LookupTable = dmVelbor.qType7
              LookupField = 'code'
              ShowMatchText = True
              Selected = (
                'code'#9'12'#9'Code'
                'lib'#9'40'#9'Libellé')
              Style = csDropDownList
              OnEnter = lkCboCodeInventaireEnter
              OnBeforeDropDown = lkCboCodeInventaireBeforeDropDown
              OnDropDown = qvDBLkcboCommuneDropDown
            end
            object Label14: TLabel
              Left = 184
              Top = 4
              Caption = 'Type 1 ou 2 (ZNIEFF)'
            end
            object dbeType: TDBMemo
              Left = 184
              Top = 18
              Width = 110
              Height = 21
              DataField = 'INV_TYPE_ZNIEFF'
              DataSource = dmVelbor.dsInventaire
            end
            object Label15: TLabel
              Left = 302
              Top = 4
              Caption = 'Libellé'
            end
            object dbeInvLib: TDBEdit
              Left = 302
              Top = 18
              Width = 170
              Height = 21
              DataField = 'INV_LIB'
              DataSource = dmVelbor.dsInventaire
            end
            object Label16: TLabel
              Left = 480
              Top = 4
              Caption = 'Couverture'
            end
            object dbeInvCouv: TDBEdit
              Left = 480
              Top = 18
              Width = 80
              Height = 21
              DataField = 'INV_COUV'
              DataSource = dmVelbor.dsInventaire
            end
          end
        end
      end
    end
    object ts2_5: TTabSheet
      Caption = 'ts2_5'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox2_5: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox16: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 250
          Caption = ' Espèces végétales ( directive Habitat )  '
          TabOrder = 0
          object qvNavEspVeg: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsEspVeg
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton61: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton62: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton63: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton64: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnEspVegPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnEspVegClick
            end
            object qvNavBtnEspVegMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdEspVeg: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 174
            Selected = (
              'libelle'#9'20'#9'Thème'
              'libLatin'#9'37'#9'Nom Latin'#9'T'
              'libFr'#9'34'#9'Nom Français'#9'T')
            DataSource = dmVelbor.dsEspVeg
            KeyOptions = []
            TabOrder = 1
            ControlType = (
              'libelle;LookupCombo;qvDBLkcboEspVeg2')
            object qvDBLkcboEspVeg2: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsEspVeg
              DataField = 'TAXON_CODE'
              LookupTable = qVegetal
              LookupField = 'TAXON_CODE'
              ShowMatchText = True
              Selected = (
                'TAXON_THEME'#9'14'#9'Thème'
                'TAXON_LATIN'#9'28'#9'Nom latin'
                'TAXON_FR'#9'28'#9'Nom français')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
          end
          object Label17: TLabel
            Left = 12
            Top = 224
            Caption = 'Nombre'
          end
          object dbeNbr1: TDBEdit
            Left = 70
            Top = 220
            Width = 50
            Height = 21
            DataField = 'ZH_NBR_VEG'
            DataSource = dmVelbor.dsQZoneHumide
          end
        end
        object GroupBox2_5b: TGroupBox
          Left = 8
          Top = 258
          Width = 604
          Height = 206
          Caption = ' Informations complémentaires '
          TabOrder = 0
          object DBMemoInfVeg: TDBMemo
            Left = 12
            Top = 20
            Width = 580
            Height = 176
            DataField = 'ZH_INF_VEG'
            DataSource = dmVelbor.dsQZoneHumide
          end
        end
      end
    end
    object ts2_5bis: TTabSheet
      Caption = 'ts2_5bis'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox2_5bis: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox17: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 180
          Caption = ' Espèces animales ( directive Habitat )  '
          TabOrder = 0
          object qvNavEspAni: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsEspAni
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton65: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton66: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton67: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton68: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnEspAniPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnEspAniPlusClick
            end
            object qvNavBtnEspAniMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdEspAni: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 104
            Selected = (
              'libelle'#9'20'#9'Thème'
              'libLatin'#9'37'#9'Nom Latin'#9'T'
              'libFr'#9'34'#9'Nom Français'#9'T')
            DataSource = dmVelbor.dsEspAni
            KeyOptions = []
            TabOrder = 1
            ControlType = (
              'libelle;LookupCombo;qvDBLkcboEspAni2')
            object qvDBLkcboEspAni2: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsEspAni
              DataField = 'TAXON_CODE'
              LookupTable = qAnimal
              LookupField = 'TAXON_CODE'
              ShowMatchText = True
              Selected = (
                'TAXON_THEME'#9'14'#9'Thème'
                'TAXON_LATIN'#9'28'#9'Nom latin'
                'TAXON_FR'#9'28'#9'Nom français')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
          end
          object Label18: TLabel
            Left = 12
            Top = 154
            Caption = 'Nombre'
          end
          object dbeNbr2: TDBEdit
            Left = 70
            Top = 150
            Width = 50
            Height = 21
            DataField = 'ZH_NBR_2_4'
            DataSource = dmVelbor.dsQZoneHumide
          end
        end
        object GroupBox18: TGroupBox
          Left = 8
          Top = 188
          Width = 604
          Height = 180
          Caption = ' Oiseaux ( directive Oiseaux ) '
          TabOrder = 0
          object qvNavOiseaux: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsOiseaux
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton69: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton70: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton71: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton72: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnOiseauxPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnOiseauxPlusClick
            end
            object qvNavBtnOiseauxMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdOiseaux: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 104
            Selected = (
              'libLatin'#9'48'#9'Nom Latin'
              'libFr'#9'44'#9'Nom Français'#9'T')
            DataSource = dmVelbor.dsOiseaux
            KeyOptions = []
            TabOrder = 1
            ControlType = (
              'libLatin;LookupCombo;qvDBLkcboOiseaux2')
            object qvDBLkcboOiseaux2: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsOiseaux
              DataField = 'TAXON_CODE'
              LookupTable = qOiseaux
              LookupField = 'TAXON_CODE'
              ShowMatchText = True
              Selected = (
                'TAXON_LATIN'#9'30'#9'Nom latin'
                'TAXON_FR'#9'30'#9'Nom français')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
          end
          object Label19: TLabel
            Left = 12
            Top = 154
            Caption = 'Nombre'
          end
          object dbeNbr3: TDBEdit
            Left = 70
            Top = 150
            Width = 50
            Height = 21
            DataField = 'ZH_NBR_OISEAU'
            DataSource = dmVelbor.dsQZoneHumide
          end
        end
        object GroupBox2_5bc: TGroupBox
          Left = 8
          Top = 372
          Width = 604
          Height = 92
          Caption = ' Informations complémentaires '
          TabOrder = 0
          object DBMemoInfAnim: TDBMemo
            Left = 12
            Top = 18
            Width = 580
            Height = 64
            DataField = 'ZH_INF_ANIM'
            DataSource = dmVelbor.dsQZoneHumide
          end
        end
      end
    end
    object ts2_6: TTabSheet
      Caption = 'ts2_6'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox2_6: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox19: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 250
          Caption = ' Habitats ( directive Habitat )  '
          TabOrder = 0
          object qvNavHabitat: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsHabitat
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton73: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton74: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton75: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton76: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnHabitatPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnHabitatClick
            end
            object qvNavBtnHabitatMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdHabitat: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 174
            Selected = (
              'HABITAT_CODE'#9'10'#9'Code'
              'libelle'#9'82'#9'Libellé'#9'T')
            DataSource = dmVelbor.dsHabitat
            KeyOptions = []
            TabOrder = 1
            ControlType = (
              'HABITAT_CODE;LookupCombo;qvDBLkcboHabitat')
            object qvDBLkcboHabitat: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsHabitat
              DataField = 'HABITAT_CODE'
              LookupTable = dmVelbor.D_HABITAT
              LookupField = 'HABITAT_CODE'
              ShowMatchText = True
              Selected = (
                'HABITAT_CODE'#9'6'#9'Code'
                'HABITAT_LIB'#9'45'#9'Libellé')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
          end
          object Label20: TLabel
            Left = 12
            Top = 224
            Caption = 'Nombre'
          end
          object dbeNbr4: TDBEdit
            Left = 70
            Top = 220
            Width = 50
            Height = 21
            DataField = 'ZH_NBR_HAB'
            DataSource = dmVelbor.dsQZoneHumide
          end
        end
        object GroupBox2_6b: TGroupBox
          Left = 8
          Top = 258
          Width = 604
          Height = 206
          Caption = ' Informations complémentaires '
          TabOrder = 0
          object DBMemoInfHab: TDBMemo
            Left = 12
            Top = 20
            Width = 580
            Height = 176
            DataField = 'ZH_INF_HAB'
            DataSource = dmVelbor.dsQZoneHumide
          end
        end
      end
    end
    object ts2_6bis: TTabSheet
      Caption = 'ts2_6bis'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox2_6bis: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox20: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 460
          Caption = ' Fonction biologique '
          TabOrder = 0
          object qvNavFonctBio: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsFonctBio
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton77: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton78: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton79: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton80: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnFonctBioPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnFonctBioClick
            end
            object qvNavBtnFonctBioMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object DBCtrlGrdFonctBio: TDBCtrlGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 410
            DataSource = dmVelbor.dsFonctBio
            PanelCount = 5
            PanelHeight = 82
            PanelWidth = 568
            AllowInsert = False
            AllowDelete = False
            TabOrder = 1
            object Label21: TLabel
              Left = 8
              Top = 4
              Caption = 'Code'
            end
            object qvDBlkcboFonctBio: TqvDBLookupCombo
              Left = 8
              Top = 18
              Width = 60
              Height = 21
              DataField = 'IFZ_CODE'
              DataSource = dmVelbor.dsFonctBio
              LookupTable = dmVelbor.qINT_FONCT_BIO
              LookupField = 'IFZ_CODE'
              ShowMatchText = True
              Selected = (
                'IFZ_CODE'#9'3'#9'Code'
                'IFZ_LIB'#9'45'#9'Libellé')
              Style = csDropDownList
              OnBeforeDropDown = qvDBlkcboFonctBioBeforeDropDown
              OnDropDown = qvDBLkcboCommuneDropDown
            end
            object Label22: TLabel
              Left = 76
              Top = 4
              Caption = 'Rang'
            end
            object DBEditRang1: TDBEdit
              Left = 76
              Top = 18
              Width = 40
              Height = 21
              DataField = 'FBZ_ORDRE'
              DataSource = dmVelbor.dsFonctBio
            end
            object Label23: TLabel
              Left = 124
              Top = 4
              Caption = 'Libellé'
            end
            object DBTextLib1: TDBText
              Left = 124
              Top = 18
              Width = 400
              Height = 17
              DataField = 'libelle'
              DataSource = dmVelbor.dsFonctBio
            end
            object Label24: TLabel
              Left = 8
              Top = 42
              Caption = 'Remarque'
            end
            object DBMemo10: TDBMemo
              Left = 8
              Top = 56
              Width = 516
              Height = 21
              DataField = 'FBZ_REM'
              DataSource = dmVelbor.dsFonctBio
            end
          end
        end
      end
    end
    object ts2_7: TTabSheet
      Caption = 'ts2_7'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox2_7: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox21: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 228
          Caption = ' Activités humaines au sein de la zone humide '
          TabOrder = 0
          object qvNavActHum: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsActHum
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton81: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton82: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton83: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton84: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnActHumPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnActHumPlusClick
            end
            object qvNavBtnActHumMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object DBCtrlGrdActHum: TDBCtrlGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 178
            DataSource = dmVelbor.dsActHum
            PanelCount = 2
            PanelHeight = 89
            PanelWidth = 568
            AllowInsert = False
            AllowDelete = False
            TabOrder = 1
            object Label25: TLabel
              Left = 8
              Top = 4
              Caption = 'Code'
            end
            object qvDBLkcboActHum: TqvDBLookupCombo
              Left = 8
              Top = 18
              Width = 60
              Height = 21
              DataField = 'ACT_HUM_CODE'
              DataSource = dmVelbor.dsActHum
              LookupTable = dmVelbor.D_ACT_HUM
              LookupField = 'ACT_HUM_CODE'
              ShowMatchText = True
              Selected = (
                'ACT_HUM_CODE'#9'3'#9'Code'
                'ACT_HUM_LIB'#9'45'#9'Libellé')
              Style = csDropDownList
              OnDropDown = qvDBLkcboCommuneDropDown
            end
            object Label26: TLabel
              Left = 76
              Top = 4
              Caption = 'Rang'
            end
            object DBEditRang2: TDBEdit
              Left = 76
              Top = 18
              Width = 40
              Height = 21
              DataField = 'ACT_HUM_ZH_ORDRE'
              DataSource = dmVelbor.dsActHum
            end
            object Label27: TLabel
              Left = 124
              Top = 4
              Caption = 'Libellé'
            end
            object DBTextLib2: TDBText
              Left = 124
              Top = 18
              Width = 400
              Height = 17
              DataField = 'libelle'
              DataSource = dmVelbor.dsActHum
            end
            object Label28: TLabel
              Left = 8
              Top = 42
              Caption = 'Remarque'
            end
            object DBMemo19: TDBMemo
              Left = 8
              Top = 56
              Width = 516
              Height = 26
              DataField = 'ACT_HUM_ZH_REM'
              DataSource = dmVelbor.dsActHum
            end
          end
        end
        object GroupBox22: TGroupBox
          Left = 8
          Top = 236
          Width = 604
          Height = 228
          Caption = ' Activités humaines autour de la zone humide '
          TabOrder = 0
          object qvNavActHum2: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsActHum2
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton85: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton86: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton87: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton88: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnActHum2Plus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnActHum2PlusClick
            end
            object qvNavBtnActHum2Moins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object DBCtrlGrdActHum2: TDBCtrlGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 178
            DataSource = dmVelbor.dsActHum2
            PanelCount = 2
            PanelHeight = 89
            PanelWidth = 568
            AllowInsert = False
            AllowDelete = False
            TabOrder = 1
            object Label29: TLabel
              Left = 8
              Top = 4
              Caption = 'Code'
            end
            object qvDBLkcboActHum2: TqvDBLookupCombo
              Left = 8
              Top = 18
              Width = 60
              Height = 21
              DataField = 'ACT_HUM_CODE'
              DataSource = dmVelbor.dsActHum2
              LookupTable = dmVelbor.D_ACT_HUM
              LookupField = 'ACT_HUM_CODE'
              ShowMatchText = True
              Selected = (
                'ACT_HUM_CODE'#9'3'#9'Code'
                'ACT_HUM_LIB'#9'45'#9'Libellé')
              Style = csDropDownList
              OnDropDown = qvDBLkcboCommuneDropDown
            end
            object Label30: TLabel
              Left = 76
              Top = 4
              Caption = 'Rang'
            end
            object DBEditRang3: TDBEdit
              Left = 76
              Top = 18
              Width = 40
              Height = 21
              DataField = 'ACT_HUM_ZH_ORDRE'
              DataSource = dmVelbor.dsActHum2
            end
            object Label31: TLabel
              Left = 124
              Top = 4
              Caption = 'Libellé'
            end
            object DBTextLib3: TDBText
              Left = 124
              Top = 18
              Width = 400
              Height = 17
              DataField = 'libelle'
              DataSource = dmVelbor.dsActHum2
            end
            object Label32: TLabel
              Left = 8
              Top = 42
              Caption = 'Remarque'
            end
            object DBMemo20: TDBMemo
              Left = 8
              Top = 56
              Width = 516
              Height = 26
              DataField = 'ACT_HUM_ZH_REM'
              DataSource = dmVelbor.dsActHum2
            end
          end
        end
      end
    end
    object ts2_8: TTabSheet
      Caption = 'ts2_8'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox2_8: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox23: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 228
          Caption = ' Facteurs influençant l''évolution de la zone humide (au sein) '
          TabOrder = 0
          object qvNavFactInf: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsFactInf
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton89: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton90: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton91: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton92: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnFactInfPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnFactInfPlusClick
            end
            object qvNavBtnFactInfMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdFactInf: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 178
            Selected = (
              'FAI_CODE'#9'8'#9'Code'
              'libelle'#9'75'#9'Libellé'#9'T'
              'FSZ_ORDRE'#9'8'#9'Rang')
            DataSource = dmVelbor.dsFactInf
            KeyOptions = []
            TabOrder = 1
            ControlType = (
              'FAI_CODE;LookupCombo;qvDBLkcboFactInf')
            object qvDBLkcboFactInf: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsFactInf
              DataField = 'FAI_CODE'
              LookupTable = dmVelbor.D_FACT_INF
              LookupField = 'FAI_CODE'
              ShowMatchText = True
              Selected = (
                'FAI_CODE'#9'4'#9'Code'
                'FAI_LIB'#9'45'#9'Libellé')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
          end
        end
        object GroupBox24: TGroupBox
          Left = 8
          Top = 236
          Width = 604
          Height = 228
          Caption = ' Facteurs influençant l''évolution de la zone humide (autour) '
          TabOrder = 0
          object qvNavFactInf2: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsFactInf2
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton93: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton94: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton95: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton96: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnFactInf2Plus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnFactInf2PlusClick
            end
            object qvNavBtnFactInf2Moins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdFactInf2: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 178
            Selected = (
              'FAI_CODE'#9'8'#9'Code'
              'libelle'#9'75'#9'Libellé'#9'T'
              'FSZ_ORDRE'#9'8'#9'Rang')
            DataSource = dmVelbor.dsFactInf2
            KeyOptions = []
            TabOrder = 1
            ControlType = (
              'FAI_CODE;LookupCombo;qvDBLkcboFactInf2')
            object qvDBLkcboFactInf2: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsFactInf2
              DataField = 'FAI_CODE'
              LookupTable = dmVelbor.D_FACT_INF
              LookupField = 'FAI_CODE'
              ShowMatchText = True
              Selected = (
                'FAI_CODE'#9'4'#9'Code'
                'FAI_LIB'#9'45'#9'Libellé')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
          end
        end
      end
    end
    object ts2_9: TTabSheet
      Caption = 'ts2_9'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox2_9: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox25: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 460
          Caption = ' Valeurs socio-économiques '
          TabOrder = 0
          object qvNavValSE: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsValSE
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton97: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton98: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton99: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton100: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnValSEPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnValSEPlusClick
            end
            object qvNavBtnValSEMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object DBCtrlGrdValSE: TDBCtrlGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 410
            DataSource = dmVelbor.dsValSE
            PanelCount = 4
            PanelHeight = 102
            PanelWidth = 568
            AllowInsert = False
            AllowDelete = False
            TabOrder = 1
            object Label33: TLabel
              Left = 8
              Top = 4
              Caption = 'Code'
            end
            object qvDBLkcbodmValSE: TqvDBLookupCombo
              Left = 8
              Top = 18
              Width = 60
              Height = 21
              DataField = 'VAL_SE_CODE'
              DataSource = dmVelbor.dsValSE
              LookupTable = dmVelbor.D_VAL_SE
              LookupField = 'VAL_SE_CODE'
              ShowMatchText = True
              Selected = (
                'VAL_SE_CODE'#9'3'#9'Code'
                'VAL_SE_LIB'#9'45'#9'Libellé')
              Style = csDropDownList
              OnDropDown = qvDBLkcboCommuneDropDown
            end
            object Label34: TLabel
              Left = 76
              Top = 4
              Caption = 'Rang'
            end
            object DBEditRang4: TDBEdit
              Left = 76
              Top = 18
              Width = 40
              Height = 21
              DataField = 'VSZ_ORDRE'
              DataSource = dmVelbor.dsValSE
            end
            object Label35: TLabel
              Left = 124
              Top = 4
              Caption = 'Libellé'
            end
            object DBTextLib4: TDBText
              Left = 124
              Top = 18
              Width = 400
              Height = 17
              DataField = 'libelle'
              DataSource = dmVelbor.dsValSE
            end
            object Label36: TLabel
              Left = 8
              Top = 42
              Caption = 'Remarque'
            end
            object DBMemo14: TDBMemo
              Left = 8
              Top = 56
              Width = 516
              Height = 26
              DataField = 'VSZ_REM'
              DataSource = dmVelbor.dsValSE
            end
          end
        end
      end
    end
    object ts3_1: TTabSheet
      Caption = 'ts3_1'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox3_1: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox26: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 460
          Caption = ' Statuts fonciers '
          TabOrder = 0
          object qvNavStatutFoncier: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsStatutFoncier
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton101: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton102: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton103: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton104: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnStatutFoncierPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnStatutFoncierClick
            end
            object qvNavBtnStatutFoncierMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object DBCtrlGrdStatutFoncier: TDBCtrlGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 410
            DataSource = dmVelbor.dsStatutFoncier
            PanelCount = 4
            PanelHeight = 102
            PanelWidth = 568
            AllowInsert = False
            AllowDelete = False
            TabOrder = 1
            object Label37: TLabel
              Left = 8
              Top = 4
              Caption = 'Code'
            end
            object qvDBLkcboStatutFoncier: TqvDBLookupCombo
              Left = 8
              Top = 18
              Width = 60
              Height = 21
              DataField = 'SFO_CODE'
              DataSource = dmVelbor.dsStatutFoncier
              LookupTable = dmVelbor.D_STATUT_FONC
              LookupField = 'SFO_CODE'
              ShowMatchText = True
              Selected = (
                'SFO_CODE'#9'3'#9'Code'
                'SFO_LIB'#9'45'#9'Libellé')
              Style = csDropDownList
              OnDropDown = qvDBLkcboCommuneDropDown
            end
            object Label38: TLabel
              Left = 76
              Top = 4
              Caption = 'Rang'
            end
            object DBEditRang5: TDBEdit
              Left = 76
              Top = 18
              Width = 40
              Height = 21
              DataField = 'SFZ_ORDRE'
              DataSource = dmVelbor.dsStatutFoncier
            end
            object Label39: TLabel
              Left = 124
              Top = 4
              Caption = 'Libellé'
            end
            object DBTextLib5: TDBText
              Left = 124
              Top = 18
              Width = 400
              Height = 17
              DataField = 'libelle'
              DataSource = dmVelbor.dsStatutFoncier
            end
            object Label40: TLabel
              Left = 8
              Top = 42
              Caption = 'Remarque'
            end
            object DBMemo15: TDBMemo
              Left = 8
              Top = 56
              Width = 516
              Height = 26
              DataField = 'SFZ_REM'
              DataSource = dmVelbor.dsStatutFoncier
            end
          end
        end
      end
    end
    object ts3_2: TTabSheet
      Caption = 'ts3_2'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox3_2: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox27: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 460
          Caption = ' Mesures de protection des espaces '
          TabOrder = 0
          object qvNavMesureProt: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsMesureProt
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton105: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton106: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton107: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton108: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnMesureProtPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnMesureProtPlusClick
            end
            object qvNavBtnMesureProtMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object DBCtrlGrdMesureProt: TDBCtrlGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 410
            DataSource = dmVelbor.dsMesureProt
            PanelCount = 4
            PanelHeight = 102
            PanelWidth = 568
            AllowInsert = False
            AllowDelete = False
            TabOrder = 1
            object Label41: TLabel
              Left = 8
              Top = 4
              Caption = 'Code'
            end
            object qvDBLkcboMesureProt: TqvDBLookupCombo
              Left = 8
              Top = 18
              Width = 60
              Height = 21
              DataField = 'MEN_CODE'
              DataSource = dmVelbor.dsMesureProt
              LookupTable = qMesureProtectionEspaces
              LookupField = 'MEN_CODE'
              ShowMatchText = True
              Selected = (
                'MEN_CODE'#9'3'#9'Code'
                'MEN_LIB'#9'45'#9'Libellé')
              Style = csDropDownList
              OnDropDown = qvDBLkcboCommuneDropDown
            end
            object Label42: TLabel
              Left = 76
              Top = 4
              Caption = 'Rang'
            end
            object DBEditRang6: TDBEdit
              Left = 76
              Top = 18
              Width = 40
              Height = 21
              DataField = 'MEN_ORDRE'
              DataSource = dmVelbor.dsMesureProt
            end
            object Label43: TLabel
              Left = 124
              Top = 4
              Caption = 'Libellé'
            end
            object DBTextLib6: TDBText
              Left = 124
              Top = 18
              Width = 400
              Height = 17
              DataField = 'libelle'
              DataSource = dmVelbor.dsMesureProt
            end
            object Label44: TLabel
              Left = 8
              Top = 42
              Caption = 'Remarque'
            end
            object DBMemo16: TDBMemo
              Left = 8
              Top = 56
              Width = 516
              Height = 26
              DataField = 'MEZ_REM'
              DataSource = dmVelbor.dsMesureProt
            end
          end
        end
      end
    end
    object ts3_3: TTabSheet
      Caption = 'ts3_3'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox3_3: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox28: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 460
          Caption = ' Mesures de protection des milieux aquatiques  '
          TabOrder = 0
          object qvNavMesureProtAqua: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsMesureProtAqua
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton109: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton110: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton111: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton112: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnMesureProtAquaPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnMesureProtAquaPlusClick
            end
            object qvNavBtnMesureProtAquaMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object DBCtrlGrdMesureProtAqua: TDBCtrlGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 410
            DataSource = dmVelbor.dsMesureProtAqua
            PanelCount = 4
            PanelHeight = 102
            PanelWidth = 568
            AllowInsert = False
            AllowDelete = False
            TabOrder = 1
            object Label45: TLabel
              Left = 8
              Top = 4
              Caption = 'Code'
            end
            object qvDBLkcboMesureProtAqua: TqvDBLookupCombo
              Left = 8
              Top = 18
              Width = 60
              Height = 21
              DataField = 'MEN_CODE'
              DataSource = dmVelbor.dsMesureProtAqua
              LookupTable = qMesureProtectionAqua
              LookupField = 'MEN_CODE'
              ShowMatchText = True
              Selected = (
                'MEN_CODE'#9'3'#9'Code'
                'MEN_LIB'#9'45'#9'Libellé')
              Style = csDropDownList
              OnDropDown = qvDBLkcboCommuneDropDown
            end
            object Label46: TLabel
              Left = 76
              Top = 4
              Caption = 'Rang'
            end
            object DBEditRang7: TDBEdit
              Left = 76
              Top = 18
              Width = 40
              Height = 21
              DataField = 'MMA_CODE'
              DataSource = dmVelbor.dsMesureProtAqua
            end
            object Label47: TLabel
              Left = 124
              Top = 4
              Caption = 'Libellé'
            end
            object DBTextLib7: TDBText
              Left = 124
              Top = 18
              Width = 400
              Height = 17
              DataField = 'libelle'
              DataSource = dmVelbor.dsMesureProtAqua
            end
            object Label48: TLabel
              Left = 8
              Top = 42
              Caption = 'Remarque'
            end
            object DBMemo17: TDBMemo
              Left = 8
              Top = 56
              Width = 516
              Height = 26
              DataField = 'MMA_REM'
              DataSource = dmVelbor.dsMesureProtAqua
            end
          end
        end
      end
    end
    object ts3_4: TTabSheet
      Caption = 'ts3_4'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox3_4: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox29: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 460
          Caption = ' Instruments contractuels et financiers '
          TabOrder = 0
          object qvNavInstContFinacier: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsInstContFinacier
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton113: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton114: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton115: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton116: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnInstContFinacierPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnInstContFinacierPlusClick
            end
            object qvNavBtnInstContFinacierMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object DBCtrlGrdInstContFinacier: TDBCtrlGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 410
            DataSource = dmVelbor.dsInstContFinacier
            PanelCount = 3
            PanelHeight = 136
            PanelWidth = 568
            AllowInsert = False
            AllowDelete = False
            TabOrder = 1
            object Label49: TLabel
              Left = 8
              Top = 4
              Caption = 'Code'
            end
            object qvDBLkcboInstContFinacier: TqvDBLookupCombo
              Left = 8
              Top = 18
              Width = 60
              Height = 21
              DataField = 'ICF_CODE'
              DataSource = dmVelbor.dsInstContFinacier
              LookupTable = dmVelbor.D_INST_CF
              LookupField = 'ICF_CODE'
              ShowMatchText = True
              Selected = (
                'ICF_CODE'#9'3'#9'Code'
                'ICF_LIB'#9'45'#9'Libellé')
              Style = csDropDownList
              OnDropDown = qvDBLkcboCommuneDropDown
            end
            object Label50: TLabel
              Left = 76
              Top = 4
              Caption = 'Durée'
            end
            object DBEditDuree1: TDBEdit
              Left = 76
              Top = 18
              Width = 80
              Height = 21
              DataField = 'ICZ_DUREE'
              DataSource = dmVelbor.dsInstContFinacier
            end
            object Label51: TLabel
              Left = 164
              Top = 4
              Caption = 'MM/AAAA'
            end
            object DBEdit21: TDBEdit
              Left = 164
              Top = 18
              Width = 70
              Height = 21
              DataField = 'ICZ_DATE'
              DataSource = dmVelbor.dsInstContFinacier
            end
            object Label52: TLabel
              Left = 242
              Top = 4
              Caption = 'Libellé'
            end
            object DBTextLib8: TDBText
              Left = 242
              Top = 18
              Width = 300
              Height = 17
              DataField = 'libelle'
              DataSource = dmVelbor.dsInstContFinacier
            end
            object Label53: TLabel
              Left = 8
              Top = 42
              Caption = 'Remarque'
            end
            object DBMemo18: TDBMemo
              Left = 8
              Top = 56
              Width = 516
              Height = 60
              DataField = 'ICZ_REM'
              DataSource = dmVelbor.dsInstContFinacier
            end
          end
        end
      end
    end
    object ts4_1: TTabSheet
      Caption = 'ts4_1'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox4_1: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox4_1: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 460
          Caption = ' Evaluation '
          TabOrder = 0
          object Label54: TLabel
            Left = 12
            Top = 20
            Caption = 'Fonctions et valeurs majeures'
          end
          object DBMemoFonctVal: TDBMemo
            Left = 12
            Top = 36
            Width = 580
            Height = 80
            DataField = 'ZH_FONCT_VAL'
            DataSource = dmVelbor.dsQZoneHumide
          end
          object Label55: TLabel
            Left = 12
            Top = 126
            Caption = 'Diagnostic hydraulique'
          end
          object OxDBLkcboDiagHydro: TOxDBLookupCombo
            Left = 150
            Top = 122
            Width = 442
            Height = 21
            DataField = 'ZH_DIAG_HYDRO'
            DataSource = dmVelbor.dsQZoneHumide
            LookupSource = dsqmtDiagHydro
            LookupField = 'num'
            LookupDisplay = 'lib'
            DropDownWidth = 500
            DropDownAlign = daRight
          end
          object DBMemoDiagHydroRem: TDBMemo
            Left = 12
            Top = 148
            Width = 580
            Height = 60
            DataField = 'ZH_DIAG_HYDRO_REM'
            DataSource = dmVelbor.dsQZoneHumide
          end
          object LabelDiagPat: TLabel
            Left = 12
            Top = 226
            Caption = 'Diagnostic patrimonial'
          end
          object OxDBCboDiagPat: TOxDBComboBox
            Left = 150
            Top = 222
            Width = 442
            Height = 21
            DataField = 'ZH_DIAG_PAT'
            DataSource = dmVelbor.dsQZoneHumide
            Items = (
              'Habitats non dégradés'
              'Habitats partiellement dégradés'
              'Habitats très fortement dégradés')
            Values = (
              '1'
              '2'
              '3')
          end
          object DBMemoDiagPatRem: TDBMemo
            Left = 12
            Top = 260
            Width = 580
            Height = 60
            DataField = 'ZH_DIAG_PAT_REM'
            DataSource = dmVelbor.dsQZoneHumide
          end
          object Label56: TLabel
            Left = 12
            Top = 328
            Caption = 'Menaces'
          end
          object DBMemoMenace: TDBMemo
            Left = 12
            Top = 344
            Width = 580
            Height = 104
            DataField = 'ZH_MENACE'
            DataSource = dmVelbor.dsQZoneHumide
          end
        end
      end
    end
    object ts5_1: TTabSheet
      Caption = 'ts5_1'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox5_1: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox30: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 460
          Caption = ' Orientations d''actions '
          TabOrder = 0
          object qvNavOrientZH: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsOrientZH
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton117: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton118: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton119: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton120: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnOrientZHPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnOrientZHPlusClick
            end
            object qvNavBtnOrientZHMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object DBCtrlGrdOrientZH: TDBCtrlGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 410
            DataSource = dmVelbor.dsOrientZH
            PanelCount = 2
            PanelHeight = 205
            PanelWidth = 568
            AllowInsert = False
            AllowDelete = False
            TabOrder = 1
            object Label57: TLabel
              Left = 8
              Top = 4
              Caption = 'Rang'
            end
            object DBEdit2: TDBEdit
              Left = 8
              Top = 18
              Width = 40
              Height = 21
              DataField = 'ORZ_RANG'
              DataSource = dmVelbor.dsOrientZH
            end
            object Label58: TLabel
              Left = 56
              Top = 4
              Caption = 'Recommandation'
            end
            object DBMemo2: TDBMemo
              Left = 56
              Top = 18
              Width = 480
              Height = 80
              DataField = 'ORZ_RECOM'
              DataSource = dmVelbor.dsOrientZH
            end
            object Label59: TLabel
              Left = 56
              Top = 102
              Caption = 'Modalités de mise en oeuvre'
            end
            object DBMemo9: TDBMemo
              Left = 56
              Top = 116
              Width = 480
              Height = 76
              DataField = 'ORZ_MODAL'
              DataSource = dmVelbor.dsOrientZH
            end
          end
        end
      end
    end
    object ts6_1: TTabSheet
      Caption = 'ts6_1'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox6_1: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox31: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 170
          Caption = ' Critères de délimitation '
          TabOrder = 0
          object qvNavDelCartoZh: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsDelCartoZh
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton121: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton122: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton123: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton124: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnDelCartoZhPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnDelCartoZhClick
            end
            object qvNavBtnDelCartoZhMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdDelCartoZh: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 120
            Selected = (
              'DEL_CARTO_CODE'#9'10'#9'Code'
              'libelle'#9'82'#9'Nom'#9'T')
            DataSource = dmVelbor.dsDelCartoZh
            KeyOptions = []
            TabOrder = 1
            ControlType = (
              'DEL_CARTO_CODE;LookupCombo;qvDBlkcboDelCartoZh')
            object qvDBlkcboDelCartoZh: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsDelCartoZh
              DataField = 'DEL_CARTO_CODE'
              LookupTable = dmVelbor.D_DEL_CARTO
              LookupField = 'DEL_CARTO_CODE'
              ShowMatchText = True
              Selected = (
                'DEL_CARTO_CODE'#9'4'#9'Code'
                'DEL_CARTO_LIB'#9'45'#9'Nom')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
          end
        end
        object GroupBox32: TGroupBox
          Left = 8
          Top = 178
          Width = 604
          Height = 170
          Caption = ' Cartes IGN associées à la zone humide '
          TabOrder = 0
          object qvNavIGN: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsIGN
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton125: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton126: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton127: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton128: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnIGNPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnIGNPlusClick
            end
            object qvNavBtnIGNMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdIGN: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 120
            Selected = (
              'CARTE_IGN_CODE'#9'7'#9'Code'
              'CARTE_IGN_NOM'#9'55'#9'Nom'
              'CARTE_IGN_ECHELLE'#9'10'#9'Echelle'
              'CARTE_IGN_SERIE'#9'18'#9'Série')
            DataSource = dmVelbor.dsIGN
            KeyOptions = []
            TabOrder = 1
            ControlType = (
              'CARTE_IGN_CODE;LookupCombo;qvDBLkCboIGN')
            object qvDBLkCboIGN: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsIGN
              DataField = 'CARTE_IGN_CODE'
              LookupTable = dmVelbor.T_CARTE_IGN
              LookupField = 'CARTE_IGN_CODE'
              ShowMatchText = True
              Selected = (
                'CARTE_IGN_CODE'#9'7'#9'Code'
                'CARTE_IGN_NOM'#9'24'#9'Nom'
                'CARTE_IGN_ECHELLE'#9'8'#9'Echelle')
              DropDownWidth = 300
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
          end
        end
        object GroupBox6_1c: TGroupBox
          Left = 8
          Top = 352
          Width = 604
          Height = 112
          Caption = ' Référence de la carte '
          TabOrder = 0
          object DBMemoCarte: TDBMemo
            Left = 12
            Top = 18
            Width = 580
            Height = 84
            DataField = 'ZH_CARTE'
            DataSource = dmVelbor.dsQZoneHumide
          end
        end
      end
    end
    object ts7_1: TTabSheet
      Caption = 'ts7_1'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox7_1: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox33: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 460
          Caption = ' Liste des espèces végétales '
          TabOrder = 0
          object qvNavEspVegDiren: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsEspVegDiren
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton129: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton130: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton131: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton132: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnEspVegDirenPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvDBNavEspeceVegZHPlusClick
            end
            object qvNavBtnEspVegDirenMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdEspVegDiren: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 410
            Selected = (
              'libTheme'#9'20'#9'Thème'
              'libLatin'#9'20'#9'Nom~Latin'#9'T'
              'libAuteur'#9'20'#9'Auteur'#9'T'
              'libFR'#9'20'#9'Nom~Français'#9'T'
              'libProtNat'#9'20'#9'Protection~nationale'#9'T'
              'libProtReg'#9'20'#9'Protection~régionale'#9'T'
              'libHabitat'#9'20'#9'Directive~Habitat'#9'T'
              'libFLG'#9'11'#9'strictes'#9'T'
              'TAXON_FLG_CRIT'#9'11'#9'avec critères'
              'libLR'#9'20'#9'Liste rouge~France'#9'T')
            DataSource = dmVelbor.dsEspVegDiren
            KeyOptions = []
            TabOrder = 1
            TitleLines = 2
            TitleAlignment = taCenter
            ControlType = (
              'libTheme;LookupCombo;qvDBLkCboEspeceVeg'
              'libFLG;CheckBox;VRAI;FAUX'
              'TAXON_FLG_CRIT;CheckBox;VRAI;FAUX')
            object qvDBLkCboEspeceVeg: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsEspVegDiren
              DataField = 'TAXON_CODE'
              LookupTable = qVegetalDiren
              LookupField = 'TAXON_CODE'
              ShowMatchText = True
              Selected = (
                'TAXON_THEME'#9'14'#9'Thème'
                'TAXON_LATIN'#9'28'#9'Nom latin'
                'TAXON_FR'#9'28'#9'Nom français')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
          end
        end
      end
    end
    object ts7_2: TTabSheet
      Caption = 'ts7_2'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox7_2: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox34: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 460
          Caption = ' Liste des espèces animales '
          TabOrder = 0
          object qvNavEspAniDiren: TqvDBNavigator
            Left = 8
            Top = 16
            Width = 150
            Height = 22
            DataSource = dmVelbor.dsEspAniDiren
            AutosizeStyle = asSizeNavButtons
            Flat = False
            TabOrder = 0
            object qvNavButton133: TqvNavButton
              Style = nbsFirst
            end
            object qvNavButton134: TqvNavButton
              Style = nbsPrior
            end
            object qvNavButton135: TqvNavButton
              Style = nbsNext
            end
            object qvNavButton136: TqvNavButton
              Style = nbsLast
            end
            object qvNavBtnEspAniDirenPlus: TqvNavButton
              Caption = '+'
              ShowText = True
              Style = nbsCustom
              OnClick = qvDBNavEspeceAniZHPlusClick
            end
            object qvNavBtnEspAniDirenMoins: TqvNavButton
              Caption = '-'
              ShowText = True
              Style = nbsCustom
              OnClick = qvNavBtnAliasMoinsClick
            end
          end
          object qvDBGrdEspAniDiren: TqvDBGrid
            Left = 8
            Top = 42
            Width = 588
            Height = 410
            Selected = (
              'libTheme'#9'20'#9'Thème'
              'libLatin'#9'20'#9'Nom~Latin'#9'T'
              'libAuteur'#9'20'#9'Auteur'#9'T'
              'libFR'#9'20'#9'Nom~Français'#9'T'
              'libProtNat'#9'20'#9'Protection~nationale'#9'T'
              'libProtReg'#9'20'#9'Protection~régionale'#9'T'
              'libAnnexe1'#9'4'#9'Directive~Oiseaux'#9'T'
              'libAnnexe2'#9'10'#9'Directive~Habitats'#9'T'
              'libFLG'#9'11'#9'strictes'#9'T'
              'TAXON_FLG_CRIT'#9'11'#9'avec critères'
              'libLR'#9'20'#9'Liste rouge~France'#9'T')
            DataSource = dmVelbor.dsEspAniDiren
            KeyOptions = []
            TabOrder = 1
            TitleLines = 2
            TitleAlignment = taCenter
            ControlType = (
              'libTheme;LookupCombo;qvDBLkCboEspeceAni'
              'libFLG;CheckBox;VRAI;FAUX'
              'TAXON_FLG_CRIT;CheckBox;VRAI;FAUX')
            object qvDBLkCboEspeceAni: TqvDBLookupCombo
              Left = 0
              Top = 0
              Width = 80
              Height = 21
              DataSource = dmVelbor.dsEspAniDiren
              DataField = 'TAXON_CODE'
              LookupTable = qAnimalDiren
              LookupField = 'TAXON_CODE'
              ShowMatchText = True
              Selected = (
                'TAXON_THEME'#9'14'#9'Thème'
                'TAXON_LATIN'#9'28'#9'Nom latin'
                'TAXON_FR'#9'28'#9'Nom français')
              Visible = False
              OnDropDown = qvDBLkcboCommuneDropDown
            end
          end
        end
      end
    end
    object ts7_3: TTabSheet
      Caption = 'ts7_3'
      OnEnter = ts1_1Enter
      OnExit = ts1_1Exit
      object ScrollBox7_3: TScrollBox
        Left = 0
        Top = 0
        Width = 626
        Height = 488
        Align = alClient
        BorderStyle = bsNone
        TabOrder = 0
        object GroupBox7_3: TGroupBox
          Left = 8
          Top = 4
          Width = 604
          Height = 460
          Caption = ' Remarques '
          TabOrder = 0
          object DBMemoCommentaire: TDBMemo
            Left = 12
            Top = 18
            Width = 580
            Height = 432
            DataField = 'ZH_COMMENTAIRE'
            DataSource = dmVelbor.dsQZoneHumide
          end
        end
      end
    end
  end
  object bbtnValidation: TBitBtn
    Left = 384
    Top = 472
    Width = 99
    Height = 32
    Caption = 'Validation'
    TabOrder = 2
    Visible = False
    OnClick = OxExpressButton7Click
  end
  object bbtnAnnulation: TBitBtn
    Left = 504
    Top = 472
    Width = 99
    Height = 32
    Caption = 'Annulation'
    TabOrder = 2
    Visible = False
    OnClick = bbtnAnnulationClick
  end
  object ActionList1: TActionList
    object actAide: TAction
      Caption = 'Aide'
      ShortCut = 112
    end
    object actFicheMois: TAction
      Caption = 'Fiche précédente'
      ShortCut = 114
      OnExecute = actFicheMoisExecute
    end
    object actFichePlus: TAction
      Caption = 'Fiche suivante'
      ShortCut = 115
      OnExecute = actFichePlusExecute
    end
    object actMoins: TAction
      Caption = '<-'
      ShortCut = 116
      OnExecute = actMoinsExecute
    end
    object actPlus: TAction
      Caption = '->'
      ShortCut = 117
      OnExecute = actPlusExecute
    end
    object actValider: TAction
      Caption = 'Valider'
      ShortCut = 119
      OnExecute = actValiderExecute
    end
    object actAnnuler: TAction
      Caption = 'Annuler'
      ShortCut = 120
      OnExecute = actAnnulerExecute
    end
    object actModif: TAction
      Caption = 'Modifier'
      ShortCut = 123
      OnExecute = actModifExecute
    end
  end
  object ImageList1: TImageList
    Height = 32
    Width = 32
  end
  object qRegion: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from D_REGION order by REG_LIB')
  end
  object dsqRegion: TDataSource
    DataSet = qRegion
  end
  object qDep: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from D_DEPARTEMENT D  order by D.DEP_LIB')
  end
  object dsqDep: TDataSource
    DataSet = qDep
  end
  object qCommune: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from D_COMMUNE C order by C.COM_LIB')
  end
  object dsqCommune: TDataSource
    DataSet = qCommune
  end
  object qVegetal: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from D_TAXON where TAXON_CODE like ''V%'' order by TAXON_THEME,TAXON_LATIN,TAXON_FR')
  end
  object dsqVegetal: TDataSource
    DataSet = qVegetal
  end
  object qAnimal: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from D_TAXON where TAXON_CODE like ''A%'' order by TAXON_THEME,TAXON_LATIN,TAXON_FR')
  end
  object dsqAnimal: TDataSource
    DataSet = qAnimal
  end
  object qOiseaux: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from D_TAXON where TAXON_OISEAUX = TRUE order by TAXON_THEME,TAXON_LATIN,TAXON_FR')
  end
  object dsqOiseaux: TDataSource
    DataSet = qOiseaux
  end
  object qMesureProtectionEspaces: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from D_MES_PROT_EN WHERE  MEN_TYPE = ''1'' ORDER BY MEN_CODE')
  end
  object dsqMesureProtectionEspaces: TDataSource
    DataSet = qMesureProtectionEspaces
  end
  object qMesureProtectionAqua: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from D_MES_PROT_EN WHERE  MEN_TYPE = ''2'' ORDER BY MEN_CODE')
  end
  object dsqMesureProtectionAqua: TDataSource
    DataSet = qMesureProtectionAqua
  end
  object qVegetalDiren: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from T_TAXON_VEG where TAXON_CODE order by TAXON_THEME,TAXON_LATIN,TAXON_FR')
  end
  object dsqVegetalDiren: TDataSource
    DataSet = qVegetalDiren
  end
  object qAnimalDiren: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    LockType = ltReadOnly
    SQL = (
      'select * from T_TAXON_ANI where TAXON_CODE order by TAXON_THEME,TAXON_LATIN,TAXON_FR')
  end
  object dsqAnimalDiren: TDataSource
    DataSet = qAnimalDiren
  end
  object qRechercheEnveloppe: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    SQL = (
      'select distinct ZH_NOM_ENVELOPPE from t_zone_humide order by  ZH_NOM_ENVELOPPE')
  end
  object dsqRechercheEnveloppe: TDataSource
    DataSet = qRechercheEnveloppe
  end
  object qvLookupDialog1: TqvLookupDialog
    Selected = (
      'ZH_NOM_ENVELOPPE'#9'60'#9'Enveloppe de référence')
    LookupTable = qRechercheEnveloppe
    Caption = 'Enveloppes de référence'
  end
  object qZoneHydroLib: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    SQL = (
      'select * from D_ZONE_HYDRO ORDER BY ZONE_HYDRO_LIB')
  end
  object dsqZoneHydroLib: TDataSource
    DataSet = qZoneHydroLib
  end
  object qSysAquiLib: TADOQuery
    Connection = dmVelbor.ADOConnection
    CursorType = ctStatic
    SQL = (
      'select * from D_ENT_HYDRO ORDER BY ENT_HYDRO_LIB')
  end
  object dsqSysAquiLib: TDataSource
    DataSet = qSysAquiLib
  end
  object qvIntl: TqvIntl
    BtnCancelCaption = 'Annuler'
    Navigator.ConfirmDeleteMessage = 'Supprimer l''enregistrement ?'
    Navigator.Hints.FirstHint = 'Aller au premier enregistrement'
    Navigator.Hints.PriorHint = 'Aller à l''enregistrement précédent'
    Navigator.Hints.NextHint = 'Aller à l''enregistrement suivant'
    Navigator.Hints.LastHint = 'Aller au dernier enregistrement'
    Navigator.Hints.InsertHint = 'Insérer un nouvel enregistrement'
    Navigator.Hints.DeleteHint = 'Supprimer l''enregistrement actuel'
    Navigator.Hints.EditHint = 'Éditer l''enregistrement actuel'
    Navigator.Hints.PostHint = 'Inscrire les changements de l''enregistrement actuel'
    Navigator.Hints.CancelHint = 'Annuler les changements effectués à l''enregistrement actuel'
    Navigator.Hints.RefreshHint = 'Rafraichir le contenu de l''ensemble des données'
    Navigator.Hints.PriorPageHint = 'Aller à %d enregistrements précédents'
    Navigator.Hints.NextPageHint = 'Aller à %d enregistrements suivants'
    Navigator.Hints.SaveBookmarkHint = 'Placer un signet à l''enregistrement actuel'
    Navigator.Hints.RestoreBookmarkHint = 'Retour à l''enregistrement correspondant au signet'
    Navigator.Hints.RecordViewDialogHint = 'Voir le détail de l''enregistrement actuel'
    Navigator.Hints.LocateDialogHint = 'Trouver un enregistrement spécifique'
    Navigator.Hints.FilterDialogHint = 'Filtrer sur l''ensemble des données'
    Navigator.Hints.SearchDialogHint = 'Recherche sur l''ensemble des données'
    UserMessages.qvDBGridDiscardChanges = 'Annuler les changements à cet enregistrement ?'
    UserMessages.PictureValidateError = 'Caractères invalides.  Champ :'
    UserMessages.LocateNoMatches = 'Aucune correspondance trouvée'
    UserMessages.LocateNoMoreMatches = 'Aucune correspondance supplémentaire'
    UserMessages.MemoChangesWarning = 'Des changements ont été effectués !  Êtes-vous certain de vouloir annuler ?'
    UserMessages.RichEditExitWarning = 'Des changements ont été effectués !  Voulez-vous sauvegarder les changements ?'
    UserMessages.RichEditClearWarning = 'Effacer tout le texte ?'
    UserMessages.RichEditSpellCheckComplete = 'La vérification orthographique est terminée.'
    UserMessages.RichEditMSWordNotFound = 'Incapable de démarrer l''outil de vérification orthographique de Microsoft Word.'
    UserMessages.FilterDlgNoCriteria = 'Aucun critère de recherche spécifié'
    UserMessages.RecordViewExitWarning = 'Des changements ont été effectués !  Voulez-vous sauvegarder les changements ?'
    SearchDialog.SearchCharLabel = '&Caractères de recherche'
    SearchDialog.SearchCharShortLabel = '&Caractères de recherche'
    SearchDialog.SearchByLabel = 'Rechercher &par'
    SearchDialog.StatusRecLabel = 'Enreg #'
    SearchDialog.StatusOfLabel = 'de'
    SearchDialog.SearchCharHint = 'Entrer des caractères pour la recherche incrémentielle'
    SearchDialog.SearchByHint = 'Ordre de tri et de recherche incrémentielle'
    LocateDialog.FieldValueLabel = '&Valeur de champ'
    LocateDialog.SearchTypeLabel = '&Type de recherche'
    LocateDialog.CaseSensitiveLabel = 'C&asse-sensible'
    LocateDialog.MatchExactLabel = 'Correspondance &exacte'
    LocateDialog.MatchStartLabel = 'Correspondance &partielle au début'
    LocateDialog.MatchAnyLabel = 'Correspon&dance partielle partout'
    LocateDialog.FieldsLabel = '&Champs'
    LocateDialog.BtnFirst = '&Premier'
    LocateDialog.BtnNext = '&Suivant'
    LocateDialog.BtnCancel = 'Annuler'
    LocateDialog.BtnClose = 'Close'
    LocateDialog.FieldValueHint = 'Entrer la valeur de champ à rechercher'
    LocateDialog.CaseSensitiveHint = 'Rechercher avec casse-sensible'
    LocateDialog.MatchExactHint = 'Il y a occurence seulement s''il y a une correspondance exacte'
    LocateDialog.MatchStartHint = 'Il y a occurence si le début du champ correspond'
    LocateDialog.MatchAnyHint = 'Il y a occurence si n''importe quelle partie du champ correspond'
    LocateDialog.BtnFirstHint = 'Trouver la première occurence'
    LocateDialog.BtnNextHint = 'Trouver l''occurence suivante'
    LocateDialog.FieldNameHint = 'Spécifier le champ sur lequel effectuer la recheche'
    MonthCalendar.PopupYearLabel = 'Éditer l''année'
    MonthCalendar.EnterYearPrompt = 'Entrer une année valide'
    FilterDialog.BtnViewSummary = 'Vue so&mmaire'
    FilterDialog.BtnViewSummaryHint = 'Vue sommaire du critère de recherche actuel'
    FilterDialog.BtnNewSearch = '&Nouvelle recherche'
    FilterDialog.BtnNewSearchHint = 'Démarrer une nouvelle recherche'
    FilterDialog.FieldOrderLabel = 'Ordre de champ'
    FilterDialog.FieldOrderHint = 'Tri alphabétique de la liste des champs ou selon leur ordre logique naturel'
    FilterDialog.AlphabeticLabel = '&Alphabétique'
    FilterDialog.LogicalLabel = '&Logique'
    FilterDialog.AllFieldsLabel = '&Tous'
    FilterDialog.SearchedFieldsLabel = '&Recherchés'
    FilterDialog.StartingRangeLabel = '&Début d''intervalle'
    FilterDialog.EndingRangeLabel = '&Fin d''intervalle'
    FilterDialog.StartingRangeHint = 'Donner l''intervalle de début pour le champ'
    FilterDialog.EndingRangeHint = 'Donner la fin de l''intervalle pour le champ'
    FilterDialog.BtnClearMin = '&Efface'
    FilterDialog.BtnClearMax = '&Efface'
    FilterDialog.BtnClearFilterValue = '&Efface'
    FilterDialog.BtnClearMinHint = 'Effacer l''intervalle minimum pour le champ'
    FilterDialog.BtnClearMaxHint = 'Effacer l''intervalle maximum pour le champ'
    FilterDialog.BtnClearFilterValueHint = 'Effacer les valeurs du champ actuellement recherché'
    FilterDialog.ByValueLabel = 'Par &valeur'
    FilterDialog.ByRangeLabel = 'Par &intervalle'
    FilterDialog.FieldValueLabel = '&Valeur de champ'
    FilterDialog.FieldValueHint = 'Entrer la valeur de recherche de champ'
    FilterDialog.SearchTypeLabel = 'Type de recherche'
    FilterDialog.SearchTypeHint = 'Spécifier comment la valeur de champ doit être comparée'
    FilterDialog.MatchExactLabel = 'Correspondance e&xacte'
    FilterDialog.MatchStartLabel = 'Correspondance &partielle au début'
    FilterDialog.MatchAnyLabel = 'Correspon&dance partielle partout'
    FilterDialog.CaseSensitiveLabel = 'Casse sensi&ble'
    FilterDialog.CaseSensitiveHint = 'Recherche tenant compte de la casse'
    FilterDialog.NonMatchingLabel = 'Enregistrements n&on-correspondants'
    FilterDialog.NonMatchingHint = 'Montrer les enregistrements qui ne correspondent pas à la valeur de critère de recherche'
    FilterDialog.SummaryFieldLabel = 'Champ'
    FilterDialog.SummarySearchLabel = 'Type de recherche'
    FilterDialog.SummaryValueLabel = 'Valeur'
    FilterDialog.FieldsLabel = '&Champs'
    FilterDialog.ValueRangeTabHint = 'Rechercher les champs par valeur ou par intervalle'
    FilterDialog.AllSearchedTabHint = 'Afficher tous les champs ou seulement ceux actuellement recherchés'
    FilterDialog.ViewSummaryNotText = 'NON'
    RichEdit.FontNameComboHint = 'Police | Change la police de la sélection'
    RichEdit.FontSizeComboHint = 'Taille | Change la taille de la police de la sélection'
    RichEdit.NewButtonHint = 'Nouveau | Crée un nouveau document'
    RichEdit.LoadButtonHint = 'Ouvrir | Charge un fichier'
    RichEdit.SaveAsButtonHint = 'Enregistrer sous | Enregistre dans un fichier'
    RichEdit.PrintButtonHint = 'Imprimer | Imprime le document actif'
    RichEdit.FindButtonHint = 'Rechercher | Recherche le texte spécifié'
    RichEdit.CutButtonHint = 'Couper | Coupe la sélection et la place dans le Presse-papiers'
    RichEdit.CopyButtonHint = 'Copier | Copie la sélection et la place dans le Presse-papiers'
    RichEdit.UndoButtonHint = 'Annuler | Annule la dernière action'
    RichEdit.RedoButtonHint = 'Rétablir | Rétablit la dernière action annulée'
    RichEdit.PasteButtonHint = 'Coller | Insère le contenu du Presse-papiers'
    RichEdit.BoldButtonHint = 'Gras | Mise en forme de la sélection en gras (bascule)'
    RichEdit.ColorButtonHint = 'Couleur | Mise en couleur de la sélection'
    RichEdit.UnderlineButtonHint = 'Souligné | Mise en forme de la sélection en souligné continu (bascule)'
    RichEdit.ItalicButtonHint = 'Italique | Mise en forme de la sélection en italique (bascule)'
    RichEdit.LeftButtonHint = 'Aligné à gauche | Aligne le paragraphe à gauche (bascule)'
    RichEdit.CenterButtonHint = 'Centré | Centre le paragraphe (bascule)'
    RichEdit.RightButtonHint = 'Aligné à droite | Aligne le paragraphe à droite (bascule)'
    RichEdit.JustifyButtonHint = 'Justify | Full Justification for paragraph (toggle)'
    RichEdit.BulletButtonHint = 'Puces | Insère une puce sur cette ligne (bascule)'
    RichEdit.HighlightButtonHint = 'Surligner | Surligne la sélection'
    RichEdit.SaveExitHint = 'Enregistrer et quitter | Enregistre les changements et quitte l''éditeur'
    RichEdit.PageSetupHint = 'Mise en page | Change les paramètres de mise en page'
    RichEdit.ExitHint = 'Quitter'
    RichEdit.ClearHint = 'Efface la sélection'
    RichEdit.SelectAllHint = 'Sélectionne tout le texte'
    RichEdit.FindNextHint = 'Répète la dernière recherche'
    RichEdit.ReplaceHint = 'Remplace un texte par un autre'
    RichEdit.InsertObjectHint = 'Insère un nouvel objet incorporé'
    RichEdit.SpellCheckHint = 'Vérifie l''orthographe'
    RichEdit.ToolbarHint = 'Affiche ou masque la barre d''outils'
    RichEdit.FormatBarHint = 'Affiche ou masque la barre de format'
    RichEdit.ViewStatusBarHint = 'Affiche ou masque la barre d''état'
    RichEdit.OptionsHint = 'Définit les options'
    RichEdit.FontHint = 'Choisit la police de la sélection'
    RichEdit.ParagraphHint = 'Met en forme le ou les paragraphes sélectionnés'
    RichEdit.TabsHint = 'Définit les tabulations'
    RichEdit.MenuLabels.FileCaption = '&Fichier'
    RichEdit.MenuLabels.LoadCaption = '&Ouvrir'
    RichEdit.MenuLabels.SaveAsCaption = 'Enregistrer &sous'
    RichEdit.MenuLabels.SaveExitCaption = '&Enregistrer et quitter'
    RichEdit.MenuLabels.PrintCaption = '&Imprimer'
    RichEdit.MenuLabels.PageSetupCaption = 'Mise en pa&ge'
    RichEdit.MenuLabels.ExitCaption = '&Quitter'
    RichEdit.MenuLabels.EditCaption = '&Edition'
    RichEdit.MenuLabels.UndoCaption = '&Annuler'
    RichEdit.MenuLabels.CutCaption = 'Cou&per'
    RichEdit.MenuLabels.CopyCaption = '&Copier'
    RichEdit.MenuLabels.PasteCaption = 'C&oller'
    RichEdit.MenuLabels.ClearCaption = 'Effa&cer'
    RichEdit.MenuLabels.SelectallCaption = '&Tout sélectionner'
    RichEdit.MenuLabels.FindCaption = '&Rechercher'
    RichEdit.MenuLabels.FindNextCaption = 'Rechercher le &suivant'
    RichEdit.MenuLabels.ReplaceCaption = 'R&emplacer'
    RichEdit.MenuLabels.InsertObjectCaption = '&Objet...'
    RichEdit.MenuLabels.ToolCaption = '&Outils'
    RichEdit.MenuLabels.SpellCheckCaption = '&Vérifier l''orthographe'
    RichEdit.MenuLabels.InsertCaption = '&Insertion'
    RichEdit.MenuLabels.RulerCaption = '&Règle'
    RichEdit.MenuLabels.RedoCaption = '&Rétablir'
    RichEdit.MenuLabels.ViewCaption = '&Affichage'
    RichEdit.MenuLabels.ToolbarCaption = 'Barre d''&outils'
    RichEdit.MenuLabels.FormatBarCaption = 'Barre de &format'
    RichEdit.MenuLabels.ViewStatusBarCaption = 'Barre d''&état'
    RichEdit.MenuLabels.OptionsCaption = 'O&ptions'
    RichEdit.MenuLabels.FormatCaption = 'F&ormat'
    RichEdit.MenuLabels.FontCaption = '&Police'
    RichEdit.MenuLabels.BulletStyleCaption = 'Style de &puces'
    RichEdit.MenuLabels.ParagraphCaption = 'P&aragraphe'
    RichEdit.MenuLabels.TabsCaption = '&Tabulations'
    RichEdit.MenuLabels.HelpCaption = 'Aide'
    RichEdit.PopupMenuLabels.EditCaption = '&Edition'
    RichEdit.PopupMenuLabels.ViewCaption = '&Affichage'
    RichEdit.PopupMenuLabels.CutCaption = 'Cou&per'
    RichEdit.PopupMenuLabels.CopyCaption = '&Copier'
    RichEdit.PopupMenuLabels.PasteCaption = 'C&oller'
    RichEdit.PopupMenuLabels.FontCaption = '&Police'
    RichEdit.PopupMenuLabels.BulletStyleCaption = 'Style de &puces'
    RichEdit.PopupMenuLabels.BoldCaption = '&Gras'
    RichEdit.PopupMenuLabels.ItalicCaption = '&Italique'
    RichEdit.PopupMenuLabels.UnderlineCaption = '&Souligné'
    RichEdit.PopupMenuLabels.ParagraphCaption = 'P&aragraphe'
    RichEdit.PopupMenuLabels.TabsCaption = '&Tabulations'
    RichEdit.PopupMenuLabels.FindCaption = '&Rechercher'
    RichEdit.PopupMenuLabels.ReplaceCaption = 'R&emplacer'
    RichEdit.PopupMenuLabels.InsertObjectCaption = 'Insérer un &objet...'
    RichEdit.PopupMenuLabels.SpellCheckCaption = '&Vérifier l''orthographe'
    RichEdit.PopupMenuLabels.ObjectPropertiesCaption = 'Object P&roperties'
    RichEdit.ParagraphDialog.ParagraphDlgCaption = 'Paragraphe'
    RichEdit.ParagraphDialog.IndentationGroupBoxCaption = 'Retrait'
    RichEdit.ParagraphDialog.LeftEditHint = 'Retrait à gauche'
    RichEdit.ParagraphDialog.RightEditHint = 'Retrait à droite'
    RichEdit.ParagraphDialog.FirstLineEditHint = 'Retrait de la première ligne du paragraphe'
    RichEdit.ParagraphDialog.AlignmentHint = 'Change l''alignement du paragraphe'
    RichEdit.ParagraphDialog.LeftEditCaption = 'Gauche :'
    RichEdit.ParagraphDialog.RightEditCaption = 'Droite :'
    RichEdit.ParagraphDialog.FirstLineEditCaption = 'Première ligne :'
    RichEdit.ParagraphDialog.SpacingGroupCaption = 'Espacement'
    RichEdit.ParagraphDialog.BeforeParagraphCaption = '&Avant'
    RichEdit.ParagraphDialog.AfterParagraphCaption = 'A&près'
    RichEdit.ParagraphDialog.WithinParagraphCaption = 'I&nterligne'
    RichEdit.ParagraphDialog.WithinParagraphAtCaption = '&De'
    RichEdit.ParagraphDialog.AlignmentCaption = 'Alignement'
    RichEdit.ParagraphDialog.AlignLeft = 'Gauche'
    RichEdit.ParagraphDialog.AlignRight = 'Droite'
    RichEdit.ParagraphDialog.AlignCenter = 'Centré'
    RichEdit.ParagraphDialog.AlignJustify = 'Justify'
    RichEdit.TabDialog.TabDlgCaption = 'Tabulation'
    RichEdit.TabDialog.TabGroupBoxCaption = '&Position des tabulations'
    RichEdit.TabDialog.SetTabButtonCaption = 'Définir'
    RichEdit.TabDialog.ClearTabButtonCaption = 'Effacer'
    RichEdit.TabDialog.ClearAllButtonCaption = 'Effacer tout'
    RichEdit.TabDialog.TabPositionEditHint = 'Zone de saisie de la position de tabulation'
    RichEdit.TabDialog.ListBoxHint = 'Liste des tabulations et de leurs positions'
    RichEdit.TabDialog.SetButtonHint = 'Définir une nouvelle position de tabulation'
    RichEdit.TabDialog.ClearButtonHint = 'Effacer la position de tabulation sélectionnée'
    RichEdit.TabDialog.ClearAllButtonHint = 'Effacer toutes les tabulations'
    RichEdit.CAPLockCaption = 'MAJ'
    RichEdit.NUMLockCaption = 'NUM'
    CheckBoxInGridStyle = cbStyleAuto
    Connected = True
    DialogFontStyle = []
    FilterMemoSize = 65536
    OKCancelBitmapped = True
    BtnOKCaption = '&OK'
    UseLocateMethodForSearch = False
  end
  object qmtDiagHydro: TqmtMemTable
    object qmtDiagHydronum: TStringField
      FieldName = 'num'
      Size = 2
    end
    object qmtDiagHydrolib: TStringField
      FieldName = 'lib'
      Size = 100
    end
  end
  object dsqmtDiagHydro: TDataSource
    DataSet = qmtDiagHydro
  end
end

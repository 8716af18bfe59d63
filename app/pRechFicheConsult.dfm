inherited frmRechFicheConsult: TfrmRechFicheConsult
  ClientHeight = 320
  OnCreate = FormCreate
  inherited lblRepertoire: TLabel
    Visible = False
  end
  inherited eRepertoire: TOxFilenameEdit
    Visible = False
  end
  inherited bbOk: TBitBtn
    Top = 290
  end
  inherited bbFermer: TBitBtn
    Top = 290
  end
end

object TestLayout: TTestLayout
  Left = 60
  Top = 60
  Caption = 'Disposition'
  ClientHeight = 300
  ClientWidth = 400
  object Bottom1: TTestPanel
    Left = 0
    Top = 260
    Width = 400
    Height = 40
    Align = alBottom
  end
  object Top2: TTestPanel
    Left = 0
    Top = 100
    Width = 400
    Height = 20
    Align = alTop
  end
  object Top1: TTestPanel
    Left = 0
    Top = 0
    Width = 400
    Height = 30
    Align = alTop
  end
  object Left1: TTestPanel
    Left = 0
    Top = 50
    Width = 60
    Height = 100
    Align = alLeft
  end
  object Right1: TTestPanel
    Left = 340
    Top = 50
    Width = 50
    Height = 100
    Align = alRight
  end
  object Client1: TTestPanel
    Left = 100
    Top = 100
    Width = 10
    Height = 10
    Align = alClient
    object Corner: TTestButton
      Left = 200
      Top = 150
      Width = 60
      Height = 20
      Anchors = [akRight, akBottom]
    end
    object Stretch: TTestButton
      Left = 10
      Top = 10
      Width = 100
      Height = 20
      Anchors = [akLeft, akTop, akRight]
    end
  end
end

// This file implements the registration of the classes the report engine's window descriptions
// create, and the engine's start-up in a program.
#include "ZR_Windows.h"

#include "ZR_ExportForms.h"
#include "ZR_View.h"

#include "CommonDialogs.h"
#include "ExtCtrls.h"
#include "ListControls.h"
#include "Menus.h"
#include "RichEdit.h"
#include "ScrollBox.h"
#include "StdCtrls.h"

void RegisterReportWindowControls() {
  static bool done = false;
  if (done) return;
  done = true;
  for (TClass c : {TCheckBox::StaticClass(), TLabel::StaticClass(), TEdit::StaticClass(), TButton::StaticClass(),
                   TGroupBox::StaticClass(), TRadioButton::StaticClass(), TComboBox::StaticClass(),
                   TListBox::StaticClass(), TPanel::StaticClass(), TBevel::StaticClass(), TScrollBar::StaticClass(),
                   TScrollBox::StaticClass(), TPaintBox::StaticClass(), TImage::StaticClass(),
                   TPopupMenu::StaticClass(), TMenuItem::StaticClass(), TOpenDialog::StaticClass(),
                   TSaveDialog::StaticClass(), TFontDialog::StaticClass(), TRichEdit::StaticClass(),
                   TzrTXTExportForm::StaticClass(), TzrRTFExportForm::StaticClass()})
    RegisterClass(c);
}

// The program's forms hold reports: their preview, progress and password windows come with them.
void RegisterReportOutputComponents() { RegisterReportWindows(); }

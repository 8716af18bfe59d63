// This file implements the text groups of the library's strings component: their published
// properties and their copies.
#include "QvintlTexts.h"

#define QV_PUBLISH_TEXT(Name, Default) Prop(#Name, &Self::Name),
#define QV_COPY_TEXT(Name, Default) Name = From->Name;

// Copies Source onto this group when it is a group of the same class; the base refuses others.
#define QV_IMPLEMENT_ASSIGN(Cls, Texts)                    \
  void Cls::Assign(TPersistent* Source) {                  \
    if (auto* From = dynamic_cast<Cls*>(Source)) {         \
      Texts(QV_COPY_TEXT)                                  \
      return;                                              \
    }                                                      \
    inherited::Assign(Source);                             \
  }

VELBOR_IMPLEMENT_CLASS(TqvIntlPart)

VELBOR_IMPLEMENT_CLASS(TqvADOIntl)
VELBOR_PUBLISHED(TqvADOIntl, Prop("UseLocateWhenFindingValue", &Self::UseLocateWhenFindingValue).Default(true))
void TqvADOIntl::Assign(TPersistent* Source) {
  if (auto* From = dynamic_cast<TqvADOIntl*>(Source)) {
    UseLocateWhenFindingValue = From->UseLocateWhenFindingValue;
    return;
  }
  inherited::Assign(Source);
}

VELBOR_IMPLEMENT_CLASS(TqvDBNavigatorIntlHints)
VELBOR_PUBLISHED(TqvDBNavigatorIntlHints, QV_NAVIGATOR_HINTS(QV_PUBLISH_TEXT))
QV_IMPLEMENT_ASSIGN(TqvDBNavigatorIntlHints, QV_NAVIGATOR_HINTS)

VELBOR_IMPLEMENT_CLASS(TqvDBNavigatorIntl)
VELBOR_PUBLISHED(TqvDBNavigatorIntl, Prop("ConfirmDeleteMessage", &Self::ConfirmDeleteMessage),
                 Prop("Hints", &Self::Hints))
TqvDBNavigatorIntl::TqvDBNavigatorIntl(TPersistent* AOwner)
    : TqvIntlPart(AOwner), FHints(new TqvDBNavigatorIntlHints(this)) {}
TqvDBNavigatorIntl::~TqvDBNavigatorIntl() { delete FHints; }
void TqvDBNavigatorIntl::Assign(TPersistent* Source) {
  if (auto* From = dynamic_cast<TqvDBNavigatorIntl*>(Source)) {
    ConfirmDeleteMessage = From->ConfirmDeleteMessage;
    FHints->Assign(From->FHints);
    return;
  }
  inherited::Assign(Source);
}

VELBOR_IMPLEMENT_CLASS(TqvUserMessagesIntl)
VELBOR_PUBLISHED(TqvUserMessagesIntl, QV_USER_MESSAGES(QV_PUBLISH_TEXT))
QV_IMPLEMENT_ASSIGN(TqvUserMessagesIntl, QV_USER_MESSAGES)

VELBOR_IMPLEMENT_CLASS(TqvLocateDialogIntl)
VELBOR_PUBLISHED(TqvLocateDialogIntl, QV_LOCATE_DIALOG(QV_PUBLISH_TEXT))
QV_IMPLEMENT_ASSIGN(TqvLocateDialogIntl, QV_LOCATE_DIALOG)

VELBOR_IMPLEMENT_CLASS(TqvFilterDialogIntl)
VELBOR_PUBLISHED(TqvFilterDialogIntl, QV_FILTER_DIALOG(QV_PUBLISH_TEXT))
QV_IMPLEMENT_ASSIGN(TqvFilterDialogIntl, QV_FILTER_DIALOG)

VELBOR_IMPLEMENT_CLASS(TqvSearchDialogIntl)
VELBOR_PUBLISHED(TqvSearchDialogIntl, QV_SEARCH_DIALOG(QV_PUBLISH_TEXT))
QV_IMPLEMENT_ASSIGN(TqvSearchDialogIntl, QV_SEARCH_DIALOG)

VELBOR_IMPLEMENT_CLASS(TqvMonthCalendarIntl)
VELBOR_PUBLISHED(TqvMonthCalendarIntl, QV_MONTH_CALENDAR(QV_PUBLISH_TEXT))
QV_IMPLEMENT_ASSIGN(TqvMonthCalendarIntl, QV_MONTH_CALENDAR)

VELBOR_IMPLEMENT_CLASS(TqvRichEditMenuLabels)
VELBOR_PUBLISHED(TqvRichEditMenuLabels, QV_RICHEDIT_MENU(QV_PUBLISH_TEXT))
QV_IMPLEMENT_ASSIGN(TqvRichEditMenuLabels, QV_RICHEDIT_MENU)

VELBOR_IMPLEMENT_CLASS(TqvRichEditPopupMenuLabels)
VELBOR_PUBLISHED(TqvRichEditPopupMenuLabels, QV_RICHEDIT_POPUP_MENU(QV_PUBLISH_TEXT))
QV_IMPLEMENT_ASSIGN(TqvRichEditPopupMenuLabels, QV_RICHEDIT_POPUP_MENU)

#define QV_PARAGRAPH_AND_HELP(X) QV_RICHEDIT_PARAGRAPH(X) X(HelpContext, 0)
VELBOR_IMPLEMENT_CLASS(TqvRichEditParagraphDlg)
VELBOR_PUBLISHED(TqvRichEditParagraphDlg, QV_RICHEDIT_PARAGRAPH(QV_PUBLISH_TEXT)
                 Prop("HelpContext", &Self::HelpContext).Default(0))
QV_IMPLEMENT_ASSIGN(TqvRichEditParagraphDlg, QV_PARAGRAPH_AND_HELP)

#define QV_TAB_AND_HELP(X) QV_RICHEDIT_TAB(X) X(HelpContext, 0)
VELBOR_IMPLEMENT_CLASS(TqvRichEditTabDlg)
VELBOR_PUBLISHED(TqvRichEditTabDlg, QV_RICHEDIT_TAB(QV_PUBLISH_TEXT) Prop("HelpContext", &Self::HelpContext).Default(0))
QV_IMPLEMENT_ASSIGN(TqvRichEditTabDlg, QV_TAB_AND_HELP)

VELBOR_IMPLEMENT_CLASS(TqvDBRichEditIntl)
VELBOR_PUBLISHED(TqvDBRichEditIntl, QV_RICHEDIT_HINTS(QV_PUBLISH_TEXT)
                 Prop("MenuLabels", &Self::MenuLabels),
                 Prop("PopupMenuLabels", &Self::PopupMenuLabels),
                 Prop("ParagraphDialog", &Self::ParagraphDialog),
                 Prop("TabDialog", &Self::TabDialog),
                 QV_RICHEDIT_LOCKS(QV_PUBLISH_TEXT))
TqvDBRichEditIntl::TqvDBRichEditIntl(TPersistent* AOwner)
    : TqvIntlPart(AOwner),
      FMenuLabels(new TqvRichEditMenuLabels(this)),
      FPopupMenuLabels(new TqvRichEditPopupMenuLabels(this)),
      FParagraphDialog(new TqvRichEditParagraphDlg(this)),
      FTabDialog(new TqvRichEditTabDlg(this)) {}
TqvDBRichEditIntl::~TqvDBRichEditIntl() {
  delete FTabDialog;
  delete FParagraphDialog;
  delete FPopupMenuLabels;
  delete FMenuLabels;
}
void TqvDBRichEditIntl::Assign(TPersistent* Source) {
  if (auto* From = dynamic_cast<TqvDBRichEditIntl*>(Source)) {
    QV_RICHEDIT_HINTS(QV_COPY_TEXT)
    QV_RICHEDIT_LOCKS(QV_COPY_TEXT)
    FMenuLabels->Assign(From->FMenuLabels);
    FPopupMenuLabels->Assign(From->FPopupMenuLabels);
    FParagraphDialog->Assign(From->FParagraphDialog);
    FTabDialog->Assign(From->FTabDialog);
    return;
  }
  inherited::Assign(Source);
}

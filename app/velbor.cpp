// This file implements the program entry.
#include "WinApi.h"

#include "Forms.h"
#include "ZR_View.h"
#include "kwBarItems.h"
#include "kwBarWindows.h"
#include "pFrmZoneHumide.h"
#include "pVelbor.h"
#include "pfrmDictionnaire.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Application->Initialize();
  StartReportEngine();
  RegisterBarWindowClasses();
  RegisterBarItems();
  RegisterFrmZoneHumide();
  RegisterDictionnaires();
  // A failure while the data module connects ends start-up with its report.
  try {
    DemarrerVelbor();
  } catch (Exception& E) {
    Application->ShowException(&E);
    return 1;
  }
  Application->Run();
  DoneApplication();
  return 0;
}

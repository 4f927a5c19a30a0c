#include "QtDialogService.h"
#include "QuorixStartup.h"
#include "SingleInstanceLock.h"
#include "Trace.h"

int main(int argc, char** argv) {
  // Every report of the program goes through the Qt boxes from the first
  // instruction on.
  TQtDialogService dialogs;
  SetDialogService(&dialogs);

  // One copy per machine: a second start ends at once, silently.
  TSingleInstanceLock guard;
  const int code = guard.Acquire();
  if (code == TSingleInstanceLock::kAlreadyExists || code == TSingleInstanceLock::kAccessDenied) return 0;

  const int status = RunQuorix(argc, argv);
  SetDialogService(nullptr);
  return status;
}

// The wizard state that the driver and the pages share.
#include "setup.h"

SHORT pageResult = PAGE_CANCEL;
LONG serialMouse = 1;
LONG restartNow = 1;
LONG backEnabled = 1;
int screenWidth;
int screenHeight;
HWND backgroundWindow;

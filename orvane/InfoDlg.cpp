#include "InfoDlg.h"

void showInfoDlgIfNeeded() {}

#pragma once

// Shows the slow-system notice unless the current world's flag says not to.
void showInfoDlgIfNeeded();

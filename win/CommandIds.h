#pragma once
// Command ids that the framework itself acts on. Plain #defines: the resource compiler reads this
// file too.

// The help command, carried by "&Help" buttons: a dialog that does not route it itself hands it
// to its help request (Dialog::WinHelpW).
#define ID_HELP 57670

#pragma once

// Dialogs of the plot windows open wide enough to show their whole caption.

class QDialog;

// Widens the dialog, if needed, so that its caption fits its title bar.
void FitCaption(QDialog& dialog);

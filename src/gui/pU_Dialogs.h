#pragma once

class QWidget;

// Window looks the dialogs share.

// A fixed dialog border: a title and, unless told otherwise, a close
// button; no minimise or maximise button. The dialog fixes its own size.
void SetFixedDialogBorder(QWidget* dialog, bool closeButton = true);

// Puts the dialog in the middle of the screen its parent is on (the primary
// screen without one), instead of over its parent. Call it once the dialog
// has its size.
void CentreOnScreen(QWidget* dialog);

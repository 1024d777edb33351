#pragma once

class QLineEdit;

// A line edit that shows a hint as its own grey text while it is idle: a
// screen reader hears the hint as the field's description, never as what
// the field holds.
void SetIdleText(QLineEdit* edit, bool idle);
void InstallAccessibleIdleText();

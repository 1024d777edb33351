#pragma once

#include <QString>

// What a screen reader says for a caption: no accelerator marks, and none
// of the shortcut text the captions carry after a run of spaces or a tab.
QString SpokenCaption(const QString& caption);
// Menu items, in the menu bar and in pop-ups, then speak their spoken
// caption and give the shortcut as their key binding.
void InstallAccessibleMenus();

// Qt's own texts in the interface language: the captions of the standard
// buttons (message boxes, button boxes), the file, folder and colour
// dialogs and the context menus of the edit controls come from Qt's
// translation catalogue "qtbase" (Debian: qt6-translations-l10n).
#pragma once

namespace kvx {

// Installs the German catalogue for German (english false) and removes it
// for English (Qt's built-in texts are English). Returns false when the
// German catalogue cannot be loaded; Qt's texts then stay English.
// Needs the QApplication; call it again on every language switch.
bool ApplyQtLanguage(bool english);

}  // namespace kvx

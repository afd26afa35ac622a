#include <QApplication>
#include <memory>
#include <string>

#include "app/settings_io.h"
#include "app/ui/about_box.h"
#include "app/ui/catalogue_loader.h"
#include "app/ui/legend_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/settings_commands.h"
#include "app/ui/tip_dialog.h"
#include "core/name_tables.h"
#include "platform/globals.h"
#include "platform/locale_reader.h"
#include "platform/qt/application_start.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_folder_chooser.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/settings_store.h"

int main(int argc, char* argv[]) {
  // The application, with the C library's numbers in the "C" locale.
  const std::unique_ptr<QApplication> application = kvx::StartApplication(argc, argv);
  // The name tables and number patterns come first: every window uses them.
  // The user's separators are read from the desktop's locale.
  kvx::InitCoreTablesAtStartup(kvx::DesktopSeparators());
  QApplication::setApplicationName(kvx::kApplicationTitle);
  kvx::QtSettingsStore settings;
  kvx::ScopedSettingsStore installed(settings);

  // The splash speaks the stored language (English before the first start's
  // question); the main window sets it again from the same settings.
  kvx::LanguageEnglish = kvx::ReadStoredSettings(settings, std::string()).Language;
  // The splash is the about box; it is freed last, after the main window.
  kvx::TAboutBox splash;
  splash.setWindowTitle(kvx::kMainWindowCaption);
  splash.ShowAsSplash();
  QApplication::processEvents();

  int result = 1;
  {
    kvx::TMainForm main_form;
    main_form.SetSplash(&splash);
    // File and folder choices in real dialogs.
    kvx::QtFileDialog file_dialog(&main_form);
    kvx::ScopedFileDialog file_dialogs(file_dialog);
    kvx::QtFolderChooser folder_chooser(&main_form);
    kvx::SetFolderChooser(&folder_chooser);
    kvx::InstallBackgroundLoading(main_form);
    kvx::InstallTipsOfTheDay(main_form);
    kvx::InstallLegendCommand(main_form);
    kvx::InstallExternalProgramSearch(main_form);
    // Maximized unless the settings say otherwise (their default).
    if (settings.BoolOr("Window", "maximized", true)) {
      main_form.showMaximized();
    } else {
      main_form.show();
    }
    if (!main_form.Halted()) result = QApplication::exec();
    kvx::SetFolderChooser(nullptr);
  }
  return result;
}

// Objects | Asteroids, Objects | Comets and Objects | Variable stars: the two element dialogs, created
// once with the main window and kept for the run. OK stores the set as the
// current asteroid (comet), marks the elements and the settings changed,
// makes the next table be built anew and refreshes the menus; no table is
// written until a table command asks for one. Loading another list file in
// a dialog forgets the entry range chosen for the old file.
#pragma once

#include <QObject>
#include <cstdint>

#include "core/element_file_ranges.h"

namespace kvx {

class TCommandHost;
class TWindowWidgets;
class TElementeplform;
class TElementekoform;
class Telementevarform;

class TElementDialogCommands : public QObject {
  Q_OBJECT

 public:
  explicit TElementDialogCommands(TCommandHost& host);

  void Planetoiden1Click();
  void Kometen1Click();
  // Objects | Variable stars: the modal choice; OK makes the star current.
  void Vernderliche1Click();
  // Objects | Load from MPEC circular: the open dialog, the import; the
  // elements become the current asteroid (comet) and its dialog opens on
  // them. Any failure is reported and the current elements stay.
  void AusMPECZirkularladen1Click();

  // "Führende Nullen bei Laden von Planetoiden einbauen": the asteroid
  // list's names with their numbers padded to five digits, or as read. A
  // change reads the list's file again (with `reload`), so that its names
  // and order follow; the range chosen in the old order is forgotten.
  void SetLeadingZeros(std::uint8_t flag, bool reload);

  TElementeplform& AsteroidDialog() { return *asteroid_; }
  TElementekoform& CometDialog() { return *comet_; }
  Telementevarform& VariableStarDialog() { return *variable_; }

 private:
  void AsteroidAccepted();
  void CometAccepted();
  void AfterElementsChanged();

  TCommandHost& host_;
  TElementeplform* asteroid_;
  TElementekoform* comet_;
  Telementevarform* variable_;
  TElementFileRanges shown_ranges_;  // the ranges when a dialog was shown
};

// Creates the dialogs and registers the two commands.
TElementDialogCommands& InstallElementDialogCommands(TCommandHost& host);
// The installed commands (nullptr before installation).
TElementDialogCommands* ElementDialogCommandsOf(TWindowWidgets& window);

}  // namespace kvx

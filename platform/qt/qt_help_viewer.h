// The help on the screen: the help window (the section titles on the left,
// the chosen section on the right, shown from its Markdown), the search
// dialog (a key, the titles of the sections that hold it, best first) and
// the viewer that the main window installs on the help seam
// (platform/help.h).
//
// Opened from the main window the help window stays beside it; asked for
// while a modal dialog runs (a dialog's help button or F1) it runs modally
// on top of that dialog, so it can be read and closed. F1 in any window but
// the main window opens that window's help (see SetHelpContext).
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "platform/help.h"
#include "platform/help_search.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextEdit;
class QUrl;

namespace kvx {

class THelpForm : public QDialog {
  Q_OBJECT

 public:
  explicit THelpForm(QWidget* parent = nullptr);

  // The sections listed; the first one shown.
  void SetSections(std::vector<THelpSection> sections);
  const std::vector<THelpSection>& Sections() const { return sections_; }
  // The folder the pictures of the text are looked up in.
  void SetPictureFolder(const std::string& folder);
  // The place names its search knows.
  void SetPlaceNames(THelpPlaceNames places) { places_ = std::move(places); }
  // Shows one section and marks its title in the list.
  void ShowSection(std::size_t index);
  // Shows a page that is no section (the page on using the help).
  void ShowPage(const std::string& markdown);
  // The title of the section shown, empty for a page of its own.
  std::string ShownTitle() const;
  // The anchor of the section shown, empty for a page of its own.
  std::string ShownAnchor() const;
  QListWidget* Topics() const { return topics_; }
  QTextEdit* Viewer() const;
  // Captions in the current language.
  void SetCaptions();
  // A link of the text: "#anchor" shows that section.
  void FollowLink(const QString& link);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SearchClick();
  void AddPictures(const std::string& markdown);

  std::vector<THelpSection> sections_;
  std::string pictures_;  // the folder of the pictures
  THelpPlaceNames places_;
  int shown_ = -1;
  QListWidget* topics_;
  QTextEdit* text_;
  QPushButton* search_;
  QPushButton* how_to_;
  QPushButton* close_;
};

class THelpSearchDialog : public QDialog {
  Q_OBJECT

 public:
  THelpSearchDialog(const std::vector<THelpSection>& sections, QWidget* parent = nullptr, THelpPlaceNames places = {});

  // The section chosen (index into the sections), -1 when none is.
  int Chosen() const;
  QLineEdit* KeyEdit() const { return key_; }
  QListWidget* Matches() const { return matches_; }

 private:
  void Refill();

  const std::vector<THelpSection>& sections_;
  THelpSearch search_;  // over sections_, built once
  std::vector<std::size_t> found_;
  QLabel* keyLabel_;
  QLabel* matchesLabel_;
  QLineEdit* key_;
  QListWidget* matches_;
  QPushButton* show_;
  QPushButton* cancel_;
};

class QtHelpViewer : public HelpViewer {
 public:
  // `helpFile`: the Markdown help text (its pictures beside it); `parent`:
  // the main window.
  QtHelpViewer(std::string helpFile, QWidget* parent);
  ~QtHelpViewer() override;
  void SetHelpFile(std::string helpFile) { file_ = std::move(helpFile); }
  // The place names the search knows (app/help_place_names.h).
  void SetPlaceNames(THelpPlaceNames places) { places_ = std::move(places); }
  const std::string& HelpFile() const { return file_; }

  void ShowContents() override;
  void ShowSearch() override;
  void ShowHowToUse() override;
  void ShowTopic(int topic) override;
  void ShowSection(const std::string& anchor) override;

  // The window of the last help shown (the kept one or, during a modal
  // dialog, the one on top of it); nullptr before any.
  THelpForm* Window() const { return last_; }

 private:
  // Reads the help file into a window; nullptr (after a message) when the
  // file cannot be read.
  THelpForm* Prepare();
  void Present(THelpForm* form);
  // Frees a window made for a modal dialog (the kept one stays).
  void Discard(THelpForm* form);

  std::string file_;
  THelpPlaceNames places_;
  QWidget* parent_;
  QObject* f1_;  // the application's F1 filter for the program's windows (see SetHelpContext)
  THelpForm* kept_ = nullptr;
  std::string kept_text_;  // the help text the kept window shows
  THelpForm* last_ = nullptr;
};

}  // namespace kvx

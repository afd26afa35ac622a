// Ctrl+S through the window's menu over files made by hand: it leaves every
// byte the user did not change (only the changed cell's bytes differ), or
// goes to "Save as" with a new name and says why, the file staying byte
// for byte; the program's own files, opened again and saved, are written
// in place without a question.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <filesystem>
#include <functional>
#include <QKeySequence>
#include <string>
#include <vector>

#include "app/main_form_state.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/locale_reader.h"
#include "platform/workbook/workbook_files.h"
#include "support/qt/main_form_test.h"
#include "support/access_list.h"
#include "support/recording_file_dialog.h"
#include "support/file_size_limit.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

std::string BadInput(const std::string& name) {
  return std::string(KVX_FIXTURE_DIR) + "/../../platform/workbook/fixtures/bad-inputs/" + name;
}

class SaveInPlace : public test::MainFormTest {
 protected:
  // Opens the file through File > Open, answering No when the document
  // asks to be saved first.
  void Open(TMainForm& form, const std::string& path) {
    if (form.State().Document.DocumentSaved == 0) messages_.QueueReply(MessageResult::No);
    files_.QueueAnswer(path);
    form.Commands().Action("ffnen1")->trigger();
  }

  // The action Ctrl+S triggers.
  static QAction* SaveAction(TMainForm& form) {
    for (QAction* action : form.findChildren<QAction*>()) {
      if (action->shortcut() == QKeySequence("Ctrl+S")) return action;
    }
    return nullptr;
  }

  // The messages shown since `from` that say why Save did not write over
  // the file.
  std::vector<std::string> WhyNot(std::size_t from) const {
    std::vector<std::string> texts;
    for (std::size_t k = from; k < messages_.messages.size(); ++k) {
      const std::string& text = messages_.messages[k].text;
      if (text.starts_with("Speichern würde") || text.starts_with("Saving would")) texts.push_back(text);
    }
    return texts;
  }

  test::RecordingFileDialog files_;
};

TEST_F(SaveInPlace, CtrlSLeavesEveryByteTheUserDidNotChangeOrGoesToSaveAs) {
  IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  store_.WriteInteger("Settings", "Language", 0);  // a German session
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  ScopedFileDialog dialogs(files_);
  QAction* save = SaveAction(form);
  ASSERT_NE(save, nullptr);
  ASSERT_EQ(save, form.Commands().Action("Speichern1"));
  test::TempFolder folder;

  struct Case {
    std::string Name;
    std::string Bytes;
    int Row = 0, Col = 0;  // the cell changed (none when 0)
    std::string Entry;
    std::string Saved;  // the file after Ctrl+S; empty: "Save as" instead
    std::string Why;    // what the message before "Save as" says
  };
  const std::string plz =
      "Ort\tPLZ\tNummer\tZeichen\tVersion\tTag\tMenge\tPreis\tSumme\n"
      "Dresden\t01067\t12345678901234567890\t+5\t1.10\t3.10\t3\t2,5\t=G2*H2\n";
  const std::vector<Case> cases = {
      // UTF-8 without its mark, LF: leading zeros, 20 digits, "+5", "1.10",
      // "3.10" (a date in this German session), decimal commas, a formula.
      {"plz.txt", plz, 2, 7, "4", "Ort\tPLZ\tNummer\tZeichen\tVersion\tTag\tMenge\tPreis\tSumme\n"
                                  "Dresden\t01067\t12345678901234567890\t+5\t1.10\t3.10\t4\t2,5\t=G2*H2\n",
       ""},
      {"plz-unchanged.txt", plz, 0, 0, "", plz, ""},
      {"mark.txt", "\xEF\xBB\xBFGr\xC3\xB6\xC3\x9F" "e\t1,50\r\n", 1, 2, "2", "\xEF\xBB\xBFGr\xC3\xB6\xC3\x9F" "e\t2\r\n", ""},
      {"cp1252.txt", "Gr\xF6\xDF" "e\t1,50\r\n\xB0" "C\t01", 2, 1, "K", "Gr\xF6\xDF" "e\t1,50\r\nK\t01", ""},
      {"formula.txt", test::TempFolder::Read(BadInput("tab_text_formula_saved_as_value.txt")), 0, 0, "",
       test::TempFolder::Read(BadInput("tab_text_formula_saved_as_value.txt")), ""},
      // A character Windows-1252 lacks: the whole file would change.
      {"omega.txt", "Gr\xF6\xDF" "e\t01\r\n", 1, 1, "\xCE\xA9", "",
       "der Text würde in UTF-8 statt in Windows-1252 geschrieben"},
      // A tab typed into a cell would make two cells of it.
      {"tab.txt", "a\tb\n", 1, 1, "x\ty", "",
       "1 Zelle enthält einen Tabulator oder Zeilenumbruch und würde als mehrere Zellen zurückgelesen"},
      // The last line ends in a lone CR: a row typed below an empty row
      // would come back one row higher.
      {"cr.txt", test::TempFolder::Read(BadInput("tab_text_last_line_cr_row_added_moves_up.txt")), 5, 1, "Text", "",
       "die Zelle A4 würde als „Text“ statt leer zurückgelesen"},
      // What the user typed is written: "1067" over "01067".
      {"typed.txt", "01067\t1.10\n", 1, 1, "1067", "1067\t1.10\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string path = folder.Write(c.Name, c.Bytes);
    Open(form, path);
    workbook::TWorkbook& book = form.Workbook();
    ASSERT_EQ(form.State().Document.DocumentSaved, 1);
    if (c.Row > 0) {
      ASSERT_TRUE(book.CommitEntry(c.Row, c.Col, c.Entry));
    }
    const std::size_t asked = files_.requests.size();
    const std::size_t shown = messages_.messages.size();
    save->trigger();
    if (!c.Saved.empty()) {
      EXPECT_EQ(files_.requests.size(), asked) << "written in place";
      EXPECT_TRUE(WhyNot(shown).empty());
      EXPECT_EQ(test::TempFolder::Read(path), c.Saved);
      continue;
    }
    ASSERT_EQ(files_.requests.size(), asked + 1);
    EXPECT_TRUE(files_.requests.back().save);
    EXPECT_EQ(files_.requests.back().request.title, "Speichern unter");
    EXPECT_EQ(files_.requests.back().request.start, folder.File(c.Name.substr(0, c.Name.size() - 4) + ".xlsx"));
    const std::vector<std::string> why = WhyNot(shown);
    ASSERT_EQ(why.size(), 1u);
    EXPECT_EQ(why[0], "Speichern würde die Datei " + path + " verändern: " + c.Why +
                          ". „Speichern unter“ schlägt deshalb einen neuen Namen vor.");
    EXPECT_EQ(test::TempFolder::Read(path), c.Bytes) << "the file stays byte for byte";
  }

  // In English the same sentence in English.
  LanguageEnglish = 1;
  const std::string omega = folder.Write("omega-en.txt", "Gr\xF6\xDF" "e\r\n");
  Open(form, omega);
  ASSERT_TRUE(form.Workbook().CommitEntry(1, 1, "\xCE\xA9"));
  std::size_t shown = messages_.messages.size();
  save->trigger();
  ASSERT_EQ(WhyNot(shown).size(), 1u);
  EXPECT_EQ(WhyNot(shown)[0], "Saving would change the file " + omega +
                                  ": the text would be written in UTF-8 instead of Windows-1252. \"Save as\" "
                                  "therefore proposes a new name.");
  EXPECT_EQ(files_.requests.back().request.title, "Save as");
  // A .csv whose quote is never closed: the 4 typed into B2 would read back
  // inside A2. The csv save asks for its name, then the file stays byte for
  // byte and "Save as" follows.
  const std::string unclosed = test::TempFolder::Read(BadInput("csv_unclosed_quote_edit_lost.csv"));
  const std::string csv = folder.Write("unclosed.csv", unclosed);
  Open(form, csv);
  ASSERT_EQ(form.Workbook().Text(2, 1), "Notiz;1");
  ASSERT_TRUE(form.Workbook().CommitEntry(2, 2, "4"));
  files_.QueueAnswer(csv);
  const std::size_t asked = files_.requests.size();
  shown = messages_.messages.size();
  save->trigger();
  ASSERT_EQ(files_.requests.size(), asked + 2);
  EXPECT_EQ(files_.requests.back().request.title, "Save as");
  EXPECT_EQ(files_.requests.back().request.start, folder.File("unclosed.xlsx"));
  ASSERT_EQ(WhyNot(shown).size(), 1u);
  EXPECT_EQ(WhyNot(shown)[0], "Saving would change the file " + csv +
                                  ": cell A2 would read back as \"Notiz;1;4\" instead of \"Notiz;1\". \"Save as\" "
                                  "therefore proposes a new name.");
  EXPECT_EQ(test::TempFolder::Read(csv), unclosed);
  LanguageEnglish = 0;

  // On a Swiss desktop (decimal point, dates "dd.mm.yyyy") "7.5" typed is
  // a number, and the file holds it as typed, not a date.
  const TIntlSeparators german = IntlSeparators;
  IntlSeparators = SeparatorsFromLocaleTexts(".", "\xE2\x80\x99", "%d.%m.%Y", "%T");
  const std::string swiss = folder.Write("swiss.txt", "Preis\t2.5\n");
  Open(form, swiss);
  ASSERT_TRUE(form.Workbook().CommitEntry(2, 2, "7.5"));
  ASSERT_TRUE(form.Workbook().CommitEntry(3, 2, "1\xE2\x80\x99" "234.5"));
  EXPECT_EQ(form.Workbook().Number(3, 2), 1234.5);
  shown = messages_.messages.size();
  save->trigger();
  EXPECT_TRUE(WhyNot(shown).empty());
  EXPECT_EQ(test::TempFolder::Read(swiss), "Preis\t2.5\n\t7.5\n\t1234.5\n");
  IntlSeparators = german;

  // The damaged workbooks whose cells could not be read whole are refused
  // when they open, the part named; the document open before stays, and
  // no byte of them changes.
  const std::pair<std::string, std::string> refused[] = {
      {"xlsx_r_namespace_upper_case_reads_without_values.xlsx", "Der Teil xl/workbook.xml ist in einem Namensraum"},
      {"xlsx_shared_strings_relationship_typo_reads_without_texts.xlsx",
       "Der Teil xl/sharedStrings.xml ist durch eine Beziehung eines Typs benannt"},
      {"xlsx_sheetdata_other_namespace_reads_empty.xlsx", "Der Teil xl/worksheets/sheet1.xml ist in einem Namensraum"},
      {"xlsx_cellxfs_other_namespace_loses_formats.xlsx", "Der Teil xl/styles.xml ist in einem Namensraum"}};
  for (const auto& [name, reason] : refused) {
    SCOPED_TRACE(name);
    const std::string bytes = test::TempFolder::Read(BadInput(name));
    const std::string path = folder.Write(name, bytes);
    const std::string before = form.Workbook().Text(1, 1);
    shown = messages_.messages.size();
    Open(form, path);
    ASSERT_GT(messages_.messages.size(), shown);
    const std::string& refusal = messages_.messages.back().text;
    EXPECT_NE(refusal.find("konnte die Datei " + path), std::string::npos) << refusal;
    EXPECT_NE(refusal.find(reason), std::string::npos) << refusal;
    EXPECT_EQ(form.Workbook().Text(1, 1), before);
    EXPECT_EQ(test::TempFolder::Read(path), bytes);
  }
  // Shared strings and styles that the workbook's relationships leave out
  // are read by their usual names, with a note; Ctrl+S then goes to "Save
  // as" (other programs read the file without them), the file staying byte
  // for byte.
  for (const std::string name : {"xlsx_shared_strings_relationship_left_out_reads_without_texts.xlsx",
                                 "xlsx_styles_relationship_left_out_loses_formats.xlsx"}) {
    SCOPED_TRACE(name);
    const std::string bytes = test::TempFolder::Read(BadInput(name));
    const std::string path = folder.Write(name, bytes);
    shown = messages_.messages.size();
    Open(form, path);
    ASSERT_GT(messages_.messages.size(), shown);
    EXPECT_EQ(messages_.messages.back().text,
              "Die Arbeitsmappe übernimmt nicht alles, was diese Datei enthält:\n"
              "1 Teil, den die Beziehungen der Arbeitsmappe nicht nennen: nach seinem üblichen Namen gelesen");
    EXPECT_EQ(form.Workbook().Text(2, 1), "Ceres");
    EXPECT_EQ(form.Workbook().Text(2, 2), "1,250");
    ASSERT_TRUE(form.Workbook().CommitEntry(2, 2, "4"));
    const std::size_t asked = files_.requests.size();
    shown = messages_.messages.size();
    save->trigger();
    ASSERT_EQ(files_.requests.size(), asked + 1);
    EXPECT_EQ(files_.requests.back().request.title, "Speichern unter");
    ASSERT_EQ(WhyNot(shown).size(), 1u);
    EXPECT_EQ(WhyNot(shown)[0], "Speichern würde die Datei " + path +
                                    " verändern: die Arbeitsmappe übernimmt nicht alles, was die Datei enthält (1 Teil, "
                                    "den die Beziehungen der Arbeitsmappe nicht nennen). „Speichern unter“ schlägt "
                                    "deshalb einen neuen Namen vor.");
    EXPECT_EQ(test::TempFolder::Read(path), bytes);
  }

  // A text longer than a cell of an .xlsx file holds: before anything is
  // written the cell is named and the question asked, No the default. Ctrl+S
  // goes to "Save as", whose No writes nothing; Yes writes the text cut,
  // which the workbook then holds, and a Ctrl+S in place asks the same.
  {
    const std::string bytes = test::TempFolder::Read(BadInput("xlsx_text_over_32767_cut_by_save_as.xlsx"));
    const std::string path = folder.Write("long.xlsx", bytes);
    Open(form, path);
    ASSERT_TRUE(form.Workbook().CommitEntry(2, 1, "4"));
    std::size_t asked = files_.requests.size();
    shown = messages_.messages.size();
    save->trigger();
    EXPECT_EQ(WhyNot(shown).size(), 1u);
    ASSERT_EQ(messages_.messages.size(), shown + 2);
    const RecordedMessage& question = messages_.messages.back();
    EXPECT_EQ(question.text,
              "Die Zelle Blatt1!A1 enthält einen Text über 32.767 Zeichen; so viel fasst eine Zelle einer "
              ".xlsx-Datei nicht. Soll die Arbeitsmappe mit dem auf 32.767 Zeichen gekürzten Text gespeichert "
              "werden? Er bleibt dann auch in der Arbeitsmappe gekürzt.\n\nBei „Nein“ wird nichts geschrieben.");
    EXPECT_EQ(question.buttons, MessageButtons::YesNoDefaultNo);
    EXPECT_EQ(question.caption, "Text zu lang");
    EXPECT_EQ(files_.requests.size(), asked);
    EXPECT_EQ(test::TempFolder::Read(path), bytes);
    EXPECT_EQ(form.Workbook().Text(1, 1).size(), 40000u);

    LanguageEnglish = 1;
    const std::string cut = folder.File("cut.xlsx");
    messages_.QueueReply(MessageResult::Yes);
    files_.QueueAnswer(cut);
    form.Commands().Action("Speichernunter1")->trigger();
    EXPECT_EQ(messages_.messages.back().text,
              "The cell Blatt1!A1 holds a text over 32,767 characters, more than a cell of an .xlsx file holds. Save "
              "the workbook with the text cut to 32,767 characters? It stays cut in the workbook too.\n\nWith "
              "\"No\" nothing is written.");
    EXPECT_EQ(form.Workbook().Text(1, 1).size(), 32767u);
    EXPECT_EQ(form.State().Document.DocumentSaved, 1);
    ASSERT_FALSE(test::TempFolder::Read(cut).empty());
    // Typed again into the file just written, two texts: the question
    // counts them; Yes writes in place, both cut.
    ASSERT_TRUE(form.Workbook().CommitEntry(3, 2, std::string(40000, 'y')));
    ASSERT_TRUE(form.Workbook().CommitEntry(2, 2, std::string(33000, 'z')));
    messages_.QueueReply(MessageResult::Yes);
    asked = files_.requests.size();
    shown = messages_.messages.size();
    save->trigger();
    ASSERT_EQ(messages_.messages.size(), shown + 1);
    EXPECT_TRUE(messages_.messages.back().text.starts_with(
        "2 cells hold texts over 32,767 characters (the first: Blatt1!B2), more than a cell"));
    EXPECT_EQ(files_.requests.size(), asked) << "written in place";
    Open(form, cut);
    EXPECT_EQ(form.Workbook().Text(2, 2), std::string(32767, 'z'));
    EXPECT_EQ(form.Workbook().Text(3, 2), std::string(32767, 'y'));
    EXPECT_EQ(form.Workbook().Text(2, 1), "4");
    LanguageEnglish = 0;
  }

  // The program's own files: a text (Save as text) and a workbook (Save
  // as), opened again and saved, are written in place without a question.
  Open(form, folder.Write("source.txt", plz));
  files_.QueueAnswer(folder.File("own.txt"));
  form.Commands().Action("Saveastextfile1")->trigger();
  files_.QueueAnswer(folder.File("own.xlsx"));
  form.Commands().Action("Speichernunter1")->trigger();
  for (const std::string own : {"own.txt", "own.xlsx"}) {
    SCOPED_TRACE(own);
    const std::string path = folder.File(own);
    const std::string bytes = test::TempFolder::Read(path);
    ASSERT_FALSE(bytes.empty());
    Open(form, path);
    EXPECT_EQ(form.Workbook().Number(2, 2), 1067.0);
    const std::size_t asked = files_.requests.size();
    shown = messages_.messages.size();
    save->trigger();
    EXPECT_EQ(files_.requests.size(), asked) << "no question";
    EXPECT_TRUE(WhyNot(shown).empty());
    if (own == "own.txt") {
      EXPECT_EQ(test::TempFolder::Read(path), bytes);
    }
  }
  form.close();
}


// Ctrl+S keeps the file it replaces (its mode, a symbolic link, a second
// hard link), asks before it writes over a file another program changed
// since the open, and where it cannot write says why, keeps the file byte
// for byte and offers "Save as".
TEST_F(SaveInPlace, CtrlSKeepsTheFileItReplacesOrSaysWhyNot) {
  namespace fs = std::filesystem;
  IntlSeparators = TIntlSeparators{',', ';', '.', ':', '.'};
  store_.WriteInteger("Settings", "Language", 0);
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  ScopedFileDialog dialogs(files_);
  QAction* save = SaveAction(form);
  ASSERT_NE(save, nullptr);
  test::TempFolder folder;
  const fs::path& root = folder.Path();
  const auto mode = [](const fs::path& path) { return fs::status(path).permissions() & fs::perms::mask; };
  // Opens `path`, types "neu" into A1 and presses Ctrl+S (the save dialog,
  // when it comes, cancelled); whether the dialog came. `shown` counts the
  // messages before Ctrl+S.
  std::size_t shown = 0;
  const auto editAndSave = [&](const std::string& path, const std::function<void()>& meanwhile = {}) {
    Open(form, path);
    EXPECT_TRUE(form.Workbook().CommitEntry(1, 1, "neu"));
    if (meanwhile) meanwhile();
    shown = messages_.messages.size();
    const std::size_t asked = files_.requests.size();
    save->trigger();
    return files_.requests.size() > asked;
  };

  // Written in place: the mode stays; through a chain of links the file at
  // its end gets the edit and the links stay links; both names of a file
  // with two see the edit.
  const std::string private_ = folder.Write("private.txt", "alt\t1\n");
  fs::permissions(private_, fs::perms(0640));
  EXPECT_FALSE(editAndSave(private_));
  EXPECT_EQ(test::TempFolder::Read(private_), "neu\t1\n");
  EXPECT_EQ(mode(private_), fs::perms(0640));
  fs::create_directories(root / "real");
  const std::string real = folder.Write("real/data.txt", "alt\t2\n");
  fs::create_symlink("real/data.txt", root / "inner.txt");
  fs::create_symlink("inner.txt", root / "link.txt");
  EXPECT_FALSE(editAndSave(folder.File("link.txt")));
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(root / "link.txt")));
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(root / "inner.txt")));
  EXPECT_EQ(test::TempFolder::Read(real), "neu\t2\n");
  const std::string first = folder.Write("first.txt", "alt\t3\n");
  fs::create_hard_link(first, root / "second.txt");
  EXPECT_FALSE(editAndSave(first));
  EXPECT_EQ(test::TempFolder::Read(folder.File("second.txt")), "neu\t3\n");
  // A file another user may write through its access list keeps the list
  // and its other attributes, the group no more than it had.
  const std::string shared = folder.Write("shared.txt", "alt\t3\n");
  fs::permissions(shared, fs::perms(0640));
  const std::string list = test::AccessList(6, 1, 6, 4, 6, 0);  // user:daemon:rw-, group::r--
  ASSERT_TRUE(test::SetAttribute(shared, test::kAccessListAttribute, list));
  ASSERT_TRUE(test::SetAttribute(shared, "user.project", "Jupiter"));
  EXPECT_FALSE(editAndSave(shared));
  EXPECT_EQ(test::TempFolder::Read(shared), "neu\t3\n");
  EXPECT_EQ(test::Attribute(shared, test::kAccessListAttribute), list);
  EXPECT_EQ(test::Attribute(shared, "user.project"), "Jupiter");
  EXPECT_EQ(mode(shared), fs::perms(0660));

  // Only touched since the open (a new time, the same bytes): written
  // without a question.
  const std::string touched = folder.Write("touched.txt", "alt\t4\n");
  EXPECT_FALSE(editAndSave(touched, [&] {
    fs::last_write_time(touched, fs::last_write_time(touched) + std::chrono::minutes(5));
  }));
  EXPECT_EQ(messages_.messages.size(), shown + 1);  // the note on the active sheet alone
  EXPECT_EQ(test::TempFolder::Read(touched), "neu\t4\n");

  // Another program wrote the file after the open: the question, No the
  // default; No keeps its bytes and offers "Save as", Yes writes over it.
  const std::string changed = folder.Write("changed.txt", "alt\t4\n");
  const std::string theirs = "fremd\t5\nzweite Zeile\n";
  messages_.QueueReply(MessageResult::No);
  EXPECT_TRUE(editAndSave(changed, [&] { folder.Write("changed.txt", theirs); }));
  ASSERT_GT(messages_.messages.size(), shown);
  const RecordedMessage& question = messages_.messages[shown];
  EXPECT_EQ(question.buttons, MessageButtons::YesNoDefaultNo);
  EXPECT_EQ(question.caption, "Datei geändert");
  EXPECT_NE(question.text.find("Die Datei " + changed + " wurde seit dem Öffnen"), std::string::npos);
  EXPECT_EQ(files_.requests.back().request.title, "Speichern unter");
  EXPECT_EQ(test::TempFolder::Read(changed), theirs);
  messages_.QueueReply(MessageResult::Yes);
  const std::size_t asked = files_.requests.size();
  save->trigger();
  EXPECT_EQ(files_.requests.size(), asked);
  EXPECT_EQ(test::TempFolder::Read(changed), "neu\t4\n");
  EXPECT_EQ(form.State().Document.DocumentSaved, 1);

  // What may not or cannot be written: the message names the cause, the
  // file stays byte for byte, "Save as" follows.
  struct Refusal {
    std::string Name;
    std::function<void(const std::string& path)> Before;  // after the open
    std::string Cause;
    std::string Start;  // where "Save as" starts (a bare name: in the default folder)
  };
  fs::create_directories(root / "locked");
  const std::vector<Refusal> refusals = {
      {"read-only.txt", [](const std::string& path) { fs::permissions(path, fs::perms(0444)); },
       "Die Datei ist schreibgeschützt und wird nicht überschrieben. Die Datei bleibt, wie sie war.",
       folder.File("read-only.xlsx")},
      {"locked/in-folder.txt", [&](const std::string&) { fs::permissions(root / "locked", fs::perms(0555)); },
       "Der Ordner " + folder.File("locked") +
           " ist schreibgeschützt: in ihm kann keine Datei gespeichert werden. Die Datei bleibt, wie sie war.",
       "in-folder.xlsx"},
      {"gone.txt", [](const std::string& path) { fs::remove(path); },
       "Die Datei oder ihr Ordner ist nicht mehr da (gelöscht oder verschoben).", folder.File("gone.xlsx")},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.Name);
    const std::string path = folder.Write(r.Name, "alt\t6\n");
    EXPECT_TRUE(editAndSave(path, [&] { r.Before(path); }));
    ASSERT_GT(messages_.messages.size(), shown);
    EXPECT_EQ(messages_.messages[shown].text, "Beim Speichern von " + path + " ist ein Fehler aufgetreten. " +
                                                  r.Cause + " Bitte wählen Sie einen anderen Namen oder Ort.");
    EXPECT_EQ(messages_.messages[shown].icon, MessageIcon::Error);
    EXPECT_EQ(files_.requests.back().request.title, "Speichern unter");
    const std::string& start = files_.requests.back().request.start;
    if (r.Start.starts_with("/")) {
      EXPECT_EQ(start, r.Start);
    } else {
      EXPECT_EQ(start, form.StoredSettings().DefaultFolder + r.Start);
    }
    fs::permissions(root / "locked", fs::perms(0755));
    if (r.Name != "gone.txt") {
      EXPECT_EQ(test::TempFolder::Read(path), "alt\t6\n");
    }
    EXPECT_FALSE(fs::exists(path + ".kvxtmp"));
  }
  EXPECT_FALSE(fs::exists(folder.File("gone.txt")));

  // The disk full as the text and as the workbook are written: said so in
  // English, the file as it was, "Save as" offered.
  LanguageEnglish = 1;
  const std::string book = folder.File("full.xlsx");
  Open(form, folder.Write("full-source.txt", "alt\t7\n"));
  files_.QueueAnswer(book);
  form.Commands().Action("Speichernunter1")->trigger();
  const std::string bookBytes = test::TempFolder::Read(book);
  ASSERT_FALSE(bookBytes.empty());
  for (const std::string& path : {folder.Write("full.txt", "alt\t7\n"), book}) {
    SCOPED_TRACE(path);
    const std::string before = test::TempFolder::Read(path);
    Open(form, path);
    ASSERT_TRUE(form.Workbook().CommitEntry(1, 1, std::string(5000, 'x')));
    shown = messages_.messages.size();
    {
      const test::ScopedFileSizeLimit limit(2048);
      save->trigger();
    }
    ASSERT_GT(messages_.messages.size(), shown);
    EXPECT_EQ(messages_.messages[shown].text,
              "An Error occured while saving " + path +
                  ". There is not enough room on the disk: it is full, or your quota is used up. The file stays as "
                  "it was. Please choose another name or place.");
    EXPECT_EQ(files_.requests.back().request.title, "Save as");
    EXPECT_EQ(test::TempFolder::Read(path), before);
  }
  LanguageEnglish = 0;
  form.close();
}

}  // namespace
}  // namespace kvx

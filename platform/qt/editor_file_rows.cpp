#include "platform/qt/editor_file_rows.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <initializer_list>

#include "platform/globals.h"

namespace kvx {

namespace {

QString Q(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

}  // namespace

QString NoEditorFileText() { return Q("Keine Datei geladen", "No file"); }

TEditorFileRows AddEditorFileRows(QBoxLayout* layout, const QString& loadCaption, const QString& wordStartCaption) {
  TEditorFileRows rows;
  auto* top = new QHBoxLayout;
  rows.FileLabel = new QLabel(NoEditorFileText());
  rows.FileLabel->setObjectName(QStringLiteral("LabelFile"));
  rows.Load = new QPushButton(loadCaption);
  rows.Load->setObjectName(QStringLiteral("Button1"));
  rows.NewFile = new QPushButton(Q("Neue Datenbank", "New database"));
  rows.NewFile->setObjectName(QStringLiteral("Button50"));
  top->addWidget(rows.FileLabel, 1);
  top->addWidget(rows.Load);
  top->addWidget(rows.NewFile);
  layout->addLayout(top);

  auto* searchRow = new QHBoxLayout;
  auto* searchLabel = new QLabel(Q("s&uchen nach:", "find:"));
  rows.Search = new QLineEdit;
  rows.Search->setObjectName(QStringLiteral("Edit1"));
  searchLabel->setBuddy(rows.Search);
  rows.WordStart = new QCheckBox(wordStartCaption);
  rows.WordStart->setObjectName(QStringLiteral("wortanfang"));
  searchRow->addWidget(searchLabel);
  searchRow->addWidget(rows.Search, 1);
  searchRow->addWidget(rows.WordStart);
  layout->addLayout(searchRow);
  return rows;
}

TEditorRecordRow AddEditorRecordRow(QBoxLayout* layout, const char* deleteEnglish, const QString& finishCaption) {
  TEditorRecordRow row;
  auto* bottom = new QHBoxLayout;
  row.Undo = new QPushButton(Q("&Rückgängig", "&Undo"));
  row.Undo->setObjectName(QStringLiteral("Button4"));
  row.Undo->setEnabled(false);
  row.Delete = new QPushButton(Q("Datensatz &löschen", deleteEnglish));
  row.Delete->setObjectName(QStringLiteral("Button2"));
  row.New = new QPushButton(Q("Datensatz &neu", "&New"));
  row.New->setObjectName(QStringLiteral("Button3"));
  row.Finish = new QPushButton(finishCaption);
  row.Finish->setObjectName(QStringLiteral("BitBtn1"));
  row.Status = new QLabel;
  row.Status->setObjectName(QStringLiteral("Label6"));
  row.Position = new QLabel;
  row.Position->setObjectName(QStringLiteral("Label13"));
  for (QWidget* w : std::initializer_list<QWidget*>{row.Undo, row.Delete, row.New, row.Status, row.Position}) {
    bottom->addWidget(w);
  }
  bottom->addStretch(1);
  bottom->addWidget(row.Finish);
  layout->addLayout(bottom);
  return row;
}

}  // namespace kvx

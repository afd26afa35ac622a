#include "platform/qt/editor_file_rows.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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

}  // namespace kvx

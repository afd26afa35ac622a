#include "platform/qt/workbook_dialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontMetricsF>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTime>
#include <QVBoxLayout>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/cell_painting.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/workbook/formula_engine.h"

namespace kvx {

using workbook::TRange;

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

QColor ToColor(std::uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
std::uint32_t FromColor(const QColor& c) {
  return (static_cast<std::uint32_t>(c.red()) << 16) | (static_cast<std::uint32_t>(c.green()) << 8) | c.blue();
}

// A push button that shows and picks a colour.
class ColorButton : public QPushButton {
 public:
  ColorButton(std::uint32_t rgb, QWidget* parent) : QPushButton(parent), rgb_(rgb) {
    Paint();
    connect(this, &QPushButton::clicked, this, [this] {
      const QColor chosen = QColorDialog::getColor(ToColor(rgb_), this);
      if (chosen.isValid()) {
        rgb_ = FromColor(chosen);
        Paint();
      }
    });
  }
  std::uint32_t Rgb() const { return rgb_; }

 private:
  void Paint() {
    QPixmap swatch(32, 14);
    swatch.fill(ToColor(rgb_));
    setIcon(QIcon(swatch));
  }
  std::uint32_t rgb_;
};

QDialogButtonBox* OkCancel(QDialog& dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText("OK");
  buttons->button(QDialogButtonBox::Cancel)->setText(Tr("Abbrechen", "Cancel"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return buttons;
}

QStringList BorderStyleNames() {
  return {Tr("Keine", "None"),       Tr("Dünn", "Thin"),  Tr("Mittel", "Medium"),  Tr("Gestrichelt", "Dashed"),
          Tr("Gepunktet", "Dotted"), Tr("Dick", "Thick"), Tr("Doppelt", "Double"), Tr("Haarlinie", "Hair")};
}

}  // namespace

bool ShowCellFontDialog(QWidget* parent, workbook::TWorkbook& book) {
  const workbook::TCellFont current = book.Font();
  QFont font(QString::fromStdString(current.Face));
  font.setPointSizeF(current.Size);
  font.setBold(current.Bold);
  font.setItalic(current.Italic);
  font.setUnderline(current.Underline);
  font.setStrikeOut(current.Strikeout);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, font, parent, Tr("Schriftart", "Font"));
  if (!ok) return false;
  workbook::TCellFont next = current;
  next.Face = chosen.family().toStdString();
  next.Size = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : current.Size;
  next.Bold = chosen.bold();
  next.Italic = chosen.italic();
  next.Underline = chosen.underline();
  next.Strikeout = chosen.strikeOut();
  book.SetFont(next);
  return true;
}

bool ShowNumberFormatDialog(QWidget* parent, workbook::TWorkbook& book) {
  const workbook::TFormatLocale locale = book.Locale();
  QDialog dialog(parent);
  dialog.setWindowTitle(Tr("Zahlenformat", "Number format"));
  SetHelpSection(&dialog, "menu-format");
  auto* layout = new QVBoxLayout(&dialog);
  auto* list = new QListWidget(&dialog);
  const char* codes[] = {
      "General",    "0",        "0.00",  "#,##0",    "#,##0.00",         "0%",        "0.00%", "0.00E+00",
      "dd.mm.yyyy", "dd.mm.yy", "hh:mm", "hh:mm:ss", "dd.mm.yyyy hh:mm", "[h]:mm:ss", "@"};
  for (const char* code : codes) list->addItem(QString::fromStdString(workbook::LocalFormat(code, locale)));
  auto* edit = new QLineEdit(QString::fromStdString(book.NumberFormat()), &dialog);
  if (edit->text().isEmpty()) edit->setText("General");
  auto* preview = new QLabel(&dialog);
  const double value = book.Number(book.Row(), book.Col());
  auto update = [&] {
    const std::string canonical = workbook::CanonicalFormat(edit->text().toStdString(), locale);
    preview->setText(Tr("Beispiel: ", "Sample: ") +
                     QString::fromStdString(workbook::FormatNumber(value, canonical, locale)));
  };
  // The list takes over the format only when the user moves in it: the
  // first current item it gets on showing (with no previous item) must not
  // overwrite the cell's format.
  const auto matching = list->findItems(edit->text(), Qt::MatchExactly);
  if (!matching.isEmpty()) list->setCurrentItem(matching.front());
  QObject::connect(list, &QListWidget::currentItemChanged, &dialog,
                   [&](QListWidgetItem* current, QListWidgetItem* previous) {
                     if (current == nullptr || previous == nullptr) return;
                     edit->setText(current->text());
                     update();
                   });
  QObject::connect(list, &QListWidget::itemClicked, &dialog, [&](QListWidgetItem* item) {
    edit->setText(item->text());
    update();
  });
  QObject::connect(edit, &QLineEdit::textChanged, &dialog, [&](const QString&) { update(); });
  update();
  layout->addWidget(list);
  layout->addWidget(new QLabel(Tr("&Format:", "&Format:"), &dialog));
  layout->addWidget(edit);
  layout->addWidget(preview);
  layout->addWidget(OkCancel(dialog));
  if (dialog.exec() != QDialog::Accepted) return false;
  book.SetNumberFormat(edit->text().toStdString());
  return true;
}

bool ShowBorderDialog(QWidget* parent, workbook::TWorkbook& book) {
  const workbook::TBorders current = book.Borders();
  QDialog dialog(parent);
  dialog.setWindowTitle(Tr("Rahmen", "Border"));
  SetHelpSection(&dialog, "menu-format");
  auto* form = new QFormLayout(&dialog);
  auto makeCombo = [&](int style) {
    auto* combo = new QComboBox(&dialog);
    combo->addItems(BorderStyleNames());
    combo->setCurrentIndex(std::clamp(style, 0, 7));
    return combo;
  };
  auto* outline = makeCombo(0);
  auto* left = makeCombo(current.Left.Style);
  auto* right = makeCombo(current.Right.Style);
  auto* top = makeCombo(current.Top.Style);
  auto* bottom = makeCombo(current.Bottom.Style);
  auto* color = new ColorButton(current.Bottom.Color, &dialog);
  form->addRow(Tr("&Umriss:", "&Outline:"), outline);
  form->addRow(Tr("&Links:", "&Left:"), left);
  form->addRow(Tr("&Rechts:", "&Right:"), right);
  form->addRow(Tr("&Oben:", "&Top:"), top);
  form->addRow(Tr("U&nten:", "&Bottom:"), bottom);
  form->addRow(Tr("&Farbe:", "&Colour:"), color);
  form->addRow(OkCancel(dialog));
  if (dialog.exec() != QDialog::Accepted) return false;
  const std::uint32_t rgb = color->Rgb();
  workbook::TBorders borders;
  borders.Left = {left->currentIndex(), rgb};
  borders.Right = {right->currentIndex(), rgb};
  borders.Top = {top->currentIndex(), rgb};
  borders.Bottom = {bottom->currentIndex(), rgb};
  book.SetBorders(borders);
  if (outline->currentIndex() != 0) book.SetOutlineBorder(workbook::TBorderLine{outline->currentIndex(), rgb});
  return true;
}

bool ShowPatternDialog(QWidget* parent, workbook::TWorkbook& book) {
  const workbook::TPattern current = book.Pattern();
  QDialog dialog(parent);
  dialog.setWindowTitle(Tr("Muster", "Pattern"));
  SetHelpSection(&dialog, "menu-format");
  auto* form = new QFormLayout(&dialog);
  auto* pattern = new QComboBox(&dialog);
  pattern->addItem(Tr("Kein", "None"));
  pattern->addItem(Tr("Voll", "Solid"));
  for (int i = 2; i <= 18; ++i) pattern->addItem(Tr("Muster ", "Pattern ") + QString::number(i));
  pattern->setCurrentIndex(std::clamp(current.Pattern, 0, 18));
  auto* foreground = new ColorButton(current.Foreground, &dialog);
  auto* background = new ColorButton(current.Background, &dialog);
  form->addRow(Tr("&Muster:", "&Pattern:"), pattern);
  form->addRow(Tr("&Vordergrund:", "&Foreground:"), foreground);
  form->addRow(Tr("&Hintergrund:", "&Background:"), background);
  form->addRow(OkCancel(dialog));
  if (dialog.exec() != QDialog::Accepted) return false;
  book.SetPattern(workbook::TPattern{pattern->currentIndex(), foreground->Rgb(), background->Rgb()});
  return true;
}

bool ShowDefineNameDialog(QWidget* parent, workbook::TWorkbook& book) {
  QDialog dialog(parent);
  dialog.setWindowTitle(Tr("Namen festlegen", "Define name"));
  SetHelpSection(&dialog, "menu-insert");
  auto* layout = new QVBoxLayout(&dialog);
  auto* name = new QLineEdit(&dialog);
  auto* reference = new QLineEdit(&dialog);
  auto* names = new QListWidget(&dialog);
  auto refill = [&] {
    names->clear();
    for (const auto& n : book.Names()) {
      if (!n.Local) names->addItem(QString::fromStdString(n.Name));
    }
  };
  refill();
  const workbook::TRange selection = book.SelectionRange(0);
  reference->setText(QString::fromStdString(workbook::QuoteSheetName(book.SheetName(book.Sheet())) + "!" +
                                            workbook::RangeName(selection, true)));
  QObject::connect(names, &QListWidget::currentTextChanged, &dialog, [&](const QString& text) {
    name->setText(text);
    if (const auto found = book.FindName(text.toStdString())) {
      reference->setText(QString::fromStdString(book.NameReference(*found)));
    }
  });
  auto* add = new QPushButton(Tr("&Hinzufügen", "&Add"), &dialog);
  auto* remove = new QPushButton(Tr("&Löschen", "&Delete"), &dialog);
  QObject::connect(add, &QPushButton::clicked, &dialog, [&] {
    if (!book.DefineName(name->text().toStdString(), reference->text().toStdString())) {
      ShowMessage("Der Name oder der Bezug ist ungültig.", "The name or the reference is not valid.",
                  MessageIcon::Warning, MessageButtons::Ok, ByLanguage("Namen festlegen", "Define name"));
      return;
    }
    refill();
  });
  QObject::connect(remove, &QPushButton::clicked, &dialog, [&] {
    book.DeleteName(name->text().toStdString());
    refill();
  });
  auto* form = new QFormLayout;
  form->addRow(Tr("&Name:", "&Name:"), name);
  form->addRow(Tr("&Bezug:", "&Refers to:"), reference);
  layout->addLayout(form);
  layout->addWidget(names);
  auto* row = new QHBoxLayout;
  row->addWidget(add);
  row->addWidget(remove);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
  buttons->button(QDialogButtonBox::Close)->setText(Tr("&Schließen", "&Close"));
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::accept);
  layout->addWidget(buttons);
  dialog.exec();
  return true;
}

namespace {

void ApplyPageSetupToPrinter(const workbook::TWorkbook& book, QPrinter& printer) {
  const workbook::TPageSetup& page = book.PageSetup();
  printer.setPageSize(page.PaperSize == 1 ? QPageSize(QPageSize::Letter) : QPageSize(QPageSize::A4));
  printer.setPageOrientation(page.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  printer.setFullPage(true);
}

}  // namespace

bool ShowPrinterSetupDialog(QWidget* parent, workbook::TWorkbook& book) {
  QPrinter printer;
  ApplyPageSetupToPrinter(book, printer);
  QPageSetupDialog dialog(&printer, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  workbook::TPageSetup& page = book.PageSetup();
  const QPageSize size = printer.pageLayout().pageSize();
  page.PaperSize = size.id() == QPageSize::Letter ? 1 : 9;
  page.Landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
  return true;
}

void HeaderFooterParts(const QString& code, int page, int pages, const QString& fileName, const QString& sheetName,
                       QString& left, QString& centre, QString& right) {
  left.clear();
  right.clear();
  centre.clear();
  QString* part = &centre;
  for (int i = 0; i < code.size(); ++i) {
    const QChar c = code[i];
    if (c != '&' || i + 1 >= code.size()) {
      *part += c;
      continue;
    }
    const char field = AsciiUpper(code[++i].toLatin1());
    if (field == 'L')
      part = &left;
    else if (field == 'C')
      part = &centre;
    else if (field == 'R')
      part = &right;
    else if (field == 'P')
      *part += QString::number(page);
    else if (field == 'N')
      *part += QString::number(pages);
    else if (field == 'D')
      *part += QDate::currentDate().toString("dd.MM.yyyy");
    else if (field == 'T')
      *part += QTime::currentTime().toString("hh:mm");
    else if (field == 'F')
      *part += fileName;
    else if (field == 'A')
      *part += sheetName;
    else if (field == '&')
      *part += '&';
    else
      *part += QString('&') + code[i];
  }
}

namespace {
// A font of the given size in points for a painter whose coordinates are
// points: Qt sizes a point-sized font by the device's resolution, which the
// painter's scaling from points to device units would apply a second time.
QFont PointFont(const QPaintDevice* device, const QString& face, double points) {
  QFont font(face);
  const int dpi = device != nullptr ? device->logicalDpiY() : 72;
  font.setPointSizeF(points * 72.0 / std::max(1, dpi));
  return font;
}

// The font of a cell's text on paper at the print scale.
QFont CellPageFont(const QPaintDevice* device, const workbook::TCellFont& cellFont, double scale) {
  QFont font = PointFont(device, QString::fromStdString(cellFont.Face), std::max(1.0, cellFont.Size * scale));
  font.setBold(cellFont.Bold);
  font.setItalic(cellFont.Italic);
  font.setUnderline(cellFont.Underline);
  font.setStrikeOut(cellFont.Strikeout);
  return font;
}

// The width in points of a text in a cell's font on paper at the print scale.
double PrintedTextWidth(const QPaintDevice* device, const std::string& text, const workbook::TCellFont& font,
                        double scale) {
  return QFontMetricsF(CellPageFont(device, font, scale), device).horizontalAdvance(QString::fromStdString(text));
}

// A column of a printed page: its number, left edge and width in points.
struct PageColumn {
  int Col;
  double Left;
  double Width;
};

// The cells of a printed page: the rows of `Cells` from `Top` down, the
// columns as listed, in points.
struct TPagePaint {
  QPainter& Painter;
  const workbook::TWorkbook& Book;
  int Sheet;
  TRange Cells;
  const std::vector<PageColumn>& Columns;
  double Top;
  double Scale;
  double CharacterPoints;
  bool NoColor;
};

// Calls `act` on every shown row of the page with its top and height.
void ForEachPageRow(const TPagePaint& page, const std::function<void(int row, double y, double h)>& act) {
  const workbook::TSheetData& data = page.Book.SheetData(page.Sheet);
  double y = page.Top;
  for (int r = page.Cells.Row1; r <= page.Cells.Row2; ++r) {
    const double h = workbook::RowPoints(data, r) * page.Scale;
    if (h <= 0) continue;
    act(r, y, h);
    y += h;
  }
}

void PaintPageFills(const TPagePaint& page) {
  if (page.NoColor) return;
  const workbook::TSheetData& data = page.Book.SheetData(page.Sheet);
  ForEachPageRow(page, [&](int r, double y, double h) {
    for (const PageColumn& column : page.Columns) {
      const workbook::TCell* cell = data.CellAt(r, column.Col);
      if (cell == nullptr) continue;
      const workbook::TPattern& pattern = page.Book.Style(cell->Style).Pattern;
      if (pattern.Pattern == 1)
        page.Painter.fillRect(QRectF(column.Left, y, column.Width, h), ToColor(pattern.Foreground));
    }
  });
}

// The width in points of the text of cell (row, col) on the page.
double PageTextWidth(const TPagePaint& page, int row, int col) {
  return PrintedTextWidth(page.Painter.device(), page.Book.TextOn(page.Sheet, row, col),
                          page.Book.StyleAt(page.Sheet, row, col).Font, page.Scale);
}

// The text of cell (row, col) with its left edge at `left`.
void PaintPageText(const TPagePaint& page, const TPaintedRow& painted, int col, double left) {
  const workbook::TCell* cell = page.Book.SheetData(page.Sheet).CellAt(painted.Row, col);
  if (cell == nullptr || cell->Kind == workbook::TCellKind::Empty) return;
  const workbook::TCellStyle& style = page.Book.Style(cell->Style);
  QPainter& painter = page.Painter;
  const QFont font = CellPageFont(painter.device(), style.Font, page.Scale);
  painter.setFont(font);
  painter.setPen(page.NoColor ? Qt::black : ToColor(style.Font.Color));
  const bool numeric = cell->Kind == workbook::TCellKind::Number ||
                       (cell->Kind == workbook::TCellKind::Formula && cell->Result == workbook::TFormulaResult::Number);
  TCellTextInput input;
  input.Text = QString::fromStdString(page.Book.TextOn(page.Sheet, painted.Row, col));
  input.General = numeric ? Qt::AlignRight : Qt::AlignLeft;
  DrawCellText(painter, LayOutCellText(painted, col, left, input, QFontMetricsF(font, painter.device())));
}

// The texts of the page, as the screen lays them out, each cut at the
// page's edges; a text that runs on or is centred across cells from a
// column of another page goes on over this page's cells.
void PaintPageTexts(const TPagePaint& page) {
  if (page.Columns.empty()) return;
  const workbook::TSheetData& data = page.Book.SheetData(page.Sheet);
  const PageColumn& first = page.Columns.front();
  const PageColumn& last = page.Columns.back();
  const double scale = page.Scale;
  const double character = page.CharacterPoints;
  ForEachPageRow(page, [&](int r, double y, double h) {
    const TPaintedRow painted{
        page.Book,
        page.Sheet,
        r,
        [&data, scale, character](int c) { return workbook::ColumnPoints(data, c, character) * scale; },
        y,
        h,
        workbook::kCellPaddingPoints * scale,
        first.Left,
        last.Left + last.Width};
    const auto fromBeyond = [&](const PageColumn& edge, int direction) {
      const std::optional<int> from =
          workbook::TextReaching(page.Book, page.Sheet, r, edge.Col, direction, TextRoom(painted),
                                 [&page, r](int c) { return PageTextWidth(page, r, c); });
      if (!from) return;
      double left = edge.Left;
      for (int c = *from; c < edge.Col; ++c) left -= painted.ColumnWidth(c);
      for (int c = edge.Col; c < *from; ++c) left += painted.ColumnWidth(c);
      PaintPageText(page, painted, *from, left);
    };
    fromBeyond(first, -1);
    for (const PageColumn& column : page.Columns) PaintPageText(page, painted, column.Col, column.Left);
    fromBeyond(last, 1);
  });
}

void PaintPageBorders(const TPagePaint& page) {
  const workbook::TSheetData& data = page.Book.SheetData(page.Sheet);
  QPainter& painter = page.Painter;
  auto line = [&](const workbook::TBorderLine& border, QPointF a, QPointF b) {
    if (border.Style == 0) return;
    QPen pen(page.NoColor ? Qt::black : ToColor(border.Color));
    pen.setWidthF(border.Style == 2 ? 1.0 : (border.Style == 5 ? 1.5 : 0.5));
    if (border.Style == 3) pen.setStyle(Qt::DashLine);
    if (border.Style == 4 || border.Style == 7) pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.drawLine(a, b);
  };
  ForEachPageRow(page, [&](int r, double y, double h) {
    for (const PageColumn& column : page.Columns) {
      const workbook::TCell* cell = data.CellAt(r, column.Col);
      if (cell == nullptr) continue;
      const workbook::TBorders& borders = page.Book.Style(cell->Style).Borders;
      const QRectF rect(column.Left, y, column.Width, h);
      line(borders.Top, rect.topLeft(), rect.topRight());
      line(borders.Bottom, rect.bottomLeft(), rect.bottomRight());
      line(borders.Left, rect.topLeft(), rect.bottomLeft());
      line(borders.Right, rect.topRight(), rect.bottomRight());
    }
  });
}
}  // namespace

void PaintSheetPage(QPainter& painter, const workbook::TWorkbook& book, int sheet, const workbook::TPageLayout& layout,
                    int page, double dotsPerPoint, double paperWidth, double paperHeight) {
  if (page < 0 || page >= static_cast<int>(layout.Pages.size())) return;
  const workbook::TSheetData& data = book.SheetData(sheet);
  const workbook::TPageSetup& setup = data.Page;
  const TRange cells = layout.Pages[page];
  const double scale = layout.Scale;
  const double headingWidth = setup.RowHeading ? 30.0 : 0.0;
  const double headingHeight = setup.ColHeading ? 14.0 : 0.0;
  double width = headingWidth;
  double height = headingHeight;
  for (int c = cells.Col1; c <= cells.Col2; ++c)
    width += workbook::ColumnPoints(data, c, layout.CharacterPoints) * scale;
  for (int r = cells.Row1; r <= cells.Row2; ++r) height += workbook::RowPoints(data, r) * scale;
  double x0 = setup.LeftMargin * 72.0;
  double y0 = setup.TopMargin * 72.0;
  if (setup.HCenter) x0 += std::max(0.0, (layout.PrintableWidth + headingWidth - width) / 2.0);
  if (setup.VCenter) y0 += std::max(0.0, (layout.PrintableHeight + headingHeight - height) / 2.0);

  painter.save();
  painter.scale(dotsPerPoint, dotsPerPoint);  // from here on, points
  const QString sheetName = QString::fromStdString(data.Name);
  const QString fileName = QString::fromStdString(book.FileName());
  const int pages = static_cast<int>(layout.Pages.size());
  auto headerFooter = [&](const std::string& code, double y) {
    if (code.empty()) return;
    QString left, centre, right;
    HeaderFooterParts(QString::fromStdString(code), page + 1, pages, fileName, sheetName, left, centre, right);
    painter.setFont(PointFont(painter.device(), QStringLiteral("Arial"), 9.0));
    painter.setPen(Qt::black);
    const QRectF line(setup.LeftMargin * 72.0, y, paperWidth - (setup.LeftMargin + setup.RightMargin) * 72.0, 12.0);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, left);
    painter.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter, centre);
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, right);
  };
  headerFooter(setup.Header, setup.TopMargin * 72.0 / 2.0 - 6.0);
  headerFooter(setup.Footer, paperHeight - setup.BottomMargin * 72.0 / 2.0 - 6.0);

  const QFont headingFont = PointFont(painter.device(), QStringLiteral("Arial"), std::max(2.0, 8.0 * scale));
  auto heading = [&](const QRectF& rect, const QString& text) {
    painter.fillRect(rect, setup.NoColor ? Qt::white : QColor(0xF0, 0xF0, 0xF0));
    painter.setPen(Qt::gray);
    painter.drawRect(rect);
    painter.setPen(Qt::black);
    painter.drawText(rect, Qt::AlignCenter, text);
  };
  // Headings.
  if (setup.ColHeading) {
    double x = x0 + headingWidth;
    painter.setFont(headingFont);
    for (int c = cells.Col1; c <= cells.Col2; ++c) {
      const double w = workbook::ColumnPoints(data, c, layout.CharacterPoints) * scale;
      if (w <= 0) continue;
      heading(QRectF(x, y0, w, headingHeight), QString::fromStdString(workbook::ColumnLetters(c)));
      x += w;
    }
  }
  if (setup.RowHeading) {
    double y = y0 + headingHeight;
    painter.setFont(headingFont);
    for (int r = cells.Row1; r <= cells.Row2; ++r) {
      const double h = workbook::RowPoints(data, r) * scale;
      if (h <= 0) continue;
      heading(QRectF(x0, y, headingWidth, h), QString::number(r));
      y += h;
    }
  }
  // The columns of the page with their left edges and widths, in points.
  std::vector<PageColumn> columns;
  {
    double x = x0 + headingWidth;
    for (int c = cells.Col1; c <= cells.Col2; ++c) {
      const double w = workbook::ColumnPoints(data, c, layout.CharacterPoints) * scale;
      if (w <= 0) continue;
      columns.push_back({c, x, w});
      x += w;
    }
  }
  // Grid lines first, under the cells' fills and texts, as on the screen.
  if (setup.GridLines) {
    painter.setPen(QPen(Qt::lightGray, 0));
    double y = y0 + headingHeight;
    for (int r = cells.Row1; r <= cells.Row2; ++r) {
      const double h = workbook::RowPoints(data, r) * scale;
      if (h <= 0) continue;
      for (const PageColumn& column : columns) painter.drawRect(QRectF(column.Left, y, column.Width, h));
      y += h;
    }
  }
  // Cells: the fills, then the texts (which may reach over the fills of
  // their neighbours), then the borders.
  const TPagePaint cellsPaint{
      painter, book, sheet, cells, columns, y0 + headingHeight, scale, layout.CharacterPoints, setup.NoColor};
  PaintPageFills(cellsPaint);
  PaintPageTexts(cellsPaint);
  PaintPageBorders(cellsPaint);
  painter.restore();
}

workbook::TPageLayout PrintLayout(const workbook::TWorkbook& book, int sheet, const QPaintDevice& device) {
  const workbook::TPageSetup& setup = book.SheetData(sheet).Page;
  double paperWidth = 0.0;
  double paperHeight = 0.0;
  workbook::PaperSize(setup.PaperSize, paperWidth, paperHeight);
  if (setup.Landscape) std::swap(paperWidth, paperHeight);
  const auto textWidth = [&device](const std::string& text, const workbook::TCellFont& font, double scale) {
    return PrintedTextWidth(&device, text, font, scale);
  };
  return workbook::LayoutPages(book, sheet, paperWidth, paperHeight, textWidth);
}

int PrintSheet(workbook::TWorkbook& book, QPrinter& printer) {
  const int sheet = book.Sheet();
  const workbook::TPageSetup& setup = book.CurrentSheetData().Page;
  double paperWidth = 0.0;
  double paperHeight = 0.0;
  workbook::PaperSize(setup.PaperSize, paperWidth, paperHeight);
  if (setup.Landscape) std::swap(paperWidth, paperHeight);
  const workbook::TPageLayout layout = PrintLayout(book, sheet, printer);
  if (layout.Pages.empty()) return 0;
  QPainter painter;
  if (!painter.begin(&printer)) return 0;
  const double dotsPerPoint = printer.resolution() / 72.0;
  for (int page = 0; page < static_cast<int>(layout.Pages.size()); ++page) {
    if (page > 0) printer.newPage();
    PaintSheetPage(painter, book, sheet, layout, page, dotsPerPoint, paperWidth, paperHeight);
  }
  painter.end();
  return static_cast<int>(layout.Pages.size());
}

bool PrintWorkbook(QWidget* parent, workbook::TWorkbook& book, bool showDialog) {
  QPrinter printer(QPrinter::HighResolution);
  ApplyPageSetupToPrinter(book, printer);
  if (showDialog) {
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
  }
  return PrintSheet(book, printer) > 0;
}

int PrintWorkbookToPdf(workbook::TWorkbook& book, const QString& path) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  ApplyPageSetupToPrinter(book, printer);
  return PrintSheet(book, printer);
}

}  // namespace kvx

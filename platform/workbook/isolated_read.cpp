#include "platform/workbook/isolated_read.h"

#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fstream>
#include <new>

#include "platform/workbook/read_failure.h"

#if defined(__SANITIZE_ADDRESS__)
#define KVX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KVX_ADDRESS_SANITIZER 1
#endif
#endif

// Set when the program runs under a sanitizer: what runs when it reports
// an error and stops.
extern "C" void __sanitizer_set_death_callback(void (*callback)(void)) __attribute__((weak));

namespace kvx::workbook {

namespace {

// ------------------------------------------------------------- snapshot

class Writer {
 public:
  void U8(std::uint32_t v) { out_ += static_cast<char>(v & 0xFF); }
  void U32(std::uint32_t v) {
    const char bytes[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                           static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
    out_.append(bytes, 4);
  }
  void I32(int v) { U32(static_cast<std::uint32_t>(v)); }
  void F64(double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    U32(static_cast<std::uint32_t>(bits));
    U32(static_cast<std::uint32_t>(bits >> 32));
  }
  void Text(const std::string& s) {
    U32(static_cast<std::uint32_t>(s.size()));
    out_ += s;
  }
  std::string& Bytes() { return out_; }

 private:
  std::string out_;
};

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}
  bool Ok() const { return ok_; }
  std::uint32_t U8() { return Take(1) ? static_cast<unsigned char>(in_[at_ - 1]) : 0u; }
  std::uint32_t U32() {
    if (!Take(4)) return 0;
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(in_[at_ - 4 + k]);
    return v;
  }
  int I32() { return static_cast<int>(U32()); }
  double F64() {
    if (!Take(8)) return 0.0;
    std::uint64_t bits = 0;
    for (int k = 7; k >= 0; --k) bits = (bits << 8) | static_cast<unsigned char>(in_[at_ - 8 + k]);
    double v = 0.0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  std::string Text() {
    const std::uint32_t n = U32();
    if (!Take(n)) return {};
    return std::string(in_.substr(at_ - n, n));
  }
  // A count of items of at least `itemBytes` bytes each: refused when the
  // bytes left cannot hold them.
  std::uint32_t Count(std::size_t itemBytes) {
    const std::uint32_t n = U32();
    if (itemBytes > 0 && n > (in_.size() - at_) / itemBytes) ok_ = false;
    return ok_ ? n : 0;
  }
  bool AtEnd() const { return at_ == in_.size(); }

 private:
  bool Take(std::size_t n) {
    if (!ok_ || n > in_.size() - at_) {
      ok_ = false;
      return false;
    }
    at_ += n;
    return true;
  }
  std::string_view in_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

constexpr char kMagic[] = "KVXWB1";

// The options of a sheet's protection, in the order of the snapshot.
constexpr bool TSheetProtection::*kProtectionFlags[] = {&TSheetProtection::SelectLockedCells,
                                                        &TSheetProtection::SelectUnlockedCells,
                                                        &TSheetProtection::FormatCells,
                                                        &TSheetProtection::FormatColumns,
                                                        &TSheetProtection::FormatRows,
                                                        &TSheetProtection::InsertColumns,
                                                        &TSheetProtection::InsertRows,
                                                        &TSheetProtection::InsertHyperlinks,
                                                        &TSheetProtection::DeleteColumns,
                                                        &TSheetProtection::DeleteRows,
                                                        &TSheetProtection::Sort,
                                                        &TSheetProtection::AutoFilter,
                                                        &TSheetProtection::PivotTables,
                                                        &TSheetProtection::EditObjects,
                                                        &TSheetProtection::EditScenarios};

void PutStyle(Writer& w, const TCellStyle& s) {
  w.Text(s.NumberFormat);
  w.I32(s.Alignment.Horizontal);
  w.U8(s.Alignment.Wrap);
  w.I32(s.Alignment.Vertical);
  w.I32(s.Alignment.Orientation);
  w.Text(s.Font.Face);
  w.F64(s.Font.Size);
  w.U8(s.Font.Bold);
  w.U8(s.Font.Italic);
  w.U8(s.Font.Underline);
  w.U8(s.Font.Strikeout);
  w.U8(s.Font.Outline);
  w.U8(s.Font.Shadow);
  w.U32(s.Font.Color);
  for (const TBorderLine* line : {&s.Borders.Left, &s.Borders.Right, &s.Borders.Top, &s.Borders.Bottom}) {
    w.I32(line->Style);
    w.U32(line->Color);
  }
  w.I32(s.Pattern.Pattern);
  w.U32(s.Pattern.Foreground);
  w.U32(s.Pattern.Background);
  w.U8(s.Protection.Locked);
  w.U8(s.Protection.Hidden);
}

TCellStyle GetStyle(Reader& r) {
  TCellStyle s;
  s.NumberFormat = r.Text();
  s.Alignment.Horizontal = r.I32();
  s.Alignment.Wrap = r.U8() != 0;
  s.Alignment.Vertical = r.I32();
  s.Alignment.Orientation = r.I32();
  s.Font.Face = r.Text();
  s.Font.Size = r.F64();
  s.Font.Bold = r.U8() != 0;
  s.Font.Italic = r.U8() != 0;
  s.Font.Underline = r.U8() != 0;
  s.Font.Strikeout = r.U8() != 0;
  s.Font.Outline = r.U8() != 0;
  s.Font.Shadow = r.U8() != 0;
  s.Font.Color = r.U32();
  for (TBorderLine* line : {&s.Borders.Left, &s.Borders.Right, &s.Borders.Top, &s.Borders.Bottom}) {
    line->Style = r.I32();
    line->Color = r.U32();
  }
  s.Pattern.Pattern = r.I32();
  s.Pattern.Foreground = r.U32();
  s.Pattern.Background = r.U32();
  s.Protection.Locked = r.U8() != 0;
  s.Protection.Hidden = r.U8() != 0;
  return s;
}

void PutInts(Writer& w, const std::set<int>& values) {
  w.U32(static_cast<std::uint32_t>(values.size()));
  for (int v : values) w.I32(v);
}

std::set<int> GetInts(Reader& r) {
  std::set<int> values;
  const std::uint32_t n = r.Count(4);
  for (std::uint32_t k = 0; k < n; ++k) values.insert(r.I32());
  return values;
}

void PutSizes(Writer& w, const std::map<int, double>& sizes) {
  w.U32(static_cast<std::uint32_t>(sizes.size()));
  for (const auto& [index, size] : sizes) {
    w.I32(index);
    w.F64(size);
  }
}

std::map<int, double> GetSizes(Reader& r) {
  std::map<int, double> sizes;
  const std::uint32_t n = r.Count(12);
  for (std::uint32_t k = 0; k < n; ++k) {
    const int index = r.I32();
    sizes[index] = r.F64();
  }
  return sizes;
}

void PutPage(Writer& w, const TPageSetup& p) {
  w.Text(p.Header);
  w.Text(p.Footer);
  for (double margin : {p.LeftMargin, p.RightMargin, p.TopMargin, p.BottomMargin, p.HeaderMargin, p.FooterMargin}) {
    w.F64(margin);
  }
  for (bool flag : {p.Landscape, p.LeftToRight, p.HCenter, p.VCenter, p.GridLines, p.NoColor, p.RowHeading,
                    p.ColHeading, p.FitToPages}) {
    w.U8(flag);
  }
  w.I32(p.PaperSize);
  w.I32(p.ScalePercent);
  w.I32(p.PagesTall);
  w.I32(p.PagesWide);
}

TPageSetup GetPage(Reader& r) {
  TPageSetup p;
  p.Header = r.Text();
  p.Footer = r.Text();
  for (double* margin :
       {&p.LeftMargin, &p.RightMargin, &p.TopMargin, &p.BottomMargin, &p.HeaderMargin, &p.FooterMargin}) {
    *margin = r.F64();
  }
  for (bool* flag : {&p.Landscape, &p.LeftToRight, &p.HCenter, &p.VCenter, &p.GridLines, &p.NoColor, &p.RowHeading,
                     &p.ColHeading, &p.FitToPages}) {
    *flag = r.U8() != 0;
  }
  p.PaperSize = r.I32();
  p.ScalePercent = r.I32();
  p.PagesTall = r.I32();
  p.PagesWide = r.I32();
  return p;
}

// ------------------------------------------------------- child process

#ifndef KVX_ADDRESS_SANITIZER
// The program's mapped address space in bytes (0 when unknown).
std::uint64_t MappedBytes() {
  std::ifstream statm("/proc/self/statm");
  std::uint64_t pages = 0;
  if (!(statm >> pages)) return 0;
  return pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}
#endif

void WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

[[noreturn]] void ChildDeath() { _exit(70); }

// Eight bytes of a length, least significant first.
void PutLength(std::string& out, std::uint64_t length) {
  for (int k = 0; k < 8; ++k) out += static_cast<char>((length >> (8 * k)) & 0xFF);
}

// The length in the first eight bytes of `bytes`; false when it has fewer.
bool GetLength(std::string_view bytes, std::uint64_t& length) {
  if (bytes.size() < 8) return false;
  length = 0;
  for (int k = 7; k >= 0; --k) length = (length << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(k)]);
  return true;
}

[[noreturn]] void RunChild(int fd, const std::function<bool(std::string&, std::string&)>& work) {
  // A crash here ends the child and nothing else: no handler of the
  // program (or of a sanitizer's test driver) runs in it.
  for (int signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT}) std::signal(signal, SIG_DFL);
  if (&__sanitizer_set_death_callback != nullptr) __sanitizer_set_death_callback(&ChildDeath);
  rlimit core{0, 0};
  setrlimit(RLIMIT_CORE, &core);
  rlimit cpu{static_cast<rlim_t>(kIsolatedCpuSeconds), static_cast<rlim_t>(kIsolatedCpuSeconds + 5)};
  setrlimit(RLIMIT_CPU, &cpu);
#ifndef KVX_ADDRESS_SANITIZER
  const rlim_t memory = static_cast<rlim_t>(MappedBytes() + kIsolatedMemoryBytes);
  rlimit address{memory, memory};
  setrlimit(RLIMIT_AS, &address);
#endif
  // The message: 'K' and the reply, or 'E' and the error text; framed by
  // its length.
  char kind = 'K';
  std::string reply;
  try {
    std::string error;
    if (!work(reply, error)) {
      kind = 'E';
      reply = std::move(error);
    }
  } catch (const std::bad_alloc&) {
    kind = 'E';
    reply = ReadFailure(TReadFailure::NoMemory);
  } catch (const std::exception& e) {
    kind = 'E';
    reply = e.what();
  } catch (...) {
    kind = 'E';
    reply = "the file cannot be read";
  }
  std::string head;
  PutLength(head, reply.size() + 1);
  head += kind;
  WriteAll(fd, head);
  WriteAll(fd, reply);
  close(fd);
  _exit(0);
}

}  // namespace

std::string EncodeWorkbookSnapshot(const TWorkbook& book) {
  Writer w;
  w.Bytes() += kMagic;
  w.U32(static_cast<std::uint32_t>(book.StyleCount()));
  for (std::size_t i = 0; i < book.StyleCount(); ++i) PutStyle(w, book.Style(static_cast<std::uint32_t>(i)));
  w.U32(static_cast<std::uint32_t>(book.NumSheets()));
  w.I32(book.Sheet());
  for (int s = 1; s <= book.NumSheets(); ++s) {
    const TSheetData& d = book.SheetData(s);
    w.Text(d.Name);
    w.U8(d.Selected);
    w.U32(static_cast<std::uint32_t>(d.Rows.size()));
    for (const auto& row : d.Rows) {
      w.U32(static_cast<std::uint32_t>(row.size()));
      for (const TCell& c : row) {
        w.U8(static_cast<std::uint32_t>(c.Kind));
        w.U8(static_cast<std::uint32_t>(c.Result));
        w.U32(c.Style);
        w.F64(c.Number);
        w.Text(c.Text);
        w.Text(c.Formula);
      }
    }
    PutSizes(w, d.ColWidths);
    PutSizes(w, d.RowHeights);
    PutInts(w, d.HiddenCols);
    PutInts(w, d.HiddenRows);
    w.F64(d.DefaultColWidth);
    w.F64(d.DefaultRowHeight);
    for (int v : {d.FixedRows, d.FixedCols, d.ActiveRow, d.ActiveCol, d.TopRow, d.LeftCol}) w.I32(v);
    w.U32(static_cast<std::uint32_t>(d.Selection.size()));
    for (const TRange& r : d.Selection) {
      for (int v : {r.Row1, r.Col1, r.Row2, r.Col2}) w.I32(v);
    }
    PutInts(w, d.RowBreaks);
    PutInts(w, d.ColBreaks);
    PutPage(w, d.Page);
    w.U8(d.TabColor.has_value());
    w.U32(d.TabColor.value_or(0));
    w.U8(d.AutoFilter.has_value());
    const TRange filter = d.AutoFilter.value_or(TRange{});
    for (int v : {filter.Row1, filter.Col1, filter.Row2, filter.Col2}) w.I32(v);
    for (const auto* run : {&d.TitleRows, &d.TitleCols}) {
      w.U8(run->has_value());
      w.I32(run->value_or(TLineRun{}).First);
      w.I32(run->value_or(TLineRun{}).Last);
    }
    w.U32(static_cast<std::uint32_t>(d.FilterColumns.size()));
    for (const TFilterColumn& column : d.FilterColumns) {
      w.I32(column.Column);
      w.U32(static_cast<std::uint32_t>(column.Values.size()));
      for (const std::string& value : column.Values) w.Text(value);
      w.U8(column.Blanks);
      w.U32(static_cast<std::uint32_t>(column.Conditions.size()));
      for (const TFilterCondition& condition : column.Conditions) {
        w.Text(condition.Operator);
        w.Text(condition.Value);
      }
      w.U8(column.And);
    }
    w.U8(d.Protection.has_value());
    for (const bool TSheetProtection::*flag : kProtectionFlags) w.U8(d.Protection.value_or(TSheetProtection{}).*flag);
  }
  const auto names = book.Names();
  w.U32(static_cast<std::uint32_t>(names.size()));
  for (const TDefinedName& n : names) {
    w.Text(n.Name);
    w.Text(book.NameReference(n));
  }
  w.I32(book.ViewScale());
  w.U8(book.ShowGridLines());
  for (const int count : book.ReadLosses().Counts) w.I32(count);
  w.U32(static_cast<std::uint32_t>(book.ReadLosses().RenamedSheets.size()));
  for (const auto& [from, to] : book.ReadLosses().RenamedSheets) {
    w.Text(from);
    w.Text(to);
  }
  const TWorkbookFileProperties& properties = book.FileProperties();
  w.U8(properties.Date1904);
  for (const std::string* text :
       {&properties.Title, &properties.Subject, &properties.Author, &properties.Manager, &properties.Company,
        &properties.Category, &properties.Keywords, &properties.Comments, &properties.Status}) {
    w.Text(*text);
  }
  const auto created = static_cast<std::uint64_t>(properties.Created);
  w.U32(static_cast<std::uint32_t>(created & 0xFFFFFFFFu));
  w.U32(static_cast<std::uint32_t>(created >> 32));
  w.U32(static_cast<std::uint32_t>(properties.Custom.size()));
  for (const TCustomProperty& property : properties.Custom) {
    w.Text(property.Name);
    w.U8(static_cast<std::uint32_t>(property.Kind));
    w.Text(property.Text);
    w.F64(property.Number);
  }
  return std::move(w.Bytes());
}

bool DecodeWorkbookSnapshot(std::string_view bytes, TWorkbook& book) {
  const std::size_t magicLength = sizeof kMagic - 1;
  if (bytes.substr(0, magicLength) != std::string_view(kMagic, magicLength)) return false;
  Reader r(bytes.substr(magicLength));
  std::vector<TCellStyle> styles;
  const std::uint32_t styleCount = r.Count(60);
  for (std::uint32_t i = 0; i < styleCount && r.Ok(); ++i) styles.push_back(GetStyle(r));
  const std::uint32_t sheetCount = r.Count(8);
  const int current = r.I32();
  if (!r.Ok() || styles.empty() || sheetCount < 1 || sheetCount > 255) return false;
  TWorkbook fresh(static_cast<int>(sheetCount));
  std::vector<std::uint32_t> styleOf;
  for (const TCellStyle& style : styles) styleOf.push_back(fresh.StyleIndex(style));
  for (int s = 1; s <= static_cast<int>(sheetCount) && r.Ok(); ++s) {
    std::string name = r.Text();
    TSheetData& d = fresh.MutableSheetData(s);
    d.Name = std::move(name);  // the names were checked where the file was read
    d.Selected = r.U8() != 0;
    const std::uint32_t rows = r.Count(4);
    if (rows > static_cast<std::uint32_t>(kMaxRows)) return false;
    d.Rows.resize(rows);
    for (auto& row : d.Rows) {
      const std::uint32_t cells = r.Count(22);
      if (cells > static_cast<std::uint32_t>(kMaxCols)) return false;
      row.resize(cells);
      for (TCell& c : row) {
        const std::uint32_t kind = r.U8();
        const std::uint32_t result = r.U8();
        const std::uint32_t style = r.U32();
        if (kind > 3 || result > 2 || style >= styleOf.size()) return false;
        c.Kind = static_cast<TCellKind>(kind);
        c.Result = static_cast<TFormulaResult>(result);
        c.Style = styleOf[style];
        c.Number = r.F64();
        c.Text = r.Text();
        c.Formula = r.Text();
      }
      if (!r.Ok()) return false;
    }
    d.ColWidths = GetSizes(r);
    d.RowHeights = GetSizes(r);
    d.HiddenCols = GetInts(r);
    d.HiddenRows = GetInts(r);
    d.DefaultColWidth = r.F64();
    d.DefaultRowHeight = r.F64();
    for (int* v : {&d.FixedRows, &d.FixedCols, &d.ActiveRow, &d.ActiveCol, &d.TopRow, &d.LeftCol}) *v = r.I32();
    const std::uint32_t ranges = r.Count(16);
    d.Selection.clear();
    for (std::uint32_t k = 0; k < ranges; ++k) {
      TRange range;
      for (int* v : {&range.Row1, &range.Col1, &range.Row2, &range.Col2}) *v = r.I32();
      d.Selection.push_back(range);
    }
    if (d.Selection.empty()) d.Selection.push_back(TRange{});
    d.RowBreaks = GetInts(r);
    d.ColBreaks = GetInts(r);
    d.Page = GetPage(r);
    const bool tabColored = r.U8() != 0;
    const std::uint32_t tabColor = r.U32();
    if (tabColored) d.TabColor = tabColor;
    const bool filtered = r.U8() != 0;
    TRange filter;
    for (int* v : {&filter.Row1, &filter.Col1, &filter.Row2, &filter.Col2}) *v = r.I32();
    if (filtered) d.AutoFilter = filter;
    for (auto* run : {&d.TitleRows, &d.TitleCols}) {
      const bool there = r.U8() != 0;
      TLineRun lines;
      lines.First = r.I32();
      lines.Last = r.I32();
      if (there) *run = lines;
    }
    for (std::uint32_t n = r.Count(9); n > 0 && r.Ok(); --n) {
      TFilterColumn column;
      column.Column = r.I32();
      for (std::uint32_t k = r.Count(4); k > 0 && r.Ok(); --k) column.Values.push_back(r.Text());
      column.Blanks = r.U8() != 0;
      for (std::uint32_t k = r.Count(8); k > 0 && r.Ok(); --k) {
        TFilterCondition condition;
        condition.Operator = r.Text();
        condition.Value = r.Text();
        column.Conditions.push_back(std::move(condition));
      }
      column.And = r.U8() != 0;
      d.FilterColumns.push_back(std::move(column));
    }
    const bool protectedSheet = r.U8() != 0;
    TSheetProtection protection;
    for (bool TSheetProtection::*flag : kProtectionFlags) protection.*flag = r.U8() != 0;
    if (protectedSheet) d.Protection = protection;
  }
  const std::uint32_t nameCount = r.Count(8);
  for (std::uint32_t k = 0; k < nameCount && r.Ok(); ++k) {
    const std::string name = r.Text();
    const std::string reference = r.Text();
    fresh.DefineName(name, reference);
  }
  const int scale = r.I32();
  const bool grid = r.U8() != 0;
  TReadLosses losses;
  for (int& count : losses.Counts) count = std::max(0, r.I32());
  for (std::uint32_t n = r.Count(8); n > 0 && r.Ok(); --n) {
    std::string from = r.Text();
    losses.RenamedSheets.emplace_back(std::move(from), r.Text());
  }
  TWorkbookFileProperties properties;
  properties.Date1904 = r.U8() != 0;
  for (std::string* text :
       {&properties.Title, &properties.Subject, &properties.Author, &properties.Manager, &properties.Company,
        &properties.Category, &properties.Keywords, &properties.Comments, &properties.Status}) {
    *text = r.Text();
  }
  const std::uint64_t createdLow = r.U32();
  properties.Created = static_cast<long long>(createdLow | (static_cast<std::uint64_t>(r.U32()) << 32));
  for (std::uint32_t n = r.Count(17); n > 0 && r.Ok(); --n) {
    TCustomProperty property;
    property.Name = r.Text();
    const std::uint32_t kind = r.U8();
    if (kind > static_cast<std::uint32_t>(TCustomProperty::TKind::Date)) return false;
    property.Kind = static_cast<TCustomProperty::TKind>(kind);
    property.Text = r.Text();
    property.Number = r.F64();
    properties.Custom.push_back(std::move(property));
  }
  if (!r.Ok() || !r.AtEnd()) return false;
  fresh.SetSheet(std::clamp(current, 1, fresh.NumSheets()));
  book.AdoptContents(std::move(fresh));
  book.SetViewScale(scale);
  book.SetShowGridLines(grid);
  book.SetReadLosses(losses);
  book.SetFileProperties(properties);
  return true;
}

bool RunInChildProcess(const std::function<bool(std::string& reply, std::string& error)>& work, std::string& reply,
                       std::string& error) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    error = std::string("cannot start the file reader: ") + std::strerror(errno);
    return false;
  }
  // Memory the program freed but still holds goes back to the system
  // first: the child would otherwise start out holding it too.
  malloc_trim(0);
  const pid_t pid = fork();
  if (pid < 0) {
    close(fds[0]);
    close(fds[1]);
    error = std::string("cannot start the file reader: ") + std::strerror(errno);
    return false;
  }
  if (pid == 0) {
    close(fds[0]);
    RunChild(fds[1], work);
  }
  close(fds[1]);
  std::string received;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kIsolatedWallSeconds);
  bool timedOut = false;
  char chunk[65536];
  while (true) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timedOut = true;
      break;
    }
    pollfd wait{fds[0], POLLIN, 0};
    const int ready = poll(&wait, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    const ssize_t n = ::read(fds[0], chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    received.append(chunk, static_cast<std::size_t>(n));
  }
  close(fds[0]);
  if (timedOut) kill(pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (timedOut || (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU)) {
    error = ReadFailure(TReadFailure::TooSlow, std::to_string(kIsolatedCpuSeconds));
    return false;
  }
  std::uint64_t length = 0;
  const bool complete = GetLength(received, length) && length == received.size() - 8 && length > 0 &&
                        (received[8] == 'K' || received[8] == 'E');
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !complete) {
    error = ReadFailure(TReadFailure::ReaderStopped);
    return false;
  }
  if (received[8] == 'E') {
    error = received.substr(9);
    return false;
  }
  received.erase(0, 9);
  reply = std::move(received);
  return true;
}

bool ReadInChildProcess(TWorkbook& book, const std::function<bool(TWorkbook&, std::string&)>& read, std::string& error,
                        std::string* note) {
  // The reply: the length of the reader's note (eight bytes), the note,
  // then the snapshot.
  std::string reply;
  const bool ran = RunInChildProcess(
      [&](std::string& out, std::string& e) {
        // A workbook of the child's own: the parent's has listeners (the
        // view) that must not run here. It starts with the parent's view
        // flags, which a reader keeps when the file has none.
        TWorkbook fresh(1);
        fresh.SetViewScale(book.ViewScale());
        fresh.SetShowGridLines(book.ShowGridLines());
        fresh.SetEnableProtection(book.EnableProtection());
        std::string told;
        if (!read(fresh, told)) {
          e = std::move(told);
          return false;
        }
        PutLength(out, told.size());
        out += told;
        out += EncodeWorkbookSnapshot(fresh);
        return true;
      },
      reply, error);
  if (!ran) return false;
  std::uint64_t noteLength = 0;
  if (!GetLength(reply, noteLength) || noteLength > reply.size() - 8 ||
      !DecodeWorkbookSnapshot(std::string_view(reply).substr(8 + noteLength), book)) {
    error = ReadFailure(TReadFailure::ReaderStopped);
    return false;
  }
  if (note != nullptr) *note = reply.substr(8, noteLength);
  return true;
}

}  // namespace kvx::workbook

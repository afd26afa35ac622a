// State vectors given by hand on arbitrary input. The first byte picks:
// 0, the capture of a sheet selection: seven cells (each a number of any
// bit pattern, a text, a formula or empty) and a selection of 6 to 8
// columns; 1, an element edit of the residuals form on the elements of an
// arbitrary state vector. Neither crashes or hangs, and what they accept
// is finite with a non-zero position.
#include <cmath>

#include "fuzz/fuzz_support.h"
#include "orbitdet/state_capture.h"
#include "orbitdet/state_elements.h"

using namespace kvx;

namespace {

void RequireState(const TStateVector& s, const char* what) {
  for (double v : s) fuzz::Require(std::isfinite(v), what);
  fuzz::Require(s[0] != 0 || s[1] != 0 || s[2] != 0, what);
}

void Capture(fuzz::Bytes& in) {
  workbook::TWorkbook book;
  const int row = 1 + in.Byte() % 4, col = 1 + in.Byte() % 4;
  for (int k = 0; k < 7; ++k) {
    switch (in.Byte() % 4) {
      case 0: book.SetNumber(row, col + k, in.Double()); break;
      case 1: book.SetText(row, col + k, in.ShortText()); break;
      case 2: book.SetFormula(row, col + k, in.ShortText()); break;
      default: break;
    }
  }
  const int width = 6 + in.Byte() % 3;
  book.SetSelection(row, col, row + in.Byte() % 3, col + width - 1);
  TStateVector state{1, 2, 3, 4, 5, 6};
  const TStateVector before = state;
  double epoch = -1;
  const TStateCapture result = CaptureStateVector(book, state, epoch);
  if (result == TStateCapture::Ok) {
    fuzz::Require(width == 7, "seven columns");
    RequireState(state, "captured state");
    fuzz::Require(epoch >= 0 && epoch <= kLastStateEpochJd, "epoch in range");
  } else {
    fuzz::Require(state == before && epoch == -1, "refused capture changes nothing");
  }
}

void ElementEdit(fuzz::Bytes& in) {
  TStateVector state{};
  for (double& v : state) v = in.Double();
  const double epoch = in.Double();
  TOrbitElementRecord elements;
  if (!OrbitElementsFromState(state, epoch, 1.0, elements)) return;
  TOrbitElementRecord form = FormElements(elements);
  const int edit = in.Byte() % 7;
  const double value = in.Double();
  TStateVector out{};
  std::string german, english;
  const TOrbitElementRecord before = form;
  if (ApplyElementEdit(form, epoch, edit, value, out, german, english)) {
    RequireState(out, "state of edited elements");
    fuzz::Require(edit == kEditEccentricity ? form.Kind == OrbitKindOfEccentricity(form.E) : form.Kind == before.Kind,
                  "the kind follows e");
  } else {
    fuzz::Require(!german.empty() && !english.empty(), "refusal has a reason");
    fuzz::Require(form.Size == before.Size && form.E == before.E && form.I == before.I, "refusal keeps the record");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  if (size == 0) return 0;
  fuzz::Bytes in(data + 1, size - 1);
  if (data[0] % 2 == 0) {
    Capture(in);
  } else {
    ElementEdit(in);
  }
  return 0;
}

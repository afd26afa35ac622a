// The two places a table is written to: the workbook and the result grid
// (the state's WorkbookView flag says which one shows). The main window
// implements it.
#pragma once

#include "engine/mystringgrid.h"
#include "platform/workbook/workbook.h"

namespace kvx {

class TSheetAccess {
 public:
  virtual workbook::TWorkbook& Workbook() = 0;
  virtual tmystringgrid& Grid() = 0;
  // The undo transaction of a batch table (the open one committed, a new
  // one begun) and the whole sheet cleared.
  virtual void PrepareSheetForBatch() = 0;

 protected:
  ~TSheetAccess() = default;
};

}  // namespace kvx

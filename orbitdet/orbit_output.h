// What the orbit determination writes into the workbook sheet: the
// observation table (which the user may edit and save again), the derived
// values per observation, the first orbits of all runs of three consecutive
// observations with their verdicts, the improved orbit and its state vector;
// and the state-vector files (".STV").
//
// Every writer starts at the output row of torbdet and advances it. Column
// titles of the element rows come from the table configuration (format
// slots 135-147, 3, 98-107). Elements refer to the ecliptic of the elements'
// equinox; times are TT, observation times UT.
#pragma once

#include <string>

#include "core/table_config.h"
#include "orbitdet/observations.h"
#include "platform/file_dialog.h"
#include "platform/workbook/workbook.h"

namespace kvx {

// Title rows of the observation table at the output row: the title, the
// two equinox years (2000), the sign conventions, the column titles, and a
// first data row with 0 in the magnitude, longitude and latitude columns.
void WriteObservationTitles(torbdet& od, workbook::TWorkbook& sheet, const std::string& title,
                            const TTableConfigRecord& config);
// One row per observation from the output row; the first row also puts the
// equinox years into C1 and E1. False (and the invalid-format box) for an
// empty set.
bool WriteObservationRows(torbdet& od, workbook::TWorkbook& sheet, const TTableConfigRecord& config, bool firstRow);
// Prepares the observations; with `table` the observation table from row 1,
// with `derived` a block of derived values per observation.
void ShowObservationsInSheet(torbdet& od, workbook::TWorkbook& sheet, const TTableConfigRecord& config, bool table,
                             bool derived);

// The first orbits of all runs of three consecutive observations, under the
// progress seam ("Bahnbestimmung" / "Orbit determination"), polling
// AbortRequested. Returns the number of triples computed.
int WriteOrbitDeterminationResults(torbdet& od, workbook::TWorkbook& sheet, const TTableConfigRecord& config,
                                   const TOrbDetOptions& options);

// The element rows of the final state vector (precessed to the elements'
// equinox and labelled with it) with their verdicts, then the state row.
void WriteOrbitImprovementResults(torbdet& od, workbook::TWorkbook& sheet, const TTableConfigRecord& config,
                                  const TOrbDetOptions& options);

// The element rows of one orbit: titles, values (each column only when its
// value exists), then the verdicts. perihelionTime in JD (TT); the angles
// in degrees; equinox in Julian centuries. Returns the verdict status.
int WriteElementRows(torbdet& od, workbook::TWorkbook& sheet, const TTableConfigRecord& config,
                     const TOrbDetOptions& options, double q, double e, double i, double node, double peri,
                     double perihelionTime, double equinox, int status, bool doubleSolution);

// State-vector files: "varbo statevector", the equinox year, the epoch (JD
// TT), then x, y, z (AU) and x', y', z' (AU per Gaussian time unit).
std::string StateVectorFileText(const TStateVector& vector, double epoch);
// What such a file cannot hold, as the field and value of a refused save
// ("x' = nan", "Epoche = inf" / "Epoch = inf", "x, y, z = 0": the reader
// takes finite numbers and a position other than zero); empty when the
// file keeps the vector and the epoch exactly.
std::string StateVectorRefusal(const TStateVector& vector, double epoch);
// Parses such a text; other equinoxes are precessed to J2000. False with
// the German and English reason (naming the line) when refused.
bool ParseStateVectorFile(const std::string& text, TStateVector& vector, double& epoch, std::string& german,
                          std::string& english);
// Saves through the save seam; the extension must be ".STV". A vector the
// file cannot hold (StateVectorRefusal) is refused before anything is
// written, with the message of platform/messages.h.
bool SaveStateVector(torbdet& od, const TStateVector& vector, double epoch, std::string& fileName,
                     FileDialogRequest request);
// Loads through the open seam into the state vector and epoch of od; the
// observations' equinox is left alone. Nothing changes when refused.
bool LoadStateVector(torbdet& od, std::string& fileName, FileDialogRequest request);

}  // namespace kvx

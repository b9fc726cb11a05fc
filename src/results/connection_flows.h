// Budget files that give the face flows as one flow per connection of the
// grid (MODFLOW 6: "FLOW-JA-FACE", positive into the cell) and the package
// terms as lists of cells ("RCH", "EVT"): the flows of one time step into
// the face-flow arrays the tracking reads.
#pragma once

#include <span>

#include "core/cell_connections.h"
#include "core/model_family.h"
#include "core/model_state.h"
#include "results/result_file.h"
#include "results/result_messages.h"

namespace kestra {

// Sets QRIGHT, QFRONT and QLOWER (MODFLOW-2005's signs: from column j to
// j+1, row i to i+1, layer k to k+1) from the flows of the connections, one
// per entry, as they arrive in pieces in the entries' order: a budget's
// millions of flows are never gathered whole. A vertical connection through
// pass-through cells gives its flow to every layer face it crosses. The
// arrays are cleared when the placer is made.
class ConnectionFlowPlacer {
 public:
  ConnectionFlowPlacer(const CellConnections& connections, ModelState& state);

  // False, with the arrays unspecified, for a connection between cells that
  // are not neighbours in a row, a column or a stack of cells, for more flows
  // than entries, or for connections that are not usable or of another grid
  // than the state's.
  bool Place(std::span<const float> flows);

 private:
  // The flows of the walk's cell, all in this piece, by its faces.
  void PlaceFaces(const FaceEntries& faces, const float* flows, std::size_t at);
  // The flows of the walk's cell from entry next_ on, as far as the piece
  // goes; false for a connection to a cell that is no neighbour.
  bool PlaceEntries(std::span<const float> flows, std::size_t& done, std::size_t at);

  ModelState& state_;
  bool consistent_;  // usable, and of the state's grid
  ConnectionWalk walk_;
  std::int64_t entriesLeft_;
  std::size_t entryCount_ = 0;  // of the walk's cell
  std::size_t next_ = 0;        // of the walk's entries, the one of the next flow
};

// Reads the flows of CurrentStep/CurrentPeriod from the open budget file:
// the face flows from its connection term and, as `areal` asks, QRECH from
// every recharge term ("RCH", "RCHA") and QET from every evapotranspiration
// term ("EVT", "EVTA"), summed over their packages; their records whose
// IFACE names a face go into ArealFaceFlows instead. False with a message
// (naming the term) when the step's connection term is missing, has
// another number of connections, or a record is damaged; the arrays are
// then unspecified.
bool ReadConnectionFlowTerms(ResultFile& result, const CellConnections& connections, BudgetArealTerms areal,
                             ModelState& state, const ResultMessages& messages);

}  // namespace kestra

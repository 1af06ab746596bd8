// Measurement of every entity after the second read: lengths in column 12,
// and circles and arcs brought into the layout the later stages share (arc
// end points in columns 1..4 like a line's, centre and radius in 5..7,
// angles in 8..10).
#pragma once

#include "core/drawing.h"
#include "core/table.h"

namespace makenc {

// Every layer ly0..ly5 that has a table, in turn.
void measure_layers(Drawing& drawing);

// Every row of one layer's working table but the spare row. Each kind of
// entity measures from the cells its own row loads into `e`; the others
// keep what an earlier row left in them.
void measure_entities(Table& W_dat, EntityCells& e);

// Row e.Ent_no of the working table, from the current-entity cells.
void measure_entity(Table& W_dat, EntityCells& e);

}  // namespace makenc

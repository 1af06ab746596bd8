// The steps of one record: the bounding box in the first read, the
// translation and the storing in the second.
#pragma once

#include "core/drawing.h"
#include "core/error.h"
#include "import/reader.h"

namespace makenc {

// The bounding-box step of parse_record on Rec_fld (first read).
void bounding_box_step(Reader& rd, Drawing& drawing);

// The storing step of parse_record on Rec_fld (second read), with the
// values of the coordinates and the radius in Fld_val. Fails when a moved
// coordinate is beyond the range of a double.
Status storing_step(Reader& rd, Drawing& drawing);

// Computes the translation of the second read from the bounding box; fails,
// naming the record, when an edge of the box or its width or height is not
// a number a double holds.
Status translation_from_box(Reader& rd, const Drawing& drawing);

}  // namespace makenc

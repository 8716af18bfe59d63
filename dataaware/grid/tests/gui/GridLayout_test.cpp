// Tests of the grid's layout: the field map and columns from the dataset's fields and from
// "Selected" lines, column widths, row heights and the row count against the data link's buffer.
#include "GridTestSupport.h"

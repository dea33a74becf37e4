// The object coordinate system of DXF entities drawn in a plane (texts, circles, arcs, 2D
// polylines): the arbitrary-axis rule that gives its X and Y axes from the extrusion direction.
#pragma once

namespace merilon {

// The object system of extrusion N has its X axis along (0,1,0)×N or (0,0,1)×N (for N near the
// world Z axis) and its Y axis along N×X. False for a zero extrusion.
bool arbitraryAxes(double nx, double ny, double nz, double ax[3], double ay[3]);

}  // namespace merilon

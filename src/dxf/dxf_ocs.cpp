#include "dxf/dxf_ocs.h"

#include <cmath>

namespace merilon {

bool arbitraryAxes(double nx, double ny, double nz, double ax[3], double ay[3]) {
  const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (!(length > 0)) return false;
  nx /= length;
  ny /= length;
  nz /= length;
  if (std::fabs(nx) < 1.0 / 64 && std::fabs(ny) < 1.0 / 64) {
    ax[0] = nz, ax[1] = 0, ax[2] = -nx;  // (0,1,0) × N
  } else {
    ax[0] = -ny, ax[1] = nx, ax[2] = 0;  // (0,0,1) × N
  }
  const double a = std::sqrt(ax[0] * ax[0] + ax[1] * ax[1] + ax[2] * ax[2]);
  for (int k = 0; k < 3; ++k) ax[k] /= a;
  ay[0] = ny * ax[2] - nz * ax[1];
  ay[1] = nz * ax[0] - nx * ax[2];
  ay[2] = nx * ax[1] - ny * ax[0];
  return true;
}

}  // namespace merilon

// The bundled aircraft: an original twin-engine narrow-body airliner, nose
// along +z, y up, span along x, about 12 units from wingtip to wingtip.
#pragma once

#include "ms3d_writer.h"

Ms3dMesh BuildAirliner();

#include "renderer_state.h"

RendererState renderer;
